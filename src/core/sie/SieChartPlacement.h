// Where an account that the template lacks goes in a chart editor's grid:
// on the same side of the chart, in the group of the account closest to it
// in kind (sharing its leading digits, else its BAS group, else its part of
// the balance sheet or its class) and, among those, in number.
#pragma once

#include "chart/ChartEditorModel.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The part of a chart that an account belongs to.
enum class ChartSide { Assets, Liabilities, Income };

// An account put into a chart, and where.
struct SieAddedAccount {
    std::int32_t number = 0;
    std::string name;
    ChartSide side = ChartSide::Income;
    std::int32_t beside = 0; // the chart's account it was put next to
};

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

// An account the chart lacks, with the first line of the file that names it.
struct SieMissingAccount {
    std::int32_t number = 0;
    std::string name; // from #KONTO; empty when the file has none
    char type = 0;    // from #KTYP
    std::size_t line = 0;
};

// Puts the accounts of the editor's sides into its grid, each named from the
// file or "Konto NNNN", in ascending order so that each goes in after the
// ones before it. Throws SieReadError for an account that cannot be placed.
std::vector<SieAddedAccount> placeAccounts(ChartEditorModel& editor, std::vector<SieMissingAccount> missing,
                                           std::initializer_list<ChartSide> sides);
// "2099  Årets resultat  (skulder och eget kapital, efter 2091)".
std::string addedAccountLine(const SieAddedAccount& account);

} // namespace kv
