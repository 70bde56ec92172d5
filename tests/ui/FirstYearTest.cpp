// What a treasurer's first year asks of the windows: no edits thrown away
// without a word, the message icon that fits what is said, rows tall enough
// for the dots of Å, Ä and Ö at every zoom, and Qt's own dialogs in Swedish.
#include "../core/ScriptedPrompter.h"
#include "ShellTestSupport.h"

#include "app/AppController.h"
#include "app/ChildWindow.h"
#include "app/NewCompany.h"
#include "app/QtPrompter.h"
#include "app/StartUpSupport.h"
#include "chart/ChartEditorDialog.h"
#include "chart/ChartEditorModel.h"
#include "chart/ChartTemplates.h"
#include "common/TextRows.h"
#include "grid/GridCellLook.h"
#include "grid/GridWidget.h"
#include "interaction/UnapprovedEdits.h"
#include "reports/JournalWindowContent.h"
#include "reports/ReportFormView.h"
#include "voucher/VatRulesDialog.h"
#include "voucher/VatRulesModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>

using kv::Answer;
using kv::ChartEditorModel;
using kv::ChartKind;
using kv::CTallvingeDoc;
using kv::test::ScriptedPrompter;

namespace {

std::string templateFolder() {
    static const QTemporaryDir folder;
    return folder.path().toStdString();
}

// The first cell of a column that the user may edit.
std::int32_t firstEditableRow(const kv::Grid& grid, std::int32_t col) {
    for (std::int32_t row = 1; row <= grid.rowCount(); ++row) {
        if (grid.isEditable(row, col)) {
            return row;
        }
    }
    return 0;
}

// The icon of the message box that ask shows; the box is answered with its first button.
QMessageBox::Icon iconShown(const std::function<void()>& ask) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&icon] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box != nullptr && box->isVisible()) {
                icon = box->icon();
                box->buttons().constFirst()->click();
            }
        }
    });
    ask();
    return icon;
}

} // namespace

class FirstYearTest : public QObject {
    Q_OBJECT
private slots:
    // The panels' places were made for a narrower font: a text that would
    // run into the one before it ("Antal verifikat :" and the count) moves
    // right by a blank; right-aligned amounts keep their places.
    void panelTextsNeverRunTogether() {
        const QFontMetrics metrics(kv::ui::ReportFormView::panelFont());
        const auto left = [](std::string text, std::int32_t x) {
            return kv::FormCell{std::move(text), -1, x, kv::TextAlign::Left, std::nullopt, false};
        };
        const kv::FormLine count{40, {left("Antal verifikat :", 1), left("13", 100)}};
        const std::vector<int> starts = kv::ui::ReportFormView::textStarts(count, metrics);
        QVERIFY(starts[1] >= 1 + metrics.horizontalAdvance(QStringLiteral("Antal verifikat : ")));
        const kv::FormLine apart{
            40,
            {left("NR", 1), left("NAMN", 55),
             kv::FormCell{"1 000.00", 2, 310, kv::TextAlign::Right, std::nullopt, false}}};
        const std::vector<int> kept = kv::ui::ReportFormView::textStarts(apart, metrics);
        QCOMPARE(kept[0], 1);
        QCOMPARE(kept[1], 55);
        QCOMPARE(kept[2], 310 - metrics.horizontalAdvance(QStringLiteral("1 000.00")));
    }

    void escapeAsksBeforeChangedChartRowsAreThrownAway() {
        CTallvingeDoc doc;
        doc.firstPeriodAsked();
        doc.addFirstPeriod({1, 2026, 12, 2026});
        doc.chooseTemplate(kv::kMallForening);
        ScriptedPrompter prompter;
        ChartEditorModel model(doc, prompter, ChartKind::Balance);
        model.open();
        kv::ui::ChartEditorDialog dialog(model);
        dialog.setPrompter(&prompter);
        dialog.show();
        QTableView* view = dialog.gridWidget()->view();

        // Nothing changed: Escape closes without a word.
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(prompter.said.empty());

        // A name changed: Escape asks, and No keeps the dialog and the change.
        dialog.show();
        kv::Grid& grid = dialog.gridWidget()->grid();
        const std::int32_t row = firstEditableRow(grid, kv::kColNamn);
        QVERIFY(row > 0);
        QVERIFY(grid.moveCurrentCell({row, kv::kColNamn}));
        QVERIFY(grid.beginEdit(std::string("Övriga fordringar")));
        QVERIFY(grid.endEdit());
        prompter.answer(Answer::No);
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QCOMPARE(prompter.said.size(), std::size_t{1});
        QCOMPARE(prompter.said.back(), std::string(kv::kAskCloseUnapproved));
        QCOMPARE(grid.storedText(row, kv::kColNamn), std::string("Övriga fordringar"));

        // The close button asks too.
        prompter.answer(Answer::No);
        dialog.close();
        QVERIFY(dialog.isVisible());
        QCOMPARE(prompter.said.size(), std::size_t{2});

        // Yes closes, and the chart stays unapproved.
        prompter.answer(Answer::Yes);
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!doc.balanceChartApproved());

        // The Cancel button is the user's own choice: it closes at once.
        dialog.show();
        dialog.cancelButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(prompter.said.size(), std::size_t{3});
        QCOMPARE(prompter.unscripted, 0);
    }

    void escapeAsksBeforeChangedVatRulesAreThrownAway() {
        CTallvingeDoc doc;
        const kv::NewCompanyResult made =
            kv::createDefaultCompany(doc, {kv::kMallRikssvensk, 1, 2026, 12, 2026, templateFolder()});
        QVERIFY2(made.ok, made.error.c_str());
        ScriptedPrompter prompter;
        kv::VatRulesModel model(doc, prompter);
        QVERIFY(!model.open());
        kv::ui::VatRulesDialog dialog(model);
        dialog.setPrompter(&prompter);
        dialog.show();
        QTableView* view = dialog.gridWidget()->view();
        kv::Grid& grid = dialog.gridWidget()->grid();
        const std::int32_t row = firstEditableRow(grid, kv::kVatColKommentar);
        QVERIFY(row > 0);
        grid.setText(row, kv::kVatColKommentar, "Hyra av lokal");

        prompter.answer(Answer::No);
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QCOMPARE(prompter.said, std::vector<std::string>{kv::kAskCloseUnapproved});
        prompter.answer(Answer::Yes);
        dialog.close();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(prompter.unscripted, 0);
    }

    void eachKindOfMessageHasItsIcon() {
        kv::ui::QtPrompter prompter;
        QCOMPARE(iconShown([&] { prompter.message("Välj rad"); }), QMessageBox::Warning);
        QCOMPARE(iconShown([&] { prompter.say(kv::MessageKind::Refusal, "Välj rad"); }),
                 QMessageBox::Warning);
        QCOMPARE(iconShown([&] { prompter.say(kv::MessageKind::Information, "Exporterat"); }),
                 QMessageBox::Information);
        QCOMPARE(iconShown([&] { prompter.say(kv::MessageKind::Failure, "Konto nr 3000 borttaget"); }),
                 QMessageBox::Critical);
        QCOMPARE(iconShown([&] { static_cast<void>(prompter.askOkCancel("Stänga?")); }),
                 QMessageBox::Question);
        QCOMPARE(iconShown([&] { static_cast<void>(prompter.askYesNo("Stänga?")); }), QMessageBox::Question);
        QCOMPARE(iconShown([&] { static_cast<void>(prompter.askYesNoCancel("Spara?")); }),
                 QMessageBox::Question);
        QCOMPARE(iconShown([&] { prompter.information("Verifikat", "Registrerat"); }),
                 QMessageBox::Information);

        // A help text from the help menu is information.
        const QTemporaryDir templates;
        kv::AppController controller(prompter, templates.path().toStdString());
        QCOMPARE(iconShown([&] { controller.execute(kv::CommandId::HelpPeriods); }),
                 QMessageBox::Information);
    }

    void rowsLeaveRoomForTheDotsOfAAndOAtEveryZoom() {
        kv::ui::GridWidget widget;
        kv::Grid& grid = widget.grid();
        grid.setRowCount(5);
        grid.setColCount(2);
        grid.setText(1, 1, "Övriga fordringar");
        grid.setText(2, 1, "Årets resultat");
        widget.resize(400, 300);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTableView* view = widget.view();
        // Zoomed out to 60 %, at 100 % and zoomed in to 193 %.
        for (const int steps : {-5, 0, 7}) {
            widget.zoomNormal();
            for (int i = 0; i < std::abs(steps); ++i) {
                steps < 0 ? widget.zoomOut() : widget.zoomIn();
            }
            QCoreApplication::processEvents(); // the row heights follow once a run of changes is over
            const int zoom = grid.zoom();
            QCOMPARE(zoom, steps < 0 ? 60 : (steps == 0 ? 100 : 193));
            const QFont font = view->model()->index(0, 0).data(Qt::FontRole).value<QFont>();
            const QFontMetrics metrics(font);
            const QRect ink = metrics.tightBoundingRect(QStringLiteral("ÖÅÄ"));
            const int row = view->verticalHeader()->sectionSize(0);
            QVERIFY2(row >= metrics.lineSpacing() + 4, qPrintable(QString("zoom %1: row %2, line spacing %3")
                                                                      .arg(zoom)
                                                                      .arg(row)
                                                                      .arg(metrics.lineSpacing())));
            // The text stands centred: the rings and dots above it stay inside the row.
            QVERIFY(row >= ink.height() + 4);
            QCOMPARE(row, kv::ui::textRowHeight(font, zoom));
        }

        // An account list: each row as tall as a row of its text.
        QListWidget list;
        list.addItems({QStringLiteral("1930  Bank"), QStringLiteral("2090  Årets resultat"),
                       QStringLiteral("3990  Övriga intäkter")});
        kv::ui::fitRowsToFont(list);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QFontMetrics metrics(list.font());
        QVERIFY(list.visualItemRect(list.item(2)).height() >= metrics.lineSpacing() + 4);
    }

    void theJournalShowsTheWayToTheFirstVoucher() {
        kv::test::Shell shell;
        shell.newCompany();
        kv::ui::ChildWindow* child = shell.window->window(kv::WindowKind::Journal);
        QVERIFY(child != nullptr);
        auto* journal = qobject_cast<kv::ui::JournalWindowContent*>(child->content());
        QVERIFY(journal != nullptr);
        // Without charts the guidance to set them up shows instead.
        QVERIFY(!journal->firstVoucherButton()->isVisible());
        QVERIFY(journal->guidanceButton()->isVisible());

        kv::test::approveCharts(shell.doc());
        shell.doc().updateAllViews();
        QVERIFY(journal->firstVoucherButton()->isVisible());
        QVERIFY(journal->firstVoucherButton()->text().contains(QStringLiteral("+")));
        QVERIFY(!journal->guidanceButton()->isVisible());
        // It leads to the new voucher, or says what is missing first.
        journal->firstVoucherButton()->click();
        kv::test::settle();
        QVERIFY(!shell.prompter.said.empty() || shell.controller.isFormOpen(kv::FormKind::Voucher));
    }

    void theFirstWindowOpensMaximisedAndTheUsersChoiceIsKept() {
        kv::test::Shell shell;
        kv::ui::setWindowsOpenMaximized(true);
        shell.newApprovedCompany();
        kv::ui::ChildWindow* journal = shell.window->window(kv::WindowKind::Journal);
        QVERIFY(journal != nullptr);
        QVERIFY(journal->isMaximized());
        shell.controller.execute(kv::CommandId::TrialBalanceWindow);
        kv::ui::ChildWindow* balance = shell.window->window(kv::WindowKind::TrialBalance);
        QVERIFY(balance != nullptr);
        QVERIFY(balance->isMaximized()); // as the others are
        // The user restores a window: later ones open cascaded, in this run and the next.
        balance->showNormal();
        QVERIFY(kv::ui::windowsOpenMaximized());
        shell.window->rememberWindowChoice(); // as the program ends
        QVERIFY(!kv::ui::windowsOpenMaximized());
        shell.controller.execute(kv::CommandId::IncomeStatementWindow);
        kv::ui::ChildWindow* income = shell.window->window(kv::WindowKind::IncomeStatement);
        QVERIFY(income != nullptr);
        QVERIFY(!income->isMaximized());
        QVERIFY(income->width() >= shell.window->mdiArea()->viewport()->width() / 2);
        kv::ui::setWindowsOpenMaximized(false);
    }

    // Runs last: the translation stays installed for the rest of the program.
    void qtsOwnDialogsReadSwedish() {
        kv::ui::installSwedishQtTexts(*QCoreApplication::instance());
        const QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString("Avbryt"));
        QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QString("OK"));

        QFileDialog files(nullptr, QStringLiteral("Öppna ett företag"));
        files.setOption(QFileDialog::DontUseNativeDialog);
        const auto* lookIn = files.findChild<QLabel*>(QStringLiteral("lookInLabel"));
        QVERIFY(lookIn != nullptr);
        QCOMPARE(lookIn->text(), QString("Leta i:"));
        const auto* box = files.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QVERIFY(box != nullptr);
        QCOMPARE(box->button(QDialogButtonBox::Cancel)->text(), QString("Avbryt"));
        QCOMPARE(files.labelText(QFileDialog::FileType), QString("Filer av typen:"));
    }
};

QTEST_MAIN(FirstYearTest)
#include "FirstYearTest.moc"
