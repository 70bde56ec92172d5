// The program's dialog layouts were made for a small Windows dialog font, in
// dialog units and in pixels; these helpers carry them over to the font the
// dialogs have here, so that the texts fit.
#pragma once

#include <QSize>

class QFont;
class QString;
class QWidget;

namespace kv::ui {

// How much wider text runs in font than in the font the layouts were made for (at least 1).
double layoutScale(const QFont& font);

// A size given in dialog units, in pixels for widget's font.
QSize dialogUnits(const QWidget& widget, int width, int height);

// A text of the program, as Qt holds text.
QString uiText(const char* text);

// Keeps the dialog wide enough that the window manager can show its whole
// title beside the title bar's icon and buttons.
void fitTitle(QWidget& dialog);

} // namespace kv::ui
