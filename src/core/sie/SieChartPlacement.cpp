#include "sie/SieChartPlacement.h"

#include "chart/TypedText.h"

#include <cstdlib>

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
    // The nearest account of the same class; failing that, of the side.
    std::int32_t best = 0;
    std::int32_t bestRow = 0;
    bool bestSameClass = false;
    for (std::int32_t row = rows.first; row <= rows.last && row <= grid.rowCount(); ++row) {
        const std::int32_t candidate = accountIn(grid, row);
        if (candidate <= 0 || grid.storedText(row, kColGrupp).empty()) {
            continue;
        }
        const bool sameClass = classOf(candidate) == classOf(number);
        const auto distance = std::llabs(static_cast<long long>(candidate) - number);
        const auto bestDistance = std::llabs(static_cast<long long>(best) - number);
        if (bestRow == 0 || (sameClass && !bestSameClass) ||
            (sameClass == bestSameClass && distance < bestDistance)) {
            best = candidate;
            bestRow = row;
            bestSameClass = sameClass;
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

} // namespace kv
