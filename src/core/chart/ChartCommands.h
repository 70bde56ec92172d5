// The commands of the menu "Kontoplan" that edit the charts and the templates.
#pragma once

#include "chart/ChartLayout.h"

namespace kv {

class AppServices;
class CommandRegistry;
class CTallvingeDoc;
class Prompter;
class TemplateStore;

// The chart editor of one kind, until the user closes it; an approval applies
// at once. A company that follows one of the user's templates gets its rows
// from templates.
void runChartEditor(CTallvingeDoc& doc, Prompter& prompter, ChartKind kind, const TemplateStore& templates);

void registerChartCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
