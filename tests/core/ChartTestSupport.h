// Helpers of the chart, template, period and VAT tests.
#pragma once

#include "TestSupport.h"
#include "grid/Grid.h"
#include "model/TallvingeDoc.h"

#include <optional>
#include <string>
#include <vector>

namespace kv::test {

// A chart-template folder of its own, removed when it goes.
using TemplateFolder = TempDir;

// The grid row whose account number column holds number, or 0.
std::int32_t rowOf(const Grid& grid, const std::string& number);

// Records where the grid was asked to scroll.
class ScrollRecorder : public GridListener {
public:
    void gridCellsChanged(const CellRange&) override {}
    void gridLayoutChanged() override {}
    void gridCurrentCellChanged() override {}
    void gridEditChanged() override {}
    void gridScrollTo(CellPos cell) override { scrolls.push_back(cell); }
    void gridFocus() override {}

    std::vector<CellPos> scrolls;
};

// Types text into a cell as the user does: move there, type, end the edit.
// Returns false when the edit was refused (the grid then stays in the cell).
bool typeInto(Grid& grid, std::int32_t row, std::int32_t col, const std::string& text);

// A new company with the first period January to December 2012, set up from
// the template (built in, or a user template of templateFolder) with every
// default accepted.
void setUpCompany(CTallvingeDoc& doc, const std::string& templateName, const std::string& templateFolder);

} // namespace kv::test
