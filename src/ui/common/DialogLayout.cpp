#include "common/DialogLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kv::ui {

namespace {

// The average width of the letters, and the line height, of the font the
// layouts were made for (8 points at 96 dots per inch).
constexpr double kLayoutLetterWidth = 5.7;
constexpr double kLayoutLineHeight = 13.0;

const QString& alphabet() {
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return letters;
}

} // namespace

double layoutScale(const QFont& font) {
    const QFontMetricsF metrics(font);
    const double letter = metrics.horizontalAdvance(alphabet()) / static_cast<double>(alphabet().size());
    return std::clamp(letter / kLayoutLetterWidth, 1.0, 3.0);
}

QSize dialogUnits(const QWidget& widget, int width, int height) {
    const QFontMetricsF metrics(widget.font());
    const double letter = std::max(kLayoutLetterWidth, metrics.horizontalAdvance(alphabet()) /
                                                           static_cast<double>(alphabet().size()));
    const double line = std::max(kLayoutLineHeight, metrics.height());
    // A dialog unit is a quarter of the letter width across and an eighth of the line height down.
    return {static_cast<int>(std::lround(width * letter / 4.0)),
            static_cast<int>(std::lround(height * line / 8.0))};
}

void fitTitle(QWidget& dialog) {
    QFont titleFont = dialog.font();
    titleFont.setBold(true);
    // The icon at the left, three buttons at the right and the frame.
    constexpr int kTitleBarRest = 150;
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle()) + kTitleBarRest;
    dialog.setMinimumWidth(std::max(dialog.minimumWidth(), wanted));
}

QString uiText(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace kv::ui
