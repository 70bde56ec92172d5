// Arranging the company's windows in the main window's area: where a new
// window goes, "Överlappande", "Ordna vågrätt" and "Ordna ikoner".
#include "app/MainWindow.h"

#include "app/ChildWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace kv::ui {

namespace {

QSize defaultWindowSize(WindowKind kind) {
    switch (kind) {
    case WindowKind::VoucherList:
        return {550, 350};
    case WindowKind::IncomeStatement:
    case WindowKind::BalanceSheet:
        return {620, 460};
    case WindowKind::VatReport:
    case WindowKind::BudgetReport:
        return {830, 640};
    default:
        return {600, 420};
    }
}

} // namespace

// The place of the window that is index-th in a cascade (-1: the voucher
// list's own corner): a title bar further down and to the right for each,
// big enough to show a report's columns, kept inside the area.
QRect MainWindow::cascadedPlace(const ChildWindow& child, int index) const {
    const int step = child.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &child);
    const QPoint place = index < 0 ? QPoint(10, 10) : QPoint(index % 8, index % 8) * step;
    QSize size = defaultWindowSize(child.kind());
    if (m_mdi->isVisible()) { // before the main window shows, the area has no size yet
        const QRect area = m_mdi->viewport()->rect();
        size = (area.size() * 3 / 4)
                   .expandedTo(size)
                   .boundedTo(QSize(std::max(area.width() - place.x(), 200),
                                    std::max(area.height() - place.y(), 150)));
    }
    return {place, size};
}

// "Överlappande": the shown windows restored and laid over each other as
// they open, each as big as a newly opened one (Qt's own cascade shrinks
// them to their smallest size).
void MainWindow::cascade() {
    int index = 0;
    for (QMdiSubWindow* sub : m_mdi->subWindowList(QMdiArea::StackingOrder)) {
        auto* child = qobject_cast<ChildWindow*>(sub);
        if (child == nullptr || sub->isMinimized()) {
            continue;
        }
        if (sub->isMaximized()) {
            sub->showNormal();
        }
        sub->setGeometry(cascadedPlace(*child, index++));
    }
}

void MainWindow::tileHorizontally() {
    QList<QMdiSubWindow*> shown;
    int iconHeight = 0;
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (sub->isMinimized()) {
            iconHeight = std::max(iconHeight, sub->height());
        } else {
            if (sub->isMaximized()) {
                sub->showNormal();
            }
            shown.append(sub);
        }
    }
    if (shown.isEmpty()) {
        return;
    }
    // One above the other, each the full width; room is left for the icons.
    const QRect area = m_mdi->viewport()->rect().adjusted(0, 0, 0, -iconHeight);
    const int height = area.height() / static_cast<int>(shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        const int top = area.top() + i * height;
        const int bottom = i == shown.size() - 1 ? area.bottom() + 1 : top + height;
        shown[i]->setGeometry(area.left(), top, area.width(), bottom - top);
    }
}

void MainWindow::arrangeIcons() {
    const QRect area = m_mdi->viewport()->rect();
    int x = area.left();
    int y = area.bottom() + 1;
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (!sub->isMinimized()) {
            continue;
        }
        if (x > area.left() && x + sub->width() > area.right()) {
            x = area.left();
            y -= sub->height();
        }
        sub->move(x, y - sub->height());
        x += sub->width();
    }
}

} // namespace kv::ui
