// The income-statement and balance-sheet windows: a cell grid that works on a
// copy of the grid state the document keeps for the window, and gives what
// the user formats back to the document.
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
    [[nodiscard]] std::optional<ReportData> reportData() const override;

    [[nodiscard]] GridWidget& gridWidget() const { return *m_grid; }

private:
    void onDocumentUpdated() override;
    [[nodiscard]] Statement statement() const;
    // Takes the document's grid when it is not the one this window last saw.
    void takeDocumentGrid();
    // The user changed the grid: the document keeps it, once per turn of the event loop.
    void gridChangedByUser();
    void giveGridToDocument();
    // Reports: rewrites the statement into the grid; the refusal, if any.
    std::optional<std::string> refreshStatement();

    WindowKind m_kind;
    CTallvingeDoc* m_doc;
    ViewSubscription m_subscription;
    GridWidget* m_grid;
    Prompter* m_prompter = nullptr; // Reports
    // What the grid works on, and the document's grid as this window last saw it.
    GridState m_working;
    GridState m_seen;
    bool m_seenAny = false;
    bool m_refreshing = false; // the statement's own rows are written, not the user's
    bool m_givePending = false;
};

} // namespace kv::ui
