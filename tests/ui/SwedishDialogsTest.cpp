// Every dialog the program shows reads Swedish under a C locale: each menu
// command is run on the real message boxes and dialogs, and every window that
// comes up is read for English texts (and a file dialog for columns that cut
// their texts) before it is closed.
#include "ModalDriver.h"
#include "SavedCompany.h"

#include "app/AppController.h"
#include "app/AppDialogViews.h"
#include "app/MainWindow.h"
#include "app/NewCompany.h"
#include "app/QtPrompter.h"
#include "app/StartUpSupport.h"
#include "chart/ChartTemplates.h"
#include "common/FormWindow.h"
#include "storage/CompanyFiles.h"
#include "voucher/VoucherFormModel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <memory>

using kv::CommandId;
using kv::WindowKind;

namespace {

// Texts of Qt's own that would show through untranslated, as one list of words.
const QStringList kEnglish =
    QStringLiteral(
        "Cancel|Yes|No|Close|Open|Save|Apply|Reset|Help|Print|Options|Properties|Look in|File name|"
        "Files of type|Folder|Unknown|unknown|Date Modified|Back|Forward|Parent Directory|Detail View|"
        "List View|New Folder|Portrait|Landscape|Margins|Copies|Collate|Reverse|Paper|Orientation|"
        "Print to File|Preview|Page Setup|First page|Last page|Previous page|Next page|Zoom in|Zoom out|"
        "Fit width|Fit page|Find|Replace|Match case|Whole words|Jan|Feb|Mar|Apr|Jun|Jul|Aug|Sep|Oct|Nov|"
        "Dec|May|Monday|Sunday|January|December|Mon|Sun")
        .split(QLatin1Char('|'));

QStringList textsOf(QWidget* window) {
    QStringList texts{window->windowTitle()};
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (!widget->isVisibleTo(window)) {
            continue;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            texts << button->text();
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            texts << label->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            texts << group->title();
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i) {
                texts << combo->itemText(i);
            }
        } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                texts << tabs->tabText(i);
            }
        } else if (auto* view = qobject_cast<QAbstractItemView*>(widget); view != nullptr && view->model()) {
            const QAbstractItemModel* model = view->model();
            for (int column = 0; column < model->columnCount(view->rootIndex()); ++column) {
                texts << model->headerData(column, Qt::Horizontal).toString();
                for (int row = 0; row < std::min(model->rowCount(view->rootIndex()), 20); ++row) {
                    texts << model->index(row, column, view->rootIndex()).data().toString();
                }
            }
        }
    }
    return texts;
}

// The texts of a file dialog's list that its columns cut short.
QStringList cutIn(QFileDialog& dialog) {
    QStringList cut;
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (list == nullptr || !list->isVisible()) {
        return cut;
    }
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
        for (int column = 1; column < model->columnCount(list->rootIndex()); ++column) {
            const QString text = model->index(row, column, list->rootIndex()).data().toString();
            if (list->fontMetrics().horizontalAdvance(text) > list->header()->sectionSize(column)) {
                cut << QStringLiteral("%1: \"%2\"").arg(dialog.windowTitle(), text);
            }
        }
    }
    return cut;
}

QStringList englishIn(const QStringList& texts) {
    QStringList found;
    for (const QString& text : texts) {
        const QString plain = QString(text).remove(QLatin1Char('&'));
        for (const QString& word : kEnglish) {
            const QRegularExpression whole(
                QStringLiteral("(^|[^\\p{L}])%1($|[^\\p{L}])").arg(QRegularExpression::escape(word)));
            if (whole.match(plain).hasMatch()) {
                found << QStringLiteral("%1 (in \"%2\")").arg(word, plain);
            }
        }
    }
    return found;
}

// Reads every modal window that comes up and closes it: Cancel or Escape,
// or OK when the window will not be cancelled (the first period).
class Reader : public QObject {
public:
    QStringList english;
    QStringList cut;
    QStringList seen;

    void run(const std::function<void()>& action) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, this, [this] { readAndClose(); });
        poll.start(20);
        action();
        // What the action queued, and the windows it opens.
        QTest::qWait(100);
        while (QApplication::activeModalWidget() != nullptr) {
            QTest::qWait(50);
        }
    }

private:
    void readAndClose() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        // A file dialog lists its folder a moment after it shows.
        if (qobject_cast<QFileDialog*>(modal) != nullptr && !modal->property("kvRead").toBool()) {
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            if (!modal->property("kvShown").isValid()) {
                modal->setProperty("kvShown", now);
            }
            if (now - modal->property("kvShown").toLongLong() < 800) {
                return;
            }
        }
        // Marked on the window itself: the next dialog may be made where the last one was.
        if (!modal->property("kvRead").toBool()) {
            modal->setProperty("kvRead", true);
            seen << QStringLiteral("%1 \"%2\"").arg(modal->metaObject()->className(), modal->windowTitle());
            if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                cut << cutIn(*files);
            }
            // The program's own dialogs leave room for their whole title.
            QFont bold = modal->font();
            bold.setBold(true);
            if (QString(modal->metaObject()->className()).startsWith(QStringLiteral("kv::ui::")) &&
                modal->width() < QFontMetrics(bold).horizontalAdvance(modal->windowTitle()) + 100) {
                cut << QStringLiteral("title: \"%1\"").arg(modal->windowTitle());
            }
            for (const QString& word : englishIn(textsOf(modal))) {
                english << QStringLiteral("%1: %2").arg(modal->windowTitle(), word);
            }
            reject(modal);
            return;
        }
        // Still there: a window that cannot be cancelled is answered OK.
        for (auto* button : modal->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("OK") && button->isEnabled()) {
                button->click();
                return;
            }
        }
        reject(modal);
    }

    static void reject(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (QAbstractButton* escape = box->escapeButton()) {
                escape->click();
                return;
            }
            box->buttons().constFirst()->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }
};

} // namespace

class SwedishDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void everyDialogReadsSwedish() {
        QStandardPaths::setTestModeEnabled(true);
        const QTemporaryDir folder;
        const std::string path = kv::test::savedAssociation(folder);
        QVERIFY(!path.empty());
        kv::ui::setWindowsOpenMaximized(false);
        kv::ui::QtPrompter prompter{kv::ui::programDialogViews()};
        kv::AppController controller(prompter, folder.path().toStdString());
        kv::ui::MainWindow window(controller);
        window.resize(1000, 700);
        window.show();
        prompter.setParent(&window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        Reader reader;
        const auto run = [&](CommandId id) { reader.run([&] { controller.execute(id); }); };
        for (const CommandId id : {CommandId::OpenCompany, CommandId::ImportSie, CommandId::About,
                                   CommandId::Calendar, CommandId::HelpVat, CommandId::NewCompany}) {
            run(id);
        }
        QVERIFY(controller.companyOpen()); // the first period is answered OK
        controller.document().savedInFull();
        run(CommandId::CloseCompany);
        QVERIFY(controller.openAtStartUp(path));
        for (const CommandId id :
             {CommandId::IncomeChart,   CommandId::BalanceChart,      CommandId::VatRules,
              CommandId::OpenPeriod,    CommandId::NewPeriod,         CommandId::ChangeEndDate,
              CommandId::RenameCompany, CommandId::MonthRange,        CommandId::LedgerWindow,
              CommandId::Backups,       CommandId::SaveChartTemplate, CommandId::DeleteChartTemplate,
              CommandId::Print,         CommandId::PrintPreview,      CommandId::PrintSetup,
              CommandId::SaveAsPdf,     CommandId::ExportReport,      CommandId::ExportSie,
              CommandId::YearArchive,   CommandId::VatSettlement,     CommandId::IncomeStatementWindow,
              CommandId::Find,          CommandId::Replace,           CommandId::CellFormat}) {
            run(id);
        }
        // The voucher dialog beside the windows, and the save question on the way out.
        run(CommandId::NewVoucher);
        if (auto* voucher = controller.openForm(kv::FormKind::Voucher)) {
            QWidget* shown = window.formWindow(*voucher);
            QVERIFY(shown != nullptr);
            for (const QString& word : englishIn(textsOf(shown))) {
                reader.english << QStringLiteral("Verifikat: %1").arg(word);
            }
            reader.run([&] { controller.closeFormByUser(*voucher); });
        }
        controller.document().setOnlyUsedAccounts(true);
        run(CommandId::CloseCompany);

        QVERIFY2(reader.seen.size() >= 20, qPrintable(reader.seen.join("\n")));
        QVERIFY2(reader.english.isEmpty(), qPrintable(reader.english.join("\n")));
        QVERIFY2(reader.cut.isEmpty(), qPrintable(reader.cut.join("\n")));
        if (controller.companyOpen()) {
            controller.document().savedInFull();
        }
    }
};

// The test runs under a C locale, as a desktop without Swedish set up would.
// The open dialog starts in a home with a folder and a company file in it.
int main(int argc, char** argv) {
    qputenv("LANG", "C.UTF-8");
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANGUAGE", "");
    const QTemporaryDir home;
    QDir(home.path()).mkdir(QStringLiteral("Böcker"));
    QFile company(QDir(home.path()).filePath(QStringLiteral("Gammal.bok")));
    if (!company.open(QIODevice::WriteOnly) || company.write("x") != 1) {
        return 1;
    }
    company.close();
    qputenv("HOME", QFile::encodeName(home.path()));
    kv::ui::preferSwedishDates();
    QApplication app(argc, argv);
    kv::ui::installSwedishQtTexts(app);
    SwedishDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SwedishDialogsTest.moc"
