// The period commands as the user meets them, through the menus: "Skapa ny
// period", "Öppna period", "Ändra periodslutsdatum" and "Byt företagets
// namn...", with their questions, refusals and files; and three years of a
// company's books from the first voucher to a new name.
#include "AppFakeHost.h"
#include "PeriodTestSupport.h"
#include "ScriptedPrompter.h"

#include "app/AppController.h"
#include "model/DocumentTexts.h"
#include "periods/PeriodDialogModel.h"
#include "periods/PeriodListModel.h"
#include "periods/PeriodTexts.h"
#include "periods/RenameDialogModel.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

using C = CommandId;
using Said = std::vector<std::string>;
using test::readFile;

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// A saved company, Firma.bok, with its first year 2012 open and the user at
// the menus.
struct Books {
    test::TempDir dir;
    test::TempDir templates;
    test::ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};
    std::string path = dir.file("Firma.bok");

    Books() {
        test::newCompanyWithoutPeriod(controller, prompter);
        test::buildSmallCompany(doc());
        EXPECT_TRUE(saveCompany(doc(), path).ok);
    }
    CTallvingeDoc& doc() { return controller.document(); }
    // The company gets a VAT rule, which "Nytt verifikat" asks for.
    void takeVouchers() {
        CAutomoms rule;
        rule.m_dMomssats = 25.0;
        rule.m_nKreditkonto = 3000;
        rule.m_nKreditMomskonto = 2440;
        doc().setVatRules({rule});
    }
    [[nodiscard]] std::string periodFile(int index) const { return periodFilePath(path, index); }
    void forget() {
        prompter.said.clear();
        prompter.dialogs.clear();
        host.log.clear();
    }

    // The user types the end month into the period dialog and presses OK.
    void typeEnd(int month, int year) {
        prompter.on<PeriodDialogModel>([this, month, year](PeriodDialogModel& dialog) {
            dialog.setEndMonth(month);
            dialog.setEndYearText(std::to_string(year));
            return dialog.accept(prompter) ? Answer::Ok : Answer::Cancel;
        });
    }
    // The user picks a period in the list "Öppna period".
    void pick(int index) {
        prompter.on<PeriodListModel>([index](PeriodListModel& list) {
            list.select(index);
            return list.accept() ? Answer::Ok : Answer::Cancel;
        });
    }
    // "Skapa ny period" for the calendar year, every question answered OK.
    void newYear(int year) {
        prompter.answer(Answer::Ok);
        typeEnd(12, year);
        controller.execute(C::NewPeriod);
    }
    // "Öppna period" of the period at index, leaving one of the last two.
    void open(int index) {
        prompter.answer(Answer::Ok);
        pick(index);
        controller.execute(C::OpenPeriod);
    }
    // Three calendar years, 2012 to 2014, with the last one open and saved.
    void threeYears() {
        test::postFirstYear(doc());
        newYear(2013);
        test::postVoucher(doc(), 3, 2, 2013, {{1930, 250, 0}, {3010, 0, 250}});
        newYear(2014);
        EXPECT_TRUE(controller.save());
        forget();
    }
};

// The company as its company file holds it now.
CompanyState companyFile(const std::string& path) {
    CTallvingeDoc doc;
    EXPECT_TRUE(openCompany(doc, path).ok);
    return copyCompanyState(doc.state());
}

TEST(NewPeriodCommand, SavesTheYearLeftAndOpensTheNext) {
    Books books;
    test::postFirstYear(books.doc());
    books.forget();
    books.newYear(2013);

    EXPECT_EQ(books.prompter.said, Said{kMsgFilenSparas});
    EXPECT_EQ(books.prompter.dialogs, Said{kPeriodDialogTitle});
    EXPECT_EQ(books.host.log, Said{"öppna råbalans"}); // afresh, before the dialog
    // The year left is saved whole, under its own number, before it closes.
    const CompanyState saved = companyFile(books.path);
    EXPECT_EQ(saved.m_perioder.size(), 1U);
    EXPECT_EQ(saved.m_verifikat.size(), 6U);
    EXPECT_TRUE(exists(books.periodFile(0)));
    EXPECT_FALSE(exists(books.periodFile(1)));
    EXPECT_EQ(books.doc().state().m_nAktuellPeriod, 1);
    EXPECT_TRUE(books.doc().isModified());
    EXPECT_TRUE(books.controller.save());
    EXPECT_TRUE(exists(books.periodFile(1)));
}

TEST(NewPeriodCommand, EachRefusalComesBeforeAnythingIsWritten) {
    struct Case {
        const char* name;
        std::function<void(Books&)> setUp;
        std::vector<Answer> answers;
        Said said;
    };
    const std::vector<Case> cases = {
        {"an earlier period open",
         [](Books& b) {
             test::loadEdited(b.doc(), [](CompanyState& c) {
                 CPeriod later;
                 later.m_nFranManad = 1;
                 later.m_nFranAr = 2013;
                 later.m_nTillManad = 12;
                 later.m_nTillAr = 2013;
                 c.m_perioder.push_back(std::move(later));
             });
         },
         {},
         {"För att fortsätta måste den sista perioden med slutdatum 12.2013 öppnas. "}},
        {"no carried-profit account",
         [](Books& b) {
             test::loadEdited(b.doc(), [](CompanyState& c) { c.m_balKonton[8]->m_strKolumn2 = ""; });
         },
         {},
         {kMsgVinstkontoSaknas}},
        {"the question cancelled", [](Books&) {}, {Answer::Cancel}, {kMsgFilenSparas}},
        {"never saved",
         [](Books& b) { test::loadEdited(b.doc(), [](CompanyState& c) { c.m_strFilnamn = kNyttForetag; }); },
         {Answer::Ok},
         {kMsgFilenSparas, kMsgSparaForNyPeriod}},
        {"the voucher dialog open",
         [](Books& b) {
             b.takeVouchers();
             test::openVoucherForm(b.controller);
         },
         {Answer::Ok},
         {kMsgFilenSparas, kMsgVerifikatdialogenNyPeriod}},
        {"the dialog cancelled",
         [](Books& b) {
             b.prompter.on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
         },
         {Answer::Ok},
         {kMsgFilenSparas}},
        {"an end before the start",
         [](Books& b) { b.typeEnd(12, 2012); },
         {Answer::Ok},
         {kMsgFilenSparas, kMsgKortare6, kMsgSlutdatumMindre}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Books books;
        test::postFirstYear(books.doc());
        ASSERT_TRUE(books.controller.save());
        books.typeEnd(12, 2013);
        test.setUp(books);
        books.forget();
        for (const Answer answer : test.answers) {
            books.prompter.answer(answer);
        }
        books.prompter.answer(Answer::Ok); // the short-period question of the last case
        const std::string company = readFile(books.path);
        const std::string period = readFile(books.periodFile(0));
        const std::string before = test::booksOf(books.doc().state());

        books.controller.execute(C::NewPeriod);
        EXPECT_EQ(books.prompter.said, test.said);
        EXPECT_EQ(test::booksOf(books.doc().state()), before);
        EXPECT_EQ(readFile(books.path), company);
        EXPECT_EQ(readFile(books.periodFile(0)), period);
    }
}

TEST(OpenPeriodCommand, AsksOnlyWhenLeavingOneOfTheLastTwoAndListsTheLocks) {
    Books books;
    books.threeYears();
    Said listed;
    std::int32_t selected = -1;
    books.prompter.on<PeriodListModel>([&](PeriodListModel& list) {
        listed = list.entries();
        selected = list.selected();
        list.select(0);
        return list.accept() ? Answer::Ok : Answer::Cancel;
    });
    books.prompter.answer(Answer::Ok);
    books.controller.execute(C::OpenPeriod);
    EXPECT_EQ(listed, (Said{"01.2012  -  12.2012   ( låst )", "01.2013  -  12.2013", "01.2014  -  12.2014"}));
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(books.prompter.said, Said{kMsgFilenSparas});
    EXPECT_EQ(books.doc().state().m_nAktuellPeriod, 0);
    EXPECT_EQ(books.doc().state().m_verifikat.size(), 6U);

    // Leaving the locked year asks nothing, but still saves it.
    books.forget();
    std::filesystem::remove(books.periodFile(0));
    books.pick(2);
    books.controller.execute(C::OpenPeriod);
    EXPECT_TRUE(books.prompter.said.empty());
    EXPECT_TRUE(exists(books.periodFile(0)));
    EXPECT_EQ(books.doc().state().m_nAktuellPeriod, 2);

    // With a statement window open nothing happens.
    books.forget();
    books.controller.openWindow(WindowKind::BalanceSheet);
    books.controller.execute(C::OpenPeriod);
    EXPECT_EQ(books.prompter.said, Said{kMsgStangRapporterForePeriod});
    EXPECT_TRUE(books.prompter.dialogs.empty());
}

TEST(OpenPeriodCommand, APeriodFileThatCannotBeReadLosesNothing) {
    struct Case {
        const char* name;
        std::function<void(Books&)> spoil;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing", [](Books& b) { std::filesystem::remove(b.periodFile(0)); }, kMsgKanEjOppna},
        {"cut short",
         [](Books& b) {
             const std::string bytes = readFile(b.periodFile(0));
             test::writeFile(b.periodFile(0), bytes.substr(0, bytes.size() / 2));
         },
         kMsgKanEjLasa},
        {"another company's",
         [](Books& b) {
             CTallvingeDoc other;
             test::buildSmallCompany(other);
             ASSERT_TRUE(saveCompany(other, b.dir.file("Annan.bok")).ok);
             std::filesystem::copy_file(periodFilePath(b.dir.file("Annan.bok"), 0), b.periodFile(0),
                                        std::filesystem::copy_options::overwrite_existing);
         },
         kMsgKanEjLasa},
        {"another period's",
         [](Books& b) {
             std::filesystem::copy_file(b.periodFile(1), b.periodFile(0),
                                        std::filesystem::copy_options::overwrite_existing);
         },
         kMsgKanEjLasa},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Books books;
        books.threeYears();
        test.spoil(books);
        const std::string before = test::booksOf(books.doc().state());
        books.open(0);

        ASSERT_EQ(books.prompter.said.size(), 2U);
        EXPECT_EQ(books.prompter.said[1].rfind(test.message + "\n" + books.periodFile(0) + "\n\n", 0), 0U)
            << books.prompter.said[1];
        EXPECT_EQ(test::booksOf(books.doc().state()), before);
        // What was saved on the way is the open year, whole.
        const CompanyState saved = companyFile(books.path);
        EXPECT_EQ(saved.m_nAktuellPeriod, 2);
        EXPECT_EQ(saved.m_allaKonton.size(), books.doc().state().m_allaKonton.size());
    }
}

TEST(ChangeEndDateCommand, OpensTheLastPeriodFirstAndSavesTheNewEnd) {
    Books books;
    test::postFirstYear(books.doc());
    books.newYear(2013);
    test::postVoucher(books.doc(), 3, 5, 2013, {{1930, 250, 0}, {3010, 0, 250}});
    books.open(0);
    books.forget();

    // Open the last period (its question and list), then the new end: April lies before voucher 1.
    books.prompter.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
    books.pick(1);
    books.prompter.on<PeriodDialogModel>([&books](PeriodDialogModel& dialog) {
        EXPECT_EQ(dialog.title(), std::string(kEndDateTitle));
        dialog.setEndMonth(4);
        dialog.setEndYearText("2013");
        EXPECT_FALSE(dialog.accept(books.prompter));
        dialog.setEndMonth(6);
        dialog.setEndYearText("2014");
        return dialog.accept(books.prompter) ? Answer::Ok : Answer::Cancel;
    });
    books.controller.execute(C::ChangeEndDate);
    EXPECT_EQ(books.prompter.said,
              (Said{"Endast den sista periodens slutdatum  ' december 2013 '  kan ändras",
                    "Öppna den sista perioden med slutdatum :  december 2013", kMsgFilenSparas,
                    kMsgSparasMedNyttDatum, kMsgKortare6, voucherAfterEndMessage(1)}));
    EXPECT_EQ(books.doc().state().m_perioder.back().m_nTillManad, 6);
    EXPECT_FALSE(books.doc().isModified());
    const CompanyState saved = companyFile(books.path);
    EXPECT_EQ(saved.m_perioder.back().m_nTillAr, 2014);
    EXPECT_EQ(saved.m_nTillManad, 6);
    const PeriodFileContents period = loadPeriodFile(books.doc(), 1);
    ASSERT_TRUE(period.report.ok);
    EXPECT_EQ(period.period.m_nTillAr, 2014);
}

TEST(RenameCommand, RefusesWhileAStatementOrTheVoucherDialogIsOpenAndChecksTheName) {
    Books books;
    books.controller.openWindow(WindowKind::IncomeStatement);
    books.takeVouchers();
    FormModel& voucher = test::openVoucherForm(books.controller);
    books.forget();
    books.controller.execute(C::RenameCompany);
    EXPECT_EQ(books.prompter.said, (Said{kMsgStangRapporterForeNamnbyte, kMsgVerifikatdialogenNamnbyte}));

    books.host.userCloses(WindowKind::IncomeStatement);
    ASSERT_TRUE(books.controller.closeFormByUser(voucher));
    books.forget();
    std::vector<RenameCheck> checks;
    books.prompter.on<RenameDialogModel>([&](RenameDialogModel& dialog) {
        EXPECT_EQ(dialog.currentName(), "Firma");
        for (const char* name : {"  ", "a/b", "Bolag\tAB", "Firma_perioder"}) {
            dialog.setNewName(name);
            checks.push_back(dialog.accept(books.prompter));
        }
        return Answer::Cancel; // a name taken closes the dialog as cancelled
    });
    books.controller.execute(C::RenameCompany);
    EXPECT_EQ(checks, (std::vector<RenameCheck>{RenameCheck::StayOpen, RenameCheck::StayOpen,
                                                RenameCheck::StayOpen, RenameCheck::Taken}));
    EXPECT_EQ(books.prompter.said, (Said{kMsgNamnbyteVarning, kMsgGeNyttNamn, kMsgNamnMedSnedstreck,
                                         kMsgNamnMedStyrtecken, nameTakenMessage(books.dir.path() + "/")}));
    EXPECT_EQ(books.doc().pathName(), books.path);
}

TEST(RenameCommand, APeriodThatCannotBeCopiedLeavesNothingUnderTheNewName) {
    Books books;
    books.threeYears();
    std::filesystem::remove(books.periodFile(1));
    books.prompter.on<RenameDialogModel>([&books](RenameDialogModel& dialog) {
        dialog.setNewName("Bolag");
        return dialog.accept(books.prompter) == RenameCheck::Accepted ? Answer::Ok : Answer::Cancel;
    });
    books.controller.execute(C::RenameCompany);

    EXPECT_EQ(books.prompter.said.back(),
              renameFailedMessage("perioden 01.2013  -  12.2013", "Bolag", "Firma"));
    EXPECT_FALSE(exists(books.dir.file("Bolag.bok")));
    EXPECT_FALSE(exists(books.dir.file("Bolag_perioder")));
    EXPECT_EQ(books.doc().pathName(), books.path);
    EXPECT_EQ(books.doc().state().m_strFilnamn, "Firma.bok");
    EXPECT_EQ(books.doc().state().m_nAktuellPeriod, 2); // back where the user was
    EXPECT_TRUE(exists(books.periodFile(2)));
}

// Three years as a treasurer keeps them: the books of the first year amended
// after the second began, a third year, a new name, and every year looked at
// again under it.
TEST(PeriodsOverThreeYears, EveryYearKeepsWhatWasTypedThroughAmendmentsAndARename) {
    Books books;
    test::postFirstYear(books.doc()); // result 1 000
    ASSERT_TRUE(books.controller.save());
    books.newYear(2013);
    test::postVoucher(books.doc(), 3, 2, 2013, {{1930, 250, 0}, {3010, 0, 250}});
    test::postVoucher(books.doc(), 4, 3, 2013, {{5010, 100, 0}, {1930, 0, 100}}); // result 150

    // A late sale of 100 in the first year, added to its voucher 2.
    books.open(0);
    ASSERT_EQ(books.doc().state().m_nAktuellPeriod, 0);
    CEttVerifikat amended = books.doc().state().m_verifikat[1];
    amended.m_rader.push_back({"Sen försäljning", "Bank", 1930, 100, 0, 0});
    amended.m_rader.push_back({"Sen försäljning", "Försäljning", 3000, 0, 100, 0});
    books.doc().amendVoucher(amended, 2);

    // The second year opens with the first year's amended closing balances.
    books.open(1);
    EXPECT_DOUBLE_EQ(test::account(books.doc().state(), 1930).m_rader.front().m_dDebet, 11900);
    EXPECT_DOUBLE_EQ(test::account(books.doc().state(), 2040).m_rader[1].m_dKredit, 1100);
    books.newYear(2014);
    test::postVoucher(books.doc(), 5, 1, 2014, {{1930, 50, 0}, {3000, 0, 50}}); // result 50
    ASSERT_TRUE(books.controller.save());

    books.forget();
    books.prompter.on<RenameDialogModel>([&books](RenameDialogModel& dialog) {
        dialog.setNewName("Bolag");
        return dialog.accept(books.prompter) == RenameCheck::Accepted ? Answer::Ok : Answer::Cancel;
    });
    books.controller.execute(C::RenameCompany);
    EXPECT_EQ(books.prompter.said, Said{kMsgNamnbyteVarning});
    const std::string renamed = books.dir.file("Bolag.bok");
    EXPECT_EQ(books.doc().pathName(), renamed);
    EXPECT_EQ(books.doc().title(), "Bolag");
    EXPECT_EQ(books.doc().state().m_nAktuellPeriod, 0);
    EXPECT_FALSE(books.doc().isModified());
    for (int index = 0; index < 3; ++index) {
        EXPECT_TRUE(exists(periodFilePath(renamed, index)));
        EXPECT_TRUE(exists(books.periodFile(index))); // the old company stays
    }
    EXPECT_TRUE(exists(books.path));

    struct Year {
        std::size_t vouchers;
        std::vector<std::pair<std::int32_t, Ore>> balances; // in öre
    };
    const std::vector<Year> years = {
        {6, {{1910, 0}, {1930, 1190000}, {2040, -1000000}, {2090, -110000}, {2440, -80000}, {3000, -310000}}},
        {2,
         {{1930, 1205000}, {2040, -1110000}, {2090, -15000}, {2440, -80000}, {3010, -25000}, {5010, 10000}}},
        {1, {{1930, 1210000}, {2040, -1125000}, {2090, -5000}, {2440, -80000}, {3000, -5000}, {3010, 0}}},
    };
    for (int index : {2, 1, 0}) {
        SCOPED_TRACE(index);
        books.forget();
        books.prompter.answer(Answer::Ok); // asked only when leaving one of the last two
        books.pick(index);
        books.controller.execute(C::OpenPeriod);
        const CompanyState& c = books.doc().state();
        ASSERT_EQ(c.m_nAktuellPeriod, index);
        EXPECT_EQ(c.m_strFilnamn, "Bolag.bok");
        const Year& year = years[static_cast<std::size_t>(index)];
        EXPECT_EQ(c.m_verifikat.size(), year.vouchers);
        for (const auto& [number, balance] : year.balances) {
            EXPECT_EQ(test::balanceOf(c, number), balance) << number;
        }
        EXPECT_EQ(test::balanceSheetTotal(c), 0);
    }
}

TEST(PeriodCommandRules, PeriodsNeedBothChartsAndAPeriodAndRenamingASavedCompany) {
    test::ScriptedPrompter prompter;
    const AppController app(prompter, "");
    AppState state;
    state.companyOpen = true;
    state.incomeChartApproved = true;
    state.balanceChartApproved = true;
    state.periodCount = 1;
    state.periodOpen = true;
    state.neverSaved = false;
    const auto enabled = [&](C id, const AppState& s) { return app.commands().state(id, s).enabled; };
    for (const C id : {C::OpenPeriod, C::NewPeriod, C::ChangeEndDate}) {
        EXPECT_TRUE(enabled(id, state));
        AppState without = state;
        without.periodOpen = false;
        EXPECT_FALSE(enabled(id, without));
        without = state;
        without.balanceChartApproved = false;
        EXPECT_FALSE(enabled(id, without));
    }
    EXPECT_TRUE(enabled(C::RenameCompany, state));
    state.neverSaved = true;
    EXPECT_FALSE(enabled(C::RenameCompany, state));
}

} // namespace
} // namespace kv
