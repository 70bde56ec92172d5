// What the window tests of the application shell share: a main window on a
// scripted prompter, and a small company with both charts approved.
#pragma once

#include "../core/ScriptedPrompter.h"

#include "app/AppController.h"
#include "app/MainWindow.h"
#include "periods/PeriodDialogModel.h"
#include "reports/AccountChoiceModel.h"
#include "reports/PanelWindowContent.h"
#include "reports/ReportFormView.h"

#include <QMenuBar>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace kv::test {

// Runs the commands that menus, buttons and keys have queued: they run once
// the event that asked for them has returned.
inline void settle() {
    QCoreApplication::processEvents();
}

// True when a cell of the report window's screen form reads text.
inline bool formHas(const ui::PanelWindowContent& content, const std::string& text) {
    for (const FormLine& line : content.formView()->form().lines) {
        for (const FormCell& cell : line.cells) {
            if (cell.text == text) {
                return true;
            }
        }
    }
    return false;
}

inline ChartRowTexts chartRow(std::string number, std::string name, std::string group = {},
                              std::string sum = {}, std::string total = {}, std::string mark = {}) {
    return {std::move(number), std::move(name),  std::move(group),
            std::move(sum),    std::move(total), std::move(mark)};
}

// Both charts approved and one period (unless it has one); no VAT rules yet.
inline void approveCharts(CTallvingeDoc& doc) {
    doc.approveIncomeChart({chartRow("3000", "Försäljning", "a"), chartRow("", "Sa intäkter", "", "a"),
                            chartRow("", "RESULTAT", "", "", "="), chartRow("", "2090", "", "", "", "v"),
                            chartRow("Exempel", "")});
    doc.approveBalanceChart({chartRow("1930", "Bank", "c"), chartRow("", "Sa AKTIVA", "", "", "a"),
                             chartRow("2090", "Årets resultat", "d"), chartRow("", "Sa PASSIVA", "", "", "p"),
                             chartRow("Exempel", "")});
    if (!doc.hasOpenPeriod()) {
        doc.addFirstPeriod({1, 2012, 12, 2012});
    }
}

struct Shell {
    ScriptedPrompter prompter;
    QTemporaryDir templates;
    AppController controller{prompter, templates.path().toStdString()};
    std::unique_ptr<ui::MainWindow> window;

    Shell() {
        // The recent files go to a test folder, not to the user's settings.
        QStandardPaths::setTestModeEnabled(true);
        // The windows open cascaded, at the places and sizes these tests know.
        ui::setWindowsOpenMaximized(false);
        // Reports: the ledger asks for its account as it opens; these tests close the question.
        prompter.on<AccountChoiceModel>([](AccountChoiceModel&) { return Answer::Cancel; });
        window = std::make_unique<ui::MainWindow>(controller);
        window->resize(1000, 700);
        window->show();
        window->activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(window.get()));
    }
    ~Shell() { window.reset(); }

    CTallvingeDoc& doc() { return controller.document(); }
    // A new company whose user chooses the year 2012 as its first period.
    void newCompany() {
        prompter.on<PeriodDialogModel>([this](PeriodDialogModel& dialog) {
            dialog.setStartYearText("2012");
            dialog.setEndYearText("2012");
            return dialog.accept(prompter) ? Answer::Ok : Answer::Cancel;
        });
        controller.execute(CommandId::NewCompany);
        prompter.said.clear();
        prompter.dialogs.clear();
    }
    void newApprovedCompany() {
        newCompany();
        approveCharts(doc());
        doc().savedInFull();
        doc().updateAllViews();
    }
    [[nodiscard]] QStringList menuTitles() const {
        QStringList titles;
        for (QAction* action : window->menuBar()->actions()) {
            titles << action->text();
        }
        return titles;
    }
};

} // namespace kv::test
