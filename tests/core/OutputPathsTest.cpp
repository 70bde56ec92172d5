// No output replaces a company's own files, and an existing file is replaced
// only by one of its own kind: the rule, and the commands that write files.
#include "CliRunner.h"
#include "InterruptedSave.h"
#include "TestSupport.h"

#include "storage/CompanyDatabase.h"
#include "storage/OutputPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

namespace session = test::interrupted;

TEST(OutputPaths, NoOutputLandsOnACompanysFilesOrOverAFileOfAnotherKind) {
    const test::TempDir dir;
    const auto file = [&dir](const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
        test::writeFile(dir.file(name), bytes);
        return dir.file(name);
    };
    const std::string zip = std::string("PK\x03\x04", 4) + "zip";
    const std::string company = file("Firma.bok", std::string("\x01\0\0\0", 4));
    std::filesystem::create_symlink(company, dir.file("länk.zip"));
    struct Case {
        std::string path;
        OutputKind kind;
        bool refused;
    };
    const std::vector<Case> cases = {
        {company, OutputKind::Zip, true},
        {dir.file("Ny.bok"), OutputKind::Pdf, true}, // a company's name, even before there is one
        {dir.file("Firma.kvdb"), OutputKind::Text, true},
        {dir.file(".Firma.bok.lock"), OutputKind::Text, true},
        {dir.file("Firma_perioder/Firma0.per"), OutputKind::Text, true},
        {dir.file("Firma_perioder/rapport.pdf"), OutputKind::Pdf, true},
        {dir.file("Firma_underlag/kvitto.pdf"), OutputKind::Receipt, true},
        {dir.file("Firma_säkerhetskopior/2024-05-03_10-00-01/arkiv.zip"), OutputKind::Zip, true},
        {dir.file("länk.zip"), OutputKind::Zip, true}, // a link to the company file
        {dir.file("mallalternativ.mal"), OutputKind::Text, true},
        {dir.file("ny.zip"), OutputKind::Zip, false},
        {file("arkiv.zip", zip), OutputKind::Zip, false},
        {file("tom.zip", ""), OutputKind::Zip, false},
        {file("text.zip", "inte en zip"), OutputKind::Zip, true},
        {file("rapport.pdf", "%PDF-1.4"), OutputKind::Pdf, false},
        {file("fel.pdf", zip), OutputKind::Pdf, true},
        {file("rapport.csv", "Konto;Saldo\n"), OutputKind::Text, false},
        {file("binär.csv", std::string("\x01\0\0\0", 4)), OutputKind::Text, true},
        {file("0001-1-kvitto.jpg", "\xFF\xD8\xFF\xE0"), OutputKind::Receipt, false},
        {file("0001-2-kvitto.png", "text"), OutputKind::Receipt, true},
    };
    for (const Case& c : cases) {
        const auto refusal = outputRefusal(c.path, c.kind);
        EXPECT_EQ(refusal.has_value(), c.refused) << c.path;
        if (refusal) {
            EXPECT_TRUE(refusal->starts_with("Kan ej skriva till filen\n")) << *refusal;
        }
    }
    EXPECT_TRUE(outputFolderRefusal(dir.file("Firma_underlag")).has_value());
    EXPECT_FALSE(outputFolderRefusal(dir.path()).has_value());
}

// The commands that write files refuse a company's own and leave it byte for byte.
TEST(OutputPaths, TheCommandsRefuseToWriteOverTheCompany) {
    const test::TempDir templates;
    const test::TempDir dir;
    ASSERT_TRUE(session::prepare(dir.path(), templates.path()));
    const std::string path = session::companyPath(dir.path());
    const std::string period = periodFilePath(path, 0);
    const auto snapshot = [&] { return test::readFile(path) + test::readFile(period); };
    const std::string before = snapshot();
    const std::string company = test::quoted(path);
    const std::vector<std::string> commands = {
        "archive " + company + " " + company,
        "report trial-balance " + company + " --format pdf --out " + company,
        "report income " + company + " --format xlsx --out " + test::quoted(period),
        "report journal " + company + " --format csv --out " + test::quoted(companyDatabasePath(path)),
        "export-sie " + company + " " + company,
        "attachments " + company + " --extract " + test::quoted(periodFolderPath(path)),
    };
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const test::CliRun run = test::runCli(dir, command);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(kMsgOutputIsCompanyFile), std::string::npos) << run.err;
        EXPECT_EQ(snapshot(), before);
    }
}

} // namespace
} // namespace kv
