// Where an account that the template lacks goes in a chart editor's grid:
// on the same side of the chart, in the group of the account closest to it
// in kind (sharing its leading digits, else its BAS group, else its part of
// the balance sheet or its class) and, among those, in number.
#pragma once

#include "chart/ChartEditorModel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The part of a chart that an account belongs to.
enum class ChartSide { Assets, Liabilities, Income };

// The side of an account by its class (its first digit): 1 the assets, 2
// the liabilities and equity, 3 to 8 the income statement; another class by
// the file's type letter (T assets, S liabilities, else income statement).
ChartSide chartSideOf(std::int32_t number, char sieType);

// The numbers of the accounts that the editor's grid holds.
std::vector<std::int32_t> gridAccountNumbers(const ChartEditorModel& editor);

// Puts the account into the editor's grid on its side, as a row of its own
// beside the nearest account; returns that account's number, or nothing
// when the side holds no account to stand beside.
std::optional<std::int32_t> placeAccount(ChartEditorModel& editor, ChartSide side, std::int32_t number,
                                         const std::string& name);

} // namespace kv
