// A new company set up in the window program with its real dialogs: the
// journal's first-period prompt and guidance button, the chart commands that
// open the trial-balance window which shows the editor, approval and Cancel.
// The modal dialogs are answered as they come up.
#include "ModalDriver.h"

#include "app/AppController.h"
#include "app/AppDialogViews.h"
#include "app/ChildWindow.h"
#include "app/MainWindow.h"
#include "app/NewCompany.h"
#include "app/QtPrompter.h"
#include "chart/ChartEditorDialog.h"
#include "chart/ChartEditorModel.h"
#include "chart/ChartTemplates.h"
#include "chart/TemplateChooserDialog.h"
#include "grid/GridWidget.h"
#include "periods/FirstPeriod.h"
#include "periods/PeriodDialog.h"
#include "reports/JournalWindowContent.h"
#include "storage/CompanyFiles.h"
#include "voucher/VatRulesDialog.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

using kv::CommandId;
using kv::WindowKind;
using kv::ui::ChartEditorDialog;

namespace {

// Waits for each expected modal window in turn and acts in it. A window that
// does not come (or another one instead) is closed, so that nothing hangs,
// and reported.
class ModalDriver : public QObject {
public:
    template <typename Window> void expect(const QString& what, std::function<void(Window&)> act) {
        m_steps.push_back({what, [act](QWidget* modal) {
                               auto* window = qobject_cast<Window*>(modal);
                               if (window == nullptr) {
                                   return false;
                               }
                               act(*window);
                               return true;
                           }});
    }
    // A message box whose text begins so; OK.
    void message(const std::string& text) {
        const QString start = QString::fromStdString(text);
        expect<QMessageBox>(start, [start](QMessageBox& box) {
            QVERIFY2(box.text().startsWith(start), qPrintable(box.text()));
            box.buttons().constFirst()->click();
        });
    }
    void start() {
        m_deadline = QDeadlineTimer(kv::test::kWindowWaitMs);
        QTimer::singleShot(10, this, [this] { poll(); });
    }
    // Runs the user's action, which shows the windows, and checks that all came.
    bool run(const std::function<void()>& action) {
        start();
        action();
        const bool allCame = QTest::qWaitFor([this] { return m_steps.empty(); }, 2 * kv::test::kWindowWaitMs);
        if (!m_error.isEmpty()) {
            qWarning("%s", qPrintable(m_error));
        }
        return allCame && m_error.isEmpty();
    }

private:
    struct Step {
        QString what;
        std::function<bool(QWidget*)> act;
    };

    void poll() {
        if (m_steps.empty()) {
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            const Step step = m_steps.front();
            // The next window may open from inside this one's action: keep looking meanwhile.
            m_steps.pop_front();
            QTimer::singleShot(10, this, [this] { poll(); });
            if (!step.act(modal)) {
                m_error = "väntade på " + step.what + ", fick " + modal->windowTitle();
                m_steps.clear();
                closeModal(modal);
            }
            m_deadline = QDeadlineTimer(kv::test::kWindowWaitMs);
            return;
        }
        if (m_deadline.hasExpired()) {
            m_error = "kom aldrig: " + m_steps.front().what;
            m_steps.clear();
            return;
        }
        QTimer::singleShot(10, this, [this] { poll(); });
    }

    static void closeModal(QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(QDialog::Rejected);
        } else {
            modal->close();
        }
    }

    std::deque<Step> m_steps;
    QDeadlineTimer m_deadline;
    QString m_error;
};

void typeIntoGrid(kv::Grid& grid, std::int32_t row, std::int32_t col, const std::string& text) {
    QVERIFY(grid.moveCurrentCell({row, col}));
    QVERIFY(grid.beginEdit(text));
    QVERIFY(grid.endEdit());
}

std::int32_t rowOf(const kv::Grid& grid, const std::string& number) {
    for (std::int32_t row = 1; row <= grid.rowCount(); ++row) {
        if (grid.storedText(row, kv::kColKontonr) == number) {
            return row;
        }
    }
    return 0;
}

void keep(QWidget* widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KVISTORAN_SCREENSHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QVERIFY(widget->grab().save(QDir(folder).filePath(name)));
    }
}

// The chart-template folder of these tests.
std::string templateFolder() {
    static const QTemporaryDir folder;
    return folder.path().toStdString();
}

// The window program as a user meets it: real message boxes and dialogs.
struct Program {
    kv::ui::QtPrompter prompter{kv::ui::programDialogViews()};
    kv::AppController controller{prompter, templateFolder()};
    std::unique_ptr<kv::ui::MainWindow> window;

    Program() {
        QStandardPaths::setTestModeEnabled(true);
        window = std::make_unique<kv::ui::MainWindow>(controller);
        window->resize(1100, 760);
        window->show();
        prompter.setParent(window.get());
        static_cast<void>(QTest::qWaitForWindowExposed(window.get()));
    }
    ~Program() {
        // Nothing asks on the way out.
        if (controller.company() != nullptr) {
            controller.company()->savedInFull();
        }
        window.reset();
    }
    kv::CTallvingeDoc& doc() { return controller.document(); }
    kv::ui::JournalWindowContent* journal() const {
        auto* child = window->window(WindowKind::Journal);
        return child != nullptr ? qobject_cast<kv::ui::JournalWindowContent*>(child->content()) : nullptr;
    }
};

// The first period, 2012, as the user types it.
void answerFirstPeriod(ModalDriver& driver) {
    driver.message(kv::kMsgBestamForstaPerioden);
    driver.expect<kv::ui::PeriodDialog>(QStringLiteral("perioden"), [](kv::ui::PeriodDialog& dialog) {
        QVERIFY(!dialog.cancelButton()->isEnabled());
        for (QLineEdit* year : {dialog.startYear(), dialog.endYear()}) {
            year->selectAll();
            QTest::keyClicks(year, "2012");
        }
        dialog.okButton()->click();
    });
}

} // namespace

class SetupWiringTest : public QObject {
    Q_OBJECT
private slots:
    void aNewCompanyIsGuidedFromItsFirstPeriodToApprovedCharts() {
        Program program;
        ModalDriver driver;
        answerFirstPeriod(driver);
        QVERIFY(driver.run([&] { program.controller.execute(CommandId::NewCompany); }));
        QVERIFY(program.doc().hasOpenPeriod());
        QCOMPARE(program.doc().periodLabel(), std::string("1.2012 - 12.2012"));
        kv::ui::JournalWindowContent* journal = program.journal();
        QVERIFY(journal != nullptr);
        QPushButton* button = journal->guidanceButton();
        QVERIFY(button->isVisible());
        QCOMPARE(button->text(), QString("Klicka HÄR och välj en kontoplan bland mallarna."));
        QCOMPARE(button->geometry(), QRect(QPoint(1, 1), QPoint(550, 130)));
        keep(program.window.get(), QStringLiteral("setup-journal-guidance.png"));

        driver.message(kv::templateFileMessage(templateFolder())); // no templates saved on this computer yet
        driver.expect<kv::ui::TemplateChooserDialog>(QStringLiteral("mallarna"), [](auto& chooser) {
            chooser.list()->setCurrentRow(3);
            chooser.okButton()->click();
        });
        for (const char* title : {kv::kTitleBalansplan, kv::kTitleResultatplan}) {
            driver.expect<ChartEditorDialog>(QString::fromUtf8(title), [title](ChartEditorDialog& editor) {
                QCOMPARE(editor.windowTitle(), QString::fromUtf8(title));
                editor.approveButton()->click();
            });
        }
        QVERIFY(driver.run([&] { button->click(); }));
        QVERIFY(program.doc().bothChartsApproved());
        QCOMPARE(program.doc().state().m_momsregler.size(), std::size_t{54});
        QVERIFY(!button->isVisible());
        QVERIFY(program.controller.commandState(CommandId::IncomeChart).enabled);
    }

    void theChartCommandOpensTheTrialBalanceWhichShowsTheEditor() {
        Program program;
        ModalDriver driver;
        answerFirstPeriod(driver);
        QVERIFY(driver.run([&] { program.controller.execute(CommandId::NewCompany); }));
        QVERIFY(kv::createDefaultCompany(program.doc(),
                                         {kv::kMallRikssvensk, 1, 2012, 12, 2012, templateFolder()})
                    .ok);
        program.doc().savedInFull();
        program.doc().updateAllViews();
        QVERIFY(!program.journal()->guidanceButton()->isVisible());

        // Approving applies the chart.
        driver.expect<ChartEditorDialog>(QStringLiteral("resultaträkningen"), [&](ChartEditorDialog& editor) {
            QCOMPARE(editor.windowTitle(), QString("Konton i resultaträkningen"));
            // The editor runs while the trial-balance window opens.
            QVERIFY(program.window->window(WindowKind::TrialBalance) != nullptr);
            kv::Grid& grid = editor.gridWidget()->grid();
            typeIntoGrid(grid, rowOf(grid, "6000"), kv::kColNamn, "Löner och arvoden");
            keep(&editor, QStringLiteral("setup-income-editor-in-use.png"));
            editor.approveButton()->click();
        });
        QVERIFY(driver.run([&] { program.controller.execute(CommandId::IncomeChart); }));
        QVERIFY(program.window->window(WindowKind::TrialBalance) != nullptr);
        const int sixThousand = program.doc().accountIndex(6000);
        QVERIFY(sixThousand >= 0);
        QCOMPARE(program.doc().state().m_allaKonton[static_cast<std::size_t>(sixThousand)]->m_strKolumn2,
                 std::string("Löner och arvoden"));
        QVERIFY(program.doc().isModified());

        // Cancel leaves the company as it was.
        program.doc().savedInFull();
        const std::size_t rows = program.doc().state().m_allaKonton.size();
        driver.expect<ChartEditorDialog>(QStringLiteral("balansräkningen"), [](ChartEditorDialog& editor) {
            QCOMPARE(editor.windowTitle(), QString("Konton i balansräkningen"));
            kv::Grid& grid = editor.gridWidget()->grid();
            typeIntoGrid(grid, rowOf(grid, "1900"), kv::kColNamn, "Kassa och växel");
            editor.cancelButton()->click();
        });
        QVERIFY(driver.run([&] { program.controller.execute(CommandId::BalanceChart); }));
        QCOMPARE(program.doc().state().m_allaKonton.size(), rows);
        const int cash = program.doc().accountIndex(1900);
        QCOMPARE(program.doc().state().m_allaKonton[static_cast<std::size_t>(cash)]->m_strKolumn2,
                 std::string("Kassa"));
        QVERIFY(!program.doc().isModified());

        // "Sätt moms" shows the stored rules in the same window; Cancel keeps them.
        const auto rules = program.doc().state().m_momsregler;
        driver.expect<kv::ui::VatRulesDialog>(QStringLiteral("moms"), [](kv::ui::VatRulesDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("Automatisk momsberäkning"));
            dialog.cancelButton()->click();
        });
        QVERIFY(driver.run([&] { program.controller.execute(CommandId::VatRules); }));
        QVERIFY(program.doc().state().m_momsregler == rules);
        QVERIFY(!program.doc().isModified());
    }

    void aCompanyLeftWithoutAPeriodBooksNothing() {
        // A company whose file has no period: the charts can be edited, the books cannot be kept.
        Program program;
        ModalDriver driver;
        answerFirstPeriod(driver);
        QVERIFY(driver.run([&] { program.controller.execute(CommandId::NewCompany); }));
        QVERIFY(
            kv::createDefaultCompany(program.doc(), {kv::kMallForening, 1, 2012, 12, 2012, templateFolder()})
                .ok);
        kv::CompanyState withoutPeriod = kv::copyCompanyState(program.doc().state());
        withoutPeriod.m_perioder.clear();
        program.doc().loadCompany(std::move(withoutPeriod));
        program.doc().updateAllViews();
        QVERIFY(program.window->menuAction(CommandId::IncomeChart)->isEnabled());
        QVERIFY(!program.window->menuAction(CommandId::NewVoucher)->isEnabled());
        QVERIFY(!program.window->menuAction(CommandId::TrialBalanceWindow)->isEnabled());
        QVERIFY(!program.window->toolbarAction(CommandId::NewVoucher)->isEnabled());
    }

private:
};

QTEST_MAIN(SetupWiringTest)
#include "SetupWiringTest.moc"
