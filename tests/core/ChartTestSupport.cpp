#include "ChartTestSupport.h"

#include "app/NewCompany.h"
#include "chart/ChartLayout.h"

#include <gtest/gtest.h>

namespace kv::test {

std::int32_t rowOf(const Grid& grid, const std::string& number) {
    for (std::int32_t row = 1; row <= grid.rowCount(); ++row) {
        if (grid.storedText(row, kColKontonr) == number) {
            return row;
        }
    }
    return 0;
}

bool typeInto(Grid& grid, std::int32_t row, std::int32_t col, const std::string& text) {
    if (!grid.moveCurrentCell({row, col})) {
        return false;
    }
    if (!grid.beginEdit(text)) {
        return false;
    }
    return grid.endEdit();
}

void setUpCompany(CTallvingeDoc& doc, const std::string& templateName, const std::string& templateFolder) {
    const NewCompanyResult result =
        createDefaultCompany(doc, {templateName, 1, 2012, 12, 2012, templateFolder});
    ASSERT_TRUE(result.ok) << result.error;
}

} // namespace kv::test
