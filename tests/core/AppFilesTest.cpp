// New, open, save, save as, close and exit of a company with real files, the
// save question, and the list of recent companies.
#include "AppFakeHost.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "app/RecentFiles.h"
#include "periods/PeriodDialogModel.h"
#include "reports/JournalReport.h"
#include "reports/ReportActions.h"
#include "reports/VoucherRangeModel.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

using C = CommandId;
using test::FakeHost;
using test::ScriptedPrompter;
using test::TempDir;

const char* const kQuestion = "Vill du spara ändringarna i Namnlös?";

struct App {
    test::TempDir templates;
    ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    FakeHost host{controller};

    App() {
        // The first period of a new company is left unchosen unless a test says otherwise.
        prompter.on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
    }
    // A new company, its first question answered.
    void newCompany() {
        controller.execute(C::NewCompany);
        prompter.said.clear();
        prompter.dialogs.clear();
    }

    CTallvingeDoc& doc() { return controller.document(); }
    void newChangedCompany() {
        newCompany();
        test::buildSmallCompany(doc());
        test::changeSomething(doc());
    }
};

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

TEST(AppFiles, StangAsksAndCancelKeepsTheCompany) {
    App app;
    app.newChangedCompany();
    app.prompter.answer(Answer::Cancel);
    app.controller.execute(C::CloseCompany);
    EXPECT_TRUE(app.controller.companyOpen());
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{kQuestion}));
}

TEST(AppFiles, StangWithNoClosesWithoutSaving) {
    App app;
    app.newChangedCompany();
    app.prompter.answer(Answer::No);
    app.controller.execute(C::CloseCompany);
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_TRUE(app.controller.recentFiles().files().empty());
}

TEST(AppFiles, AnUnchangedCompanyClosesWithoutAQuestion) {
    App app;
    app.newCompany();
    app.controller.execute(C::CloseCompany);
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_TRUE(app.prompter.said.empty());
}

TEST(AppFiles, YesSavesANewCompanyUnderTheChosenNameThenCloses) {
    TempDir dir;
    App app;
    app.newChangedCompany();
    app.prompter.answer(Answer::Yes).chooseFile(dir.file("Firma"));
    app.controller.execute(C::CloseCompany);
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{kQuestion, "<spara som Namnlös.bok>"}));
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_TRUE(exists(dir.file("Firma.bok")));
    EXPECT_TRUE(exists(dir.file("Firma_perioder/Firma0.per")));
    EXPECT_EQ(app.controller.recentFiles().files(), (std::vector<std::string>{dir.file("Firma.bok")}));
}

TEST(AppFiles, CancellingTheSaveNameKeepsTheCompanyOpen) {
    App app;
    app.newChangedCompany();
    app.prompter.answer(Answer::Yes).chooseFile(std::nullopt);
    app.controller.execute(C::Exit);
    EXPECT_TRUE(app.controller.companyOpen());
    EXPECT_FALSE(app.host.mainWindowClosed);
    EXPECT_TRUE(app.doc().isModified());
}

TEST(AppFiles, AFailedSaveIsToldAndNothingCloses) {
    TempDir dir;
    App app;
    app.newChangedCompany();
    const std::string path = dir.file("saknas/Firma.bok");
    app.prompter.answer(Answer::Yes).chooseFile(path);
    app.controller.execute(C::Exit);
    ASSERT_EQ(app.prompter.said.size(), 3U);
    EXPECT_EQ(app.prompter.said[2].rfind("Det gick inte att spara företaget i filen\n" + path + "\n\n", 0),
              0U);
    EXPECT_TRUE(app.controller.companyOpen());
    EXPECT_TRUE(app.doc().isModified());
    EXPECT_TRUE(app.doc().neverSaved());
    EXPECT_FALSE(app.host.mainWindowClosed);
    EXPECT_TRUE(app.controller.recentFiles().files().empty());
}

TEST(AppFiles, SpararIsOffAfterASaveAndOnAfterAChange) {
    TempDir dir;
    App app;
    app.newChangedCompany();
    EXPECT_TRUE(app.controller.commandState(C::Save).enabled);
    EXPECT_TRUE(app.controller.commandState(C::SaveAs).enabled);
    // Saving a company that was never saved asks for its name.
    app.prompter.chooseFile(dir.file("Firma.bok"));
    app.controller.execute(C::Save);
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{"<spara som Namnlös.bok>"}));
    EXPECT_FALSE(app.controller.commandState(C::Save).enabled);
    EXPECT_FALSE(app.controller.commandState(C::SaveAs).enabled); // named once and for all
    EXPECT_EQ(app.controller.mainWindowTitle(), "  Kvistoran - Firma");
    test::changeSomething(app.doc());
    EXPECT_TRUE(app.controller.commandState(C::Save).enabled);
    // The second save writes the same files without asking.
    app.controller.execute(C::Save);
    EXPECT_EQ(app.prompter.said.size(), 1U);
    EXPECT_FALSE(app.controller.commandState(C::Save).enabled);
    EXPECT_EQ(app.prompter.unscripted, 0);
}

TEST(AppFiles, OpeningACompanyOpensItsJournalAndRemembersIt) {
    TempDir dir;
    {
        CTallvingeDoc doc;
        test::buildSmallCompany(doc);
        ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    }
    App app;
    app.prompter.chooseFile(dir.file("Firma.bok"));
    app.controller.execute(C::OpenCompany);
    ASSERT_TRUE(app.controller.companyOpen());
    EXPECT_EQ(app.host.log, (std::vector<std::string>{"öppna grundbok"}));
    EXPECT_EQ(app.doc().title(), "Firma");
    EXPECT_FALSE(app.doc().isModified());
    EXPECT_TRUE(app.doc().bothChartsApproved());
    EXPECT_EQ(app.controller.recentFiles().files(), (std::vector<std::string>{dir.file("Firma.bok")}));
    // Closed, it can be opened again from the list.
    app.controller.execute(C::CloseCompany);
    EXPECT_TRUE(app.controller.commandState(C::RecentFile1).enabled);
    app.controller.execute(C::RecentFile1);
    EXPECT_TRUE(app.controller.companyOpen());
}

// The vouchers the user chose to print are the open company's, for as long
// as it is open: choosing them changes nothing of the books, and they go
// with the company.
TEST(AppFiles, TheJournalPrintRangeLastsAsLongAsTheCompanyIsOpen) {
    TempDir dir;
    {
        CTallvingeDoc doc;
        test::buildSmallCompany(doc);
        for (int day = 1; day <= 3; ++day) {
            test::postVoucher(doc, day, 3, 2012, {{1930, 10.0 * day, 0}, {3000, 0, 10.0 * day}});
        }
        ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    }
    App app;
    const auto listedVouchers = [&app] {
        return journalPrintRange(app.doc().state(), app.controller.reportSettings().journalRange);
    };
    app.prompter.chooseFile(dir.file("Firma.bok"));
    app.controller.execute(C::OpenCompany);
    ASSERT_TRUE(app.controller.companyOpen());
    EXPECT_EQ(listedVouchers().from, 1);
    EXPECT_EQ(listedVouchers().to, 3);
    app.prompter.said.clear();

    app.prompter.on<VoucherRangeModel>([&app](VoucherRangeModel& dialog) {
        dialog.setFromText("2");
        dialog.setToText("3");
        return dialog.accept(app.prompter) ? Answer::Ok : Answer::Cancel;
    });
    ASSERT_TRUE(chooseJournalRange(app.doc(), app.prompter, app.controller.reportSettings().journalRange));
    EXPECT_EQ(listedVouchers().from, 2);
    EXPECT_EQ(listedVouchers().to, 3);
    EXPECT_FALSE(app.doc().isModified());

    // Opened again, or another company: every voucher.
    app.controller.execute(C::CloseCompany);
    EXPECT_TRUE(app.prompter.said.empty()); // nothing to save, nothing asked
    app.controller.execute(C::RecentFile1);
    ASSERT_TRUE(app.controller.companyOpen());
    EXPECT_EQ(listedVouchers().from, 1);
    EXPECT_EQ(listedVouchers().to, 3);
    ASSERT_TRUE(chooseJournalRange(app.doc(), app.prompter, app.controller.reportSettings().journalRange));
    app.controller.execute(C::CloseCompany);
    app.newCompany();
    EXPECT_EQ(app.controller.reportSettings().journalRange.from, 0);
    EXPECT_EQ(app.controller.reportSettings().journalRange.to, 0);
    EXPECT_EQ(app.prompter.unscripted, 0);
}

TEST(AppFiles, AFileThatCannotBeOpenedIsToldAndNoCompanyOpens) {
    TempDir dir;
    test::writeFile(dir.file("Trasig.bok"), "inte ett företag");
    App app;
    app.prompter.chooseFile(dir.file("Trasig.bok"));
    app.controller.execute(C::OpenCompany);
    EXPECT_FALSE(app.controller.companyOpen());
    ASSERT_EQ(app.prompter.said.size(), 2U);
    EXPECT_EQ(
        app.prompter.said[1].rfind("Det gick inte att öppna företaget i filen\n" + dir.file("Trasig.bok"), 0),
        0U);
    EXPECT_TRUE(app.host.log.empty());
    EXPECT_TRUE(app.controller.recentFiles().files().empty());
}

TEST(AppFiles, ARecentFileThatIsGoneLeavesTheList) {
    TempDir dir;
    App app;
    app.controller.recentFiles().add(dir.file("Borta.bok"));
    app.controller.recentFiles().add(dir.file("Annan.bok"));
    app.controller.execute(C::RecentFile2);
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_EQ(app.prompter.said.size(), 1U);
    EXPECT_EQ(app.controller.recentFiles().files(), (std::vector<std::string>{dir.file("Annan.bok")}));
}

TEST(AppFiles, ACompanyOnTheCommandLineOpensAndStaysOpen) {
    TempDir dir;
    {
        CTallvingeDoc doc;
        test::buildSmallCompany(doc);
        ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    }
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    App app;
    const bool opened = app.controller.openAtStartUp("Firma.bok");
    std::filesystem::current_path(before);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(app.controller.companyOpen());
    EXPECT_EQ(app.doc().pathName(), dir.file("Firma.bok"));
    EXPECT_EQ(app.controller.recentFiles().files(), (std::vector<std::string>{dir.file("Firma.bok")}));
}

TEST(AppFiles, AvslutaClosesTheCompanyThenTheMainWindow) {
    App app;
    app.newChangedCompany();
    app.prompter.answer(Answer::No);
    app.controller.execute(C::Exit);
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_TRUE(app.host.mainWindowClosed);
    // Closing the main window itself asks the same question.
    App other;
    other.newChangedCompany();
    other.prompter.answer(Answer::Cancel);
    EXPECT_FALSE(other.controller.mayQuit());
    EXPECT_TRUE(other.controller.companyOpen());
}

TEST(AppRecentFiles, NewestFirstNoRepeatsAtMostFour) {
    RecentFiles files({"/a.bok", "", "/b.bok", "/a.bok"});
    EXPECT_EQ(files.files(), (std::vector<std::string>{"/a.bok", "/b.bok"}));
    for (const char* path : {"/c.bok", "/d.bok", "/e.bok", "/b.bok"}) {
        files.add(path);
    }
    EXPECT_EQ(files.files(), (std::vector<std::string>{"/b.bok", "/e.bok", "/d.bok", "/c.bok"}));
}

TEST(AppRecentFiles, MenuTextsNumberTheFilesAndShowAmpersands) {
    RecentFiles files;
    files.add("/srv/Bok & Co.bok");
    files.add("/home/anna/Firma.bok");
    EXPECT_EQ(files.menuText(0, "/home/anna"), "&1 ~/Firma.bok");
    EXPECT_EQ(files.menuText(1, "/home/anna"), "&2 /srv/Bok && Co.bok");
    EXPECT_EQ(files.menuText(2, "/home/anna"), "");
}

TEST(AppFiles, TheSaveNameGetsTheCompanyExtension) {
    EXPECT_EQ(withCompanyExtension("/tmp/Firma"), "/tmp/Firma.bok");
    EXPECT_EQ(withCompanyExtension("/tmp/Firma.bok"), "/tmp/Firma.bok");
    EXPECT_EQ(withCompanyExtension("/tmp.d/Firma"), "/tmp.d/Firma.bok");
}

} // namespace
} // namespace kv
