// The trial-balance window "  Alla konton / Råbalans". It hosts the chart
// editors and the VAT rules dialog: as it opens it runs those that the
// commands asked for. Its listing is not built yet; the window is empty.
#pragma once

#include "app/WindowContent.h"

namespace kv {
class CTallvingeDoc;
class Prompter;
} // namespace kv

namespace kv::ui {

class TrialBalanceWindowContent : public EmptyWindowContent {
    Q_OBJECT
public:
    TrialBalanceWindowContent(CTallvingeDoc& doc, Prompter& prompter, QWidget* parent = nullptr);

    void firstUpdate() override;
    void detachFromDocument() override { m_doc = nullptr; }

private:
    CTallvingeDoc* m_doc;
    Prompter& m_prompter;
};

} // namespace kv::ui
