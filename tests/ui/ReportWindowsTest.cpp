// The report windows on a company with a year of vouchers: what they show,
// the month range they follow, the ledger's account choice and the printed
// listings as PDF. With KV_SCREENSHOTS=folder the windows and PDF files are
// also saved there, at 1366 x 768 and 1920 x 1080, to be looked at.
#include "../core/ReportTestCompany.h"
#include "ShellTestSupport.h"

#include "app/ChildWindow.h"
#include "grid/GridWidget.h"
#include "reports/AccountChoiceModel.h"
#include "reports/LedgerWindowContent.h"
#include "reports/MonthRangeModel.h"
#include "reports/PanelWindowContent.h"
#include "reports/ReportDialogs.h"
#include "reports/ReportFormView.h"
#include "reports/ReportWindowContent.h"
#include "reports/VoucherRangeModel.h"
#include "storage/CompanyFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPrinter>

namespace kv::test {

class ReportWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Shell> m_shell;
    QTemporaryDir m_dir;

    template <typename Content> Content* content(WindowKind kind) {
        ui::ChildWindow* window = m_shell->window->window(kind);
        return window == nullptr ? nullptr : qobject_cast<Content*>(window->content());
    }

    void screenshot(const QString& name) {
        const QString folder = qEnvironmentVariable("KV_SCREENSHOTS");
        if (folder.isEmpty()) {
            return;
        }
        for (const QSize size : {QSize(1366, 768), QSize(1920, 1080)}) {
            m_shell->window->resize(size);
            if (QMdiSubWindow* active = m_shell->window->mdiArea()->activeSubWindow()) {
                active->showMaximized();
            }
            QTest::qWait(50);
            m_shell->window->grab().save(QStringLiteral("%1/%2-%3.png").arg(folder, name).arg(size.width()));
        }
    }

    QString printToPdf(ui::WindowContent& window, const QString& name) {
        const QString folder = qEnvironmentVariable("KV_SCREENSHOTS", m_dir.path());
        const QString path = folder + "/" + name + ".pdf";
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setOutputFileName(path);
        window.print(&pdf);
        return path;
    }

private slots:
    void init() {
        m_shell = std::make_unique<Shell>();
        CTallvingeDoc doc;
        buildReportCompany(doc, m_dir.path().toStdString());
        const std::string path = m_dir.filePath(QStringLiteral("Föreningen.bok")).toStdString();
        QVERIFY(saveCompany(doc, path).ok);
        QVERIFY(m_shell->controller.openAtStartUp(path));
        m_shell->window->resize(1366, 768);
    }
    void cleanup() { m_shell.reset(); }

    void journalShowsItsSummaryAndPrintsTheVouchers() {
        auto* journal = content<ui::PanelWindowContent>(WindowKind::Journal);
        QVERIFY(journal != nullptr);
        QVERIFY(formHas(*journal, "Antal verifikat :"));
        QVERIFY(formHas(*journal, "12"));
        QVERIFY(formHas(*journal, "Senaste transaktionsdag :  20-12-2025"));
        screenshot(QStringLiteral("grundbok"));
        const QString pdf = printToPdf(*journal, QStringLiteral("grundbok"));
        QVERIFY(QFile(pdf).size() > 1000);
    }

    void trialBalanceFollowsTheMonthRange() {
        m_shell->controller.execute(CommandId::TrialBalanceWindow);
        auto* balance = content<ui::PanelWindowContent>(WindowKind::TrialBalance);
        QVERIFY(balance != nullptr);
        QVERIFY(formHas(*balance, "Saldo råbalans"));
        QVERIFY(formHas(*balance, "1 348 138.89"));
        QVERIFY(m_shell->controller.commandState(CommandId::MonthRange).enabled);
        m_shell->prompter.on<MonthRangeModel>([this](MonthRangeModel& model) {
            model.chooseFirstMonth(2);
            model.chooseLastMonth(2);
            return model.accept(m_shell->prompter) ? Answer::Ok : Answer::Cancel;
        });
        m_shell->controller.execute(CommandId::MonthRange);
        QCOMPARE(m_shell->doc().state().m_nDelperiod, 1);
        QVERIFY(m_shell->controller.commandState(CommandId::MonthRange).checked);
        QVERIFY(formHas(*balance, "Råbalans t.o.m. 5.2025"));
        QVERIFY(formHas(*balance, "30 161.00"));
        screenshot(QStringLiteral("rabalans-mars-maj"));
        printToPdf(*balance, QStringLiteral("rabalans"));
    }

    void ledgerAsksForTheAccountAndSteps() {
        m_shell->prompter.on<AccountChoiceModel>([](AccountChoiceModel& choice) {
            choice.selectTyped("1050");
            return Answer::Ok;
        });
        m_shell->controller.execute(CommandId::LedgerWindow);
        auto* ledger = content<ui::LedgerWindowContent>(WindowKind::Ledger);
        QVERIFY(ledger != nullptr);
        QCOMPARE(ledger->account(), 1050);
        QVERIFY(formHas(*ledger, "KONTO  1050  Bank"));
        QVERIFY(formHas(*ledger, "1 348 138.89"));
        screenshot(QStringLiteral("huvudbok"));
        ledger->stepAccount(1);
        QCOMPARE(ledger->account(), 1820);
        ledger->stepAccount(-1);
        QCOMPARE(ledger->account(), 1050);
        const QString pdf = printToPdf(*ledger, QStringLiteral("huvudbok"));
        QVERIFY(QFile(pdf).size() > 1000);
    }

    void dialogsShowTheirModels() {
        MonthRangeModel range(m_shell->doc());
        ui::MonthRangeDialog months(range, m_shell->prompter);
        months.show();
        QCOMPARE(months.firstMonths()->count(), 12);
        months.firstMonths()->setCurrentIndex(2);
        emit months.firstMonths()->activated(2);
        QVERIFY(months.lastMonths()->isEnabled());
        QCOMPARE(months.lastMonths()->count(), 10);
        AccountChoiceModel accounts(m_shell->doc().state());
        ui::AccountChoiceDialog choice(accounts);
        choice.show();
        QTest::keyClicks(choice.findChild<QLineEdit*>(), QStringLiteral("105"));
        QCOMPARE(accounts.chosen().value_or(0), 1050);
        QCOMPARE(choice.list()->currentRow(), accounts.selected());
        const QString folder = qEnvironmentVariable("KV_SCREENSHOTS");
        if (!folder.isEmpty()) {
            months.grab().save(folder + QStringLiteral("/manadsbokslut.png"));
            choice.grab().save(folder + QStringLiteral("/valj-ett-konto.png"));
            VoucherRangeModel vouchers(12);
            ui::VoucherRangeDialog voucherRange(vouchers, m_shell->prompter);
            voucherRange.show();
            voucherRange.grab().save(folder + QStringLiteral("/ta-fram-verifikat.png"));
        }
    }

    void statementsFillTheirGridsAndKeepTheRangeUntilTheIncomeStatementCloses() {
        m_shell->controller.execute(CommandId::IncomeStatementWindow);
        auto* income = content<ui::ReportWindowContent>(WindowKind::IncomeStatement);
        QVERIFY(income != nullptr);
        const GridState& grid = income->gridWidget().grid().state();
        bool found = false;
        for (std::int32_t row = 1; row <= grid.rowCount(); ++row) {
            found = found ||
                    (grid.text(row, 1) == "RÄK PER VINST / FÖRLUST" && grid.text(row, 3) == "1 263 144.83");
        }
        QVERIFY(found);
        screenshot(QStringLiteral("resultatrakning"));
        m_shell->controller.execute(CommandId::BalanceSheetWindow);
        auto* balance = content<ui::ReportWindowContent>(WindowKind::BalanceSheet);
        QVERIFY(balance != nullptr);
        screenshot(QStringLiteral("balansrakning"));

        m_shell->doc().setMonthRange(MonthRange{{2025, 3}, {2025, 5}});
        m_shell->controller.execute(CommandId::IncomeStatementWindow);
        m_shell->window->closeCompanyWindow(WindowKind::IncomeStatement);
        QCOMPARE(m_shell->doc().state().m_nDelperiod, 0);
    }

    // What the user formats in a statement window is the company's, kept and
    // saved; only looking at the statement changes nothing.
    void formattingAStatementIsAChangeOfTheCompany() {
        for (const auto& [command, kind, which] :
             {std::tuple{CommandId::IncomeStatementWindow, WindowKind::IncomeStatement, Statement::Income},
              std::tuple{CommandId::BalanceSheetWindow, WindowKind::BalanceSheet, Statement::Balance}}) {
            m_shell->doc().savedInFull();
            m_shell->controller.execute(command);
            settle();
            auto* window = content<ui::ReportWindowContent>(kind);
            QVERIFY(window != nullptr);
            QVERIFY(!m_shell->doc().isModified());
            CellStyle italic = window->gridWidget().grid().state().style(1, 1);
            italic.italic = true;
            window->gridWidget().grid().setStyle(1, 1, italic);
            settle();
            QVERIFY(m_shell->doc().isModified());
            QVERIFY(m_shell->doc().statementGrid(which)->style(1, 1).italic);
            m_shell->window->closeCompanyWindow(kind);
            m_shell->controller.execute(command);
            settle();
            QVERIFY(content<ui::ReportWindowContent>(kind)->gridWidget().grid().state().style(1, 1).italic);
        }
    }
};

} // namespace kv::test

QTEST_MAIN(kv::test::ReportWindowsTest)
#include "ReportWindowsTest.moc"
