// "Spara" is off right after a save and on again after any change, in the
// menu and on the toolbar alike.
#include "ShellTestSupport.h"

#include <QTemporaryDir>

using kv::CommandId;

class ShellSaveTest : public QObject {
    Q_OBJECT
private slots:
    void saveIsOffAfterASaveAndOnAfterAChange() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        kv::test::Shell shell;
        shell.newApprovedCompany();
        QAction* button = shell.window->toolbarAction(CommandId::Save);
        QVERIFY(button != nullptr);
        QVERIFY(!button->isEnabled());
        QVERIFY(!shell.window->menuAction(CommandId::Save)->isEnabled());

        shell.doc().setOnlyUsedAccounts(shell.doc().state().m_nEndastAnvanda == 0);
        QVERIFY(button->isEnabled());
        QVERIFY(shell.window->menuAction(CommandId::Save)->isEnabled());

        shell.prompter.chooseFile(dir.filePath("Firma").toStdString());
        button->trigger();
        kv::test::settle();
        QVERIFY(QFileInfo::exists(dir.filePath("Firma.bok")));
        QVERIFY(!button->isEnabled());
        QVERIFY(!shell.window->menuAction(CommandId::Save)->isEnabled());
        QVERIFY(!shell.window->menuAction(CommandId::SaveAs)->isEnabled());
        // Qt's convention: "[*]" shows as an asterisk while there are unsaved changes.
        QCOMPARE(shell.window->windowTitle(), QString("  Kvistoran - Firma[*]"));
        QVERIFY(!shell.window->isWindowModified());

        shell.doc().setOnlyUsedAccounts(shell.doc().state().m_nEndastAnvanda == 0);
        QVERIFY(button->isEnabled());
        QVERIFY(shell.window->isWindowModified());
        QVERIFY(shell.window->menuAction(CommandId::Save)->isEnabled());
        QTest::keyClick(shell.window.get(), Qt::Key_S, Qt::ControlModifier);
        kv::test::settle();
        QVERIFY(!button->isEnabled());
        QVERIFY(!shell.window->isWindowModified());
        QCOMPARE(shell.prompter.unscripted, 0);
    }
};

QTEST_MAIN(ShellSaveTest)
#include "ShellSaveTest.moc"
