#include "attachments/AttachmentViewer.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace kv::ui {

namespace {

constexpr int kPageMargin = 12;

QString noAttachmentsText() {
    return QStringLiteral("Verifikatet har inget underlag.");
}

QString viewerTitle(int voucherNumber) {
    return voucherNumber > 0 ? QStringLiteral("Underlag till verifikat %1").arg(voucherNumber)
                             : QStringLiteral("Underlag till nytt verifikat");
}

} // namespace

// ---- the page ----

AttachmentPageView::AttachmentPageView(AttachmentPages& pages, QWidget* parent)
    : QWidget(parent), m_pages(pages) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(200, 200);
}

void AttachmentPageView::showPage(std::size_t index) {
    m_index = index;
    update();
}

QSize AttachmentPageView::pageBound() const {
    const QSize room = contentsRect().size() - QSize(2 * kPageMargin, 2 * kPageMargin);
    return room.expandedTo(QSize(1, 1)) * devicePixelRatioF();
}

QImage AttachmentPageView::shownImage() {
    if (m_index >= m_pages.pageCount()) {
        return {};
    }
    const QSize bound = pageBound();
    if (m_drawnIndex != m_index || m_drawnBound != bound) {
        m_drawn = m_pages.render(m_index, bound);
        m_drawn.setDevicePixelRatio(devicePixelRatioF());
        m_drawnIndex = m_index;
        m_drawnBound = bound;
    }
    return m_drawn;
}

QString AttachmentPageView::shownMessage() const {
    return m_index < m_pages.pageCount() ? m_pages.page(m_index).message : noAttachmentsText();
}

void AttachmentPageView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x5f, 0x63, 0x68));
    const QImage image = shownImage();
    if (!image.isNull()) {
        const QSizeF size = image.deviceIndependentSize();
        const QRectF area = QRectF(contentsRect());
        const QRectF place(area.center().x() - size.width() / 2, area.center().y() - size.height() / 2,
                           size.width(), size.height());
        painter.fillRect(place, Qt::white); // a PDF page without a ground of its own is white paper
        painter.drawImage(place, image);
        return;
    }
    // The message in place of the page, on a pale card in the middle.
    const QRect card = contentsRect().adjusted(kPageMargin, kPageMargin, -kPageMargin, -kPageMargin);
    const int width = std::min(card.width(), 420);
    QRect text(0, 0, width - 32, card.height());
    text = painter.fontMetrics().boundingRect(text, Qt::TextWordWrap | Qt::AlignCenter, shownMessage());
    QRect box(0, 0, width, text.height() + 40);
    box.moveCenter(card.center());
    painter.fillRect(box, QColor(0xfd, 0xf6, 0xe3));
    painter.setPen(QColor(0x33, 0x3a, 0x42));
    painter.drawText(box.adjusted(16, 20, -16, -20), Qt::TextWordWrap | Qt::AlignCenter, shownMessage());
}

// ---- the window ----

AttachmentViewer::AttachmentViewer(int voucherNumber, std::vector<AttachmentSource> sources, QWidget* parent)
    : QWidget(parent, Qt::Window), m_voucherNumber(voucherNumber), m_pages(std::move(sources)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(viewerTitle(voucherNumber));

    m_list = new QListWidget(this);
    m_list->setFixedWidth(210);
    for (std::size_t index = 0; index < m_pages.pageCount(); ++index) {
        const AttachmentPages::Page& page = m_pages.page(index);
        QString line = QStringLiteral("%1  %2").arg(index + 1).arg(m_pages.source(page.source).title);
        if (page.pagesInFile > 1) {
            line += QStringLiteral(", sida %1").arg(page.pageInFile + 1);
        }
        auto* item = new QListWidgetItem(line, m_list);
        item->setToolTip(m_pages.source(page.source).title);
        if (!page.message.isEmpty()) {
            item->setForeground(QColor(0xa0, 0x20, 0x20));
        }
    }
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            showPage(static_cast<std::size_t>(row));
        }
    });

    m_heading = new QLabel(this);
    m_heading->setTextFormat(Qt::PlainText);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    m_path = new QLabel(this);
    m_path->setTextFormat(Qt::PlainText);
    m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_path->setStyleSheet(QStringLiteral("color: #5f6b7a;"));
    m_view = new AttachmentPageView(m_pages, this);

    m_previous = new QPushButton(QStringLiteral("Föregående"), this);
    m_next = new QPushButton(QStringLiteral("Nästa"), this);
    m_previous->setToolTip(QStringLiteral("Page Up"));
    m_next->setToolTip(QStringLiteral("Page Down"));
    m_number = new QLabel(this);
    m_number->setAlignment(Qt::AlignCenter);
    m_number->setMinimumWidth(
        QFontMetrics(m_number->font()).horizontalAdvance(QStringLiteral("Sida 888 av 888")) + 16);
    auto* closeButton = new QPushButton(QStringLiteral("Stäng"), this);
    for (QPushButton* button : {m_previous, m_next, closeButton}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
    }
    connect(m_previous, &QPushButton::clicked, this, &AttachmentViewer::previousPage);
    connect(m_next, &QPushButton::clicked, this, &AttachmentViewer::nextPage);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    bar->addWidget(m_previous);
    bar->addWidget(m_number);
    bar->addWidget(m_next);
    bar->addStretch(1);
    bar->addWidget(closeButton);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(m_heading);
    right->addWidget(m_path);
    right->addWidget(m_view, 1);
    right->addLayout(bar);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_list);
    layout->addLayout(right, 1);

    const auto key = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::Key_PageDown), [this] { nextPage(); });
    key(QKeySequence(Qt::Key_PageUp), [this] { previousPage(); });
    key(QKeySequence(Qt::Key_Home), [this] { showPage(0); });
    key(QKeySequence(Qt::Key_End), [this] {
        if (m_pages.pageCount() > 0) {
            showPage(m_pages.pageCount() - 1);
        }
    });
    key(QKeySequence(Qt::Key_Escape), [this] { close(); });

    if (m_pages.pageCount() > 0) {
        m_list->setCurrentRow(0);
    }
    showPage(0);
    m_list->setFocus();
}

AttachmentViewer::~AttachmentViewer() = default;

QSize AttachmentViewer::sizeHint() const {
    QSize wanted(880, 900);
    if (const QScreen* shown = screen()) {
        wanted = wanted.boundedTo(shown->availableGeometry().size() * 0.9);
    }
    return wanted;
}

void AttachmentViewer::showPage(std::size_t index) {
    const std::size_t count = m_pages.pageCount();
    m_current = count == 0 ? 0 : std::min(index, count - 1);
    if (count > 0 && m_list->currentRow() != static_cast<int>(m_current)) {
        m_list->setCurrentRow(static_cast<int>(m_current));
    }
    m_view->showPage(m_current);
    m_heading->setText(headingText());
    m_path->setText(count > 0 ? m_pages.source(m_pages.page(m_current).source).path : QString());
    m_path->setVisible(count > 0);
    m_number->setText(pageNumberText());
    m_previous->setEnabled(count > 0 && m_current > 0);
    m_next->setEnabled(count > 0 && m_current + 1 < count);
}

void AttachmentViewer::nextPage() {
    if (m_current + 1 < m_pages.pageCount()) {
        showPage(m_current + 1);
    }
}

void AttachmentViewer::previousPage() {
    if (m_current > 0) {
        showPage(m_current - 1);
    }
}

QString AttachmentViewer::pageNumberText() const {
    if (m_pages.pageCount() == 0) {
        return QStringLiteral("Inga sidor");
    }
    return QStringLiteral("Sida %1 av %2").arg(m_current + 1).arg(m_pages.pageCount());
}

QString AttachmentViewer::headingText() const {
    if (m_pages.pageCount() == 0) {
        return noAttachmentsText();
    }
    const AttachmentPages::Page& page = m_pages.page(m_current);
    const QString& title = m_pages.source(page.source).title;
    if (page.pagesInFile > 1) {
        return QStringLiteral("%1 \u2013 sida %2 av %3")
            .arg(title)
            .arg(page.pageInFile + 1)
            .arg(page.pagesInFile);
    }
    return title;
}

void placeOnScreen(QWidget& window, const QWidget* over) {
    const QScreen* screen = over != nullptr ? over->screen() : window.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    // What the window manager adds around the window: its title bar and edges.
    const QMargins frame(6, 30, 6, 6);
    const QSize wanted = window.sizeHint().boundedTo(room.size().shrunkBy(frame));
    window.resize(wanted.expandedTo(window.minimumSizeHint()).boundedTo(room.size().shrunkBy(frame)));
    QRect place(QPoint(), window.size().grownBy(frame));
    place.moveCenter(over != nullptr ? over->frameGeometry().center() : room.center());
    // Kept inside the screen: never a title bar or a button out of reach.
    place.moveLeft(
        std::clamp(place.left(), room.left(), std::max(room.left(), room.right() - place.width() + 1)));
    place.moveTop(
        std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() - place.height() + 1)));
    window.move(place.topLeft());
}

AttachmentViewer* showAttachmentViewer(QWidget* parent, int voucherNumber,
                                       std::vector<AttachmentSource> sources) {
    if (parent != nullptr) {
        for (AttachmentViewer* open : parent->findChildren<AttachmentViewer*>(Qt::FindDirectChildrenOnly)) {
            if (open->voucherNumber() == voucherNumber) {
                open->close();
            }
        }
    }
    auto* viewer = new AttachmentViewer(voucherNumber, std::move(sources), parent);
    placeOnScreen(*viewer, parent);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace kv::ui
