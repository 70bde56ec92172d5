// The voucher list: its lines and colour, the lookup, and opening a voucher from it.
#include "AppFakeHost.h"
#include "VoucherTestSupport.h"

#include "app/AppController.h"
#include "voucher/VoucherCommands.h"
#include "voucher/VoucherListModel.h"
#include "voucher/VoucherLookupModel.h"
#include "voucher/VoucherTexts.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using C = CommandId;
using test::postVoucher;

std::vector<std::string> line(const VoucherListModel& list, std::size_t row) {
    std::vector<std::string> texts;
    for (int col = 0; col < static_cast<int>(kVoucherListColumns.size()); ++col) {
        texts.push_back(list.text(row, col));
    }
    return texts;
}

TEST(VoucherList, OneLinePerVoucherWithItsBalance) {
    CTallvingeDoc doc;
    test::buildVoucherCompany(doc);
    VoucherListModel list(doc);
    EXPECT_EQ(list.rowCount(), 0U);
    postVoucher(doc, 5, 3, 2012, {{5010, 100.0, 0.0}, {1930, 0.0, 90.0}});
    list.rebuild();
    ASSERT_EQ(list.rowCount(), 1U);
    EXPECT_EQ(line(list, 0),
              (std::vector<std::string>{"1", "", "5-3-2012", "", "10.00", "Verifikat 1", "", ""}));
    EXPECT_EQ(list.textColour(), kListColour);
}

TEST(VoucherList, AMonthRangeColoursTheListAndShortensTheVouchersOutsideIt) {
    CTallvingeDoc doc;
    test::buildVoucherCompany(doc);
    postVoucher(doc, 31, 5, 2012, {{5010, 10.0, 0.0}, {1930, 0.0, 10.0}});
    postVoucher(doc, 1, 6, 2012, {{5010, 10.0, 0.0}, {1930, 0.0, 10.0}});
    VoucherListModel list(doc);
    doc.setMonthRange(MonthRange{{2012, 3}, {2012, 5}});
    list.rebuild();
    EXPECT_TRUE(list.shownInFull(0));
    EXPECT_EQ(list.text(0, kListColBalans), "0.00");
    EXPECT_FALSE(list.shownInFull(1));
    EXPECT_EQ(line(list, 1), (std::vector<std::string>{"2", "", "", "", kEjInomDelperioden, "", "", ""}));
    EXPECT_EQ(list.textColour(), kListRangeColour);
    // No voucher inside the range: the list stays black.
    doc.setMonthRange(MonthRange{{2012, 7}, {2012, 8}});
    list.rebuild();
    EXPECT_EQ(list.textColour(), kListColour);
    doc.setMonthRange(std::nullopt);
    list.rebuild();
    EXPECT_TRUE(list.shownInFull(1));
}

TEST(VoucherLookup, ANumberAmongTheVouchers) {
    struct LookupCase {
        const char* typed;
        std::optional<std::size_t> row;
    };
    for (const LookupCase& c : std::vector<LookupCase>{{"3", 2},
                                                       {" 5 ", 4},
                                                       {"1", 0},
                                                       {"0", std::nullopt},
                                                       {"6", std::nullopt},
                                                       {"x", std::nullopt},
                                                       {"", std::nullopt},
                                                       {"99999999999999999999", std::nullopt}}) {
        test::ScriptedPrompter prompter;
        VoucherLookupModel lookup(5);
        lookup.setNumberText(c.typed);
        EXPECT_EQ(lookup.accept(prompter), c.row.has_value()) << c.typed;
        EXPECT_EQ(lookup.chosenRow(), c.row);
        EXPECT_EQ(prompter.said, c.row ? std::vector<std::string>{}
                                       : std::vector<std::string>{"Ange ett heltal mellan 1 och 5."});
    }
}

struct App {
    test::TempDir templates;
    test::ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};

    App() {
        test::newCompanyWithoutPeriod(controller, prompter);
        test::buildVoucherCompany(controller.document());
        for (int i = 0; i < 5; ++i) {
            postVoucher(controller.document(), 5, 3, 2012, {{5010, 10.0, 0.0}, {1930, 0.0, 10.0}});
        }
        host.log.clear();
    }
};

TEST(VoucherListActions, OpeningAVoucherAndWhatTheListSaysOtherwise) {
    App app;
    openVoucherFromList(app.controller, std::nullopt);
    rightClickInVoucherList(app.controller, std::nullopt);
    rightClickInVoucherList(app.controller, 2); // a right click on a line opens nothing
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{kMsgMarkeraKlicka, kMsgMarkeraDubbelklicka}));
    EXPECT_EQ(app.prompter.captions, (std::vector<std::string>{kCaptionVantor, kCaptionVantor}));
    EXPECT_TRUE(app.host.forms.empty());

    openVoucherFromList(app.controller, 2);
    ASSERT_EQ(app.host.forms.size(), 1U);
    auto& form = static_cast<VoucherFormModel&>(*app.host.forms[0]);
    EXPECT_EQ(form.voucherNumber(), 3);
    EXPECT_EQ(form.pinkRows(), 2);
    EXPECT_FALSE(app.controller.commandState(C::NewVoucher).enabled);

    app.prompter.said.clear();
    openVoucherFromList(app.controller, 0);
    rightClickInVoucherList(app.controller, 0);
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{kMsgDialogenOppenVisas, kMsgDialogenOppenVisas}));
    EXPECT_EQ(app.host.log.back(), "aktivera formulär " + std::string(kVoucherTitleRegistered));
    EXPECT_EQ(app.host.forms.size(), 1U);

    // "Avbryt": the dialog goes, and a trial balance shows the books.
    form.cancel();
    EXPECT_TRUE(app.host.forms.empty());
    EXPECT_TRUE(app.host.isShown(WindowKind::TrialBalance));
    EXPECT_TRUE(app.controller.commandState(C::NewVoucher).enabled);
}

TEST(VoucherListActions, TheLookupMarksTheChosenVoucherInTheList) {
    App app;
    app.prompter.on<VoucherLookupModel>([&app](VoucherLookupModel& lookup) {
        EXPECT_EQ(lookup.voucherCount(), 5U);
        lookup.setNumberText("3");
        return lookup.accept(app.prompter) ? Answer::Ok : Answer::Cancel;
    });
    app.controller.execute(C::FindVoucher);
    EXPECT_EQ(app.host.markedVoucher, std::optional<std::size_t>{2});
    EXPECT_EQ(app.prompter.dialogs, std::vector<std::string>{kLookupTitle});
    // The list opened again without the command runs no lookup.
    ASSERT_TRUE(app.host.userCloses(WindowKind::VoucherList));
    app.controller.execute(C::VoucherList);
    EXPECT_TRUE(app.host.isShown(WindowKind::VoucherList));
    EXPECT_EQ(app.prompter.dialogs.size(), 1U);
    EXPECT_TRUE(app.host.forms.empty()); // the voucher is selected, not opened
}

TEST(VoucherCommands, NewVoucherOpensTheDialogOnTheNextNumber) {
    App app;
    app.controller.execute(C::NewVoucher);
    ASSERT_EQ(app.host.forms.size(), 1U);
    auto& form = static_cast<VoucherFormModel&>(*app.host.forms[0]);
    EXPECT_EQ(form.voucherNumber(), 6);
    EXPECT_EQ(form.title(), kVoucherTitle);
    // The chart, period and VAT rules dialogs see an open voucher dialog.
    EXPECT_TRUE(app.controller.isFormOpen(FormKind::Voucher));
    EXPECT_TRUE(app.controller.state().voucherDialogOpen);
    app.controller.execute(C::NewVoucher);
    EXPECT_EQ(app.host.forms.size(), 1U);
    // The close box with nothing typed: no question.
    EXPECT_TRUE(app.controller.closeFormByUser(form));
    EXPECT_FALSE(app.controller.isFormOpen(FormKind::Voucher));
    EXPECT_FALSE(app.controller.state().voucherDialogOpen);
    EXPECT_EQ(app.prompter.unscripted, 0);
}

} // namespace
} // namespace kv
