// The income-statement and balance-sheet windows: a cell grid that works on
// the grid state the document keeps for the window.
#pragma once

#include "common/WindowContent.h"
#include "grid/GridState.h"
#include "model/TallvingeDoc.h"

#include <optional>
#include <string>

namespace kv {
class Prompter;
}

namespace kv::ui {

class GridWidget;

class ReportWindowContent : public WindowContent, private DocumentView {
    Q_OBJECT
public:
    ReportWindowContent(WindowKind kind, CTallvingeDoc& doc, QWidget* parent = nullptr);
    ~ReportWindowContent() override;

    void detachFromDocument() override;
    // Reports: the statement's checks speak as the window opens.
    void firstUpdate() override;
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    void describe(ViewCapabilities& view) const override;
    bool perform(CommandId id) override;
    void print(QPrinter* printer) override;

    [[nodiscard]] GridWidget& gridWidget() const { return *m_grid; }

private:
    void onDocumentUpdated() override;
    [[nodiscard]] GridState* documentState() const;
    void attachToDocument();
    // Reports: rewrites the statement into the grid; the refusal, if any.
    std::optional<std::string> refreshStatement();

    WindowKind m_kind;
    CTallvingeDoc* m_doc;
    ViewSubscription m_subscription;
    GridWidget* m_grid;
    GridState* m_attached = nullptr;
    Prompter* m_prompter = nullptr; // Reports
    // What the grid works on once the document is gone.
    GridState m_detached;
};

} // namespace kv::ui
