#include "grid/Grid.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

Grid& sized(Grid& grid, std::int32_t rows, std::int32_t cols) {
    grid.setRowCount(rows);
    grid.setColCount(cols);
    return grid;
}

TEST(GridFind, FindReplaceAndFindAgain) {
    Grid grid;
    sized(grid, 4, 3);
    grid.setText(1, 2, "Kassa");
    grid.setText(3, 1, "kassa och bank");
    grid.setText(4, 3, "KASSA");
    FindOptions options{"kassa", false, false};
    EXPECT_EQ(grid.find(options).found, (CellPos{1, 2}));
    EXPECT_EQ(grid.findAgain().found, (CellPos{3, 1}));
    EXPECT_EQ(grid.findAgain().found, (CellPos{4, 3}));
    EXPECT_EQ(grid.findAgain().found, (CellPos{1, 2})); // wraps around

    options.matchCase = true;
    EXPECT_EQ(grid.find(options).found, (CellPos{3, 1}));
    options.matchCase = false;
    options.wholeCell = true;
    EXPECT_EQ(grid.find(options).found, (CellPos{4, 3}));
    EXPECT_EQ(grid.find({"saknas", false, false}).found, std::nullopt);

    grid.moveCurrentCell({3, 1});
    grid.replace({"kassa", false, false}, "Kassan");
    EXPECT_EQ(grid.text(3, 1), "Kassan och bank");
    EXPECT_EQ(grid.replaceAll({"kassa", false, true}, "Bank").replaced, 2);
    EXPECT_EQ(grid.text(1, 2), "Bank");
    EXPECT_EQ(grid.text(4, 3), "Bank");
    EXPECT_EQ(grid.find({"ÅÄÖ", false, false}).found, std::nullopt);
    grid.setText(2, 2, "åäö");
    EXPECT_EQ(grid.find({"ÅÄÖ", false, false}).found, (CellPos{2, 2}));
}

// Refuses to store "fel", as a program's cell check does.
class RefusingHooks : public GridHooks {
public:
    bool validateCell(Grid& grid, std::int32_t row, std::int32_t col) override {
        return grid.text(row, col) != "fel";
    }
};

enum class Act { Find, FindAgain, Replace, ReplaceAll };
enum class Before { Nothing, RefusedEdit, ProtectRow3, WriteProtect };

FindOutcome run(Grid& grid, Act act, const FindOptions& options) {
    switch (act) {
    case Act::Find:
        return grid.find(options);
    case Act::FindAgain:
        return grid.findAgain();
    case Act::Replace:
        return grid.replace(options, "Bank");
    case Act::ReplaceAll:
        return grid.replaceAll(options, "Bank");
    }
    return {};
}

// Each search and replace tells the user exactly one thing, or nothing.
TEST(GridFind, TheOutcomeSaysWhatToTellTheUser) {
    const std::string protectedGrid = "Skrivskyddet är på: inga celler kan ersättas.";
    const std::nullopt_t none = std::nullopt;
    struct Case {
        const char* name;
        Before before;
        CellPos current;
        Act act;
        FindOptions options;
        FindOutcome expected;
        CellPos currentAfter;
    };
    // clang-format off
    const std::vector<Case> cases{
        {"found",                 Before::Nothing,     {1, 1}, Act::Find,       {"kassa", false, false},
         {CellPos{1, 2}, 0, none},                              {1, 2}},
        {"wrapped",               Before::Nothing,     {4, 3}, Act::Find,       {"och", false, false},
         {CellPos{3, 1}, 0, none},                              {3, 1}},
        {"not found",             Before::Nothing,     {2, 2}, Act::Find,       {"saknas", false, false},
         {none, 0, "Hittade inte \"saknas\"."},                {2, 2}},
        {"no search to repeat",   Before::Nothing,     {2, 2}, Act::FindAgain,  {},
         {none, 0, none},                                       {2, 2}},
        {"the open edit refused", Before::RefusedEdit, {2, 2}, Act::Find,       {"kassa", false, false},
         {none, 0, none},                                       {2, 2}},
        {"replaced, next found",  Before::Nothing,     {1, 2}, Act::Replace,    {"kassa", false, true},
         {CellPos{4, 3}, 1, none},                              {4, 3}},
        {"replaced the last",     Before::Nothing,     {4, 3}, Act::Replace,    {"KASSA", true, true},
         {none, 1, "Hittade inte \"KASSA\"."},                 {4, 3}},
        {"replaced all",          Before::Nothing,     {1, 1}, Act::ReplaceAll, {"kassa", false, false},
         {none, 3, "3 celler ersattes."},                       {1, 1}},
        {"replaced one",          Before::Nothing,     {1, 1}, Act::ReplaceAll, {"och", false, false},
         {none, 1, "1 cell ersattes."},                         {1, 1}},
        {"nothing to replace",    Before::Nothing,     {1, 1}, Act::ReplaceAll, {"saknas", false, false},
         {none, 0, "Hittade inte \"saknas\"."},                {1, 1}},
        {"only protected match",  Before::ProtectRow3, {1, 1}, Act::ReplaceAll, {"och", false, false},
         {none, 0, "0 celler ersattes."},                       {1, 1}},
        {"replace, grid locked",  Before::WriteProtect, {1, 2}, Act::Replace,   {"kassa", false, false},
         {none, 0, protectedGrid},                              {1, 2}},
        {"replace all, locked",   Before::WriteProtect, {1, 1}, Act::ReplaceAll, {"kassa", false, false},
         {none, 0, protectedGrid},                              {1, 1}},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Grid grid;
        RefusingHooks hooks;
        grid.setHooks(&hooks);
        sized(grid, 4, 3);
        grid.setText(1, 2, "Kassa");
        grid.setText(3, 1, "kassa och bank");
        grid.setText(4, 3, "KASSA");
        grid.moveCurrentCell(test.current);
        switch (test.before) {
        case Before::Nothing:
            break;
        case Before::RefusedEdit:
            grid.beginEdit("fel");
            break;
        case Before::ProtectRow3:
            grid.changeStyle({3, 1, 3, 3}, [](CellStyle& style) { style.readOnly = true; });
            break;
        case Before::WriteProtect:
            grid.toggleReadOnly();
            break;
        }
        const GridState before = grid.state();

        EXPECT_EQ(run(grid, test.act, test.options), test.expected);
        EXPECT_EQ(grid.currentCell(), test.currentAfter);
        // Nothing replaced: nothing changed.
        EXPECT_EQ(grid.state() == before, test.expected.replaced == 0);
    }
}

} // namespace
} // namespace kv
