// The four chart templates built into the program, as cell texts, and the
// rule by which a template name chooses one of them.
#pragma once

#include "chart/ChartLayout.h"
#include "model/TallvingeDoc.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class Grid;

inline constexpr const char* kMallRikssvensk = "RIKSSVENSK STANDARDMALL 75 ST KONTON";
inline constexpr const char* kMallBaskonto = "RIKSSVENSK BASKONTOMALL 247 ST KONTON";
inline constexpr const char* kMallFinlandssvensk = "FINLANDSSVENSK STANDARDMALL 75 ST KONTON";
inline constexpr const char* kMallForening = "FÖRENINGSMALL 22 ST KONTON";

// In the order in which the template chooser lists them.
inline constexpr std::array<const char*, 4> kBuiltInTemplateNames{kMallRikssvensk, kMallBaskonto,
                                                                  kMallFinlandssvensk, kMallForening};

bool isBuiltInTemplateName(const std::string& name);

// One filled row of a template; row 1 is the first chart row.
struct TemplateRowTexts {
    std::int32_t row = 0;
    ChartRowTexts texts;
};

// The rows of the built-in template that a template name selects: the
// association template, the 247-account template, or for any other name the
// 75-account template, whose VAT names carry 25/12/6 per cent for the
// Swedish standard name and 22/17/8 per cent otherwise.
std::vector<TemplateRowTexts> builtInTemplateRows(const std::string& templateName, ChartKind kind);

// Writes the template's cells into the chart grid, template row r on grid
// row r + rowOffset. In the balance chart the "Sa AKTIVA" row becomes read-only.
void fillBuiltInTemplate(Grid& grid, const std::string& templateName, ChartKind kind, std::int32_t rowOffset);

} // namespace kv
