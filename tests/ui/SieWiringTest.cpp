// The SIE commands in the window program with their real dialogs: a new
// company from a transaction file, and a payroll file's vouchers read into
// the open company. The modal windows are answered as they come up.
#include "ModalDriver.h"
#include "SavedCompany.h"

#include "app/AppController.h"
#include "app/AppDialogViews.h"
#include "app/MainWindow.h"
#include "app/QtPrompter.h"
#include "chart/TemplateChooserDialog.h"
#include "sie/SieFlows.h"
#include "sie/SieSummaryDialog.h"

#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using kv::CommandId;

namespace {

QString writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(folder.path()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return {};
    }
    return path;
}

struct Program {
    QTemporaryDir folder;
    kv::ui::QtPrompter prompter{kv::ui::programDialogViews()};
    kv::AppController controller{prompter, folder.path().toStdString()};
    std::unique_ptr<kv::ui::MainWindow> window;
    kv::test::ModalDriver driver;

    Program() {
        QStandardPaths::setTestModeEnabled(true);
        kv::ui::setWindowsOpenMaximized(false);
        window = std::make_unique<kv::ui::MainWindow>(controller);
        window->resize(1000, 700);
        window->show();
        prompter.setParent(window.get());
    }
    ~Program() {
        if (controller.companyOpen()) {
            controller.document().savedInFull();
        }
        window.reset();
    }
    void acceptSummary() {
        driver.expect<kv::ui::SieSummaryDialog>([](kv::ui::SieSummaryDialog& summary) {
            QVERIFY(summary.acceptButton() != nullptr);
            summary.acceptButton()->click();
        });
    }
};

} // namespace

class SieWiringTest : public QObject {
    Q_OBJECT
private slots:
    void aNewCompanyFromATransactionFile() {
        Program program;
        const QString file = writeFile(program.folder, "kassa.si",
                                       "#FLAGGA 0\n#SIETYP 4\n#VER \"\" \"\" 20240310 \"Kassa\"\n{\n"
                                       "#TRANS 3011 {} -5.00\n#TRANS 1910 {} 5.00\n}\n");
        QVERIFY(!file.isEmpty());
        const QString target = QDir(program.folder.path()).filePath("Kassan.bok");
        program.driver.file(file);
        program.driver.box(kv::templateFileMessage(program.folder.path().toStdString()), "OK");
        program.driver.box(kv::kMsgValjImportmall, "OK");
        program.driver.expect<kv::ui::TemplateChooserDialog>(
            [](kv::ui::TemplateChooserDialog& chooser) { chooser.okButton()->click(); });
        program.acceptSummary();
        program.driver.file(target);
        QVERIFY(program.driver.run([&] { program.controller.execute(CommandId::ImportSie); }));
        QVERIFY(program.controller.companyOpen());
        const kv::CTallvingeDoc& doc = program.controller.document();
        QCOMPARE(doc.periodLabel(), std::string("3.2024 - 4.2024"));
        QCOMPARE(doc.state().m_verifikat.size(), std::size_t{1});
        QVERIFY(doc.accountIndex(3011) >= 0);
        QVERIFY(QFile::exists(target));
    }

    void aPayrollFilesVouchersIntoTheOpenCompany() {
        Program program;
        const std::string path = kv::test::savedAssociation(program.folder);
        QVERIFY(program.controller.openAtStartUp(path));
        const QString file = writeFile(program.folder, "lon.si",
                                       "#FLAGGA 0\n#SIETYP 4\n#KONTO 7011 \"Arvoden\"\n"
                                       "#VER L 1 20120125 \"Arvode januari\"\n{\n#TRANS 7011 {} 500.00\n"
                                       "#TRANS 1050 {} -500.00\n}\n");
        QVERIFY(!file.isEmpty());
        program.driver.file(file);
        program.acceptSummary();
        program.driver.box("1 verifikat lades till som nr 1. De sparas med företaget nästa gång det sparas.",
                           "OK");
        QVERIFY(program.driver.run([&] { program.controller.execute(CommandId::AddSie); }));
        const kv::CTallvingeDoc& doc = program.controller.document();
        QCOMPARE(doc.state().m_verifikat.size(), std::size_t{1});
        QCOMPARE(doc.state().m_allaKonton[static_cast<std::size_t>(doc.accountIndex(7011))]->m_strKolumn2,
                 std::string("Arvoden"));
        QVERIFY(doc.isModified());
        QVERIFY(program.window->isWindowModified());
    }
};

QTEST_MAIN(SieWiringTest)
#include "SieWiringTest.moc"
