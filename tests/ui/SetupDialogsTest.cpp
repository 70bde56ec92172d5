// The set-up dialogs over their models: the template chooser, both chart
// editors, the period dialog in its modes, the VAT rules and the template
// list of "Ta bort från kontoplanmallar". With KVISTORAN_SCREENSHOTS set to a
// folder, a picture of each is kept there.
#include "../core/ScriptedPrompter.h"
#include "KeepPicture.h"

#include "app/NewCompany.h"
#include "chart/ChartEditorDialog.h"
#include "chart/ChartEditorModel.h"
#include "chart/ChartTemplates.h"
#include "chart/DeleteTemplateDialog.h"
#include "chart/TemplateChooserDialog.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "grid/GridWidget.h"
#include "periods/FirstPeriod.h"
#include "periods/PeriodDialog.h"
#include "storage/CompanyFiles.h"
#include "storage/TemplateStore.h"
#include "voucher/VatRulesDialog.h"
#include "voucher/VatRulesModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using kv::Answer;
using kv::ChartEditorModel;
using kv::ChartKind;
using kv::CTallvingeDoc;
using kv::test::ScriptedPrompter;

namespace {

using kv::test::keep;

// A new company with its first period, whose template is chosen but whose
// charts are not approved yet: the editors fill themselves from the template.
void newCompanyWithTemplate(CTallvingeDoc& doc, const char* name) {
    doc.firstPeriodAsked();
    doc.addFirstPeriod({1, 2012, 12, 2012});
    doc.chooseTemplate(name);
}

// The chart-template folder of these tests.
std::string templateFolder() {
    static const QTemporaryDir folder;
    return folder.path().toStdString();
}

QStringList texts(const QListWidget& list) {
    QStringList lines;
    for (int i = 0; i < list.count(); ++i) {
        lines << list.item(i)->text();
    }
    return lines;
}

} // namespace

class SetupDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void theTemplateChooserListsTheBuiltInTemplatesAndTakesTheChosenOne() {
        CTallvingeDoc doc;
        const kv::TemplateStore noUserTemplates(templateFolder());
        kv::TemplateChooserModel model(doc, noUserTemplates);
        kv::ui::TemplateChooserDialog dialog(model);
        QCOMPARE(dialog.windowTitle(), QString("Kontoplanmallar"));
        QCOMPARE(texts(*dialog.list()),
                 QStringList({"RIKSSVENSK STANDARDMALL 75 ST KONTON", "RIKSSVENSK BASKONTOMALL 247 ST KONTON",
                              "FINLANDSSVENSK STANDARDMALL 75 ST KONTON", "FÖRENINGSMALL 22 ST KONTON"}));
        QCOMPARE(dialog.list()->currentRow(), 0);
        QCOMPARE(dialog.findChildren<QPushButton*>(), QList<QPushButton*>{dialog.okButton()}); // OK only
        keep(dialog, QStringLiteral("setup-template-chooser.png"));

        // Escape chooses nothing.
        QTest::keyClick(dialog.list(), Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(doc.state().m_strMallnamn, std::string(kv::kIngenMall));

        dialog.show();
        dialog.list()->setCurrentRow(3);
        dialog.okButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(doc.state().m_strMallnamn, std::string(kv::kMallForening));
        QCOMPARE(doc.state().m_nValdMall, -1);
    }

    void theBalanceEditorShowsTheTemplateAndApprovesIt() {
        CTallvingeDoc doc;
        newCompanyWithTemplate(doc, kv::kMallForening);
        ScriptedPrompter prompter;
        ChartEditorModel model(doc, prompter, ChartKind::Balance);
        model.open();
        kv::ui::ChartEditorDialog dialog(model);
        QCOMPARE(dialog.windowTitle(), QString("Konton i balansräkningen"));
        QCOMPARE(dialog.approveButton()->text(), QString("Godkänn kontoplan"));
        QVERIFY(dialog.approveButton()->isDefault());
        QCOMPARE(dialog.cancelButton()->text(), QString("Avbryt"));
        QCOMPARE(dialog.insertButton()->text(), QString("Sätt in ny rad"));
        QCOMPARE(dialog.deleteButton()->text(), QString("Ta bort rad"));
        QCOMPARE(dialog.undoButton()->text(), QString("Ångra"));
        QCOMPARE(dialog.onlyUsedBox()->text(), QString("Visa endast konton i\nanvändning vid utskrift"));
        QVERIFY(dialog.accountList()->count() == 0); // nothing approved yet
        const QAbstractItemModel* cells = dialog.gridWidget()->view()->model();
        QCOMPARE(cells->index(0, 1).data().toString(), QString("A K T I V A"));
        QCOMPARE(cells->index(30, 1).data().toString(), QString("2040"));
        // The names fit their column.
        const QTableView* table = dialog.gridWidget()->view();
        const QFontMetrics metrics(table->font());
        QVERIFY(table->columnWidth(1) > metrics.horizontalAdvance(QString("vinst/förlust är insatt på  :")));
        // The rows around the assets total, where the fixed rows stand.
        dialog.show();
        dialog.gridWidget()->view()->scrollTo(cells->index(19, 1), QAbstractItemView::PositionAtTop);
        keep(dialog, QStringLiteral("setup-balance-editor-22.png"));

        dialog.onlyUsedBox()->click();
        QCOMPARE(doc.state().m_nEndastAnvanda, 1);
        dialog.onlyUsedBox()->click();

        // Enter in the grid moves on; it does not approve the chart.
        QTest::keyClick(dialog.gridWidget()->view(), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        dialog.approveButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(doc.balanceChartApproved());
        QVERIFY(prompter.said.empty());
    }

    void theIncomeEditorListsTheWholeChartAndKeepsARefusedChartOpen() {
        CTallvingeDoc doc;
        newCompanyWithTemplate(doc, kv::kMallRikssvensk);
        ScriptedPrompter prompter;
        // An account without a group is refused, and the dialog stays.
        {
            ChartEditorModel model(doc, prompter, ChartKind::Income);
            model.open();
            kv::ui::ChartEditorDialog dialog(model);
            dialog.show();
            kv::Grid& grid = dialog.gridWidget()->grid();
            QVERIFY(grid.moveCurrentCell({200, kv::kColKontonr}));
            QVERIFY(grid.beginEdit(std::string("3999")));
            dialog.approveButton()->click(); // ends the edit first
            QVERIFY(dialog.isVisible());
            QVERIFY(!prompter.said.empty());
            QCOMPARE(prompter.said.front(), std::string("Kontonr / Kontonamn / Grupp saknas"));
            dialog.cancelButton()->click();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!doc.incomeChartApproved());
        }
        ChartEditorModel balance(doc, prompter, ChartKind::Balance);
        balance.open();
        QVERIFY(balance.approve());

        ChartEditorModel model(doc, prompter, ChartKind::Income);
        model.open();
        kv::ui::ChartEditorDialog dialog(model);
        QCOMPARE(dialog.windowTitle(), QString("Konton i resultaträkningen"));
        const QStringList lines = texts(*dialog.accountList());
        QCOMPARE(lines.at(1), QString("BALANS"));
        QVERIFY(lines.contains(QString("1717  Momsfordran 25%")));
        const QAbstractItemModel* cells = dialog.gridWidget()->view()->model();
        QCOMPARE(cells->index(2, 1).data().toString(), QString("Försäljning moms 25%"));
        QCOMPARE(cells->index(234, 1).data().toString(), QString("2090"));
        dialog.show();
        dialog.gridWidget()->view()->scrollTo(cells->index(216, 1), QAbstractItemView::PositionAtTop);
        keep(dialog, QStringLiteral("setup-income-editor-75.png"));

        // A row inserted above a selected row, and taken back.
        dialog.gridWidget()->grid().selectRows(5, 5);
        const std::string fifth = model.grid().storedText(5, kv::kColNamn);
        dialog.insertButton()->click();
        QCOMPARE(model.grid().storedText(6, kv::kColNamn), fifth);
        dialog.undoButton()->click();
        QCOMPARE(model.grid().storedText(5, kv::kColNamn), fifth);

        dialog.approveButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(doc.bothChartsApproved());
    }

    void theFirstPeriodCanOnlyBeLeftWithOk() {
        CTallvingeDoc doc;
        ScriptedPrompter prompter;
        kv::PeriodDialogModel model(doc, kv::PeriodDialogMode::FirstPeriod, 2012);
        kv::ui::PeriodDialog dialog(model, prompter);
        QCOMPARE(dialog.windowTitle(), QString("Ange det nya företagets första period"));
        QVERIFY(!dialog.cancelButton()->isEnabled());
        QVERIFY(!dialog.periodList()->isVisible());
        QCOMPARE(dialog.startMonth()->count(), 12);
        QCOMPARE(dialog.startMonth()->currentText(), QString("januari"));
        QCOMPARE(dialog.endMonth()->currentText(), QString("december"));
        QCOMPARE(dialog.startYear()->text(), QString("2012"));
        keep(dialog, QStringLiteral("setup-period-first.png"));

        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.close());

        // A refused year keeps the dialog open with the model's message.
        dialog.startYear()->clear();
        QTest::keyClicks(dialog.startYear(), "2000");
        dialog.okButton()->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(prompter.said, std::vector<std::string>{kv::kMsgFelaktigtBegynnelsear});

        dialog.startYear()->clear();
        QTest::keyClicks(dialog.startYear(), "2013");
        dialog.startMonth()->setCurrentIndex(6);
        dialog.endMonth()->setCurrentIndex(5);
        dialog.endYear()->selectAll();
        QTest::keyClicks(dialog.endYear(), "2014");
        dialog.okButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.choice().franManad, 7);
        QCOMPARE(model.choice().franAr, 2013);
        QCOMPARE(model.choice().tillManad, 6);
        QCOMPARE(model.choice().tillAr, 2014);
    }

    void aNewPeriodListsTheLastTwoAndStartsAfterThem() {
        CTallvingeDoc doc;
        doc.addFirstPeriod({1, 2011, 12, 2011});
        // A company file whose second period is open.
        kv::CompanyState state = kv::copyCompanyState(doc.state());
        kv::CPeriod second;
        second.m_nFranManad = 1;
        second.m_nFranAr = 2012;
        second.m_nTillManad = 12;
        second.m_nTillAr = 2012;
        state.m_perioder.push_back(std::move(second));
        state.m_nAktuellPeriod = 1;
        doc.loadCompany(std::move(state));
        ScriptedPrompter prompter;
        kv::PeriodDialogModel model(doc, kv::PeriodDialogMode::NewPeriod);
        kv::ui::PeriodDialog dialog(model, prompter);
        QCOMPARE(dialog.windowTitle(), QString("Ny period"));
        QVERIFY(dialog.cancelButton()->isEnabled());
        QVERIFY(!dialog.startMonth()->isEnabled());
        QVERIFY(!dialog.startYear()->isEnabled());
        QCOMPARE(dialog.startYear()->text(), QString("2013"));
        QCOMPARE(dialog.periodList()->count(), 2);
        keep(dialog, QStringLiteral("setup-period-new.png"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!model.accepted());
    }

    void theVatRulesFollowTheCursorInTheAccountListAndTurnPinkBesideAVoucher() {
        CTallvingeDoc doc;
        const kv::NewCompanyResult made =
            kv::createDefaultCompany(doc, {kv::kMallRikssvensk, 1, 2012, 12, 2012, templateFolder()});
        QVERIFY2(made.ok, made.error.c_str());
        ScriptedPrompter prompter;
        {
            kv::VatRulesModel model(doc, prompter);
            QVERIFY(!model.open());
            kv::ui::VatRulesDialog dialog(model);
            QCOMPARE(dialog.windowTitle(), QString("Automatisk momsberäkning"));
            QCOMPARE(dialog.approveButton()->text(), QString("Godkänn momsberäkningen"));
            QStringList labels;
            for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                labels << label->text();
            }
            QVERIFY(labels.contains(QString::fromUtf8(kv::kVatCaption)));
            QVERIFY(labels.contains(QString("Exempel finns på rad 55")));
            const QAbstractItemModel* cells = dialog.gridWidget()->view()->model();
            QCOMPARE(cells->headerData(0, Qt::Horizontal).toString(), QString("Moms %"));
            QCOMPARE(cells->index(0, 3).data().toString(), QString("3000"));
            keep(dialog, QStringLiteral("setup-vat-rules.png"));

            dialog.gridWidget()->grid().moveCurrentCell({4, kv::kVatColDebet});
            QCoreApplication::processEvents();
            QVERIFY(dialog.accountList()->currentItem() != nullptr);
            QVERIFY(dialog.accountList()->currentItem()->text().startsWith(QString("4000  ")));
            dialog.approveButton()->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        // As the application opens it while its voucher dialog shows.
        kv::VatRulesModel model(doc, prompter, true);
        QVERIFY(!model.open());
        kv::ui::VatRulesDialog dialog(model);
        QCOMPARE(dialog.windowTitle(), QString("Verifikatdialogen öppen. Rosa rader kan ej ändras."));
        // Down to the examples under the rules.
        dialog.show();
        const QAbstractItemModel* cells = dialog.gridWidget()->view()->model();
        dialog.gridWidget()->view()->scrollTo(cells->index(56, 0), QAbstractItemView::PositionAtBottom);
        keep(dialog, QStringLiteral("setup-vat-rules-pink.png"));
    }

    void theTemplateListDeletesTheChosenTemplate() {
        kv::TemplateStore source(templateFolder());
        for (const char* name : {"B.bok", "A.bok"}) {
            auto mall = std::make_unique<kv::CKontoplan>();
            mall->m_strNamn = name;
            source.store(std::move(mall), std::nullopt);
        }
        QVERIFY(source.write().ok);
        kv::TemplateStore templates(templateFolder());
        ScriptedPrompter prompter;
        kv::DeleteTemplateModel model(templates);
        model.open(prompter);
        kv::ui::DeleteTemplateDialog dialog(model, prompter);
        QCOMPARE(dialog.windowTitle(), QString("Välj den mall som skall tas bort från kontomallar"));
        QCOMPARE(texts(*dialog.list()), QStringList({"A.bok", "B.bok"}));
        keep(dialog, QStringLiteral("setup-delete-template.png"));
        dialog.list()->setCurrentRow(1);
        dialog.okButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        kv::TemplateStore reader(templateFolder());
        QVERIFY(reader.read().ok);
        QCOMPARE(reader.templates().size(), std::size_t{1});
        QCOMPARE(reader.templates().front()->m_strNamn, std::string("A.bok"));
    }
};

QTEST_MAIN(SetupDialogsTest)
#include "SetupDialogsTest.moc"
