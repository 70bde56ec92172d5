#include "grid/GridWidget.h"

#include "app/AppTexts.h"
#include "grid/GridCellLook.h"
#include "grid/GridDelegate.h"
#include "grid/GridEditor.h"
#include "grid/GridFindDialog.h"
#include "grid/GridFormatDialog.h"
#include "grid/GridModel.h"
#include "grid/GridPrinting.h"
#include "grid/GridView.h"
#include "interaction/Prompter.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStyle>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

int scaled(int pixels, int zoom, double widthScale = 1.0) {
    return std::max(1, static_cast<int>(pixels * zoom / 100 * widthScale + 0.5));
}

void plainMessageBox(QWidget* over, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppTitle), QString::fromStdString(text),
                    QMessageBox::NoButton, over);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

GridMessageBox& messageBox() {
    static GridMessageBox shown = plainMessageBox;
    return shown;
}

} // namespace

GridWidget::GridWidget(QWidget* parent) : GridWidget(nullptr, parent) {}

GridWidget::GridWidget(Grid& grid, QWidget* parent) : GridWidget(&grid, parent) {}

GridWidget::GridWidget(Grid* shown, QWidget* parent)
    : QWidget(parent), m_ownGrid(shown == nullptr ? std::make_unique<Grid>() : nullptr),
      m_grid(shown == nullptr ? *m_ownGrid : *shown) {
    m_model = std::make_unique<GridModel>(m_grid);
    m_model->setGridFont(font());
    m_delegate = std::make_unique<GridDelegate>(m_grid);
    m_view = std::make_unique<GridView>(m_grid, this);
    m_view->setItemDelegate(m_delegate.get());
    m_view->setModel(m_model.get());

    auto* layout = new QVBoxLayout(this); // owned by this widget
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view.get());
    setFocusProxy(m_view.get());

    GridView* view = m_view.get();
    connect(view, &GridView::userActed, this, &GridWidget::commandStateChanged);
    connect(m_delegate.get(), &GridDelegate::editorKeyHandled, this, &GridWidget::commandStateChanged);
    connect(view, &GridView::copyRequested, this, &GridWidget::copy);
    connect(view, &GridView::cutRequested, this, &GridWidget::cut);
    connect(view, &GridView::pasteRequested, this, &GridWidget::paste);
    connect(view, &GridView::undoRequested, this, &GridWidget::undo);
    connect(view, &GridView::redoRequested, this, &GridWidget::redo);
    connect(view, &GridView::zoomRequested, this, [this](bool in) { in ? zoomIn() : zoomOut(); });
    // A column widened by hand keeps its width in the grid, at zoom 100.
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (!m_applyingLayout) {
                    m_applyingLayout = true;
                    const double unscaled = size * 100.0 / m_grid.zoom() / m_widthScale;
                    m_grid.setColumnWidth(section + 1, std::max(1, static_cast<int>(unscaled + 0.5)));
                    m_applyingLayout = false;
                }
            });

    m_grid.setListener(this);
    applyLayout();
    showCurrentCell();
}

GridWidget::~GridWidget() {
    m_grid.setListener(nullptr);
    if (m_ownGrid) {
        m_grid.setHooks(nullptr); // a model's grid keeps its model's hooks
    }
}

Grid& GridWidget::grid() {
    return m_grid;
}

QTableView* GridWidget::view() const {
    return m_view.get();
}

void GridWidget::setPrintHeading(const QStringList& lines) {
    m_printHeading = lines;
}

int GridWidget::naturalWidth() const {
    // Asked before the widget shows, too: a fixed width counts, else what the titles need.
    const QHeaderView* rows = m_view->verticalHeader();
    const bool fixed = rows->minimumWidth() == rows->maximumWidth();
    const int titles = rows->isHidden() ? 0 : (fixed ? rows->minimumWidth() : rows->sizeHint().width());
    const int scrollBar = m_view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_view.get());
    return titles + m_view->horizontalHeader()->length() + scrollBar + 2 * m_view->frameWidth();
}

void GridWidget::setWidthScale(double scale) {
    m_widthScale = scale > 0 ? scale : 1.0;
    applyLayout();
}

// ---- command state ----

bool GridWidget::canUndo() const {
    return m_grid.canUndo();
}
bool GridWidget::canRedo() const {
    return m_grid.canRedo();
}
bool GridWidget::hasSelection() const {
    return !m_grid.selection().empty();
}
bool GridWidget::canZoomIn() const {
    return m_grid.canZoomIn();
}
bool GridWidget::canZoomOut() const {
    return m_grid.canZoomOut();
}
bool GridWidget::isReadOnly() const {
    return m_grid.isReadOnly();
}
bool GridWidget::isPrintLike() const {
    return m_grid.isPrintLike();
}

// ---- what the grid tells ----

void GridWidget::gridCellsChanged(const CellRange& range) {
    m_model->cellsChanged(range);
    if (range.top == 0) {
        applyTitleHeight();
    }
    if (range.left == 0 || range.top == 0) {
        m_view->relayout(); // a title may need more room
    }
    scheduleRowHeights(); // a style may have changed the font size
    emit gridChanged();
}

void GridWidget::scheduleRowHeights() {
    // Once after a run of changes (a report writes every cell in a row).
    if (!m_rowHeightsPending) {
        m_rowHeightsPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_rowHeightsPending = false;
                applyRowHeights();
            },
            Qt::QueuedConnection);
    }
}

void GridWidget::gridLayoutChanged() {
    const bool reset = m_model->refresh();
    applyLayout();
    showCurrentCell();
    if (reset && m_grid.isEditing()) {
        gridEditChanged(); // a reset closes every editor
    }
    emit commandStateChanged();
    emit gridChanged();
}

void GridWidget::gridCurrentCellChanged() {
    showCurrentCell();
    emit commandStateChanged();
}

void GridWidget::gridEditChanged() {
    if (!m_grid.isEditing()) {
        closeEditor();
        return;
    }
    const QModelIndex index = m_model->indexOf(m_grid.currentCell());
    if (!index.isValid()) {
        return;
    }
    if (m_editorIndex != index || m_delegate->editor() == nullptr) {
        closeEditor();
        m_editorIndex = index;
        m_view->openPersistentEditor(index);
        m_view->viewport()->update(m_view->visualRect(index));
        if (GridEditor* editor = m_delegate->editor()) {
            // The view selects an opened line edit's text; typing goes on after it instead.
            editor->deselect();
            editor->end(false);
        }
    }
    if (GridEditor* editor = m_delegate->editor()) {
        editor->showEditText();
        editor->setFocus(Qt::OtherFocusReason);
    }
}

void GridWidget::closeEditor() {
    if (!m_editorIndex.isValid()) {
        return;
    }
    const bool hadFocus = m_delegate->editor() != nullptr && m_delegate->editor()->hasFocus();
    const QModelIndex index = m_editorIndex;
    m_editorIndex = QPersistentModelIndex();
    m_view->closePersistentEditor(index);
    m_view->viewport()->update(m_view->visualRect(index));
    if (hadFocus) {
        m_view->setFocus(Qt::OtherFocusReason);
    }
}

void GridWidget::gridScrollTo(CellPos cell) {
    const QModelIndex index = m_model->indexOf(cell);
    if (index.isValid()) {
        m_view->scrollTo(index);
    }
}

void GridWidget::gridFocus() {
    if (GridEditor* editor = m_delegate->editor(); editor != nullptr && m_grid.isEditing()) {
        editor->setFocus(Qt::OtherFocusReason);
    } else {
        m_view->setFocus(Qt::OtherFocusReason);
    }
}

void GridWidget::gridSelectionChanged() {
    m_view->viewport()->update();
    emit commandStateChanged();
}

void GridWidget::showCurrentCell() {
    const QModelIndex index = m_model->indexOf(m_grid.currentCell());
    if (index.isValid() && m_view->selectionModel() != nullptr) {
        // Only the view's idea of where it is (for scrolling); the grid keeps the real one.
        m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    m_view->viewport()->update();
}

// ---- layout: widths, fonts and heights follow the zoom ----

void GridWidget::applyLayout() {
    m_applyingLayout = true;
    const int zoom = m_grid.zoom();
    const GridState& state = m_grid.state();
    const QFont font = zoomedFont(m_model->gridFont(), zoom);
    QHeaderView* columns = m_view->horizontalHeader();
    QHeaderView* rows = m_view->verticalHeader();
    columns->setFont(font);
    rows->setFont(font);
    for (int col = 1; col <= state.colCount(); ++col) {
        const int width =
            state.columnWidth(col) > 0 ? state.columnWidth(col) : GridState::kDefaultColumnWidth;
        columns->resizeSection(col - 1, scaled(width, zoom, m_widthScale));
    }
    if (state.columnWidth(0) > 0) {
        rows->setFixedWidth(scaled(state.columnWidth(0), zoom, m_widthScale));
    } else {
        rows->setMinimumWidth(0);
        rows->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    applyRowHeights();
    applyTitleHeight();

    // Paper shows no row numbers or column letters: only titles the program wrote.
    bool rowTitles = false;
    bool columnTitles = false;
    state.forEachStoredCell([&](std::int32_t row, std::int32_t col, const GridCell& cell) {
        rowTitles = rowTitles || (col == 0 && row > 0 && !cell.text.empty());
        columnTitles = columnTitles || (row == 0 && !cell.text.empty());
    });
    const bool paper = m_grid.isPrintLike();
    rows->setVisible(!paper || rowTitles);
    columns->setVisible(!paper || columnTitles);
    m_view->setCornerButtonEnabled(!paper);
    // Paper has no buttons: titles stand on white, column titles over a rule.
    const QString flat =
        paper ? QStringLiteral("QHeaderView, QTableCornerButton::section { background-color: white; "
                               "border: none; }"
                               "QHeaderView::section { background-color: white; border: none; "
                               "padding: 0 4px; }"
                               "QHeaderView::section:horizontal { border-bottom: 1px solid #202020; }")
              : QString();
    if (m_view->styleSheet() != flat) {
        m_view->setStyleSheet(flat);
    }

    m_view->relayout();
    m_view->viewport()->update();
    m_applyingLayout = false;
}

void GridWidget::applyRowHeights() {
    // Rows are as high as the grid's font; a row holding a larger font grows.
    const int zoom = m_grid.zoom();
    const auto heightOf = [zoom](const QFont& font) { return textRowHeight(font, zoom); };
    const int normal = heightOf(zoomedFont(m_model->gridFont(), zoom));
    QHeaderView* rows = m_view->verticalHeader();
    rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), normal));
    rows->setDefaultSectionSize(normal);
    std::map<int, int> tall;
    m_grid.state().forEachStoredCell([&](std::int32_t row, std::int32_t, const GridCell& cell) {
        if (row > 0 && cell.style.fontSize > 0) {
            const int height = heightOf(cellFont(m_model->gridFont(), cell.style, zoom));
            if (height > normal) {
                tall[row - 1] = std::max(tall[row - 1], height);
            }
        }
    });
    for (const int section : m_tallRows) {
        if (section < rows->count() && tall.count(section) == 0) {
            rows->resizeSection(section, normal);
        }
    }
    m_tallRows.clear();
    for (const auto& [section, height] : tall) {
        if (section < rows->count()) {
            rows->resizeSection(section, height);
            m_tallRows.push_back(section);
        }
    }
}

void GridWidget::applyTitleHeight() {
    // As high as the title that needs the most lines at its column's width.
    QHeaderView* columns = m_view->horizontalHeader();
    columns->setTextElideMode(Qt::ElideNone);
    const int zoom = m_grid.zoom();
    const int padding = 2 * std::max(2, 3 * zoom / 100);
    const int oneLine = QFontMetrics(zoomedFont(m_model->gridFont(), zoom)).height() + padding;
    int needed = 0;
    for (int col = 1; col <= m_grid.colCount() && col <= columns->count(); ++col) {
        const std::string& title = m_grid.storedText(0, col);
        if (title.empty()) {
            continue;
        }
        const QFontMetrics metrics(cellFont(m_model->gridFont(), m_grid.style(0, col), zoom));
        const int width = std::max(1, columns->sectionSize(col - 1) - padding);
        const QRect room(0, 0, width, 100 * metrics.height());
        const QString text = QString::fromStdString(title);
        needed = std::max(needed, metrics.boundingRect(room, Qt::TextWordWrap, text).height() + padding);
    }
    if (needed > oneLine) {
        columns->setFixedHeight(needed);
    } else {
        columns->setMinimumHeight(0);
        columns->setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

void GridWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_model != nullptr) {
        m_model->setGridFont(font());
        m_model->refresh();
        applyLayout();
    }
}

// ---- commands ----

void GridWidget::undo() {
    m_grid.undo();
    emit commandStateChanged();
}

void GridWidget::redo() {
    m_grid.redo();
    emit commandStateChanged();
}

void GridWidget::cut() {
    // While a cell is being edited the clipboard commands work on its text.
    if (GridEditor* editor = m_delegate->editor(); editor != nullptr && m_grid.isEditing()) {
        editor->cut();
        return;
    }
    if (const auto text = m_grid.cutSelection()) {
        QApplication::clipboard()->setText(QString::fromStdString(*text));
    }
    emit commandStateChanged();
}

void GridWidget::copy() {
    if (GridEditor* editor = m_delegate->editor(); editor != nullptr && m_grid.isEditing()) {
        editor->copy();
        return;
    }
    if (const auto text = m_grid.copySelection()) {
        QApplication::clipboard()->setText(QString::fromStdString(*text));
    }
}

void GridWidget::paste() {
    if (GridEditor* editor = m_delegate->editor(); editor != nullptr && m_grid.isEditing()) {
        editor->paste();
        return;
    }
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty()) {
        m_grid.paste(text.toStdString());
    }
    emit commandStateChanged();
}

void GridWidget::clearSelection() {
    m_grid.clearSelectedCells();
    emit commandStateChanged();
}

void GridWidget::zoomIn() {
    m_grid.zoomIn();
}
void GridWidget::zoomOut() {
    m_grid.zoomOut();
}
void GridWidget::zoomNormal() {
    m_grid.zoomNormal();
}
void GridWidget::toggleReadOnly() {
    m_grid.toggleReadOnly();
}
void GridWidget::togglePrintLike() {
    m_grid.togglePrintLike();
}
void GridWidget::insertRows() {
    m_grid.insertRowsAtSelection();
}
void GridWidget::removeRows() {
    m_grid.removeSelectedRows();
}
void GridWidget::insertColumns() {
    m_grid.insertColsAtSelection();
}
void GridWidget::removeColumns() {
    m_grid.removeSelectedCols();
}

void GridWidget::alignLeft() {
    m_grid.alignSelection(HAlign::Left);
    emit commandStateChanged();
}

void GridWidget::alignCenter() {
    m_grid.alignSelection(HAlign::Center);
    emit commandStateChanged();
}

void GridWidget::alignRight() {
    m_grid.alignSelection(HAlign::Right);
    emit commandStateChanged();
}

void GridWidget::toggleBold() {
    m_grid.toggleBoldSelection();
    emit commandStateChanged();
}

void GridWidget::toggleItalic() {
    m_grid.toggleItalicSelection();
    emit commandStateChanged();
}

void GridWidget::toggleUnderline() {
    m_grid.toggleUnderlineSelection();
    emit commandStateChanged();
}

void GridWidget::formatCells() {
    if (m_grid.isReadOnly()) {
        return;
    }
    const CellRange range = m_grid.effectiveRange();
    GridFormatDialog dialog(m_grid.style(range.top, range.left), m_model->gridFont(), this);
    if (dialog.exec() == QDialog::Accepted) {
        m_grid.applyStyleToSelection(dialog.style());
        emit commandStateChanged();
    }
}

// ---- find and replace ----

void GridWidget::find() {
    openFindDialog(false);
}

void GridWidget::replace() {
    openFindDialog(true);
}

void GridWidget::openFindDialog(bool replacing) {
    if (m_findDialog == nullptr) {
        m_findDialog = new GridFindDialog(this); // a tool window of this widget, which owns it
        connect(m_findDialog, &GridFindDialog::findNextRequested, this,
                [this] { findNext(m_findDialog->options()); });
        connect(m_findDialog, &GridFindDialog::replaceRequested, this,
                [this] { replaceOne(m_findDialog->options(), m_findDialog->replacement()); });
        connect(m_findDialog, &GridFindDialog::replaceAllRequested, this,
                [this] { replaceAll(m_findDialog->options(), m_findDialog->replacement()); });
    }
    if (const auto& last = m_grid.lastFind()) {
        m_findDialog->setOptions(*last);
    }
    m_findDialog->setReplacing(replacing && !m_grid.isReadOnly());
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

void GridWidget::findAgain() {
    if (!m_grid.lastFind()) {
        find();
        return;
    }
    findNext(*m_grid.lastFind());
}

void GridWidget::findNext(const FindOptions& options) {
    tell(m_grid.find(options));
    emit commandStateChanged();
}

void GridWidget::replaceOne(const FindOptions& options, const std::string& replacement) {
    tell(m_grid.replace(options, replacement));
    emit commandStateChanged();
}

void GridWidget::replaceAll(const FindOptions& options, const std::string& replacement) {
    tell(m_grid.replaceAll(options, replacement));
    emit commandStateChanged();
}

void GridWidget::tell(const FindOutcome& outcome) {
    if (!outcome.message) {
        return;
    }
    if (m_prompter != nullptr) {
        m_prompter->message(*outcome.message);
        return;
    }
    // Over the find window while it shows: the message answers its button.
    const bool overFind = m_findDialog != nullptr && m_findDialog->isVisible();
    messageBox()(overFind ? static_cast<QWidget*>(m_findDialog) : this, *outcome.message);
}

void GridWidget::setMessageBox(GridMessageBox show) {
    messageBox() = show ? std::move(show) : plainMessageBox;
}

// ---- printing ----

void GridWidget::print(QPrinter* printer) {
    if (printer == nullptr) {
        return;
    }
    if (m_grid.isEditing()) {
        m_grid.endEdit(); // print what the user sees
    }
    paintGridPages(*printer, gridPages(*printer, m_grid.state(), m_model->gridFont(), m_printHeading),
                   m_model->gridFont());
}

void GridWidget::printWithDialog() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Skriv ut"));
    if (dialog.exec() == QDialog::Accepted) {
        print(&printer);
    }
}

void GridWidget::printPreview() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Förhandsgranska"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &GridWidget::print);
    dialog.exec();
}

} // namespace kv::ui
