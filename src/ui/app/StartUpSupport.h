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

// Loads the Swedish translation of Qt's dialogs when it is installed.
void installSwedishQtTexts(QCoreApplication& app);

} // namespace kv::ui
