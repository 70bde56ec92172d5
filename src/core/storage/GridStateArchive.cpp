#include "storage/GridStateArchive.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kv {

namespace {

constexpr std::int32_t kLayoutVersion = 1;
constexpr std::int32_t kMinZoom = 10;
constexpr std::int32_t kMaxZoom = 1000;
constexpr std::int32_t kMaxFontSize = 400;
constexpr Rgb kRgbMask = 0xFFFFFF; // a colour with an alpha byte (0xAARRGGBB) keeps its colour

enum SettingsFlag : std::int32_t { kGridReadOnly = 1, kGridPrintLike = 2 };
enum StyleFlag : std::int32_t {
    kReadOnly = 1,
    kBackground = 2,
    kTextColor = 4,
    kBold = 8,
    kItalic = 16,
    kUnderline = 32,
};
constexpr std::int32_t kAllStyleFlags = 63;

// int32 row, int32 col, empty text, five int32 and an empty text
constexpr std::size_t kMinCellBytes = 4 + 4 + 1 + 4 + 4 + 4 + 1 + 4 + 4;

[[noreturn]] void refuse(const std::string& what) {
    throw ArchiveError("Filen innehåller ett felaktigt rutnät: " + what + ".");
}

std::int32_t styleFlags(const CellStyle& style) {
    return (style.readOnly ? kReadOnly : 0) | (style.background ? kBackground : 0) |
           (style.textColor ? kTextColor : 0) | (style.bold ? kBold : 0) | (style.italic ? kItalic : 0) |
           (style.underline ? kUnderline : 0);
}

std::int32_t inRange(std::int32_t value, std::int32_t low, std::int32_t high, const char* what) {
    if (value < low || value > high) {
        refuse(what);
    }
    return value;
}

CellStyle readStyle(ArchiveReader& in) {
    CellStyle style;
    const std::int32_t flags = in.readInt32();
    if ((flags & ~kAllStyleFlags) != 0) {
        refuse("okända formatflaggor");
    }
    const auto background = static_cast<Rgb>(in.readInt32());
    const auto textColor = static_cast<Rgb>(in.readInt32());
    if (background > kRgbMask || textColor > kRgbMask) {
        refuse("en ogiltig färg");
    }
    style.readOnly = (flags & kReadOnly) != 0;
    if ((flags & kBackground) != 0) {
        style.background = background;
    }
    if ((flags & kTextColor) != 0) {
        style.textColor = textColor;
    }
    style.bold = (flags & kBold) != 0;
    style.italic = (flags & kItalic) != 0;
    style.underline = (flags & kUnderline) != 0;
    style.fontFace = in.readText();
    style.fontSize = inRange(in.readInt32(), 0, kMaxFontSize, "en ogiltig teckenstorlek");
    style.align = static_cast<HAlign>(inRange(in.readInt32(), 0, 3, "en ogiltig justering"));
    return style;
}

// The grid keeps each row's cells in one array up to the row's last cell, so
// a cell far to the right costs a place for every column before it. A file
// may make the reader set up no more places than a fixed allowance plus a few
// per cell it stores: what reading costs is then bounded by the file's size.
constexpr std::uint64_t kFreeCellPlaces = 32768;
constexpr std::uint64_t kCellPlacesPerStoredCell = 4;

std::uint64_t cellPlaceAllowance(std::uint64_t storedCells) {
    return kFreeCellPlaces + kCellPlacesPerStoredCell * storedCells;
}

struct CellAt {
    std::int32_t row = 0;
    std::int32_t col = 0;
};

// The cells a save stores, row by row: those that differ from an empty cell,
// or, for a grid too sparse for the reader's allowance, every cell of each
// row up to its last such cell.
std::vector<CellAt> cellsToStore(const GridState& grid) {
    std::vector<CellAt> cells;
    grid.forEachStoredCell([&cells](std::int32_t row, std::int32_t col, const GridCell&) {
        cells.push_back({row, col});
    });
    std::uint64_t places = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i + 1 == cells.size() || cells[i + 1].row != cells[i].row) {
            places += static_cast<std::uint64_t>(cells[i].col) + 1;
        }
    }
    if (places <= cellPlaceAllowance(cells.size())) {
        return cells;
    }
    std::vector<CellAt> full;
    full.reserve(static_cast<std::size_t>(places));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i + 1 == cells.size() || cells[i + 1].row != cells[i].row) {
            for (std::int32_t col = 0; col <= cells[i].col; ++col) {
                full.push_back({cells[i].row, col});
            }
        }
    }
    return full;
}

// Sets a row's cells, the last first, so that the row takes its room once.
void placeRow(GridState& grid, std::int32_t row, std::vector<std::pair<std::int32_t, GridCell>>& cells) {
    for (auto cell = cells.rbegin(); cell != cells.rend(); ++cell) {
        grid.setCell(row, cell->first, std::move(cell->second));
    }
    cells.clear();
}

// The stored cells, in order, row by row and column by column.
void readCells(ArchiveReader& in, GridState& grid) {
    const std::size_t count = in.readCount(kMinCellBytes);
    const std::uint64_t allowance = cellPlaceAllowance(count);
    std::uint64_t placesBefore = 0; // in the rows before the current one
    std::int32_t currentRow = -1;
    std::int32_t lastCol = -1;
    std::vector<std::pair<std::int32_t, GridCell>> rowCells;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t row = inRange(in.readInt32(), 0, grid.rowCount(), "en cell utanför rutnätet");
        const std::int32_t col = inRange(in.readInt32(), 0, grid.colCount(), "en cell utanför rutnätet");
        if (row < currentRow || (row == currentRow && col <= lastCol)) {
            refuse("cellerna står i fel ordning");
        }
        if (row != currentRow) {
            placeRow(grid, currentRow, rowCells);
            placesBefore += static_cast<std::uint64_t>(lastCol + 1);
            currentRow = row;
        }
        lastCol = col;
        if (placesBefore + static_cast<std::uint64_t>(col) + 1 > allowance) {
            refuse("cellerna ligger för glest för att kunna läsas");
        }
        GridCell cell;
        cell.text = in.readText();
        cell.style = readStyle(in);
        rowCells.emplace_back(col, std::move(cell));
    }
    placeRow(grid, currentRow, rowCells);
}

} // namespace

void writeGridState(ArchiveWriter& out, const GridState& grid) {
    out.writeInt32(kLayoutVersion);
    out.writeInt32(grid.rowCount());
    out.writeInt32(grid.colCount());
    std::vector<std::int32_t> widths;
    for (std::int32_t c = 0; c <= grid.colCount(); ++c) {
        widths.push_back(grid.columnWidth(c));
    }
    out.writeInt32Array(widths);
    // Values are kept within what the reader accepts, so that a save is never unreadable.
    out.writeInt32(std::clamp(grid.settings().zoom, kMinZoom, kMaxZoom));
    out.writeInt32((grid.settings().readOnly ? kGridReadOnly : 0) |
                   (grid.settings().printLike ? kGridPrintLike : 0));
    const std::vector<CellAt> cells = cellsToStore(grid);
    out.writeCount(cells.size());
    for (const CellAt& at : cells) {
        const GridCell& cell = grid.cell(at.row, at.col);
        out.writeInt32(at.row);
        out.writeInt32(at.col);
        out.writeText(cell.text);
        out.writeInt32(styleFlags(cell.style));
        out.writeInt32(static_cast<std::int32_t>(cell.style.background.value_or(0) & kRgbMask));
        out.writeInt32(static_cast<std::int32_t>(cell.style.textColor.value_or(0) & kRgbMask));
        out.writeText(cell.style.fontFace);
        out.writeInt32(std::clamp(cell.style.fontSize, 0, kMaxFontSize));
        out.writeInt32(static_cast<std::int32_t>(cell.style.align));
    }
}

GridState readGridState(ArchiveReader& in) {
    if (in.readInt32() != kLayoutVersion) {
        refuse("okänd version");
    }
    GridState grid;
    const std::int32_t rows = inRange(in.readInt32(), 0, GridState::kMaxRows, "för många rader");
    const std::int32_t cols = inRange(in.readInt32(), 0, GridState::kMaxCols, "för många kolumner");
    grid.setRowCount(rows);
    grid.setColCount(cols);
    const std::vector<std::int32_t> widths = in.readInt32Array();
    if (widths.size() != static_cast<std::size_t>(cols) + 1) {
        refuse("fel antal kolumnbredder");
    }
    for (std::int32_t c = 0; c <= cols; ++c) {
        grid.setColumnWidth(c, inRange(widths[static_cast<std::size_t>(c)], 0, GridState::kMaxColumnWidth,
                                       "en ogiltig kolumnbredd"));
    }
    grid.settings().zoom = inRange(in.readInt32(), kMinZoom, kMaxZoom, "en ogiltig zoomnivå");
    const std::int32_t flags = in.readInt32();
    if ((flags & ~(kGridReadOnly | kGridPrintLike)) != 0) {
        refuse("okända inställningar");
    }
    grid.settings().readOnly = (flags & kGridReadOnly) != 0;
    grid.settings().printLike = (flags & kGridPrintLike) != 0;
    readCells(in, grid);
    return grid;
}

void writeGridStateRef(ArchiveWriter& out, const GridState* grid) {
    if (grid == nullptr) {
        out.writeNull();
        return;
    }
    out.writeNewObjectTag(ArchiveClass::GridParam);
    writeGridState(out, *grid);
}

std::unique_ptr<GridState> readGridStateRef(ArchiveReader& in) {
    const auto ref = in.readObjectTag(ArchiveClass::GridParam);
    switch (ref.kind) {
    case ArchiveReader::RefKind::Null:
        return nullptr;
    case ArchiveReader::RefKind::Back:
        throw ArchiveError("Filen använder samma rutnät två gånger.");
    case ArchiveReader::RefKind::New:
        break;
    }
    return std::make_unique<GridState>(readGridState(in));
}

} // namespace kv
