// The journal window "Grundbok (verifikat)". For now it carries the guidance
// of a new company: while the company has no chart, the button that sets the
// charts up. Its summary panel and listing are not built yet; until then the
// rest of the window is empty.
#pragma once

#include "app/WindowContent.h"
#include "model/TallvingeDoc.h"

#include <functional>

class QPushButton;

namespace kv::ui {

class JournalWindowContent : public WindowContent, private DocumentView {
    Q_OBJECT
public:
    // runGuidance: what the guidance button starts.
    JournalWindowContent(CTallvingeDoc& doc, std::function<void()> runGuidance, QWidget* parent = nullptr);
    ~JournalWindowContent() override;

    void firstUpdate() override;
    void detachFromDocument() override;

    [[nodiscard]] QPushButton* guidanceButton() const { return m_guidance; }

private:
    void onDocumentUpdated() override;
    void refresh();

    CTallvingeDoc* m_doc;
    ViewSubscription m_subscription;
    QPushButton* m_guidance;
};

} // namespace kv::ui
