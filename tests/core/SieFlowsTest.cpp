// "Importera SIE-fil..." and "Exportera SIE-fil..." as the user meets them
// in the window program: the questions, the files and what is written.
#include "AppFakeHost.h"
#include "ScriptedPrompter.h"
#include "SieTestSupport.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "chart/TemplateChooserModel.h"
#include "periods/PeriodDialogModel.h"
#include "sie/SieFlows.h"
#include "sie/SieImportSummary.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

using C = CommandId;
using test::ScriptedPrompter;
using test::TempDir;

struct App {
    TempDir templates;
    TempDir files;
    ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};

    App() {
        prompter.on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
    }

    // The import's file and template choices, the template left as offered.
    void chooseImport(const std::string& file) {
        prompter.chooseFile(file);
        prompter.on<TemplateChooserModel>([](TemplateChooserModel& chooser) {
            EXPECT_EQ(chooser.entries()[static_cast<std::size_t>(chooser.selected())], kSieDefaultTemplate);
            chooser.accept();
            return Answer::Ok;
        });
    }
    void openBooks() {
        controller.execute(C::NewCompany);
        test::buildSmallCompany(controller.document());
        test::postVoucher(controller.document(), 5, 2, 2012, {{1930, 100, 0}, {3000, 0, 100}});
        prompter.said.clear();
    }
    [[nodiscard]] std::size_t filesWritten() const {
        const auto entries = std::filesystem::directory_iterator(files.path());
        return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
    }
};

TEST(SieFlows, ImportShowsTheSummarySavesTheCompanyAndOpensIt) {
    App app;
    const std::string source = test::sieTestFile("forening-utf8.se");
    app.chooseImport(source);
    std::size_t vouchersShown = 0;
    app.prompter.on<SieImportSummary>([&vouchersShown](const SieImportSummary& summary) {
        vouchersShown = summary.vouchers;
        return Answer::Yes;
    });
    app.prompter.chooseFile(app.files.file("Kvisten"));
    app.controller.execute(C::ImportSie);

    EXPECT_EQ(vouchersShown, 3U);
    EXPECT_EQ(app.prompter.dialogs, (std::vector<std::string>{kTemplateChooserTitle, kSieImportTitle}));
    EXPECT_EQ(app.prompter.said,
              (std::vector<std::string>{"<importera SIE>", templateFileMessage(app.templates.path()),
                                        kMsgValjImportmall, "<spara som Föreningen \"Kvisten\".bok>"}));
    const std::string saved = app.files.file("Kvisten.bok");
    EXPECT_TRUE(std::filesystem::exists(saved));
    EXPECT_TRUE(std::filesystem::exists(periodFilePath(saved, 0)));
    ASSERT_TRUE(app.controller.companyOpen());
    EXPECT_EQ(app.controller.document().pathName(), saved);
    EXPECT_EQ(app.controller.document().state().m_verifikat.size(), 3U);
    EXPECT_FALSE(app.controller.document().isModified());
    EXPECT_EQ(app.controller.recentFiles().files().front(), saved);
}

TEST(SieFlows, NothingIsWrittenUnlessTheUserSaysYesAndNamesTheFile) {
    for (const bool yes : {false, true}) {
        App app;
        app.chooseImport(test::sieTestFile("forening-pc8.se"));
        app.prompter.on<SieImportSummary>(
            [yes](const SieImportSummary&) { return yes ? Answer::Yes : Answer::Cancel; });
        if (yes) {
            app.prompter.chooseFile(std::nullopt); // Cancel in "Spara som"
        }
        app.controller.execute(C::ImportSie);
        EXPECT_FALSE(app.controller.companyOpen());
        EXPECT_EQ(app.filesWritten(), 0U);
        EXPECT_EQ(app.prompter.unscripted, 0);
    }
}

TEST(SieFlows, AFileThatCannotBeImportedIsRefusedWhole) {
    App app;
    const std::string source = app.files.file("trasig.se");
    test::writeFile(source, test::sieFile("#VER A 1 20240105 \"Hyra\"\n{\n#TRANS 5010 {} 100.00\n"));
    app.prompter.chooseFile(source);
    app.controller.execute(C::ImportSie);
    ASSERT_EQ(app.prompter.said.size(), 2U);
    EXPECT_EQ(app.prompter.said[1],
              "SIE-filen kan inte läsas in\n" + source +
                  "\n\nRad 4: Verifikatet avslutas inte med }: filen verkar vara avkortad.");
    EXPECT_TRUE(app.prompter.dialogs.empty());
    EXPECT_EQ(app.filesWritten(), 1U);
}

TEST(SieFlows, AFileLargerThanAnySieFileIsNotRead) {
    App app;
    const std::string source = app.files.file("stor.se");
    test::writeFile(source, "");
    std::filesystem::resize_file(source, kMaxSieFileBytes + 1); // sparse: nothing is written
    app.prompter.chooseFile(source);
    app.controller.execute(C::ImportSie);
    ASSERT_EQ(app.prompter.said.size(), 2U);
    EXPECT_EQ(app.prompter.said[1],
              "SIE-filen kan inte läsas in\n" + source +
                  "\n\nFilen är för stor för att vara en SIE-fil som programmet kan läsa in "
                  "(64 MB).");
}

TEST(SieFlows, BalancesThatDisagreeLeaveOnlyTheSummary) {
    App app;
    const std::string source = app.files.file("fel.se");
    test::writeFile(source, test::sieFile("#UB 0 1930 5.00\n"));
    app.chooseImport(source);
    bool offered = true;
    app.prompter.on<SieImportSummary>([&offered](const SieImportSummary& summary) {
        offered = summary.canImport();
        return Answer::Yes;
    });
    app.controller.execute(C::ImportSie);
    EXPECT_FALSE(offered);
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_EQ(app.filesWritten(), 1U);
}

TEST(SieFlows, ExportWritesTheFileAndTellsWhatItHolds) {
    App app;
    app.openBooks();
    app.prompter.chooseFile(app.files.file("utdrag"));
    app.controller.execute(C::ExportSie);
    const std::string path = app.files.file("utdrag.se");
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{"<exportera SIE Namnlös.se>",
                                                           "Företaget är exporterat till SIE-filen\n" + path +
                                                               "\n\n9 konton och 1 verifikat."}));
    const SieBooks books = readSieBooks(test::readFile(path));
    EXPECT_EQ(books.vouchers.size(), 1U);
}

TEST(SieFlows, ExportRefusesBooksOutOfBalanceBeforeAskingForAFile) {
    App app;
    app.openBooks();
    app.controller.document().registerVoucher(makeVoucher(6, 2, 2012, "Halv", {[] {
                                                              CVerifikatrad line;
                                                              line.m_nKonto = 1930;
                                                              line.m_dDebet = 5;
                                                              return line;
                                                          }()}));
    app.controller.execute(C::ExportSie);
    ASSERT_EQ(app.prompter.said.size(), 1U);
    EXPECT_TRUE(app.prompter.said[0].starts_with("Företaget kan inte exporteras som SIE-fil"));
    EXPECT_NE(app.prompter.said[0].find("verifikat 2 har differensen 5.00"), std::string::npos);
}

TEST(SieFlows, AnExportThatCannotBeWrittenSaysWhy) {
    App app;
    app.openBooks();
    const std::string folder = app.files.file("mapp.se");
    std::filesystem::create_directory(folder);
    for (const std::string& path : {folder, app.files.file("saknas/ut.se")}) {
        app.prompter.said.clear();
        app.prompter.chooseFile(path);
        app.controller.execute(C::ExportSie);
        ASSERT_EQ(app.prompter.said.size(), 2U);
        EXPECT_TRUE(app.prompter.said[1].starts_with("Det gick inte att skriva SIE-filen\n" + path + "\n\n"))
            << app.prompter.said[1];
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(app.filesWritten(), 1U);
}

TEST(SieFlows, ImportNeedsNoCompanyAndExportNeedsBooks) {
    App app;
    EXPECT_TRUE(app.controller.commandState(C::ImportSie).enabled);
    EXPECT_FALSE(app.controller.commandState(C::ExportSie).enabled);
    app.controller.execute(C::NewCompany);
    EXPECT_FALSE(app.controller.commandState(C::ImportSie).enabled);
    EXPECT_FALSE(app.controller.commandState(C::ExportSie).enabled); // no chart, no period yet
    test::buildSmallCompany(app.controller.document());
    EXPECT_TRUE(app.controller.commandState(C::ExportSie).enabled);
}

TEST(SieFlows, FileNamesAreMadeFromCompanyNames) {
    EXPECT_EQ(fileNameFor("Kvisten", ".bok"), "Kvisten.bok");
    EXPECT_EQ(fileNameFor("A/B \\ C", ".se"), "A-B - C.se");
    EXPECT_EQ(fileNameFor("  ..", ".se"), "Namnlös.se");
    EXPECT_EQ(withExtension("/a.b/firma", ".bok"), "/a.b/firma.bok");
    EXPECT_EQ(withExtension("/a/firma.sie", ".se"), "/a/firma.sie");
}

} // namespace
} // namespace kv
