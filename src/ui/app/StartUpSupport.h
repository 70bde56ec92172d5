// What start-up needs from Qt: the default printer's page, the Swedish texts
// of Qt's own dialogs and the program's message box for stand-alone grids.
#pragma once

#include "app/StartUp.h"

#include <optional>

class QCoreApplication;

namespace kv::ui {

// The default printer's printable height and default-font line height, or
// nothing when there is no printer.
std::optional<PrinterMetrics> defaultPrinterMetrics();

// Before the application is made: Qt's file dialogs write dates in the
// system's time locale, so a desktop whose time locale is not Swedish gets
// Swedish dates (LC_TIME); the user's other locale settings stay as they are.
void preferSwedishDates();

// Makes Qt speak Swedish whatever the user's locale: Swedish as the default
// locale (month names and the descriptions of file types) and the Swedish
// translation of Qt's dialogs, the program's own (translations/qtbase_sv.ts,
// installed in share/kvistoran/translations beside the program) over the
// system's.
void installSwedishQtTexts(QCoreApplication& app);

// A grid whose owner gave it no prompter tells the user through the program's
// own message box (QtPrompter's), not the grid's plain one.
void installGridMessageBox();

} // namespace kv::ui
