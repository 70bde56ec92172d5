#include "grid/GridPrinting.h"

#include "grid/GridCellLook.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace kv::ui {

namespace {

// Column widths are pixels of a screen at 96 dots per inch.
constexpr double kScreenDpi = 96.0;

QFont printFont(const QFont& gridFont) {
    QFont font = gridFont;
    if (font.pointSizeF() <= 0) {
        font.setPointSizeF(10);
    }
    return font;
}

QRect toQRect(const PrintRect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

} // namespace

void paintGridPage(QPainter& painter, const PrintedPage& page, const QFont& gridFont, int resolution) {
    const QFont font = printFont(gridFont);
    const int pad = static_cast<int>(std::lround(3 * resolution / kScreenDpi));
    for (const PrintedCell& cell : page.cells) {
        const QRect rect = toQRect(cell.rect);
        if (cell.style.background) {
            painter.fillRect(rect, toQColor(*cell.style.background));
        }
        if (cell.text.empty()) {
            continue;
        }
        painter.setFont(cellFont(font, cell.style));
        painter.setPen(cell.style.textColor ? toQColor(*cell.style.textColor) : QColor(Qt::black));
        painter.setClipRect(rect);
        painter.drawText(rect.adjusted(pad, 0, -pad, 0),
                         static_cast<int>(toQtAlignment(cell.style.align) | Qt::AlignVCenter),
                         QString::fromStdString(cell.text));
        painter.setClipping(false);
    }
    QPen rule(Qt::black);
    rule.setWidth(std::max(1, resolution / 150));
    painter.setPen(rule);
    for (const PrintedRule& line : page.rules) {
        painter.drawLine(line.x1, line.y, line.x2, line.y);
    }
}

std::vector<PrintedPage> gridPages(QPrinter& printer, const GridState& state, const QFont& gridFont,
                                   const QStringList& heading) {
    const QRect paper = printer.pageLayout().paintRectPixels(printer.resolution());
    const QFont font = printFont(gridFont);
    GridPrintMetrics metrics;
    metrics.pageWidth = paper.width();
    metrics.pageHeight = paper.height();
    metrics.pixelScale = printer.resolution() / kScreenDpi;
    metrics.lineHeight = QFontMetrics(font, &printer).height();
    metrics.fontSize = static_cast<std::int32_t>(std::lround(font.pointSizeF()));
    std::vector<std::string> lines;
    for (const QString& line : heading) {
        lines.push_back(line.toStdString());
    }
    return layoutGridPages(state, metrics, lines);
}

void paintGridPages(QPrinter& printer, const std::vector<PrintedPage>& pages, const QFont& gridFont) {
    if (pages.empty()) {
        return;
    }
    const int count = static_cast<int>(pages.size());
    const int first = printer.fromPage() > 0 ? std::min(printer.fromPage(), count) : 1;
    const int last = printer.toPage() > 0 ? std::min(printer.toPage(), count) : count;
    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    for (int page = first; page <= last; ++page) {
        if (page > first) {
            printer.newPage();
        }
        paintGridPage(painter, pages[static_cast<std::size_t>(page - 1)], gridFont, printer.resolution());
    }
    painter.end();
}

} // namespace kv::ui
