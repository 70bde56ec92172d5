// The dialogs of the period commands over their models: the period list of
// "Öppna period", the end-date mode of the period dialog and the rename
// dialog. With KVISTORAN_SCREENSHOTS set to a folder, a picture of each is
// kept there.
#include "../core/ScriptedPrompter.h"
#include "KeepPicture.h"

#include "periods/PeriodDialog.h"
#include "periods/PeriodListDialog.h"
#include "periods/PeriodListModel.h"
#include "periods/PeriodTexts.h"
#include "periods/RenameDialog.h"
#include "periods/RenameDialogModel.h"
#include "storage/CompanyFiles.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using kv::Answer;
using kv::CTallvingeDoc;
using kv::test::ScriptedPrompter;

namespace {

using kv::test::keep;

// A company of three calendar years, 2011 to 2013, the last one open.
void threeYears(CTallvingeDoc& doc) {
    doc.addFirstPeriod({1, 2011, 12, 2011});
    kv::CompanyState state = kv::copyCompanyState(doc.state());
    for (int year : {2012, 2013}) {
        kv::CPeriod period;
        period.m_nFranManad = 1;
        period.m_nFranAr = year;
        period.m_nTillManad = 12;
        period.m_nTillAr = year;
        state.m_perioder.push_back(std::move(period));
    }
    state.m_nAktuellPeriod = 2;
    doc.loadCompany(std::move(state));
}

QStringList texts(const QListWidget& list) {
    QStringList lines;
    for (int i = 0; i < list.count(); ++i) {
        lines << list.item(i)->text();
    }
    return lines;
}

} // namespace

class PeriodDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void thePeriodListMarksTheLockedYearsAndOpensTheOneChosen() {
        CTallvingeDoc doc;
        threeYears(doc);
        kv::PeriodListModel model(doc);
        kv::ui::PeriodListDialog dialog(model);
        QCOMPARE(dialog.windowTitle(), QString("Öppna period"));
        QCOMPARE(texts(*dialog.list()), QStringList({"01.2011  -  12.2011   ( låst )", "01.2012  -  12.2012",
                                                     "01.2013  -  12.2013"}));
        QCOMPARE(dialog.list()->currentRow(), 2);
        keep(dialog, QStringLiteral("period-list.png"));
        dialog.list()->setCurrentRow(0);
        dialog.okButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(model.accepted());
        QCOMPARE(model.selected(), 0);
    }

    void theEndDateModeKeepsTheLastPeriodsStart() {
        CTallvingeDoc doc;
        threeYears(doc);
        ScriptedPrompter prompter;
        kv::PeriodDialogModel model(doc, kv::PeriodDialogMode::EndDate);
        kv::ui::PeriodDialog dialog(model, prompter);
        QCOMPARE(dialog.windowTitle(), QString("Ändra slutdatum för den sista perioden"));
        QVERIFY(!dialog.startYear()->isEnabled());
        QCOMPARE(dialog.startYear()->text(), QString("2013"));
        QCOMPARE(texts(*dialog.periodList()),
                 QStringList({"1.2012  -  12.2012 ( låst slutdatum )",
                              "1.2013  -  12.2013 ( slutdatum som kan ändras )"}));
        keep(dialog, QStringLiteral("period-end-date.png"));
    }

    void theRenameDialogStaysOpenUntilTheNameIsSound() {
        QTemporaryDir folder;
        CTallvingeDoc doc;
        doc.addFirstPeriod({1, 2012, 12, 2012});
        const std::string path = QDir(folder.path()).filePath("Firma.bok").toStdString();
        QVERIFY(kv::saveCompany(doc, path).ok);
        ScriptedPrompter prompter;
        kv::RenameDialogModel model(doc);
        kv::ui::RenameDialog dialog(model, prompter);
        QCOMPARE(dialog.windowTitle(), QString("Byt företagets namn"));
        QCOMPARE(dialog.currentName()->text(), QString("Firma"));
        QVERIFY(dialog.currentName()->isReadOnly());
        keep(dialog, QStringLiteral("period-rename.png"));

        dialog.okButton()->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(prompter.said, std::vector<std::string>{kv::kMsgGeNyttNamn});
        QTest::keyClicks(dialog.newName(), "Bolag");
        dialog.okButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.newName(), std::string("Bolag"));

        // A name taken in the folder closes the dialog as cancelled.
        kv::RenameDialogModel taken(doc);
        kv::ui::RenameDialog again(taken, prompter);
        again.show();
        QTest::keyClicks(again.newName(), "Firma");
        again.okButton()->click();
        QCOMPARE(again.result(), int(QDialog::Rejected));
        QVERIFY(!taken.accepted());
    }
};

QTEST_MAIN(PeriodDialogsTest)
#include "PeriodDialogsTest.moc"
