// A treasurer's first vouchers, typed with the keyboard: a new company, sales
// and a purchase split into net and VAT, an amendment from the voucher list,
// "Spara", and the company read back with every ledger row as typed.
#include "AppFakeHost.h"
#include "ChartTestSupport.h"
#include "VoucherTestSupport.h"

#include "app/AppController.h"
#include "app/AppTexts.h"
#include "app/SetupFlow.h"
#include "chart/ChartTemplates.h"
#include "periods/PeriodDialogModel.h"
#include "storage/CompanyFiles.h"
#include "voucher/VoucherCommands.h"
#include "voucher/VoucherTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <variant>

namespace kv {
namespace {

using C = CommandId;

constexpr GridKey kTab{GridKeyCode::Tab};
constexpr GridKey kEnter{GridKeyCode::Enter};
constexpr GridKey kVatKey{GridKeyCode::Divide, false, false, true, true};

// What the user does on the keyboard in the grid: a text types over the
// current cell, a key is pressed.
using Stroke = std::variant<std::string, GridKey>;

void strokes(Grid& grid, const std::vector<Stroke>& typed) {
    for (const Stroke& stroke : typed) {
        if (const auto* text = std::get_if<std::string>(&stroke)) {
            ASSERT_TRUE(grid.beginEdit(*text)) << *text;
        } else {
            grid.keyDown(std::get<GridKey>(stroke));
        }
    }
}

const CKonto& account(const CTallvingeDoc& doc, std::int32_t number) {
    return *doc.state().m_allaKonton.at(test::accountIndex(doc.state(), number));
}

struct App {
    test::TemplateFolder templates;
    test::ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};

    CTallvingeDoc& doc() { return controller.document(); }
    // "Nytt företag" for 2012 with the Swedish standard template, nothing to save yet.
    void newCompanyOf2012() {
        prompter.on<PeriodDialogModel>([this](PeriodDialogModel& dialog) {
            dialog.setStartYearText("2012");
            dialog.setEndYearText("2012");
            return dialog.accept(prompter) ? Answer::Ok : Answer::Cancel;
        });
        controller.execute(C::NewCompany);
        test::setUpCompany(doc(), kMallRikssvensk, templates.path());
        doc().savedInFull();
    }
    VoucherFormModel& form() {
        EXPECT_EQ(host.forms.size(), 1U);
        return static_cast<VoucherFormModel&>(*host.forms.at(0));
    }
};

TEST(VoucherFlow, TypedVouchersWithVatAnAmendmentAndTheFilesHoldExactlyWhatWasTyped) {
    App app;
    app.newCompanyOf2012();
    app.prompter.said.clear();
    app.prompter.dialogs.clear();

    // ---- Voucher 1: a sale of 1 250 with VAT, split with Alt + keypad / ----
    app.controller.execute(C::NewVoucher);
    VoucherFormModel& sale = app.form();
    test::typeHead(sale, "5", "3", "2012", "Försäljning kontant");
    sale.leaveTextField();
    strokes(sale.grid(), {std::string("3000"), kTab, std::string("Sålt"), kTab, kTab, std::string("1250,00"),
                          kVatKey, std::string("Moms"), kEnter, kEnter, std::string("1900"), kEnter,
                          std::string("Sålt"), kEnter, std::string("1250"), kEnter});
    EXPECT_EQ(app.prompter.said, std::vector<std::string>{});
    EXPECT_EQ(sale.grid().currentCell(), (CellPos{4, kColKonto}));
    EXPECT_EQ(sale.differenceText(), "0.00");
    app.prompter.answer(Answer::Ok).answer(Answer::Ok);
    ASSERT_TRUE(sale.ok());
    EXPECT_TRUE(app.host.isShown(WindowKind::TrialBalance));

    // ---- Voucher 2: a purchase at 12 %, typed by cells ----
    app.controller.execute(C::NewVoucher);
    VoucherFormModel& purchase = app.form();
    EXPECT_EQ(purchase.fieldText(VoucherField::TransDay), "5");
    test::typeHead(purchase, "12", "4", "2012", "Inköp varor");
    ASSERT_TRUE(test::typeLine(purchase, 1, {"4001", "Varor", "560", ""}));
    purchase.vatLine();
    ASSERT_TRUE(purchase.typeCell({2, kColRadtext}, "Moms 12%"));
    ASSERT_TRUE(test::typeLine(purchase, 3, {"1900", "Varor", "", "560"}));
    app.prompter.answer(Answer::Ok).answer(Answer::Ok);
    ASSERT_TRUE(purchase.ok());

    // ---- Voucher 1 amended from the list: a bank charge below its pink rows ----
    openVoucherFromList(app.controller, 0);
    VoucherFormModel& amendment = app.form();
    EXPECT_EQ(amendment.pinkRows(), 3);
    ASSERT_TRUE(test::typeLine(amendment, 4, {"6960", "Avgift", "15", ""}));
    ASSERT_TRUE(test::typeLine(amendment, 5, {"1900", "Avgift", "", "15"}));
    app.prompter.answer(Answer::Ok);
    ASSERT_TRUE(amendment.ok());
    EXPECT_EQ(app.prompter.unscripted, 0);

    // ---- What the books hold; amended lines carry the day they were added ----
    const CalendarDate today = todaysDate();
    const std::string avgift =
        "Ändrat " + std::to_string(today.day) + "." + std::to_string(today.month) + ", Avgift";
    const CTallvingeDoc& doc = app.doc();
    ASSERT_EQ(doc.state().m_verifikat.size(), 2U);
    const auto lines = [](const CEttVerifikat& voucher) {
        std::vector<std::tuple<std::int32_t, std::string, double, double, double>> out;
        for (const CVerifikatrad& line : voucher.m_rader) {
            out.emplace_back(line.m_nKonto, line.m_strRadtext, line.m_dDebet, line.m_dKredit, line.m_dMoms);
        }
        return out;
    };
    using L = std::tuple<std::int32_t, std::string, double, double, double>;
    EXPECT_EQ(lines(doc.state().m_verifikat[0]), (std::vector<L>{{3000, "Sålt", 0.0, 1000.0, 25.0},
                                                                 {2930, "Moms", 0.0, 250.0, 0.0},
                                                                 {1900, "Sålt", 1250.0, 0.0, 0.0},
                                                                 {6960, avgift, 15.0, 0.0, 0.0},
                                                                 {1900, avgift, 0.0, 15.0, 0.0}}));
    EXPECT_EQ(lines(doc.state().m_verifikat[1]), (std::vector<L>{{4001, "Varor", 500.0, 0.0, 12.0},
                                                                 {1718, "Moms 12%", 60.0, 0.0, 0.0},
                                                                 {1900, "Varor", 0.0, 560.0, 0.0}}));
    const std::vector<CKontorad> kassa = account(doc, 1900).m_rader;
    ASSERT_EQ(kassa.size(), 3U); // each line posted once: the sale, the purchase, the amendment's line
    EXPECT_EQ(kassa[0], (CKontorad{1, 5, 3, 2012, 1250.0, 0.0, 0.0, "Sålt", "Kassa"}));
    EXPECT_EQ(kassa[2], (CKontorad{1, 5, 3, 2012, 0.0, 15.0, 0.0, avgift, "Kassa"}));
    EXPECT_EQ(account(doc, 2930).m_rader.at(0).m_dKredit, 250.0);

    // ---- Registered means kept: closing asks, "Spara" writes, the files give it back ----
    test::TempDir dir;
    const std::string path = dir.file("Förening.bok");
    EXPECT_TRUE(app.controller.commandState(C::Save).enabled);
    app.prompter.answer(Answer::Yes).chooseFile(path);
    app.controller.execute(C::CloseCompany);
    EXPECT_NE(std::find(app.prompter.said.begin(), app.prompter.said.end(), "<spara som Namnlös.bok>"),
              app.prompter.said.end());
    EXPECT_FALSE(app.controller.companyOpen());

    CTallvingeDoc reread;
    ASSERT_TRUE(openCompany(reread, path).ok);
    ASSERT_EQ(reread.state().m_verifikat.size(), 2U);
    EXPECT_EQ(lines(reread.state().m_verifikat[0]).size(), 5U);
    EXPECT_EQ(reread.state().m_verifikat[1].m_rader[1].m_strRadtext, "Moms 12%");
    EXPECT_EQ(reread.state().m_nNastaVernr, 3);
    EXPECT_EQ(account(reread, 1900).m_rader, kassa);
    EXPECT_EQ(account(reread, 1718).m_rader.at(0).m_dDebet, 60.0);
}

// Every way out of a voucher with typed lines asks first, with "Avbryt" the
// answer that Return gives; Cancel keeps the voucher as typed, OK lets it go.
TEST(VoucherFlow, ATypedVoucherIsNeverDroppedWithoutAsking) {
    struct Way {
        const char* name;
        std::function<void(App&)> leave;
        bool companyCloses;
    };
    const std::vector<Way> ways = {
        {"Avbryt", [](App& app) { app.form().cancel(); }, false},
        {"stängningsrutan", [](App& app) { app.controller.closeFormByUser(app.form()); }, false},
        {"Arkiv - Stäng", [](App& app) { app.controller.execute(C::CloseCompany); }, true},
        {"Arkiv - Avsluta", [](App& app) { app.controller.execute(C::Exit); }, true},
        {"huvudfönstret stängs", [](App& app) { app.controller.mayQuit(); }, true},
        {"sista fönstret stängs",
         [](App& app) {
             if (app.controller.mayCloseWindow(WindowKind::Journal)) {
                 app.host.closeCompanyWindow(WindowKind::Journal);
             }
         },
         true},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        App app;
        app.newCompanyOf2012();
        app.controller.execute(C::NewVoucher);
        test::typeHead(app.form(), "5", "3", "2012", "Inköp");
        ASSERT_TRUE(test::typeLine(app.form(), 1, {"4001", "Varor", "100", ""}));
        app.prompter.said.clear();

        app.prompter.answer(Answer::Cancel);
        way.leave(app);
        EXPECT_EQ(app.prompter.said, std::vector<std::string>{kAskStangOregistrerat});
        EXPECT_EQ(app.prompter.defaultOf[kAskStangOregistrerat], Answer::Cancel);
        ASSERT_TRUE(app.controller.companyOpen());
        ASSERT_EQ(app.host.forms.size(), 1U);
        EXPECT_EQ(app.form().grid().storedText(1, kColKonto), "4001");

        app.prompter.answer(Answer::Ok);
        way.leave(app);
        EXPECT_EQ(app.controller.companyOpen(), !way.companyCloses);
        EXPECT_TRUE(app.host.forms.empty());
        EXPECT_EQ(app.prompter.unscripted, 0);
    }
}

} // namespace
} // namespace kv
