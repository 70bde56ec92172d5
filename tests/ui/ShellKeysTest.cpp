// The keys reach the commands: the numeric keypad's + runs "Nytt verifikat"
// once per press, and not at all while the voucher dialog is open.
#include "ShellTestSupport.h"

#include "app/AppTexts.h"
#include "app/ChildWindow.h"
#include "voucher/VoucherTexts.h"

#include <QMdiArea>

using kv::CommandId;
using kv::WindowKind;

class ShellKeysTest : public QObject {
    Q_OBJECT
private slots:
    void keypadPlusRunsNewVoucherOncePerPress() {
        kv::test::Shell shell;
        shell.newApprovedCompany(); // no VAT rules: the flow tells where to go
        QTest::keyClick(shell.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
        kv::test::settle();
        QCOMPARE(shell.prompter.said, std::vector<std::string>{kv::kMsgMomsEjGodkand});
        // The + of the main keyboard is text, not the command.
        QTest::keyClick(shell.window.get(), Qt::Key_Plus);
        kv::test::settle();
        QCOMPARE(shell.prompter.said.size(), std::size_t{1});
        // Once the voucher dialog is open, a second press does nothing, though
        // the rules are gone again.
        kv::CAutomoms rule;
        rule.m_dMomssats = 25.0;
        rule.m_nKreditkonto = 3000;
        shell.doc().setVatRules({rule});
        QTest::keyClick(shell.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
        kv::test::settle();
        kv::FormModel* voucher = shell.controller.openForm(kv::FormKind::Voucher);
        QVERIFY(voucher != nullptr);
        shell.doc().setVatRules({});
        QTest::keyClick(shell.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
        kv::test::settle();
        QCOMPARE(shell.prompter.said.size(), std::size_t{1});
        QCOMPARE(shell.controller.openForm(kv::FormKind::Voucher), voucher);
        QVERIFY(shell.controller.closeFormByUser(*voucher));
    }

    void keypadMultiplyAndMinusOpenTheVoucherList() {
        kv::test::Shell shell;
        shell.newApprovedCompany();
        QTest::keyClick(shell.window.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
        kv::test::settle();
        QVERIFY(shell.window->window(WindowKind::VoucherList) != nullptr);
        QCOMPARE(shell.window->window(WindowKind::VoucherList)->windowTitle(),
                 QString("  Verifikat / Sök verifikat"));
        // No voucher in the period: the lookup key is off.
        QTest::keyClick(shell.window.get(), Qt::Key_Minus, Qt::KeypadModifier);
        kv::test::settle();
        QVERIFY(shell.prompter.dialogs.empty());
    }

    void f6MovesBetweenTheWindows() {
        kv::test::Shell shell;
        shell.newApprovedCompany();
        shell.controller.execute(CommandId::LedgerWindow);
        QCOMPARE(shell.controller.windows().active(), WindowKind::Ledger);
        QTest::keyClick(shell.window.get(), Qt::Key_F6);
        kv::test::settle();
        QCOMPARE(shell.controller.windows().active(), WindowKind::Journal);
        QTest::keyClick(shell.window.get(), Qt::Key_F6, Qt::ShiftModifier);
        kv::test::settle();
        QCOMPARE(shell.controller.windows().active(), WindowKind::Ledger);
    }
};

QTEST_MAIN(ShellKeysTest)
#include "ShellKeysTest.moc"
