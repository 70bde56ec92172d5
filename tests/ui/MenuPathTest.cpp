// Commands chosen the way a user chooses them: the menu opened from the menu
// bar and the item taken with Return inside the open menu, with the real
// message boxes and dialogs answered as they come up, from every kind of
// active window. A command that runs its dialogs inside the menu's own key
// event lets the menu bar change under it; under the sanitizers that is a
// use after free, without them a crash now and then.
#include "AssociationProgram.h"
#include "MenuItems.h"

#include "app/AppController.h"
#include "app/AppDialogViews.h"
#include "app/AppTexts.h"
#include "app/ChildWindow.h"
#include "app/MainWindow.h"
#include "app/NewCompany.h"
#include "app/QtPrompter.h"
#include "chart/ChartEditorDialog.h"
#include "chart/ChartTemplates.h"
#include "periods/FirstPeriod.h"
#include "periods/PeriodDialog.h"
#include "periods/PeriodTexts.h"
#include "reports/ReportDialogs.h"
#include "storage/CompanyFiles.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using kv::CommandId;
using kv::WindowKind;

namespace {

constexpr WindowKind kEveryWindow[] = {
    WindowKind::Journal,      WindowKind::Ledger,      WindowKind::TrialBalance, WindowKind::IncomeStatement,
    WindowKind::BalanceSheet, WindowKind::VoucherList, WindowKind::VatReport};

// A saved association with its first year, opened in the window program on
// the real message boxes and dialogs.
struct Program : kv::test::AssociationProgram {
    // The company open with the window of that kind in front.
    bool openWith(WindowKind kind) {
        if (!controller.openAtStartUp(path)) {
            return false;
        }
        if (kind == WindowKind::Ledger) { // the ledger asks for its account as it opens
            driver.expect<kv::ui::AccountChoiceDialog>(
                [](kv::ui::AccountChoiceDialog& choice) { choice.reject(); });
        }
        if (!driver.run([&] { controller.openWindow(kind); })) {
            return false;
        }
        return controller.windows().active() == kind;
    }
    // Chooses the command from its menu. The menu's key event returns before
    // the command asks anything, and no menu of the bar goes away.
    bool choose(CommandId id) {
        QList<QPointer<QMenu>> menus;
        for (QAction* entry : window->menuBar()->actions()) {
            menus.append(entry->menu());
        }
        bool found = false;
        const std::size_t expected = driver.pending();
        std::size_t pendingAfterMenu = 0;
        const bool answered = driver.run([&] {
            found = kv::test::chooseFromMenu(*window, id);
            pendingAfterMenu = driver.pending();
        });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const bool menusKept =
            std::all_of(menus.begin(), menus.end(), [](const auto& menu) { return !menu.isNull(); });
        if (pendingAfterMenu != expected) {
            qWarning("the command ran inside the menu's own key event");
        }
        if (!menusKept) {
            qWarning("a menu was deleted");
        }
        return found && answered && pendingAfterMenu == expected && menusKept;
    }
};

} // namespace

class MenuPathTest : public QObject {
    Q_OBJECT
private slots:
    void newCompanyFromTheMenu() {
        Program program;
        program.driver.box(kv::kMsgBestamForstaPerioden, QStringLiteral("OK"));
        program.driver.expect<kv::ui::PeriodDialog>([](kv::ui::PeriodDialog& dialog) {
            for (QLineEdit* year : {dialog.startYear(), dialog.endYear()}) {
                year->selectAll();
                QTest::keyClicks(year, "2012");
            }
            dialog.okButton()->click();
        });
        QVERIFY(program.choose(CommandId::NewCompany));
        QVERIFY(program.controller.companyOpen());
        QCOMPARE(program.controller.document().periodLabel(), std::string("1.2012 - 12.2012"));
        QCOMPARE(program.window->shownMenuBar(), kv::MenuBarId::Company);
    }

    void openFromTheMenu() {
        Program program;
        const QString path = QString::fromStdString(program.path);
        program.driver.file(path);
        QVERIFY(program.choose(CommandId::OpenCompany));
        QVERIFY(program.controller.companyOpen());
        QCOMPARE(program.controller.document().pathName(), program.path);
    }

    void newPeriodFromEveryWindow() {
        for (const WindowKind kind : kEveryWindow) {
            Program program;
            QVERIFY(program.openWith(kind));
            program.driver.box(kv::kMsgFilenSparas, QStringLiteral("OK"));
            program.driver.expect<kv::ui::PeriodDialog>([](kv::ui::PeriodDialog& dialog) {
                dialog.endYear()->selectAll();
                QTest::keyClicks(dialog.endYear(), "2013");
                dialog.okButton()->click();
            });
            QVERIFY(program.choose(CommandId::NewPeriod));
            QCOMPARE(program.controller.document().periodLabel(), std::string("1.2013 - 12.2013"));
            // The new year is not saved yet, and the title says so.
            QVERIFY(program.controller.document().isModified());
            QVERIFY(program.window->isWindowModified());
            QVERIFY(program.window->windowTitle().contains(QStringLiteral("[*]")));
        }
    }

    void exitFromEveryWindow() {
        for (const WindowKind kind : kEveryWindow) {
            Program program;
            QVERIFY(program.openWith(kind));
            program.controller.document().setOnlyUsedAccounts(true); // modified: the save question comes
            program.driver.box(kv::saveQuestion(program.controller.document().title()),
                               QStringLiteral("Nej"));
            QVERIFY(program.choose(CommandId::Exit));
            QVERIFY(!program.controller.companyOpen());
            QVERIFY(!program.window->isVisible());
        }
    }

    void chartApprovalFromEveryWindow() {
        for (const CommandId chart : {CommandId::IncomeChart, CommandId::BalanceChart}) {
            for (const WindowKind kind : kEveryWindow) {
                Program program;
                QVERIFY(program.openWith(kind));
                program.driver.expect<kv::ui::ChartEditorDialog>(
                    [](kv::ui::ChartEditorDialog& editor) { editor.approveButton()->click(); });
                QVERIFY(program.choose(chart));
                QVERIFY(program.controller.document().isModified());
                QVERIFY(program.window->window(WindowKind::TrialBalance) != nullptr);
            }
        }
    }
};

QTEST_MAIN(MenuPathTest)
#include "MenuPathTest.moc"
