// The voucher dialog and the voucher list on the screen: a whole voucher typed
// with the keyboard, the modeless dialog beside the windows, opening a
// registered voucher from the list, the lookup, and the pink VAT rules.
#include "ShellTestSupport.h"

#include "app/ChildWindow.h"
#include "common/FormWindow.h"
#include "grid/GridWidget.h"
#include "voucher/VatRulesModel.h"
#include "voucher/VoucherForm.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherListWindow.h"
#include "voucher/VoucherLookupDialog.h"
#include "voucher/VoucherLookupModel.h"
#include "voucher/VoucherTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

namespace {

using kv::CommandId;
using kv::VoucherField;
using kv::WindowKind;
using kv::test::chartRow;

// Charts with sales, purchases, a bank and two VAT accounts; one period, 2012; VAT rules at 25 %.
void voucherCompany(kv::test::Shell& shell) {
    shell.newCompany();
    kv::CTallvingeDoc& doc = shell.doc();
    doc.approveIncomeChart({chartRow("3000", "Försäljning", "a"), chartRow("4000", "Inköp", "a"),
                            chartRow("", "Sa", "", "a"), chartRow("", "RESULTAT", "", "", "="),
                            chartRow("", "2090", "", "", "", "v"), chartRow("Exempel", "")});
    doc.approveBalanceChart({chartRow("1930", "Bank", "c"), chartRow("2640", "Ingående moms", "c"),
                             chartRow("", "Sa AKTIVA", "", "", "a"), chartRow("2090", "Årets resultat", "d"),
                             chartRow("2610", "Utgående moms", "d"), chartRow("", "Sa PASSIVA", "", "", "p"),
                             chartRow("Exempel", "")});
    std::vector<kv::CAutomoms> rules(54);
    rules[0] = {25.0, 0, 3000, 0, 2610, "Försäljning", 0};
    rules[1] = {25.0, 4000, 0, 2640, 0, "Inköp", 0};
    doc.setVatRules(rules);
    doc.savedInFull();
}

// Keys go where the focus is, as they do for the user.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target != nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

void type(const QString& text) {
    for (const QChar ch : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target != nullptr);
        // Letters beyond ASCII (å, ä, ö) are typed as their text.
        const auto key = static_cast<Qt::Key>(ch.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, target, key, QString(ch), Qt::NoModifier);
    }
}

// The platform of the tests does not move the activation by itself.
void activate(QWidget* window) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QTRY_VERIFY(window->isActiveWindow());
}

struct OpenForm {
    kv::VoucherFormModel* model = nullptr;
    kv::ui::FormWindow* window = nullptr;
    kv::ui::VoucherForm* form = nullptr;
};

OpenForm openForm(kv::test::Shell& shell) {
    OpenForm open;
    open.model = static_cast<kv::VoucherFormModel*>(shell.controller.openForm(kv::FormKind::Voucher));
    if (open.model != nullptr) {
        open.window = shell.window->formWindow(*open.model);
        open.form =
            open.window != nullptr ? qobject_cast<kv::ui::VoucherForm*>(open.window->content()) : nullptr;
    }
    return open;
}

QPoint rowCentre(QTableView* view, int row) {
    return view->visualRect(view->model()->index(row, 0)).center();
}

} // namespace

class VoucherWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void aWholeVoucherWithTheKeyboardAlone() {
        kv::test::Shell shell;
        voucherCompany(shell);
        QTest::keyClick(shell.window.get(), Qt::Key_Plus, Qt::KeypadModifier);
        kv::test::settle();
        const OpenForm open = openForm(shell);
        QVERIFY(open.form != nullptr);
        QVERIFY(!open.window->isModal());
        activate(open.window);
        QCOMPARE(open.window->windowTitle(), QString("Verifikat"));
        QCOMPARE(QApplication::focusWidget(), open.form->field(VoucherField::TransDay));

        // The date and text: "dag + månad + år" with the keypad's + or Return,
        // Tab leaves the text for the grid.
        type("5");
        press(Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), open.form->field(VoucherField::TransMonth));
        type("3");
        press(Qt::Key_Plus, Qt::KeypadModifier);
        type("2012");
        press(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), open.form->field(VoucherField::Vertext));
        QCOMPARE(open.form->field(VoucherField::TransDay)->text(), QString("5"));
        QCOMPARE(open.form->field(VoucherField::TransMonth)->text(), QString("3"));
        type("Kontantförsäljning");
        press(Qt::Key_Tab);
        QCOMPARE(open.model->grid().currentCell(), (kv::CellPos{1, kv::kColKonto}));

        // A sale of 1 250 with its VAT split off by Alt + keypad /, then the bank.
        type("3000");
        press(Qt::Key_Tab);
        type("Sålt");
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        type("1250,00");
        press(Qt::Key_Slash, Qt::AltModifier | Qt::KeypadModifier);
        QCOMPARE(open.model->grid().currentCell(), (kv::CellPos{2, kv::kColRadtext}));
        type("Moms");
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        type("1930");
        press(Qt::Key_Return);
        type("Sålt");
        press(Qt::Key_Return);
        type("1250");
        press(Qt::Key_Return);
        QCOMPARE(open.model->grid().currentCell(), (kv::CellPos{4, kv::kColKonto}));
        QCOMPARE(open.form->differenceField()->text(), QString("0.00"));
        QCOMPARE(shell.prompter.said, std::vector<std::string>{});

        // Ctrl+Return is "OK"; the two questions are answered OK.
        shell.prompter.answer(kv::Answer::Ok).answer(kv::Answer::Ok);
        press(Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(shell.controller.openForm(kv::FormKind::Voucher), nullptr);
        QCOMPARE(shell.prompter.said.size(), std::size_t{2});
        const auto& vouchers = shell.doc().state().m_verifikat;
        QCOMPARE(vouchers.size(), std::size_t{1});
        QCOMPARE(vouchers[0].m_rader.size(), std::size_t{3});
        QCOMPARE(vouchers[0].m_rader[0].m_dKredit, 1000.0);
        QCOMPARE(vouchers[0].m_rader[1].m_nKonto, 2610);
        QCOMPARE(vouchers[0].m_rader[1].m_dKredit, 250.0);
        QCOMPARE(vouchers[0].m_rader[2].m_dDebet, 1250.0);
        QVERIFY(shell.window->window(WindowKind::TrialBalance) != nullptr);
        QVERIFY(shell.controller.commandState(CommandId::Save).enabled);
    }

    void theListOpensARegisteredVoucherBelowItsPinkRows() {
        kv::test::Shell shell;
        voucherCompany(shell);
        for (int day = 1; day <= 3; ++day) {
            kv::CVerifikatrad sale{"Sålt", "Försäljning", 3000, 0.0, 100.0 * day, 25.0};
            kv::CVerifikatrad bank{"Sålt", "Bank", 1930, 100.0 * day, 0.0, 0.0};
            shell.doc().registerVoucher(
                kv::makeVoucher(day, 3, 2012, "Dag " + std::to_string(day), {sale, bank}));
        }
        QTest::keyClick(shell.window.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
        kv::test::settle();
        auto* list = qobject_cast<kv::ui::VoucherListWindow*>(
            shell.window->window(WindowKind::VoucherList)->content());
        QVERIFY(list != nullptr);
        QTableView* view = list->view();
        QCOMPARE(view->model()->rowCount(), 3);
        QCOMPARE(view->model()->index(1, 2).data().toString(), QString("2-3-2012"));
        QCOMPARE(view->model()->index(1, kv::kListColBalans).data().toString(), QString("0.00"));

        // A click below the lines tells how; a click on a line opens it.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(10, view->viewport()->height() - 5));
        QCOMPARE(shell.prompter.said, std::vector<std::string>{kv::kMsgMarkeraKlicka});
        QCOMPARE(shell.prompter.captions, std::vector<std::string>{kv::kCaptionVantor});
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(view, 1));
        const OpenForm open = openForm(shell);
        QVERIFY(open.form != nullptr);
        QCOMPARE(open.model->voucherNumber(), 2);
        QCOMPARE(open.window->windowTitle(), QString::fromUtf8(kv::kVoucherTitleRegistered));
        QVERIFY(open.form->field(VoucherField::Vertext)->isReadOnly());
        QCOMPARE(open.model->grid().currentCell(), (kv::CellPos{3, kv::kColKonto}));

        // While it is open the list says so, and the dialog comes forward.
        shell.prompter.said.clear();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(view, 0));
        QCOMPARE(shell.prompter.said, std::vector<std::string>{kv::kMsgDialogenOppenVisas});

        // F12 pastes the copied lines at the first free row.
        activate(open.window);
        open.form->gridWidget()->setFocus();
        QApplication::clipboard()->setText("4000\t\tKöpt\t80\n1930\t\tKöpt\t\t80\n");
        press(Qt::Key_F12);
        QCOMPARE(open.model->grid().storedText(3, kv::kColKontonamn), std::string("Inköp"));
        QCOMPARE(open.model->grid().storedText(4, kv::kColKredit), std::string("80"));
        QCOMPARE(open.model->grid().storedText(3, kv::kColRadtext),
                 std::string("Ändrat ") + std::to_string(kv::todaysDate().day) + "." +
                     std::to_string(kv::todaysDate().month) + ", Köpt");

        // Escape with lines typed asks first; Cancel keeps the dialog.
        shell.prompter.said.clear();
        shell.prompter.answer(kv::Answer::Cancel);
        press(Qt::Key_Escape);
        QCOMPARE(shell.prompter.said, std::vector<std::string>{kv::kAskStangOregistrerat});
        QCOMPARE(shell.controller.openForm(kv::FormKind::Voucher), open.model);
        shell.prompter.answer(kv::Answer::Ok);
        open.form->okButton()->click();
        QCOMPARE(shell.controller.openForm(kv::FormKind::Voucher), nullptr);
        QCOMPARE(shell.doc().state().m_verifikat[1].m_rader.size(), std::size_t{4});
        // The list follows: the amended voucher still balances.
        QCOMPARE(view->model()->index(1, kv::kListColBalans).data().toString(), QString("0.00"));

        // A month range colours the list and shortens the vouchers outside it.
        shell.doc().setMonthRange(kv::MonthRange{{2012, 4}, {2012, 5}});
        QCOMPARE(view->model()->index(0, kv::kListColBalans).data().toString(),
                 QString::fromUtf8(kv::kEjInomDelperioden));
        QCOMPARE(view->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
    }

    void theLookupMarksTheVoucherAndReturnOpensIt() {
        kv::test::Shell shell;
        voucherCompany(shell);
        for (int day = 1; day <= 3; ++day) {
            kv::CVerifikatrad bank{"Ränta", "Bank", 1930, 1.0, 0.0, 0.0};
            kv::CVerifikatrad sale{"Ränta", "Försäljning", 3000, 0.0, 1.0, 25.0};
            shell.doc().registerVoucher(kv::makeVoucher(day, 4, 2012, "Ränta", {bank, sale}));
        }
        shell.prompter.on<kv::VoucherLookupModel>([&shell](kv::VoucherLookupModel& lookup) {
            lookup.setNumberText("2");
            return lookup.accept(shell.prompter) ? kv::Answer::Ok : kv::Answer::Cancel;
        });
        QTest::keyClick(shell.window.get(), Qt::Key_Minus, Qt::KeypadModifier);
        kv::test::settle();
        auto* list = qobject_cast<kv::ui::VoucherListWindow*>(
            shell.window->window(WindowKind::VoucherList)->content());
        QVERIFY(list != nullptr);
        QCOMPARE(list->view()->currentIndex().row(), 1);
        QCOMPARE(shell.controller.openForm(kv::FormKind::Voucher), nullptr); // marked, not opened
        QTest::keyClick(list->view(), Qt::Key_Return);
        const OpenForm open = openForm(shell);
        QVERIFY(open.model != nullptr);
        QCOMPARE(open.model->voucherNumber(), 2);

        // The VAT rules opened meanwhile are pink, and say why.
        bool pink = false;
        shell.prompter.on<kv::VatRulesModel>([&pink](kv::VatRulesModel& rules) {
            pink = rules.pink() && std::string(rules.title()) == kv::kVatDialogTitlePink;
            return kv::Answer::Cancel;
        });
        shell.controller.execute(CommandId::VatRules);
        QVERIFY(pink);
        QCOMPARE(shell.controller.openForm(kv::FormKind::Voucher), open.model);
        open.model->cancel();
        QVERIFY(!shell.controller.state().voucherDialogOpen);
        QCOMPARE(shell.prompter.unscripted, 0);
    }

    void theLookupDialogKeepsAWrongNumber() {
        kv::test::ScriptedPrompter prompter;
        kv::VoucherLookupModel lookup(5);
        kv::ui::VoucherLookupDialog dialog(lookup, prompter);
        dialog.numberField()->setText("9");
        dialog.findButton()->click();
        QCOMPARE(prompter.said, std::vector<std::string>{"Ange ett heltal mellan 1 och 5."});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.numberField()->setText("4");
        dialog.findButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(lookup.chosenRow(), std::optional<std::size_t>{3});
    }

    void closingTheCompanyTakesTheOpenDialogAlong() {
        kv::test::Shell shell;
        voucherCompany(shell);
        shell.controller.execute(CommandId::NewVoucher);
        const OpenForm open = openForm(shell);
        QVERIFY(open.form != nullptr);
        QVERIFY(open.model->typeCell({1, kv::kColKonto}, "1930"));
        const QPointer<kv::ui::FormWindow> window(open.window);
        shell.prompter.answer(kv::Answer::Ok); // the typed line may go
        shell.controller.execute(CommandId::CloseCompany);
        QVERIFY(!shell.controller.companyOpen());
        // The dialog goes at the next event, after the model: it shows nothing of it any more.
        QTRY_VERIFY(window.isNull());
        QCOMPARE(shell.prompter.unscripted, 0);
    }
};

QTEST_MAIN(VoucherWindowsTest)
#include "VoucherWindowsTest.moc"
