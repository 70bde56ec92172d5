// Modeless forms beside the windows, and the commands the subsystems register.
#include "AppFakeHost.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "app/AppTexts.h"
#include "app/SetupFlow.h"
#include "chart/ChartEditorModel.h"
#include "interaction/CommandRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

namespace kv {
namespace {

using C = CommandId;

// A form that remembers what it was asked and finishes from inside its own call.
class NoteForm : public FormModel {
public:
    explicit NoteForm(int* closesAsked) : m_closesAsked(closesAsked) {}
    [[nodiscard]] FormKind kind() const override { return FormKind::Voucher; }
    [[nodiscard]] std::string title() const override { return m_title; }
    bool mayClose() override {
        ++*m_closesAsked;
        return closable;
    }
    void rename(std::string title) {
        m_title = std::move(title);
        changed(FormAspect::Title | FormAspect::Buttons);
    }
    // OK: the form is done and goes, and this call still ends in one piece.
    void ok() {
        finish();
        m_title += " (klar)";
    }
    bool closable = true;

private:
    int* m_closesAsked;
    std::string m_title = "Anteckning";
};

struct Listener : FormListener {
    void formChanged(FormAspects aspects) override { told.push_back(aspects); }
    std::vector<FormAspects> told;
};

struct App {
    test::TempDir templates;
    test::ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};
    int closesAsked = 0;

    NoteForm& show() {
        auto form = std::make_unique<NoteForm>(&closesAsked);
        NoteForm& shown = *form;
        controller.showForm(std::move(form));
        return shown;
    }
};

TEST(AppForms, AFormShowsBesideTheWindowsAndTellsWhatChanged) {
    App app;
    test::newCompanyWithoutPeriod(app.controller, app.prompter);
    NoteForm& form = app.show();
    EXPECT_EQ(app.controller.openForm(FormKind::Voucher), &form);
    EXPECT_EQ(app.host.forms, std::vector<FormModel*>{&form});
    Listener listener;
    form.setListener(&listener);
    form.rename("Anteckning 2");
    ASSERT_EQ(listener.told.size(), 1u);
    EXPECT_TRUE(listener.told[0].has(FormAspect::Title));
    EXPECT_TRUE(listener.told[0].has(FormAspect::Buttons));
    EXPECT_FALSE(listener.told[0].has(FormAspect::Sums));
    form.setListener(nullptr);
}

TEST(AppForms, TheModelDecidesWhetherTheUserMayCloseIt) {
    App app;
    test::newCompanyWithoutPeriod(app.controller, app.prompter);
    NoteForm& form = app.show();
    form.closable = false;
    EXPECT_FALSE(app.controller.closeFormByUser(form));
    EXPECT_EQ(app.controller.openForm(FormKind::Voucher), &form);
    form.closable = true;
    EXPECT_TRUE(app.controller.closeFormByUser(form));
    EXPECT_EQ(app.closesAsked, 2);
    EXPECT_EQ(app.controller.openForm(FormKind::Voucher), nullptr);
    EXPECT_TRUE(app.host.forms.empty());
    EXPECT_EQ(app.host.log.back(), "stäng formulär Anteckning");
}

TEST(AppForms, AFinishedFormGoesAfterItsOwnCallAndWithTheCompany) {
    App app;
    test::newCompanyWithoutPeriod(app.controller, app.prompter);
    app.show().ok(); // the form is taken off the screen inside ok(), which still ends normally
    EXPECT_EQ(app.controller.openForm(FormKind::Voucher), nullptr);
    EXPECT_TRUE(app.host.forms.empty());

    app.show();
    app.controller.execute(C::CloseCompany);
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_TRUE(app.host.forms.empty());
    EXPECT_EQ(app.closesAsked, 0); // the program closed it: no question
}

// What a command throws stops at the command: the user is told with the
// critical icon, the company stays open as it was, and the next command runs.
TEST(AppCommands, WhatACommandThrowsIsToldAndGoesNoFurther) {
    const std::vector<std::pair<std::function<void()>, std::string>> failures = {
        {[] { throw std::bad_alloc(); }, kMsgOutOfMemory},
        {[] { throw DocumentRefusal("Perioden är låst."); }, "Perioden är låst."},
        {[] { throw std::runtime_error("disken"); }, commandFailureMessage(std::runtime_error("disken"))},
    };
    for (const auto& [failure, told] : failures) {
        SCOPED_TRACE(told);
        App app;
        test::newCompanyWithoutPeriod(app.controller, app.prompter);
        // A balance sheet approved: the chart editors open from the menu.
        app.controller.document().approveBalanceChart(
            {test::row("1930", "Bank", "c"), test::row("", "Sa AKTIVA", "", "", "a"),
             test::row("2090", "Årets resultat", "d"), test::row("", "Sa PASSIVA", "", "", "p"),
             test::row("Exempel", "")});
        const bool modifiedBefore = app.controller.document().isModified();
        app.prompter.said.clear();
        app.prompter.on<ChartEditorModel>([&failure](ChartEditorModel&) -> Answer {
            failure();
            return Answer::Ok;
        });
        EXPECT_NO_THROW(app.controller.execute(C::IncomeChart));
        EXPECT_EQ(app.prompter.said, std::vector<std::string>{told});
        EXPECT_EQ(app.prompter.kindOf[told], MessageKind::Failure);
        ASSERT_TRUE(app.controller.companyOpen());
        EXPECT_EQ(app.controller.document().isModified(), modifiedBefore);
        EXPECT_FALSE(app.controller.document().incomeChartApproved());
        app.prompter.on<ChartEditorModel>([](ChartEditorModel&) { return Answer::Cancel; });
        app.controller.execute(C::IncomeChart);
        EXPECT_EQ(app.prompter.dialogs.size(), 2U);
    }
}

TEST(CommandRegistry, OnlyRegisteredEnabledCommandsRun) {
    CommandRegistry commands;
    int runs = 0;
    bool enabled = false;
    commands.add(C::Save, {[&enabled](const AppState&) { return enabledIf(enabled); }, [&runs] { ++runs; }});
    EXPECT_THROW(commands.add(C::Save, {[](const AppState&) { return CommandState{}; }, [] {}}),
                 std::logic_error);
    EXPECT_THROW(commands.add(C::Copy, {}), std::logic_error);

    const AppState state;
    EXPECT_FALSE(commands.run(C::Save, state));
    enabled = true;
    EXPECT_TRUE(commands.run(C::Save, state));
    EXPECT_EQ(runs, 1);
    // A command nobody registered is off and does nothing.
    EXPECT_FALSE(commands.has(C::NewPeriod));
    EXPECT_EQ(commands.state(C::NewPeriod, state), CommandState{});
    EXPECT_FALSE(commands.run(C::NewPeriod, state));
}

} // namespace
} // namespace kv
