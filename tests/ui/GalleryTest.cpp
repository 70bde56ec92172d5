// The screenshot gallery of docs/screens: each window of a company with a
// year of vouchers, maximised in the main window at 1366 x 768 and
// 1920 x 1080, and the dialogs over it. With KVISTORAN_GALLERY=folder the
// pictures are saved there (scripts/screens makes docs/screens from them);
// without it every window is only opened and drawn. KVISTORAN_GALLERY_FONT
// names another font family to draw them in.
#include "../core/ReportTestCompany.h"
#include "../core/VatTestCompanies.h"
#include "ShellTestSupport.h"

#include "app/ChildWindow.h"
#include "app/QtPrompter.h"
#include "chart/ChartEditorDialog.h"
#include "chart/ChartEditorModel.h"
#include "common/FormWindow.h"
#include "reports/AccountChoiceModel.h"
#include "reports/MonthRangeModel.h"
#include "reports/ReportDialogs.h"
#include "storage/CompanyFiles.h"
#include "voucher/VatRulesDialog.h"
#include "voucher/VatRulesModel.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace kv::test {

class GalleryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Shell> m_shell;
    QTemporaryDir m_dir;

    static void save(QWidget& widget, const QString& name) {
        QCoreApplication::processEvents();
        const QPixmap picture = widget.grab();
        QVERIFY(!picture.isNull());
        const QString folder = qEnvironmentVariable("KVISTORAN_GALLERY");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            // Kept small: at most 256 colours, compressed as far as PNG goes.
            const QImage small = picture.toImage().convertToFormat(QImage::Format_Indexed8,
                                                                   Qt::ThresholdDither | Qt::AvoidDither);
            QVERIFY(small.save(QDir(folder).filePath(name + QStringLiteral(".png")), "PNG", 0));
        }
    }

    // The main window with the active company window maximised, at both sizes.
    void saveMainWindow(const QString& name) {
        for (const QSize size : {QSize(1366, 768), QSize(1920, 1080)}) {
            m_shell->window->resize(size);
            QCoreApplication::processEvents();
            if (QMdiSubWindow* active = m_shell->window->mdiArea()->activeSubWindow()) {
                active->showMaximized();
            }
            save(*m_shell->window, QStringLiteral("%1-%2").arg(name).arg(size.width()));
        }
    }

private slots:
    void initTestCase() {
        // scripts/screens draws the pictures again in a desktop font, to be looked at.
        const QString family = qEnvironmentVariable("KVISTORAN_GALLERY_FONT");
        if (!family.isEmpty()) {
            QApplication::setFont(QFont(family, 10));
        }
    }
    void init() {
        m_shell = std::make_unique<Shell>();
        CTallvingeDoc doc;
        buildReportCompany(doc, m_dir.path().toStdString());
        const std::string path = m_dir.filePath(QStringLiteral("Föreningen.bok")).toStdString();
        QVERIFY(saveCompany(doc, path).ok);
        QVERIFY(m_shell->controller.openAtStartUp(path));
    }
    void cleanup() { m_shell.reset(); }

    void windows() {
        saveMainWindow(QStringLiteral("grundbok"));
        m_shell->controller.execute(CommandId::VoucherList);
        saveMainWindow(QStringLiteral("verifikatlista"));
        m_shell->prompter.on<AccountChoiceModel>([](AccountChoiceModel& choice) {
            choice.selectTyped("1050");
            return Answer::Ok;
        });
        m_shell->controller.execute(CommandId::LedgerWindow);
        saveMainWindow(QStringLiteral("huvudbok"));
        m_shell->controller.execute(CommandId::TrialBalanceWindow);
        saveMainWindow(QStringLiteral("rabalans"));
        m_shell->controller.execute(CommandId::IncomeStatementWindow);
        saveMainWindow(QStringLiteral("resultatrakning"));
        m_shell->controller.execute(CommandId::BalanceSheetWindow);
        saveMainWindow(QStringLiteral("balansrakning"));
        QCOMPARE(m_shell->window->mdiArea()->subWindowList().size(), 6);
    }

    // A new association with its charts approved: the journal shows the way to the first voucher.
    void firstVoucher() {
        Shell fresh;
        fresh.newApprovedCompany();
        fresh.window->resize(1366, 768);
        QCoreApplication::processEvents();
        if (QMdiSubWindow* active = fresh.window->mdiArea()->currentSubWindow()) {
            active->showMaximized();
        }
        save(*fresh.window, QStringLiteral("forsta-verifikatet-1366"));
    }

    // A trading firm with Swedish VAT, and its last quarter's return.
    void vatReport() {
        m_shell = std::make_unique<Shell>();
        CTallvingeDoc doc;
        buildBasVatCompany(doc, m_dir.path().toStdString());
        const std::string path = m_dir.filePath(QStringLiteral("Handelsbod.bok")).toStdString();
        QVERIFY(saveCompany(doc, path).ok);
        QVERIFY(m_shell->controller.openAtStartUp(path));
        m_shell->controller.execute(CommandId::VatReportWindow);
        saveMainWindow(QStringLiteral("momsrapport"));
    }

    void voucherForm() {
        m_shell->window->resize(1366, 768);
        m_shell->controller.execute(CommandId::NewVoucher);
        auto* model = static_cast<VoucherFormModel*>(m_shell->controller.openForm(FormKind::Voucher));
        QVERIFY(model != nullptr);
        // A rent being entered: the text, the day, and the first lines.
        model->setFieldText(VoucherField::TransDay, "1");
        model->setFieldText(VoucherField::TransMonth, "12");
        model->setFieldText(VoucherField::TransYear, "2025");
        model->setFieldText(VoucherField::Vertext, "Lokalhyra december");
        model->leaveTextField();
        static_cast<void>(model->typeCell({1, kColKonto}, "6010"));
        static_cast<void>(model->typeCell({1, kColDebet}, "4500"));
        static_cast<void>(model->typeCell({2, kColKonto}, "1050"));
        ui::FormWindow* form = m_shell->window->formWindow(*model);
        QVERIFY(form != nullptr);
        // As wide as on a 1366 x 768 screen (the offscreen screen is smaller).
        form->resize(1280, 680);
        save(*form, QStringLiteral("verifikat"));
    }

    void dialogs() {
        ui::QtPrompter prompter;
        ChartEditorModel income(m_shell->doc(), prompter, ChartKind::Income);
        income.open();
        ui::ChartEditorDialog incomeEditor(income);
        incomeEditor.show();
        save(incomeEditor, QStringLiteral("kontoplan-resultatrakning"));
        ChartEditorModel balance(m_shell->doc(), prompter, ChartKind::Balance);
        balance.open();
        ui::ChartEditorDialog balanceEditor(balance);
        balanceEditor.show();
        save(balanceEditor, QStringLiteral("kontoplan-balansrakning"));
        VatRulesModel rules(m_shell->doc(), prompter);
        QVERIFY(!rules.open());
        ui::VatRulesDialog vat(rules);
        vat.show();
        save(vat, QStringLiteral("moms"));
        MonthRangeModel range(m_shell->doc());
        ui::MonthRangeDialog months(range, prompter);
        months.show();
        save(months, QStringLiteral("manadsbokslut"));
        AccountChoiceModel accounts(m_shell->doc().state());
        ui::AccountChoiceDialog choice(accounts);
        choice.show();
        save(choice, QStringLiteral("valj-ett-konto"));
    }
};

} // namespace kv::test

QTEST_MAIN(kv::test::GalleryTest)
#include "GalleryTest.moc"
