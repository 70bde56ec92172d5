// Helpers of the chart, template, period and VAT tests.
#pragma once

#include "TestSupport.h"
#include "grid/Grid.h"
#include "model/TallvingeDoc.h"

#include <optional>
#include <string>
#include <vector>

namespace kv::test {

// Points the chart-template folder at a temporary folder for as long as it lives.
class TemplateFolder {
public:
    TemplateFolder();
    TemplateFolder(const TemplateFolder&) = delete;
    TemplateFolder& operator=(const TemplateFolder&) = delete;
    ~TemplateFolder();
    [[nodiscard]] const std::string& path() const { return m_dir.path(); }

private:
    TempDir m_dir;
    std::optional<std::string> m_previous;
};

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
// the template with every default accepted. Needs a TemplateFolder.
void setUpCompany(CTallvingeDoc& doc, const std::string& templateName);

} // namespace kv::test
