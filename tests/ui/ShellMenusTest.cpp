// The menu bar follows the company and the active window.
#include "ShellTestSupport.h"

#include "app/ChildWindow.h"

#include <QMdiArea>

using kv::CommandId;
using kv::MenuBarId;
using kv::WindowKind;

class ShellMenusTest : public QObject {
    Q_OBJECT
private slots:
    void menusSwitchWithTheActiveWindow() {
        kv::test::Shell shell;
        QCOMPARE(shell.menuTitles(), QStringList({"&Arkiv", "&Visa", "&Hjälp"}));
        QCOMPARE(shell.window->windowTitle(), QString("  Kvistoran"));

        shell.newApprovedCompany();
        QCOMPARE(shell.window->shownMenuBar(), MenuBarId::Company);
        QVERIFY(!shell.menuTitles().contains("F&ormatera"));
        QCOMPARE(shell.window->windowTitle(), QString("  Kvistoran - Namnlös[*]"));

        shell.controller.execute(CommandId::IncomeStatementWindow);
        QCOMPARE(shell.window->shownMenuBar(), MenuBarId::Report);
        QCOMPARE(shell.menuTitles(),
                 QStringList({"&Arkiv", "&Redigera", "&Visa / Inställningar", "F&ormatera", "V&erifikat",
                              "&Kontoplan", "&Moms", "&Period", "&Fönster", "&Hjälp"}));
        QVERIFY(shell.window->menuAction(CommandId::ZoomIn)->isEnabled());
        QVERIFY(!shell.window->menuAction(CommandId::IncomeStatementWindow)->isEnabled());

        // The user brings the journal to the front: the company menu again.
        auto* journal = shell.window->window(WindowKind::Journal);
        QVERIFY(journal != nullptr);
        shell.window->mdiArea()->setActiveSubWindow(journal);
        QCOMPARE(shell.window->shownMenuBar(), MenuBarId::Company);
        QVERIFY(shell.window->menuAction(CommandId::ZoomIn) == nullptr);

        shell.window->mdiArea()->setActiveSubWindow(shell.window->window(WindowKind::IncomeStatement));
        QCOMPARE(shell.window->shownMenuBar(), MenuBarId::Report);

        shell.controller.execute(CommandId::CloseCompany);
        QCOMPARE(shell.window->shownMenuBar(), MenuBarId::NoCompany);
        QVERIFY(shell.window->mdiArea()->subWindowList().isEmpty());
    }

    void closingTheLastWindowClosesTheCompany() {
        kv::test::Shell shell;
        shell.newApprovedCompany();
        shell.controller.execute(CommandId::LedgerWindow);
        QCOMPARE(shell.window->window(WindowKind::Ledger)->windowTitle(), QString("  Huvudbok (konton)"));
        QVERIFY(shell.window->window(WindowKind::Journal)->close());
        QVERIFY(shell.controller.companyOpen());
        // The last one: the company is modified, the user cancels the save question.
        shell.doc().setOnlyUsedAccounts(shell.doc().state().m_nEndastAnvanda == 0);
        shell.prompter.answer(kv::Answer::Cancel);
        QVERIFY(!shell.window->window(WindowKind::Ledger)->close());
        QVERIFY(shell.controller.companyOpen());
        shell.prompter.answer(kv::Answer::No);
        QVERIFY(shell.window->window(WindowKind::Ledger)->close());
        QVERIFY(!shell.controller.companyOpen());
        QCOMPARE(shell.window->shownMenuBar(), MenuBarId::NoCompany);
        QCOMPARE(shell.prompter.said.size(), std::size_t{2});
    }

    void theMenusShowKeysAndTheRecentFiles() {
        kv::test::Shell shell;
        shell.controller.recentFiles().add("/srv/bok/Firma.bok");
        QAction* open = shell.window->menuAction(CommandId::OpenCompany);
        QVERIFY(open != nullptr);
        QCOMPARE(open->text(), QString("&Öppna ett företag...\t") +
                                   QKeySequence("Ctrl+O").toString(QKeySequence::NativeText));
        QAction* recent = shell.window->menuAction(CommandId::RecentFile1);
        QVERIFY(recent != nullptr);
        QCOMPARE(recent->text(), QString("&1 /srv/bok/Firma.bok"));
        shell.newApprovedCompany();
        // The keypad key is named in the text itself.
        QCOMPARE(shell.window->menuAction(CommandId::NewVoucher)->text(), QString("Nytt verifikat      +"));
        QCOMPARE(shell.window->menuAction(CommandId::NewVoucher)->statusTip(), QString("Nytt verifikat"));
    }
};

QTEST_MAIN(ShellMenusTest)
#include "ShellMenusTest.moc"
