// Dialogs are shown by the handler registered for their model's type; a model
// that nobody registered is a fault of the program, never an answer.
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

} // namespace
} // namespace kv
