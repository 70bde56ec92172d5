// "kvistoran-cli new": a company made from the command line is the company
// that the window program makes when every default is taken.
#include "ChartTestSupport.h"
#include "CliRunner.h"

#include "app/NewCompany.h"
#include "chart/ChartTemplates.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "storage/TemplateStore.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

using test::CliRun;
using test::quoted;
using test::readFile;
using test::TempDir;

CliRun runNew(const TempDir& dir, const std::string& templateFolder, const std::string& arguments) {
    return test::runCli(dir, "new " + arguments, "KVISTORAN_MALLAR=" + quoted(templateFolder));
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename() != "stderr.txt") {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

TEST(NewCompanyCli, WritesTheCompanyTheWindowProgramWouldMake) {
    TempDir dir;
    TempDir templates;
    const std::string out = dir.file("Förening.bok");
    const CliRun run =
        runNew(dir, templates.path(),
               "--template 'FÖRENINGSMALL 22 ST KONTON' --from 2012-07 --to 2013-06 " + quoted(out));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(fileExists(dir.file("Förening_perioder/Förening0.per")));

    CTallvingeDoc made;
    ASSERT_TRUE(openCompany(made, out).ok);
    ASSERT_EQ(made.state().m_perioder.size(), 1u);
    EXPECT_EQ(made.periodLabel(), "7.2012 - 6.2013");
    EXPECT_EQ(made.state().m_bNyttForetag, 0);
    EXPECT_EQ(made.state().m_resKonton.size(), 236u);
    EXPECT_EQ(made.state().m_balKonton.size(), 138u);
    EXPECT_EQ(made.state().m_momsregler.size(), 54u);

    // The same company made in memory, as the flows of the window program make it.
    test::TemplateFolder folder;
    CTallvingeDoc expected;
    ASSERT_TRUE(createDefaultCompany(expected, {kMallForening, 7, 2012, 6, 2013, folder.path()}).ok);
    ASSERT_EQ(made.state().m_allaKonton.size(), expected.state().m_allaKonton.size());
    for (std::size_t i = 0; i < made.state().m_allaKonton.size(); ++i) {
        EXPECT_EQ(*made.state().m_allaKonton[i], *expected.state().m_allaKonton[i]) << i;
    }
    EXPECT_EQ(made.state().m_momsregler, expected.state().m_momsregler);
}

TEST(NewCompanyCli, StartsFromAUserTemplate) {
    TempDir dir;
    test::TemplateFolder templates; // the tool and this test share it
    ASSERT_EQ(runNew(dir, templates.path(),
                     "--template 'RIKSSVENSK STANDARDMALL 75 ST KONTON' --from 2012-01 --to 2012-12 " +
                         quoted(dir.file("Mall.bok")))
                  .status,
              0);
    {
        CTallvingeDoc source;
        ASSERT_TRUE(openCompany(source, dir.file("Mall.bok")).ok);
        test::loadEdited(source, [](CompanyState& state) {
            state.m_resKonton[2]->m_strKolumn2 = "Egen försäljning";
            state.m_strFilnamn = "Mall.bok";
        });
        auto mall = std::make_unique<CKontoplan>();
        mall->m_strNamn = "Mall.bok";
        mall->m_nAntalRes = static_cast<std::int32_t>(source.state().m_resKonton.size());
        mall->m_nAntalBal = static_cast<std::int32_t>(source.state().m_balKonton.size());
        mall->m_konton = copyKontoList(source.state().m_allaKonton);
        mall->m_momsregler = source.state().m_momsregler;
        TemplateStore store(templates.path());
        store.store(std::move(mall), std::nullopt);
        ASSERT_TRUE(store.write().ok);
    }
    const CliRun run =
        runNew(dir, templates.path(),
               "--from 2013-01 --to 2013-12 --template Mall.bok " + quoted(dir.file("Ny.bok")));
    ASSERT_EQ(run.status, 0) << run.err;
    CTallvingeDoc made;
    ASSERT_TRUE(openCompany(made, dir.file("Ny.bok")).ok);
    EXPECT_EQ(made.state().m_resKonton[2]->m_strKolumn2, "Egen försäljning");
    EXPECT_EQ(made.state().m_momsregler[0].m_dMomssats, 25.0);
}

TEST(NewCompanyCli, RefusesWithOneLineAndWritesNothing) {
    TempDir dir;
    TempDir templates;
    struct Case {
        std::string arguments;
        std::string error;
    };
    const std::string out = quoted(dir.file("Firma.bok"));
    const Case cases[] = {
        {"--template 'OKÄND MALL' --from 2012-01 --to 2012-12 " + out,
         "kvistoran-cli: Mallen \"OKÄND MALL\" finns inte bland kontoplanmallarna. Mallfilen " +
             templates.path() + "/mallalternativ.mal finns inte.\n"},
        {"--template 'FÖRENINGSMALL 22 ST KONTON' --from 2000-01 --to 2000-12 " + out,
         "kvistoran-cli: Felaktigt begynnelseår\n"},
        {"--template 'FÖRENINGSMALL 22 ST KONTON' --from 2012-06 --to 2012-06 " + out,
         "kvistoran-cli: Slutdatum mindre eller lika med begynnelsedatum\n"},
        {"--template 'FÖRENINGSMALL 22 ST KONTON' --from 2012-01 --to 2100-12 " + out,
         "kvistoran-cli: Ange årtalet som ett heltal mellan 2000 och 2099.\n"},
        {"--template 'FÖRENINGSMALL 22 ST KONTON' --from 2012-13 --to 2012-12 " + out,
         "kvistoran-cli: perioden skrivs ÅÅÅÅ-MM, t.ex. 2012-01: 2012-13\n"},
        {"--template 'FÖRENINGSMALL 22 ST KONTON' --from 2012-01 " + out,
         "kvistoran-cli: new behöver --template, --from, --to och en utfil; se kvistoran-cli --help\n"},
        {"--template 'FÖRENINGSMALL 22 ST KONTON' --from 2012-01 --to 2012-12 " +
             quoted(dir.file("Firma.txt")),
         "kvistoran-cli: företagsfilen måste sluta på .bok: " + dir.file("Firma.txt") + "\n"},
        {"--template A --template B --from 2012-01 --to 2012-12 " + out,
         "kvistoran-cli: felaktiga argument till new; se kvistoran-cli --help\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = runNew(dir, templates.path(), c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.err, c.error);
        EXPECT_TRUE(filesIn(dir.path()).empty()) << c.arguments;
    }
    EXPECT_TRUE(filesIn(templates.path()).empty());

    // An existing file is never overwritten.
    test::writeFile(dir.file("Firma.bok"), "gammal");
    const CliRun run = runNew(dir, templates.path(),
                              "--template 'FÖRENINGSMALL 22 ST KONTON' --from 2012-01 --to 2012-12 " + out);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(readFile(dir.file("Firma.bok")), "gammal");
}

TEST(NewCompanyCli, HelpDescribesTheCommand) {
    TempDir dir;
    const std::string command = std::string(KVISTORAN_CLI) + " --help > " + quoted(dir.file("help.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string help = readFile(dir.file("help.txt"));
    EXPECT_NE(help.find("kvistoran-cli new --template MALL --from ÅÅÅÅ-MM --to ÅÅÅÅ-MM UT.bok"),
              std::string::npos);
}

} // namespace
} // namespace kv
