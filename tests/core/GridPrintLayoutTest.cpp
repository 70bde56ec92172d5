#include "grid/GridPrintLayout.h"

#include <gtest/gtest.h>

#include <map>

namespace kv {
namespace {

// A page of 1000 x 1000 device units with lines 20 high: rows are 25 high and
// the footer keeps the last 30 free, so 37 rows fit under the title row.
GridPrintMetrics page() {
    GridPrintMetrics metrics;
    metrics.pageWidth = 1000;
    metrics.pageHeight = 1000;
    metrics.pixelScale = 2.0;
    metrics.lineHeight = 20;
    metrics.fontSize = 10;
    return metrics;
}

GridState numbered(std::int32_t rows, std::int32_t cols) {
    GridState state;
    state.setRowCount(rows);
    state.setColCount(cols);
    for (std::int32_t c = 1; c <= cols; ++c) {
        state.setText(0, c, "Kolumn " + std::to_string(c));
        state.setColumnWidth(c, 100);
    }
    for (std::int32_t r = 1; r <= rows; ++r) {
        state.setText(r, 1, "rad " + std::to_string(r));
    }
    return state;
}

std::vector<const PrintedCell*> cellsOfRow(const PrintedPage& page, std::int32_t row) {
    std::vector<const PrintedCell*> out;
    for (const PrintedCell& cell : page.cells) {
        if (cell.row == row) {
            out.push_back(&cell);
        }
    }
    return out;
}

TEST(GridPrintLayout, RowsBreakIntoPagesWithTitlesAndPageNumbers) {
    const GridState state = numbered(80, 2);
    const auto pages = layoutGridPages(state, page());
    ASSERT_EQ(pages.size(), 3U); // 37 + 37 + 6

    std::int32_t expectedRow = 1;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const PrintedPage& current = pages[p];
        // The column titles head every page, with a rule under them.
        const auto titles = cellsOfRow(current, 0);
        ASSERT_EQ(titles.size(), 2U);
        EXPECT_EQ(titles[0]->text, "Kolumn 1");
        EXPECT_EQ(titles[0]->rect, (PrintRect{0, 0, 200, 25}));
        EXPECT_EQ(titles[1]->rect.x, 200);
        EXPECT_EQ(titles[0]->style.align, HAlign::Center);
        ASSERT_EQ(current.rules.size(), 1U);
        EXPECT_EQ(current.rules[0].y, 25);
        EXPECT_EQ(current.rules[0].x2, 400);

        std::int32_t y = 25;
        for (const PrintedCell& cell : current.cells) {
            if (cell.row < 1) {
                continue;
            }
            EXPECT_EQ(cell.row, expectedRow);
            EXPECT_EQ(cell.text, "rad " + std::to_string(expectedRow));
            EXPECT_EQ(cell.rect.y, y);
            EXPECT_LE(cell.rect.bottom(), 1000 - 30);
            EXPECT_EQ(cell.style.align, HAlign::Left);
            y += 25;
            ++expectedRow;
        }
        const PrintedCell& footer = current.cells.back();
        EXPECT_EQ(footer.text, std::to_string(p + 1) + " / 3");
        EXPECT_EQ(footer.style.align, HAlign::Center);
        EXPECT_EQ(footer.rect, (PrintRect{0, 980, 1000, 20}));
    }
    EXPECT_EQ(expectedRow, 81); // every row once, in order
}

TEST(GridPrintLayout, AHeadingRepeatsOnEveryPageAboveTheTitles) {
    const GridState state = numbered(80, 1);
    const auto pages = layoutGridPages(state, page(), {"Resultaträkning", "2024-01-01 - 2024-12-31"});
    ASSERT_EQ(pages.size(), 3U); // 50 units of heading leave room for 35 rows a page
    for (const PrintedPage& current : pages) {
        EXPECT_EQ(current.cells[0].text, "Resultaträkning");
        EXPECT_TRUE(current.cells[0].style.bold);
        EXPECT_EQ(current.cells[1].rect.y, 20);
        EXPECT_FALSE(current.cells[1].style.bold);
        EXPECT_EQ(cellsOfRow(current, 0).front()->rect.y, 50);
    }
    EXPECT_EQ(cellsOfRow(pages[1], 36).front()->rect.y, 75); // the first row of page 2
}

TEST(GridPrintLayout, AGridWiderThanThePageIsCutIntoBandsDownThenOver) {
    GridState state = numbered(50, 5);
    state.setColumnWidth(0, 50);
    for (std::int32_t r = 1; r <= 50; ++r) {
        state.setText(r, 0, std::to_string(3000 + r)); // the program's row titles print on every band
        state.setText(r, 5, "sista");
    }
    state.setColumnWidth(3, 2000); // wider than a page: clipped to the room left
    const auto pages = layoutGridPages(state, page());
    // Bands: {1, 2, 3}? 3 alone is too wide, so {1, 2}, {3}, {4, 5}; two pages of rows each.
    ASSERT_EQ(pages.size(), 6U);
    std::map<std::int32_t, std::vector<std::size_t>> pagesOfColumn;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto first = cellsOfRow(pages[p], p % 2 == 0 ? 1 : 38);
        ASSERT_FALSE(first.empty()) << p;
        EXPECT_EQ(first.front()->col, 0);
        EXPECT_EQ(first.front()->rect, (PrintRect{0, 25, 100, 25}));
        EXPECT_EQ(first.front()->style.align, HAlign::Center); // titles stand centred
        for (const PrintedCell& cell : pages[p].cells) {
            if (cell.row == 0 && cell.col > 0) {
                pagesOfColumn[cell.col].push_back(p);
                EXPECT_LE(cell.rect.right(), 1000);
            }
        }
    }
    EXPECT_EQ(pagesOfColumn[1], (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(pagesOfColumn[3], (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(pagesOfColumn[5], (std::vector<std::size_t>{4, 5}));
    EXPECT_EQ(cellsOfRow(pages[2], 0).back()->rect.width, 900);
    EXPECT_EQ(pages[5].cells.back().text, "6 / 6");
}

TEST(GridPrintLayout, OnlyWrittenTitlesAndRowsWithContentPrint) {
    GridState state;
    state.setRowCount(75); // a voucher grid: 75 rows, three in use
    state.setColCount(2);
    state.setText(1, 1, "1930");
    state.setText(3, 2, "Kassa");
    CellStyle pink;
    pink.background = rgb(255, 192, 203);
    state.setStyle(4, 1, pink);
    const auto pages = layoutGridPages(state, page());
    ASSERT_EQ(pages.size(), 1U);
    // No titles were written: no title row, no title column, no rule; the
    // rows start at the top and an empty row keeps its place.
    EXPECT_TRUE(cellsOfRow(pages[0], 0).empty());
    EXPECT_TRUE(pages[0].rules.empty());
    EXPECT_EQ(cellsOfRow(pages[0], 1).front()->rect, (PrintRect{0, 0, 160, 25}));
    EXPECT_EQ(cellsOfRow(pages[0], 3).front()->rect, (PrintRect{160, 50, 160, 25}));
    const auto coloured = cellsOfRow(pages[0], 4);
    ASSERT_EQ(coloured.size(), 1U);
    EXPECT_EQ(coloured[0]->style.background, rgb(255, 192, 203));
    EXPECT_TRUE(cellsOfRow(pages[0], 5).empty());
    EXPECT_EQ(pages[0].cells.back().text, "1 / 1");

    const GridState empty;
    const auto blank = layoutGridPages(empty, page());
    ASSERT_EQ(blank.size(), 1U);
    ASSERT_EQ(blank[0].cells.size(), 1U);
    EXPECT_EQ(blank[0].cells[0].text, "1 / 1");
}

TEST(GridPrintLayout, LargerFontsMakeTallerRows) {
    GridState state = numbered(60, 1);
    CellStyle big;
    big.fontSize = 30;
    big.align = HAlign::Right;
    state.setStyle(2, 1, big);
    const auto pages = layoutGridPages(state, page());
    ASSERT_EQ(pages.size(), 2U);
    const PrintedCell& tall = *cellsOfRow(pages[0], 2).front();
    EXPECT_EQ(tall.rect.height, 65); // three lines of the grid's font and the usual air
    EXPECT_EQ(tall.style.align, HAlign::Right);
    EXPECT_EQ(cellsOfRow(pages[0], 3).front()->rect.y, 25 + 25 + 65);
    EXPECT_TRUE(cellsOfRow(pages[0], 37).empty()); // the tall row pushed row 37 over
    EXPECT_FALSE(cellsOfRow(pages[1], 37).empty());
}

TEST(GridPrintLayout, ADeviceWithoutRoomGetsNoPages) {
    const GridState state = numbered(5, 2);
    GridPrintMetrics metrics = page();
    metrics.pageHeight = 40; // not even the titles and the footer fit
    EXPECT_TRUE(layoutGridPages(state, metrics).empty());
    metrics = page();
    metrics.lineHeight = 0;
    EXPECT_TRUE(layoutGridPages(state, metrics).empty());
    metrics = page();
    metrics.pixelScale = 0.0;
    EXPECT_TRUE(layoutGridPages(state, metrics).empty());
}

} // namespace
} // namespace kv
