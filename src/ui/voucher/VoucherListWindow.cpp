#include "voucher/VoucherListWindow.h"

#include "app/AppController.h"
#include "attachments/AttachmentFiles.h"
#include "attachments/AttachmentViewer.h"
#include "attachments/Attachments.h"
#include "grid/GridCellLook.h"
#include "interaction/Prompter.h"
#include "voucher/VoucherCommands.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kAttachmentMarkColumn = kListColVernr + 1;
static_assert(kVoucherListColumns[kAttachmentMarkColumn].title[0] == '\0',
              "the clip needs a column of its own");

QFont listFont(const QFont& base) {
    QFont font = base;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    return font;
}

} // namespace

// ---- the Qt model ----

VoucherListItems::VoucherListItems(const VoucherListModel& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_mark(attachmentMarkIcon()) {}

void VoucherListItems::rebuilt() {
    beginResetModel();
    endResetModel();
}

int VoucherListItems::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.rowCount());
}

int VoucherListItems::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kVoucherListColumns.size());
}

QVariant VoucherListItems::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(m_list.text(static_cast<std::size_t>(index.row()), index.column()));
    // The clip stands in the empty column after the number, so that the numbers stay in line.
    case Qt::DecorationRole:
        if (index.column() == kAttachmentMarkColumn &&
            hasAttachments(static_cast<std::size_t>(index.row()))) {
            return m_mark;
        }
        return {};
    case Qt::ToolTipRole:
        if (index.column() <= kAttachmentMarkColumn &&
            hasAttachments(static_cast<std::size_t>(index.row()))) {
            return QStringLiteral("Verifikatet har underlag");
        }
        return {};
    case Qt::ForegroundRole:
        return QColor::fromRgb(static_cast<QRgb>(m_list.textColour()));
    case Qt::TextAlignmentRole:
        if (index.column() == kListColBalans && m_list.shownInFull(static_cast<std::size_t>(index.row()))) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant VoucherListItems::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromUtf8(kVoucherListColumns[static_cast<std::size_t>(section)].title);
    }
    if (role == Qt::TextAlignmentRole && section == kListColBalans) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

// ---- the window ----

VoucherListWindow::VoucherListWindow(CTallvingeDoc& doc, AppController& controller, QWidget* parent)
    : WindowContent(parent), m_doc(&doc), m_controller(controller), m_subscription(doc.subscribe(*this)),
      m_list(doc), m_items(std::make_unique<VoucherListItems>(m_list)), m_view(new QTableView(this)) {
    m_view->setFont(listFont(font()));
    // Rows of one height without a title column: a list of 100 000 vouchers scrolls as fast as one of ten.
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(textRowHeight(m_view->font()));
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->setAlternatingRowColors(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setModel(m_items.get());
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setStyleSheet(QStringLiteral("QTableView::item { padding: 0px 6px; }"));
    QHeaderView* header = m_view->horizontalHeader();
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsMovable(false);
    // The columns without a title only keep the others apart; the text takes what is left.
    const QFontMetrics metrics(m_view->font());
    for (std::size_t col = 0; col < kVoucherListColumns.size(); ++col) {
        const QString title = QString::fromUtf8(kVoucherListColumns[col].title);
        const int width =
            title.isEmpty() ? 10
                            : std::max(metrics.horizontalAdvance(title) + 24, kVoucherListColumns[col].width);
        header->resizeSection(static_cast<int>(col), col == kListColBalans ? width - 40 : width);
    }
    header->setSectionResizeMode(kListColVertext, QHeaderView::Stretch);
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    // "Visa underlag" follows the marked voucher.
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { emit commandStateChanged(); });
    setFocusProxy(m_view);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

VoucherListWindow::~VoucherListWindow() {
    detachFromDocument();
}

void VoucherListWindow::detachFromDocument() {
    m_subscription.reset();
    if (m_doc != nullptr) {
        m_doc = nullptr;
        // Nothing of the company may be asked for any more.
        m_view->setModel(nullptr);
    }
}

void VoucherListWindow::onDocumentUpdated() {
    m_list.rebuild();
    m_items->rebuilt();
    emit commandStateChanged();
}

std::optional<std::size_t> VoucherListWindow::markedRow() const {
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? std::optional<std::size_t>(static_cast<std::size_t>(current.row()))
                             : std::nullopt;
}

void VoucherListWindow::describe(ViewCapabilities& view) const {
    view = {};
    const auto row = markedRow();
    view.canShowAttachments = m_doc != nullptr && row && m_items->hasAttachments(*row);
}

bool VoucherListWindow::perform(CommandId id) {
    if (id != CommandId::ShowAttachments || m_doc == nullptr) {
        return false;
    }
    if (const auto row = markedRow()) {
        showAttachments(*row);
    }
    return true;
}

void VoucherListWindow::showAttachments(std::size_t row) {
    if (m_doc == nullptr || row >= m_doc->state().m_verifikat.size()) {
        return;
    }
    const std::int32_t number = m_doc->state().m_verifikat[row].m_nVernr;
    std::vector<AttachmentSource> sources;
    try {
        sources = storedAttachmentSources(m_doc->pathName(), voucherAttachments(*m_doc, number));
    } catch (const std::exception& error) { // the company's database cannot be read
        m_controller.prompter().message(error.what());
        return;
    }
    showAttachmentViewer(window(), number, std::move(sources));
}

void VoucherListWindow::rightClick(std::optional<std::size_t> row, QPoint globalPos) {
    if (!row || !m_items->hasAttachments(*row)) {
        rightClickInVoucherList(m_controller, row);
        return;
    }
    markRow(*row);
    QMenu menu(this);
    menu.addAction(QStringLiteral("Öppna verifikatet"), this,
                   [this, row] { later([this, row] { open(row); }); });
    menu.addAction(QStringLiteral("Visa underlag..."), this,
                   [this, row] { later([this, row] { showAttachments(*row); }); });
    menu.exec(globalPos);
}

void VoucherListWindow::markRow(std::size_t row) {
    const QModelIndex index = m_items->index(static_cast<int>(row), 0);
    if (!index.isValid()) {
        return;
    }
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_view->setFocus(Qt::OtherFocusReason);
}

std::optional<std::size_t> VoucherListWindow::rowAt(QPoint viewportPos) const {
    const QModelIndex index = m_view->indexAt(viewportPos);
    return index.isValid() ? std::optional<std::size_t>(static_cast<std::size_t>(index.row())) : std::nullopt;
}

void VoucherListWindow::open(std::optional<std::size_t> row) {
    if (m_doc != nullptr) {
        openVoucherFromList(m_controller, row);
    }
}

bool VoucherListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (m_doc == nullptr) {
        return WindowContent::eventFilter(watched, event);
    }
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                open(rowAt(mouse->position().toPoint()));
                return true;
            }
        } else if (event->type() == QEvent::ContextMenu) {
            auto* click = static_cast<QContextMenuEvent*>(event);
            rightClick(rowAt(click->pos()), click->globalPos());
            return true;
        }
    } else if (watched == m_view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const QModelIndex current = m_view->currentIndex();
            open(current.isValid() ? std::optional<std::size_t>(static_cast<std::size_t>(current.row()))
                                   : std::nullopt);
            return true;
        }
    }
    return WindowContent::eventFilter(watched, event);
}

} // namespace kv::ui
