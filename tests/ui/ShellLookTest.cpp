// The main window as the user sees it: without a company, with a new
// company, and with a statement window active. Every window has its title and
// icon; with KVISTORAN_SCREENSHOTS set to a folder, the pictures are kept there.
#include "ShellTestSupport.h"

#include "app/AboutDialog.h"
#include "app/ChildWindow.h"

#include <QDir>
#include <QMdiArea>
#include <QMenu>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>

using kv::CommandId;
using kv::WindowKind;

namespace {

void keep(QWidget* widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KVISTORAN_SCREENSHOTS");
    const QPixmap picture = widget->grab();
    QVERIFY(!picture.isNull());
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QVERIFY(picture.save(QDir(folder).filePath(name)));
    }
}

} // namespace

class ShellLookTest : public QObject {
    Q_OBJECT
private slots:
    void theMainWindowInItsThreeStates() {
        kv::test::Shell shell;
        shell.window->resize(1100, 720);
        QVERIFY(!shell.window->windowIcon().isNull());
        QCOMPARE(shell.window->toolbar()->actions().size(), 4);
        for (QAction* action : shell.window->toolbar()->actions()) {
            QCOMPARE(shell.window->toolbar()->widgetForAction(action)->width(), 94);
        }
        QVERIFY(shell.window->statusBar()->isVisible());
        keep(shell.window.get(), QStringLiteral("shell-no-company.png"));

        shell.newCompany();
        QCoreApplication::processEvents();
        keep(shell.window.get(), QStringLiteral("shell-new-company.png"));

        kv::test::approveCharts(shell.doc());
        shell.doc().updateAllViews();
        shell.controller.execute(CommandId::LedgerWindow);
        shell.controller.execute(CommandId::IncomeStatementWindow);
        QCoreApplication::processEvents();
        for (const WindowKind kind : kv::kAllWindowKinds) {
            if (auto* child = shell.window->window(kind)) {
                QVERIFY(!child->windowIcon().isNull());
                QVERIFY(!child->windowTitle().isEmpty());
            }
        }
        QCOMPARE(shell.window->shownMenuBar(), kv::MenuBarId::Report);
        keep(shell.window.get(), QStringLiteral("shell-report-window.png"));

        // Two of its menus, opened.
        const std::pair<int, QString> menus[] = {{0, QStringLiteral("arkiv")}, {2, QStringLiteral("visa")}};
        for (const auto& [index, name] : menus) {
            QMenu* menu = shell.window->menuBar()->actions().at(index)->menu();
            QVERIFY(menu != nullptr);
            menu->popup(shell.window->mapToGlobal(QPoint(0, 0)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            QVERIFY(menu->actions().size() > 5);
            keep(menu, QStringLiteral("shell-menu-%1.png").arg(name));
            menu->hide();
        }
    }

    void theAboutBoxAndTheCalendar() {
        kv::ui::AboutDialog about;
        about.show();
        QCOMPARE(about.windowTitle(), QString("Om Kvistoran"));
        keep(&about, QStringLiteral("shell-about.png"));
        kv::ui::CalendarDialog calendar;
        calendar.show();
        QCOMPARE(calendar.windowTitle(), QString("Kalender"));
        keep(&calendar, QStringLiteral("shell-calendar.png"));
    }
};

QTEST_MAIN(ShellLookTest)
#include "ShellLookTest.moc"
