#include "grid/GridCellLook.h"

#include <QFontMetrics>

#include <algorithm>

namespace kv::ui {

int textRowHeight(const QFont& font, int zoom) {
    const QFontMetrics metrics(font);
    // Å, Ä and Ö reach above the ascent in some fonts; g, j and y below the descent.
    const int inked = metrics.tightBoundingRect(QStringLiteral("ÅÄÖÉÜgjpqy")).height();
    const int pad = std::max(2, 3 * zoom / 100);
    return std::max(metrics.lineSpacing(), inked) + 2 * pad;
}

QFont zoomedFont(const QFont& gridFont, int zoom) {
    QFont font = gridFont;
    if (gridFont.pointSizeF() > 0) {
        font.setPointSizeF(std::max(1.0, gridFont.pointSizeF() * zoom / 100.0));
    } else if (gridFont.pixelSize() > 0) {
        font.setPixelSize(std::max(1, gridFont.pixelSize() * zoom / 100));
    }
    return font;
}

QFont cellFont(const QFont& gridFont, const CellStyle& style, int zoom) {
    QFont font = gridFont;
    if (!style.fontFace.empty()) {
        font.setFamilies({QString::fromStdString(style.fontFace)});
    }
    if (style.fontSize > 0) {
        font.setPointSizeF(style.fontSize);
    }
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    return zoomedFont(font, zoom);
}

QColor toQColor(Rgb colour) {
    return QColor(static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>(colour & 0xFF));
}

Rgb toRgb(const QColor& colour) {
    return rgb(colour.red(), colour.green(), colour.blue());
}

Qt::Alignment toQtAlignment(HAlign align) {
    switch (align) {
    case HAlign::Center:
        return Qt::AlignHCenter;
    case HAlign::Right:
        return Qt::AlignRight;
    case HAlign::Left:
    case HAlign::Default:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace kv::ui
