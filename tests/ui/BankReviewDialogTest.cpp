// The review of "Läs in kontoutdrag..." worked from the keyboard: Space takes
// a line with or leaves it out, a number typed on a line sets its account,
// the account list beside sets it too, "Bokför" books the lines taken and
// Escape closes. With KVISTORAN_SCREENSHOTS set, a picture is kept.
#include "../core/ScriptedPrompter.h"
#include "KeepPicture.h"
#include "SavedCompany.h"

#include "bank/BankAccountDialog.h"
#include "bank/BankReviewDialog.h"
#include "bank/BankRuleDialogs.h"
#include "storage/CompanyDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using kv::BankColumn;
using kv::test::ScriptedPrompter;
using kv::ui::BankReviewDialog;

namespace {

kv::LocalTime fixedTime() {
    return {2026, 12, 10, 14, 3, 25};
}

kv::BankLine line(std::size_t number, int day, kv::Ore amount, const char* text) {
    kv::BankLine made;
    made.lineNumber = number;
    made.bookingDate = {2012, 3, day};
    made.amount = amount;
    made.counterpart = text;
    return made;
}

// The association of 2012 on disk (Bank 1050, Medlemsavgifter 3000, Lokalhyra 6010).
struct Books {
    QTemporaryDir folder;
    kv::CTallvingeDoc doc;
    std::string path;

    Books() {
        path = kv::test::savedAssociation(folder);
        if (!path.empty()) {
            kv::openCompany(doc, path);
        }
    }
    std::unique_ptr<kv::BankReviewDialogModel> review() {
        kv::BankStatement statement;
        statement.account = "SE4550000000058398257466";
        statement.openingBalance = 100000;
        statement.lines = {line(2, 5, -450000, "Hyresvärden AB"), line(3, 7, 25000, "Kalle Medlem"),
                           line(4, 9, -1200, "Banken")};
        return std::make_unique<kv::BankReviewDialogModel>(doc, statement, kv::BankImportOptions{1050, {}},
                                                           fixedTime);
    }
};

QString cell(const BankReviewDialog& dialog, int row, BankColumn column) {
    return dialog.grid()->item(row, BankReviewDialog::gridColumn(column))->text();
}

bool taken(const BankReviewDialog& dialog, int row) {
    return dialog.grid()->item(row, BankReviewDialog::kTakenColumn)->text() == QStringLiteral("✓") &&
           dialog.grid()->item(row, BankReviewDialog::gridColumn(BankColumn::Text))->font().bold();
}

// Types a number on the grid's current line as the user does: the first
// digit opens the account's editor, the rest go to it, Return ends it.
void typeAccount(BankReviewDialog& dialog, const QString& number) {
    QTest::keyClick(dialog.grid(), number.at(0).toLatin1());
    QLineEdit* editor = nullptr;
    for (QLineEdit* open : dialog.grid()->viewport()->findChildren<QLineEdit*>()) {
        editor = open->isVisible() ? open : editor;
    }
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->text(), number.left(1));
    QTest::keyClicks(editor, number.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

} // namespace

class BankReviewDialogTest : public QObject {
    Q_OBJECT
private slots:
    void linesAreTakenByKeysAndBooked() {
        Books books;
        QVERIFY(books.doc.hasAccount(1050));
        auto model = books.review();
        ScriptedPrompter prompter;
        BankReviewDialog dialog(*model, prompter);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.grid()->rowCount(), 3);
        QCOMPARE(cell(dialog, 0, BankColumn::Date), QString("2012-03-05"));
        QCOMPARE(dialog.grid()->item(0, BankReviewDialog::gridColumn(BankColumn::Amount))->textAlignment(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        QVERIFY(!dialog.balanceLabel()->text().isEmpty());
        QVERIFY(!dialog.summaryLabel()->text().isEmpty());
        QVERIFY(!taken(dialog, 0));

        // A number typed on the text of the first line goes to its account.
        dialog.grid()->setCurrentCell(0, BankReviewDialog::gridColumn(BankColumn::Text));
        typeAccount(dialog, "6010");
        QTRY_VERIFY(taken(dialog, 0)); // once the editor has closed
        QCOMPARE(cell(dialog, 0, BankColumn::Account), QString("6010"));
        QCOMPARE(model->review().plan().proposals[0].account, 6010);
        QCOMPARE(dialog.grid()->currentRow(), 1); // Return went on to the next line

        // The VAT rule is typed by its number; a text that is none is refused.
        dialog.grid()->setCurrentCell(0, BankReviewDialog::gridColumn(BankColumn::Vat));
        typeAccount(dialog, "99");
        QTRY_COMPARE(prompter.said.size(), std::size_t{1});
        QCOMPARE(model->review().plan().proposals[0].vatRule, 0);
        prompter.said.clear();

        // The line as a rule: its dialog proposes the counterpart, the user
        // shortens it, and the rule is kept in the company's database.
        prompter.on<kv::BankRuleModel>([](kv::BankRuleModel& rule) {
            kv::BankRuleFields fields = rule.fieldValues();
            if (fields.pattern != "Hyresvärden AB" || fields.account != "6010" ||
                fields.sign != kv::BankAmountSign::Out) {
                return kv::Answer::Cancel;
            }
            fields.pattern = "Hyresvärden";
            rule.setFields(fields);
            return rule.accept() ? kv::Answer::Cancel : kv::Answer::Ok;
        });
        dialog.grid()->setCurrentCell(0, BankReviewDialog::gridColumn(BankColumn::Account));
        dialog.ruleButton()->click();
        QCOMPARE(
            dialog.outcomeLabel()->text(),
            QString("Regeln sparades: betalningar till \"Hyresvärden\" föreslås på konto 6010 från nu."));
        QCOMPARE(kv::readBankRules(books.path).size(), std::size_t{1});
        QCOMPARE(kv::readBankRules(books.path).front().account, 6010);

        // The voucher text is the user's to change; the status of the line
        // is read in full under the grid.
        dialog.grid()->setCurrentCell(0, BankReviewDialog::gridColumn(BankColumn::Text));
        QVERIFY(dialog.statusLabel()->text().startsWith("Rad 2 (2012-03-05): "));
        dialog.grid()->editItem(dialog.grid()->currentItem());
        for (QLineEdit* open : dialog.grid()->viewport()->findChildren<QLineEdit*>()) {
            if (open->isVisible()) {
                open->setText(QStringLiteral("Hyra mars"));
                QTest::keyClick(open, Qt::Key_Return);
            }
        }
        QTRY_COMPARE(model->review().plan().proposals[0].text, "Hyra mars");
        QCOMPARE(cell(dialog, 0, BankColumn::Text), QString("Hyra mars"));
        dialog.grid()->setCurrentCell(0, BankReviewDialog::gridColumn(BankColumn::Text));

        // Space leaves it out and takes it again.
        QTest::keyClick(dialog.grid(), Qt::Key_Space);
        QVERIFY(!taken(dialog, 0));
        QVERIFY(!model->review().row(0).accepted);
        QTest::keyClick(dialog.grid(), Qt::Key_Space);
        QVERIFY(taken(dialog, 0));

        // The second line's account from the list beside.
        dialog.grid()->setCurrentCell(1, BankReviewDialog::gridColumn(BankColumn::Text));
        const auto listed = dialog.accountList()->findItems(QStringLiteral("3000  "), Qt::MatchStartsWith);
        QCOMPARE(listed.size(), 1);
        dialog.accountList()->setCurrentItem(listed.front());
        QTest::keyClick(dialog.accountList(), Qt::Key_Return);
        QCOMPARE(cell(dialog, 1, BankColumn::Account).left(4), QString("3000"));
        QVERIFY(taken(dialog, 1));

        // A number that is no account is refused and the line keeps none.
        dialog.grid()->setCurrentCell(2, BankReviewDialog::gridColumn(BankColumn::Account));
        typeAccount(dialog, "9999");
        QTRY_COMPARE(prompter.said, std::vector<std::string>{"Kontot (9999) finns inte i kontoplanen."});
        QVERIFY(!taken(dialog, 2));
        kv::test::keep(dialog, QStringLiteral("bank-review.png"));

        QVERIFY(dialog.bookButton()->isEnabled());
        dialog.bookButton()->click();
        QCOMPARE(books.doc.state().m_verifikat.size(), std::size_t{2});
        QCOMPARE(dialog.outcomeLabel()->text().toStdString(), model->outcome());
        QVERIFY(dialog.outcomeLabel()->text().startsWith("2 rader bokfördes."));
        // Booked lines can no longer be changed.
        QVERIFY(!(dialog.grid()->item(0, BankReviewDialog::gridColumn(BankColumn::Account))->flags() &
                  Qt::ItemIsEditable));
        QVERIFY(!dialog.bookButton()->isEnabled());

        // Return on a booked line shows its voucher; on a line left out it
        // goes on to the next line.
        dialog.grid()->setCurrentCell(0, BankReviewDialog::gridColumn(BankColumn::Date));
        QTest::keyClick(dialog.grid(), Qt::Key_Return);
        QCOMPARE(prompter.captions.size(), std::size_t{1});
        QVERIFY(prompter.said.back().starts_with("Verifikat 1, 2012-03-05: Hyra mars\n"));
        dialog.grid()->setCurrentCell(2, BankReviewDialog::gridColumn(BankColumn::Date));
        QTest::keyClick(dialog.grid(), Qt::Key_Return);
        QCOMPARE(prompter.captions.size(), std::size_t{1});

        // "Ångra" takes the whole booking back, and the lines can be booked again.
        QVERIFY(dialog.undoButton()->isEnabled());
        dialog.undoButton()->click();
        QCOMPARE(books.doc.state().m_verifikat.size(), std::size_t{0});
        QVERIFY(dialog.outcomeLabel()->text().startsWith("Bokföringen ångrades: 2 verifikat"));
        QVERIFY(!dialog.undoButton()->isEnabled());
        QVERIFY(dialog.bookButton()->isEnabled());
        dialog.bookButton()->click();
        QCOMPARE(books.doc.state().m_verifikat.size(), std::size_t{2});

        QTest::keyClick(dialog.grid(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void theBookAccountIsTypedOrChosen() {
        Books books;
        kv::BankStatement statement;
        kv::BankAccountChoiceModel model(books.doc, statement, 1930); // the association has no 1930
        ScriptedPrompter prompter;
        kv::ui::BankAccountDialog dialog(model, prompter);
        dialog.show();
        QVERIFY(dialog.numberField()->text().isEmpty());
        dialog.okButton()->click();
        QCOMPARE(prompter.said, std::vector<std::string>{"Ange kontonumret för bankkontot."});
        QVERIFY(dialog.isVisible());
        QTest::keyClicks(dialog.numberField(), "1050");
        QCOMPARE(dialog.accountList()->currentItem()->text(), QString("1050  Bank"));
        dialog.okButton()->click();
        QCOMPARE(model.chosen(), 1050);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // "Bankregler...": a rule typed in its dialog (a refusal keeps it open),
    // moved up and removed, each change in the database at once.
    void rulesAreListedEditedMovedAndRemoved() {
        Books books;
        kv::writeBankRules(
            books.path,
            {{"Hyresvärden", kv::BankTextMatch::Contains, kv::BankAmountSign::Out, {}, {}, 6010, 0}});
        kv::BankRulesModel model(books.doc);
        ScriptedPrompter prompter;
        kv::ui::BankRulesDialog dialog(model, prompter);
        dialog.show();
        QCOMPARE(dialog.grid()->rowCount(), 1);
        QCOMPARE(dialog.grid()->item(0, 0)->text(), QString("Hyresvärden"));
        QCOMPARE(dialog.grid()->item(0, 3)->text(), QString("uttag"));
        QVERIFY(!dialog.upButton()->isEnabled());

        bool refused = false;
        prompter.on<kv::BankRuleModel>([&refused, &prompter](kv::BankRuleModel& rule) {
            kv::ui::BankRuleDialog shown(rule, prompter);
            shown.patternField()->setText(QStringLiteral("Kalle Medlem"));
            shown.accountField()->setText(QStringLiteral("9999"));
            shown.okButton()->click();
            refused = shown.isVisible() || prompter.said.size() == 1;
            shown.accountField()->setText(QStringLiteral("3000"));
            shown.okButton()->click();
            return shown.result() == QDialog::Accepted ? kv::Answer::Ok : kv::Answer::Cancel;
        });
        dialog.newButton()->click();
        QVERIFY(refused);
        QCOMPARE(prompter.said, std::vector<std::string>{"Kontot (9999) finns inte i kontoplanen."});
        QCOMPARE(dialog.grid()->rowCount(), 2);
        QCOMPARE(dialog.grid()->currentRow(), 1);
        QCOMPARE(dialog.grid()->item(1, 1)->text(), QString("3000"));

        dialog.upButton()->click();
        QCOMPARE(kv::readBankRules(books.path).front().pattern, "Kalle Medlem");
        QCOMPARE(dialog.grid()->currentRow(), 0);
        prompter.answer(kv::Answer::Yes);
        dialog.removeButton()->click();
        QCOMPARE(prompter.said.back(), "Ta bort regeln \"Kalle Medlem\"?");
        QCOMPARE(kv::readBankRules(books.path).size(), std::size_t{1});
        QCOMPARE(dialog.grid()->rowCount(), 1);
        kv::test::keep(dialog, QStringLiteral("bank-rules.png"));
    }
};

QTEST_MAIN(BankReviewDialogTest)
#include "BankReviewDialogTest.moc"
