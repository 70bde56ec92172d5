// The window "Momsrapport" on the Swedish test company: what it shows, its
// own months, the settlement in the voucher dialog and its printed listing.
// With KV_SCREENSHOTS=folder the window is also saved there, to be looked at.
#include "../core/VatTestCompanies.h"
#include "ShellTestSupport.h"

#include "app/ChildWindow.h"
#include "reports/MonthRangeModel.h"
#include "reports/ReportFormView.h"
#include "reports/VatReportWindowContent.h"
#include "storage/CompanyFiles.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>

namespace kv::test {

class VatReportWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Shell> m_shell;
    QTemporaryDir m_dir;

    ui::VatReportWindowContent* vatWindow() {
        ui::ChildWindow* window = m_shell->window->window(WindowKind::VatReport);
        return window == nullptr ? nullptr : qobject_cast<ui::VatReportWindowContent*>(window->content());
    }

    void screenshot(const QString& name) {
        const QString folder = qEnvironmentVariable("KV_SCREENSHOTS");
        if (folder.isEmpty()) {
            return;
        }
        for (const QSize size : {QSize(1366, 768), QSize(1920, 1080)}) {
            m_shell->window->resize(size);
            QTest::qWait(50);
            m_shell->window->grab().save(QStringLiteral("%1/%2-%3.png").arg(folder, name).arg(size.width()));
        }
        // The forms stand beside the main window.
        int form = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && qobject_cast<QDialog*>(widget) != nullptr) {
                widget->grab().save(QStringLiteral("%1/%2-form%3.png").arg(folder, name).arg(++form));
            }
        }
    }

private slots:
    void init() {
        m_shell = std::make_unique<Shell>();
        CTallvingeDoc doc;
        buildBasVatCompany(doc, m_dir.path().toStdString());
        const std::string path = m_dir.filePath(QStringLiteral("Handelsbod.bok")).toStdString();
        QVERIFY(saveCompany(doc, path).ok);
        QVERIFY(m_shell->controller.openAtStartUp(path));
        m_shell->window->resize(1366, 768);
    }
    void cleanup() { m_shell.reset(); }

    void showsTheQuarterAndItsBoxes() {
        m_shell->controller.execute(CommandId::VatReportWindow);
        auto* vat = vatWindow();
        QVERIFY(vat != nullptr);
        QVERIFY(formHas(*vat, "Månader :  1.2026 - 3.2026   (senaste kvartalet med verifikat)"));
        QVERIFY(formHas(*vat, "Ruta 49"));
        QVERIFY(formHas(*vat, "- 200.00"));
        screenshot(QStringLiteral("momsrapport"));

        // Its own months: November to January.
        m_shell->prompter.on<MonthRangeModel>([this](MonthRangeModel& model) {
            model.chooseFirstMonth(4);
            model.chooseLastMonth(2);
            return model.accept(m_shell->prompter) ? Answer::Ok : Answer::Cancel;
        });
        m_shell->controller.execute(CommandId::MonthRange);
        QVERIFY(formHas(*vat, "Månader :  11.2025 - 1.2026"));
        QVERIFY(formHas(*vat, "1 396.91"));
        QCOMPARE(m_shell->doc().state().m_nDelperiod, 0); // the other reports keep theirs
        screenshot(QStringLiteral("momsrapport-nov-jan"));

        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        const QString folder = qEnvironmentVariable("KV_SCREENSHOTS", m_dir.path());
        pdf.setOutputFileName(folder + "/momsrapport.pdf");
        vat->print(&pdf);
        QVERIFY(QFile(folder + "/momsrapport.pdf").size() > 1000);

        // "Bokför momsavräkning": the voucher dialog with the lines.
        QVERIFY(m_shell->controller.commandState(CommandId::VatSettlement).enabled);
        m_shell->controller.execute(CommandId::VatSettlement);
        QVERIFY(m_shell->controller.openForm(FormKind::Voucher) != nullptr);
        QTest::qWait(50);
        screenshot(QStringLiteral("momsavrakning"));
    }
};

} // namespace kv::test

QTEST_MAIN(kv::test::VatReportWindowTest)
#include "VatReportWindowTest.moc"
