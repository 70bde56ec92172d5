// The budget in the window program: the dialog "Budget" typed into from the
// keyboard, its "Spara" and its question on closing, and the window
// "Budget och utfall" with its columns, its month range and its printing.
#include "KeepPicture.h"
#include "SavedCompany.h"
#include "ShellTestSupport.h"

#include "app/ChildWindow.h"
#include "budget/BudgetDialog.h"
#include "budget/BudgetDialogModel.h"
#include "budget/BudgetReportWindowContent.h"
#include "grid/GridWidget.h"
#include "reports/MonthRangeModel.h"
#include "storage/CompanyFiles.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>

namespace kv::test {

namespace {

LocalClock fixedClock() {
    return [] { return LocalTime{2012, 6, 1, 12, 0, 0}; };
}

// The first account of the income chart and its grid row.
std::int32_t firstAccount(const BudgetDialogModel& model) {
    return model.editor().row(0).account;
}

} // namespace

class BudgetWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir; // a company of its own for each test
    std::string m_path;
    CTallvingeDoc m_doc;

    QString cell(ui::BudgetDialog& dialog, int row, int col) {
        return dialog.gridWidget()->view()->model()->index(row - 1, col - 1).data().toString();
    }
    // Types into the grid as the user does: the keys go to the table, Return
    // or Tab ends the cell.
    void typeAt(ui::BudgetDialog& dialog, CellPos cell, const QString& text, Qt::Key end = Qt::Key_Return) {
        QVERIFY(dialog.gridWidget()->grid().moveCurrentCell(cell));
        QTableView* view = dialog.gridWidget()->view();
        view->setFocus();
        QTest::keyClicks(view, text.left(1));
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor != nullptr && editor != view);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, end);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = savedAssociation(*m_dir);
        QVERIFY(!m_path.empty());
        m_doc.startAfresh();
        QVERIFY(openCompany(m_doc, m_path).ok);
    }

    void typingSpreadsTheYearAndMonthsMakeIt() {
        ScriptedPrompter prompter;
        BudgetDialogModel model(m_doc, prompter, fixedClock());
        ui::BudgetDialog dialog(model);
        dialog.gridWidget()->setPrompter(&prompter);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Budget 1.2012 - 12.2012[*]"));
        const int year = BudgetEditorModel::kColYear + 1;
        const int january = BudgetEditorModel::kColFirstMonth + 1;
        QCOMPARE(cell(dialog, 0 + 1, 1), QString::number(firstAccount(model)));

        // The year typed, Return: spread over the twelve months, and down one row.
        typeAt(dialog, {1, year}, QStringLiteral("12000"));
        QCOMPARE(cell(dialog, 1, year), QStringLiteral("12 000.00"));
        QCOMPARE(cell(dialog, 1, january), QStringLiteral("1 000.00"));
        QCOMPARE(cell(dialog, 1, january + 11), QStringLiteral("1 000.00"));
        QCOMPARE(dialog.gridWidget()->grid().currentCell(), (CellPos{2, year}));
        QVERIFY(dialog.isWindowModified());

        // A month typed, Tab: the year follows, and the next month is current.
        typeAt(dialog, {1, january}, QStringLiteral("3000,50"), Qt::Key_Tab);
        QCOMPARE(cell(dialog, 1, year), QStringLiteral("14 000.50"));
        QCOMPARE(dialog.gridWidget()->grid().currentCell(), (CellPos{1, january + 1}));
        // The budgeted result under the accounts.
        QCOMPARE(cell(dialog, model.budgetGrid().resultRow(), year), QStringLiteral("14 000.50"));

        // A typed text that is no amount: told, the cell keeps its amount.
        typeAt(dialog, {1, january}, QStringLiteral("mycket"));
        QCOMPARE(prompter.said, std::vector<std::string>{kMsgBudgetGeEttSiffervarde});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(cell(dialog, 1, january), QStringLiteral("3 000.50"));

        // The balance accounts, shown and hidden again.
        const int incomeRows = model.editor().rowCount();
        dialog.balanceBox()->click();
        QVERIFY(model.editor().rowCount() > incomeRows);
        QCOMPARE(dialog.gridWidget()->view()->model()->rowCount(), model.editor().rowCount() + 1);
        dialog.balanceBox()->click();
        QCOMPARE(model.editor().rowCount(), incomeRows);
        keep(dialog, QStringLiteral("budget-dialog.png"));

        // Closed without saving: asked, No throws the edits away.
        prompter.answer(Answer::No);
        dialog.closeButton()->click();
        QCOMPARE(prompter.said.back(), std::string(kAskSparaBudget));
        QVERIFY(!dialog.isVisible());
        QVERIFY(!loadBudget(m_doc, 0).has_value());
    }

    void saveWritesAndReopenedShowsIt() {
        ScriptedPrompter prompter;
        const int year = BudgetEditorModel::kColYear + 1;
        {
            BudgetDialogModel model(m_doc, prompter, fixedClock());
            ui::BudgetDialog dialog(model);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            typeAt(dialog, {1, year}, QStringLiteral("-2400"));
            dialog.saveButton()->click();
            QVERIFY(!dialog.isWindowModified());
            QVERIFY(dialog.isVisible());
            // Escape with nothing unsaved closes without a question.
            QTest::keyClick(dialog.gridWidget()->view(), Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
            QVERIFY(prompter.said.empty());
        }
        BudgetDialogModel reopened(m_doc, prompter, fixedClock());
        ui::BudgetDialog dialog(reopened);
        QCOMPARE(cell(dialog, 1, year), QStringLiteral("-2 400.00"));
        QCOMPARE(cell(dialog, 1, year + 1), QStringLiteral("- 200.00"));

        // Edits, then Escape: asked; Cancel keeps the dialog, Yes saves and closes.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        typeAt(dialog, {1, year}, QStringLiteral("-3600"));
        prompter.answer(Answer::Cancel);
        QTest::keyClick(dialog.gridWidget()->view(), Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        prompter.answer(Answer::Yes);
        QTest::keyClick(dialog.gridWidget()->view(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(prompter.said, (std::vector<std::string>{kAskSparaBudget, kAskSparaBudget}));
        const std::optional<PeriodBudget> saved = loadBudget(m_doc, 0);
        QVERIFY(saved.has_value());
        QCOMPARE(saved->amount(firstAccount(reopened), {2012, 1}, {2012, 12}), Ore{-360000});
    }

    void theReportWindowShowsBudgetAndOutcome() {
        Shell shell;
        QVERIFY(shell.controller.openAtStartUp(m_path));
        shell.window->resize(1366, 768);
        QVERIFY(shell.controller.commandState(CommandId::BudgetReportWindow).enabled);
        shell.controller.execute(CommandId::BudgetReportWindow);
        ui::ChildWindow* child = shell.window->window(WindowKind::BudgetReport);
        QVERIFY(child != nullptr);
        auto* report = qobject_cast<ui::BudgetReportWindowContent*>(child->content());
        QVERIFY(report != nullptr);
        QCOMPARE(child->windowTitle(), QStringLiteral("Budget och utfall"));
        QVERIFY(!shell.controller.commandState(CommandId::BudgetReportWindow).enabled);

        // No budget yet: the window says so, and where one is made.
        QVERIFY(formHas(*report, kMsgIngenBudget));
        QVERIFY(formHas(*report, kMsgGorEnBudget));
        const std::vector<std::string> columns = {"Konto",        "Namn",        "Utfall",       "Budget",
                                                  "Avvikelse kr", "Avvikelse %", "Föregående år"};
        QCOMPARE(report->formView()->form().columns, columns);

        // "Budget..." in the window runs the dialog; what it saves shows at once.
        std::int32_t account = 0;
        shell.prompter.on<BudgetDialogModel>([&account](BudgetDialogModel& dialog) {
            account = firstAccount(dialog);
            dialog.grid().moveCurrentCell({1, BudgetEditorModel::kColYear + 1});
            dialog.grid().beginEdit("1200");
            return dialog.save() && dialog.mayClose() ? Answer::Cancel : Answer::Ok;
        });
        report->budgetButton()->click();
        settle();
        QCOMPARE(shell.prompter.dialogs.back(), std::string("Budget 1.2012 - 12.2012"));
        QVERIFY(!formHas(*report, kMsgIngenBudget));
        QVERIFY(formHas(*report, "1 200.00"));
        QVERIFY(formHas(*report, "Hela perioden"));

        // The month range, as the income statement has it: three months' budget.
        shell.prompter.on<MonthRangeModel>([&shell](MonthRangeModel& model) {
            model.chooseFirstMonth(0);
            model.chooseLastMonth(2);
            return model.accept(shell.prompter) ? Answer::Ok : Answer::Cancel;
        });
        QVERIFY(shell.controller.commandState(CommandId::MonthRange).enabled);
        shell.controller.execute(CommandId::MonthRange);
        QVERIFY(formHas(*report, "Månader: 1.2012 - 3.2012"));
        QVERIFY(formHas(*report, "300.00"));
        QVERIFY(!formHas(*report, "1 200.00"));
        QVERIFY(account != 0);

        // Printed as the other reports print: pages, and a PDF.
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setOutputFileName(m_dir->filePath(QStringLiteral("budget.pdf")));
        QCOMPARE(report->pageCount(&pdf), 1);
        report->print(&pdf);
        QVERIFY(QFile(m_dir->filePath(QStringLiteral("budget.pdf"))).size() > 1000);
        QVERIFY(shell.controller.commandState(CommandId::SaveAsPdf).enabled);
        keep(*shell.window, QStringLiteral("budget-report.png"));
    }
};

} // namespace kv::test

QTEST_MAIN(kv::test::BudgetWindowTest)
#include "BudgetWindowTest.moc"
