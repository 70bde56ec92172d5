#include "SieTestSupport.h"

#include "TestSupport.h"

namespace kv::test {

std::string sieTestFile(const std::string& name) {
    return std::string(KVISTORAN_SIE_FILES) + "/" + name;
}

std::string sieFile(const std::string& body) {
    return "#FLAGGA 0\n#SIETYP 4\n#RAR 0 20240101 20241231\n" + body;
}

SieImportResult importSie(const std::string& bytes, const std::string& templateName) {
    const TempDir templates;
    return buildSieCompany(readSieBooks(bytes), {templateName, templates.path(), "test.se"});
}

} // namespace kv::test
