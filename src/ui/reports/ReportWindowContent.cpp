#include "reports/ReportWindowContent.h"

#include "grid/GridWidget.h"
#include "interaction/Prompter.h"
#include "reports/MonthRangeModel.h" // Reports
#include "reports/ReportData.h"
#include "reports/StatementReport.h"

#include <QApplication>
#include <QClipboard>
#include <QVBoxLayout>

namespace kv::ui {

ReportWindowContent::ReportWindowContent(WindowKind kind, CTallvingeDoc& doc, QWidget* parent)
    : WindowContent(parent), m_kind(kind), m_doc(&doc), m_grid(new GridWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    setFocusProxy(m_grid);
    connect(m_grid, &GridWidget::commandStateChanged, this, &WindowContent::commandStateChanged);
    m_grid->grid().attach(m_working);
    takeDocumentGrid();
    m_subscription = doc.subscribe(*this);
    refreshStatement();
    // From here on a change of the grid is the user's.
    connect(m_grid, &GridWidget::gridChanged, this, &ReportWindowContent::gridChangedByUser);
}

ReportWindowContent::~ReportWindowContent() {
    detachFromDocument();
    // The grid widget reads m_working while it is torn down; the base class
    // would delete it only after m_working is gone.
    delete m_grid;
    m_grid = nullptr;
}

Statement ReportWindowContent::statement() const {
    return m_kind == WindowKind::IncomeStatement ? Statement::Income : Statement::Balance;
}

void ReportWindowContent::takeDocumentGrid() {
    const GridState* stored = m_doc != nullptr ? m_doc->statementGrid(statement()) : nullptr;
    if (stored == nullptr || (m_seenAny && *stored == m_seen)) {
        return;
    }
    m_seen = *stored;
    m_seenAny = true;
    m_refreshing = true;
    m_working = *stored;
    m_grid->grid().attach(m_working);
    m_refreshing = false;
}

void ReportWindowContent::gridChangedByUser() {
    if (m_refreshing || m_doc == nullptr || m_givePending) {
        return;
    }
    m_givePending = true;
    later([this] { giveGridToDocument(); });
}

void ReportWindowContent::giveGridToDocument() {
    m_givePending = false;
    if (m_doc == nullptr || (m_seenAny && m_working == m_seen)) {
        return;
    }
    m_seen = m_working;
    m_seenAny = true;
    m_doc->formatStatement(statement(), m_working);
}

void ReportWindowContent::detachFromDocument() {
    if (m_doc == nullptr) {
        return;
    }
    if (m_givePending) {
        giveGridToDocument(); // what the user did last is kept
    }
    // Reports: closing the income statement ends the month range.
    if (m_kind == WindowKind::IncomeStatement && m_doc->state().m_nDelperiod == 1) {
        CTallvingeDoc* doc = m_doc;
        m_subscription.reset();
        doc->setMonthRange(std::nullopt);
    }
    m_subscription.reset();
    m_doc = nullptr;
}

void ReportWindowContent::onDocumentUpdated() {
    // Reading another period replaces the document's grid state.
    takeDocumentGrid();
    refreshStatement();
}

// Reports
std::optional<std::string> ReportWindowContent::refreshStatement() {
    if (m_doc == nullptr) {
        return std::nullopt;
    }
    const StatementReport report =
        m_kind == WindowKind::IncomeStatement ? buildIncomeStatement(*m_doc) : buildBalanceSheet(*m_doc);
    m_grid->setPrintHeading({QString::fromStdString(report.heading)});
    if (report.refusal) {
        return report.refusal; // the grid stays as it was
    }
    m_refreshing = true;
    writeStatementGrid(report, m_grid->grid());
    m_refreshing = false;
    return std::nullopt;
}

void ReportWindowContent::firstUpdate() {
    if (const auto refusal = refreshStatement(); refusal && m_prompter != nullptr) {
        m_prompter->message(*refusal);
    }
}

void ReportWindowContent::describe(ViewCapabilities& view) const {
    view = {};
    view.isGrid = true;
    view.canUndo = m_grid->canUndo();
    view.canRedo = m_grid->canRedo();
    view.canCut = true;
    view.canCopy = true;
    view.canPaste = !QApplication::clipboard()->text().isEmpty();
    view.canPrint = true;
    view.canExport = m_doc != nullptr;
    view.canZoomIn = m_grid->canZoomIn();
    view.canZoomOut = m_grid->canZoomOut();
    view.readOnly = m_grid->isReadOnly();
    view.printLike = m_grid->isPrintLike();
    view.monthRange = m_doc != nullptr && m_doc->hasOpenPeriod(); // Reports
    view.monthRangeActive = m_doc != nullptr && m_doc->state().m_nDelperiod == 1;
}

bool ReportWindowContent::perform(CommandId id) {
    GridWidget& g = *m_grid;
    switch (id) {
    case CommandId::Undo:
        g.undo();
        break;
    case CommandId::Redo:
        g.redo();
        break;
    case CommandId::Cut:
        g.cut();
        break;
    case CommandId::Copy:
        g.copy();
        break;
    case CommandId::Paste:
        g.paste();
        break;
    case CommandId::Find:
        g.find();
        break;
    case CommandId::Replace:
        g.replace();
        break;
    case CommandId::FindAgain:
        g.findAgain();
        break;
    case CommandId::ZoomIn:
        g.zoomIn();
        break;
    case CommandId::ZoomOut:
        g.zoomOut();
        break;
    case CommandId::Zoom100:
        g.zoomNormal();
        break;
    case CommandId::ReadOnly:
        g.toggleReadOnly();
        break;
    case CommandId::PrintLike:
        g.togglePrintLike();
        break;
    case CommandId::InsertRows:
        g.insertRows();
        break;
    case CommandId::RemoveRows:
        g.removeRows();
        break;
    case CommandId::InsertColumns:
        g.insertColumns();
        break;
    case CommandId::RemoveColumns:
        g.removeColumns();
        break;
    case CommandId::AlignLeft:
        g.alignLeft();
        break;
    case CommandId::AlignCenter:
        g.alignCenter();
        break;
    case CommandId::AlignRight:
        g.alignRight();
        break;
    case CommandId::Bold:
        g.toggleBold();
        break;
    case CommandId::Italic:
        g.toggleItalic();
        break;
    case CommandId::Underline:
        g.toggleUnderline();
        break;
    case CommandId::CellFormat:
        g.formatCells();
        break;
    case CommandId::MonthRange: // Reports
        if (m_doc == nullptr || m_prompter == nullptr) {
            return false;
        }
        runMonthRange(*m_doc, *m_prompter);
        break;
    default:
        return false;
    }
    emit commandStateChanged();
    return true;
}

void ReportWindowContent::print(QPrinter* printer) {
    m_grid->print(printer);
}

std::optional<ReportData> ReportWindowContent::reportData() const {
    if (m_doc == nullptr) {
        return std::nullopt;
    }
    return statement() == Statement::Income ? incomeStatementData(*m_doc) : balanceSheetData(*m_doc);
}

} // namespace kv::ui
