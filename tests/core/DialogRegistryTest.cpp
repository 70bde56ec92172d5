// Dialogs are shown by the handler registered for their model's type; a model
// that nobody registered is a fault of the program, reported where commands run.
#include "AppFakeHost.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "interaction/DialogRegistry.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kv {
namespace {

struct MonthsModel : DialogModelOf<MonthsModel> {
    [[nodiscard]] std::string dialogTitle() const override { return "Månadsbokslut"; }
    int chosen = 0;
};
// A model made from another is still that dialog, and shows its view.
struct QuarterModel : MonthsModel {};
struct AccountModel : DialogModelOf<AccountModel> {
    [[nodiscard]] std::string dialogTitle() const override { return "Välj ett konto"; }
};

TEST(DialogRegistry, AModelIsShownByTheViewOfItsTypeAndAnUnregisteredOneIsAFault) {
    DialogRegistry<int> views; // the int stands in for the view's parent
    std::vector<int> parents;
    views.add<MonthsModel>([&parents](MonthsModel& months, int parent) {
        parents.push_back(parent);
        months.chosen = 3;
        return Answer::Ok;
    });

    MonthsModel months;
    EXPECT_EQ(views.show(months, 7), Answer::Ok);
    EXPECT_EQ(months.chosen, 3);
    QuarterModel quarter;
    EXPECT_EQ(views.show(quarter, 8), Answer::Ok);
    EXPECT_EQ(quarter.chosen, 3);
    EXPECT_EQ(parents, (std::vector<int>{7, 8}));

    AccountModel account;
    EXPECT_FALSE(views.has(account));
    try {
        views.show(account, 9);
        ADD_FAILURE() << "an unregistered dialog was answered";
    } catch (const UnregisteredDialog& fault) {
        EXPECT_EQ(std::string(fault.what()),
                  "dialogen \"Välj ett konto\" kan inte visas: programmet saknar dess vy");
    }
    EXPECT_EQ(parents.size(), 2U);

    // A type has one view, and a view is something; the first one stays.
    EXPECT_THROW(views.add<MonthsModel>([](MonthsModel&, int) { return Answer::Cancel; }), std::logic_error);
    EXPECT_THROW(views.add<AccountModel>(nullptr), std::logic_error);
    EXPECT_EQ(views.show(months, 1), Answer::Ok);
    EXPECT_FALSE(views.has<AccountModel>());
}

// The program with a view left out: its prompter's registry is empty.
class ViewlessPrompter : public test::ScriptedPrompter {
public:
    Answer show(DialogModel& dialog) override { return m_views.show(dialog); }

private:
    DialogRegistry<> m_views;
};

TEST(DialogRegistry, ACommandWhoseDialogHasNoViewIsToldAsAFailure) {
    test::TempDir templates;
    ViewlessPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};
    controller.execute(CommandId::NewCompany); // the first period's dialog

    ASSERT_FALSE(prompter.said.empty());
    const std::string& told = prompter.said.back();
    EXPECT_EQ(prompter.kindOf[told], MessageKind::Failure);
    EXPECT_NE(told.find("dialogen \"Ange det nya företagets första period\" kan inte visas"),
              std::string::npos)
        << told;
}

} // namespace
} // namespace kv
