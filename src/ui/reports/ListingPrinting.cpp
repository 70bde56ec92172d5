#include "reports/ListingPrinting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace kv::ui {

namespace {

class QtMeasurer final : public TextMeasurer {
public:
    QtMeasurer(const QFont& font, QPaintDevice* device) : m_metrics(font, device) {}
    [[nodiscard]] std::int32_t width(const std::string& utf8) const override {
        return m_metrics.horizontalAdvance(QString::fromStdString(utf8));
    }
    [[nodiscard]] int ascent() const { return m_metrics.ascent(); }

private:
    QFontMetrics m_metrics;
};

} // namespace

QFont pageFont() {
    // Liberation Sans where Arial is missing: the same widths, and a font the
    // PDF may embed.
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    static_cast<void>(substituted);
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10);
    return font;
}

PrintDevice printDeviceOf(QPrinter& printer) {
    const QRect paper = printer.pageLayout().paintRectPixels(printer.resolution());
    PrintDevice device;
    device.width = paper.width();
    device.height = paper.height();
    device.lineHeight = QFontMetrics(pageFont(), &printer).height();
    device.dpi = printer.resolution();
    return device;
}

void setUpPdfPrinter(QPrinter& pdf, const QString& fileName, const QString& title) {
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    pdf.setResolution(300);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
    pdf.setOutputFileName(fileName);
    pdf.setDocName(title);
}

void printListing(QPrinter& printer, const Listing& listing, int linesPerPage) {
    const PrintDevice device = printDeviceOf(printer);
    const int count = pageCount(listing.size(), linesPerPage);
    const int first = printer.fromPage() > 0 ? std::min(printer.fromPage(), count) : 1;
    const int last = printer.toPage() > 0 ? std::min(printer.toPage(), count) : count;
    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    const QFont font = pageFont();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QtMeasurer measurer(font, &printer);
    for (int page = first; page <= last; ++page) {
        if (page > first) {
            printer.newPage();
        }
        const ListingPage laidOut = layoutListingPage(listing, device, measurer, linesPerPage, page);
        for (const PagePlacement& text : laidOut.texts) {
            painter.drawText(text.x, text.y + measurer.ascent(), QString::fromStdString(text.text));
        }
    }
    painter.end();
}

} // namespace kv::ui
