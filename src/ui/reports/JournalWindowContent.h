// The journal window "Grundbok (verifikat)". For now it carries the guidance
// of a new company: the first-period prompt and, while the company has no
// chart, the button that sets the charts up. Its summary panel and listing
// are not built yet; until then the rest of the window is empty.
#pragma once

#include "app/WindowContent.h"
#include "model/TallvingeDoc.h"

class QPushButton;

namespace kv {
class Prompter;
}

namespace kv::ui {

class JournalWindowContent : public WindowContent, private DocumentView {
    Q_OBJECT
public:
    JournalWindowContent(CTallvingeDoc& doc, Prompter& prompter, QWidget* parent = nullptr);
    ~JournalWindowContent() override;

    void firstUpdate() override;
    void detachFromDocument() override;

    [[nodiscard]] QPushButton* guidanceButton() const { return m_guidance; }

private:
    void onDocumentUpdated() override;
    void refresh();

    CTallvingeDoc* m_doc;
    Prompter& m_prompter;
    QPushButton* m_guidance;
};

} // namespace kv::ui
