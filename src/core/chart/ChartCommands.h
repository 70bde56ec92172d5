// The commands of the menu "Kontoplan" that edit the charts and the templates.
#pragma once

#include "chart/ChartLayout.h"

namespace kv {

class AppServices;
class CommandRegistry;
class CTallvingeDoc;
class Prompter;

// The chart editor of one kind, until the user closes it; an approval applies at once.
void runChartEditor(CTallvingeDoc& doc, Prompter& prompter, ChartKind kind);

void registerChartCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
