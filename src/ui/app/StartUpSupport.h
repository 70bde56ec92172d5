// What start-up needs from Qt: the default printer's page and the Swedish
// texts of Qt's own dialogs.
#pragma once

#include "app/StartUp.h"

#include <optional>

class QCoreApplication;

namespace kv::ui {

// The default printer's printable height and default-font line height, or
// nothing when there is no printer.
std::optional<PrinterMetrics> defaultPrinterMetrics();

// Loads the Swedish translation of Qt's dialogs, whatever the user's locale:
// the program's own (translations/qtbase_sv.ts, installed in
// share/kvistoran/translations beside the program) over the system's.
void installSwedishQtTexts(QCoreApplication& app);

} // namespace kv::ui
