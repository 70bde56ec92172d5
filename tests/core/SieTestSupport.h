// Helpers of the SIE tests: the test files, small files written in a test,
// and a company built from them.
#pragma once

#include "sie/SieImport.h"

#include <string>

namespace kv::test {

// The path of a file of tests/core/sie.
std::string sieTestFile(const std::string& name);

// A file of type 4 for the year 2024: the lines of its head (#FLAGGA,
// #SIETYP, #RAR 0 on lines 1 to 3), then body, each line ending in "\n".
std::string sieFile(const std::string& body);
inline constexpr std::size_t kSieHeadLines = 3;

// The company a file makes with a template (no user templates).
SieImportResult importSie(const std::string& bytes, const std::string& templateName = kSieDefaultTemplate);

} // namespace kv::test
