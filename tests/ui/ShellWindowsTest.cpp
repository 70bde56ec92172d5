// The company windows in the main window: the title that marks unsaved
// changes whatever the windows do, "Överlappande" and Ctrl+F4.
#include "SavedCompany.h"
#include "ShellTestSupport.h"

#include "app/ChildWindow.h"
#include "app/NewCompany.h"
#include "chart/ChartTemplates.h"
#include "periods/PeriodDialogModel.h"
#include "storage/CompanyFiles.h"

#include <QMdiArea>
#include <QMdiSubWindow>

using kv::CommandId;
using kv::WindowKind;

class ShellWindowsTest : public QObject {
    Q_OBJECT
private slots:
    // The asterisk follows the company's modified state through maximised
    // windows, windows that open and close, and switching between them.
    void theTitleMarksUnsavedChangesWhateverTheWindowsDo() {
        kv::ui::setWindowsOpenMaximized(true);
        kv::test::Shell shell;
        kv::ui::setWindowsOpenMaximized(true);
        const QTemporaryDir folder;
        const std::string path = kv::test::savedAssociation(folder);
        QVERIFY(!path.empty());
        QVERIFY(shell.controller.openAtStartUp(path));
        const auto marked = [&shell] {
            return shell.window->windowTitle().contains(QStringLiteral("[*]")) &&
                   shell.window->isWindowModified();
        };
        QVERIFY(!shell.window->isWindowModified());
        const std::vector<std::pair<const char*, std::function<void()>>> steps = {
            {"a change", [&shell] { shell.doc().setOnlyUsedAccounts(true); }},
            {"a window opens maximised", [&shell] { shell.controller.execute(CommandId::LedgerWindow); }},
            {"the window is reopened", [&shell] { shell.controller.reopenWindow(WindowKind::TrialBalance); }},
            {"another window in front", [&shell] { QTest::keyClick(shell.window.get(), Qt::Key_F6); }},
            {"a window restored", [&shell] { shell.window->mdiArea()->activeSubWindow()->showNormal(); }},
            {"a window maximised again",
             [&shell] { shell.window->mdiArea()->activeSubWindow()->showMaximized(); }},
            {"a new period",
             [&shell] {
                 shell.controller.execute(CommandId::Save);
                 shell.prompter.answer(kv::Answer::Ok);
                 shell.prompter.on<kv::PeriodDialogModel>([&shell](kv::PeriodDialogModel& dialog) {
                     dialog.setEndYearText("2013");
                     return dialog.accept(shell.prompter) ? kv::Answer::Ok : kv::Answer::Cancel;
                 });
                 shell.controller.execute(CommandId::NewPeriod);
             }},
        };
        for (const auto& [what, step] : steps) {
            step();
            kv::test::settle();
            QVERIFY2(marked(), what);
            QVERIFY2(!shell.window->windowTitle().contains(QStringLiteral("[*] - [*]")), what);
        }
        // Saved: the mark goes, in front of a maximised window too.
        shell.doc().setOnlyUsedAccounts(false);
        shell.doc().savedInFull();
        shell.doc().updateAllViews();
        QVERIFY(!shell.window->isWindowModified());
        QVERIFY(shell.window->windowTitle().contains(QStringLiteral(" - [")));
        kv::ui::setWindowsOpenMaximized(false);
    }

    // "Överlappande" lays the windows over each other at the size they open
    // with, not Qt's smallest; Ctrl+F4 closes the window in front.
    void cascadeKeepsTheWindowsReadableAndCtrlF4ClosesOne() {
        kv::test::Shell shell;
        shell.window->resize(1200, 800);
        shell.newApprovedCompany();
        shell.controller.execute(CommandId::LedgerWindow);
        shell.controller.execute(CommandId::TrialBalanceWindow);
        shell.window->mdiArea()->activeSubWindow()->showMaximized();
        shell.controller.execute(CommandId::Cascade);
        const QSize area = shell.window->mdiArea()->viewport()->size();
        const QList<QMdiSubWindow*> windows = shell.window->mdiArea()->subWindowList(QMdiArea::StackingOrder);
        QCOMPARE(windows.size(), 3);
        for (int i = 0; i < windows.size(); ++i) {
            QVERIFY(!windows[i]->isMaximized());
            QVERIFY(windows[i]->width() >= area.width() * 3 / 4 - 40);
            QVERIFY(windows[i]->height() >= area.height() * 3 / 4 - 40);
            if (i > 0) {
                QVERIFY(windows[i]->y() > windows[i - 1]->y());
            }
        }

        QTest::keyClick(shell.window.get(), Qt::Key_F4, Qt::ControlModifier);
        kv::test::settle();
        QCOMPARE(shell.window->mdiArea()->subWindowList().size(), 2);
        QVERIFY(shell.window->window(WindowKind::TrialBalance) == nullptr);
        QVERIFY(shell.controller.companyOpen());
    }
};

QTEST_MAIN(ShellWindowsTest)
#include "ShellWindowsTest.moc"
