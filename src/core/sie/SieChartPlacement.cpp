#include "sie/SieChartPlacement.h"

#include "chart/TypedText.h"
#include "sie/SieBooks.h"

#include <algorithm>

#include <string>

namespace kv {

namespace {

struct Rows {
    std::int32_t first = 1;
    std::int32_t last = 0;
};

// The grid rows that hold the accounts of the side: the income statement
// above its three result rows; the assets below the heading and above their
// total; the liabilities below their heading (five rows under the assets
// total) and above their total.
Rows sideRows(const ChartEditorModel& editor, ChartSide side) {
    const std::int32_t endMarker = editor.endMarkerRow();
    if (side == ChartSide::Income) {
        return {1, endMarker - 4};
    }
    const auto assets = editor.assetsTotalRow();
    if (!assets) {
        return {};
    }
    if (side == ChartSide::Assets) {
        return {2, *assets - 1};
    }
    const auto liabilities = editor.liabilitiesTotalRow();
    return {*assets + 6, liabilities ? *liabilities - 1 : endMarker - 1};
}

std::int32_t accountIn(const Grid& grid, std::int32_t row) {
    const std::string& text = grid.storedText(row, kColKontonr);
    return !text.empty() && onlyDigits(text) ? readWholeNumber(text) : 0;
}

char classOf(std::int32_t number) {
    return std::to_string(number)[0];
}

// The part of the balance sheet that a BAS account group (its first two
// digits) belongs to: fixed and current assets, equity, untaxed reserves,
// provisions, long-term and short-term liabilities.
int balanceSection(int group) {
    if (group >= 10 && group <= 13) {
        return 1;
    }
    if (group >= 14 && group <= 19) {
        return 2;
    }
    if (group >= 20 && group <= 23) {
        return group - 17; // 3 to 6, one section each
    }
    return group >= 24 && group <= 29 ? 7 : 0;
}

// How closely two account numbers belong together: 3 when they share their
// first three digits, 2 their two-digit BAS group, 1 their part of the
// balance sheet (for the income statement, their class), else 0. Numbers
// that are not of four digits are kin by their class only.
int kinship(std::int32_t a, std::int32_t b) {
    const std::string x = std::to_string(a);
    const std::string y = std::to_string(b);
    if (x.size() != 4 || y.size() != 4) {
        return x[0] == y[0] ? 1 : 0;
    }
    if (x.compare(0, 3, y, 0, 3) == 0) {
        return 3;
    }
    if (x.compare(0, 2, y, 0, 2) == 0) {
        return 2;
    }
    if (x[0] != y[0]) {
        return 0;
    }
    const int section = balanceSection(std::stoi(x.substr(0, 2)));
    if (x[0] == '1' || x[0] == '2') {
        return section != 0 && section == balanceSection(std::stoi(y.substr(0, 2))) ? 1 : 0;
    }
    return 1;
}

} // namespace

ChartSide chartSideOf(std::int32_t number, char sieType) {
    switch (classOf(number)) {
    case '1':
        return ChartSide::Assets;
    case '2':
        return ChartSide::Liabilities;
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
        return ChartSide::Income;
    default:
        return sieType == 'T'   ? ChartSide::Assets
               : sieType == 'S' ? ChartSide::Liabilities
                                : ChartSide::Income;
    }
}

std::vector<std::int32_t> gridAccountNumbers(const ChartEditorModel& editor) {
    std::vector<std::int32_t> numbers;
    const Grid& grid = editor.grid();
    const std::int32_t endMarker = std::min(editor.endMarkerRow(), grid.rowCount() + 1);
    for (std::int32_t row = 1; row < endMarker; ++row) {
        if (const std::int32_t number = accountIn(grid, row); number > 0) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

std::optional<std::int32_t> placeAccount(ChartEditorModel& editor, ChartSide side, std::int32_t number,
                                         const std::string& name) {
    Grid& grid = editor.grid();
    const Rows rows = sideRows(editor, side);
    // Among the accounts closest in kind (sharing the leading digits, 26xx
    // beside 26xx; else of the same BAS group; else of the same part of the
    // balance sheet or class; failing all, of the side) it goes in numeric
    // order: before the first that follows it, or after the last one when
    // none follows. A template's account of another kind that happens to lie
    // nearer (an association's 2520 loan before its 2750) does not draw it.
    std::int32_t best = 0;
    std::int32_t bestRow = 0;
    int bestKinship = -1;
    const auto better = [number](std::int32_t candidate, std::int32_t current) {
        const bool follows = candidate > number;
        if (follows != (current > number)) {
            return follows;
        }
        return follows ? candidate < current : candidate > current;
    };
    for (std::int32_t row = rows.first; row <= rows.last && row <= grid.rowCount(); ++row) {
        const std::int32_t candidate = accountIn(grid, row);
        if (candidate <= 0 || grid.storedText(row, kColGrupp).empty()) {
            continue;
        }
        const int kin = kinship(candidate, number);
        if (kin > bestKinship || (kin == bestKinship && better(candidate, best))) {
            best = candidate;
            bestRow = row;
            bestKinship = kin;
        }
    }
    if (bestRow == 0) {
        return std::nullopt;
    }
    // After a lower neighbour, before a higher one: the numbers stay in order.
    const std::int32_t row = number > best ? bestRow + 1 : bestRow;
    const std::string group = grid.storedText(bestRow, kColGrupp);
    grid.insertRows(row, 1);
    grid.setText(row, kColKontonr, std::to_string(number));
    grid.setText(row, kColNamn, name);
    grid.setText(row, kColGrupp, group);
    return best;
}

std::vector<SieAddedAccount> placeAccounts(ChartEditorModel& editor, std::vector<SieMissingAccount> missing,
                                           std::initializer_list<ChartSide> sides) {
    std::sort(missing.begin(), missing.end(),
              [](const SieMissingAccount& a, const SieMissingAccount& b) { return a.number < b.number; });
    std::vector<SieAddedAccount> added;
    for (const SieMissingAccount& account : missing) {
        const ChartSide side = chartSideOf(account.number, account.type);
        if (std::find(sides.begin(), sides.end(), side) == sides.end()) {
            continue;
        }
        const std::string name =
            account.name.empty() ? "Konto " + std::to_string(account.number) : account.name;
        const auto beside = placeAccount(editor, side, account.number, name);
        if (!beside) {
            throw SieReadError(account.line,
                               "Konto " + std::to_string(account.number) +
                                   " kan inte placeras: kontoplanen har inga konton på den sidan att "
                                   "ställa det bredvid.");
        }
        added.push_back({account.number, name, side, *beside});
    }
    return added;
}

std::string addedAccountLine(const SieAddedAccount& account) {
    const char* side = account.side == ChartSide::Assets        ? "tillgångar"
                       : account.side == ChartSide::Liabilities ? "skulder och eget kapital"
                                                                : "resultaträkningen";
    return std::to_string(account.number) + "  " + account.name + "  (" + side +
           (account.number > account.beside ? ", efter " : ", före ") + std::to_string(account.beside) + ")";
}

} // namespace kv
