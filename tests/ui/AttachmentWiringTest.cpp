// Receipts in the program's windows: chosen in the voucher dialog with
// "Bifoga underlag..." and by dropping files on it, shown before and after
// the registration, marked in the voucher list and shown from there through
// the menu "Verifikat"; a stored file changed behind the program's back is
// a page that says so.
#include "AttachmentFiles.h"
#include "SavedCompany.h"
#include "ShellTestSupport.h"

#include "app/ChildWindow.h"
#include "attachments/AttachmentStore.h"
#include "attachments/AttachmentViewer.h"
#include "attachments/Attachments.h"
#include "common/FormWindow.h"
#include "grid/GridWidget.h"
#include "voucher/VoucherForm.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherListWindow.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QUrl>

namespace {

using kv::CommandId;
using kv::VoucherField;
using kv::WindowKind;

struct Receipts {
    QTemporaryDir folder;
    QString pdf;
    QString png;
    QString jpeg;
    Receipts() {
        const QDir dir(folder.path());
        pdf = kv::test::writePdf(dir, "Hyra mars.pdf", {QColor(200, 30, 30), QColor(30, 30, 200)});
        png = kv::test::writePng(dir, "Kvitto.png", {300, 600}, QColor(20, 160, 20));
        jpeg = dir.filePath("Foto.jpg");
        QImage photo(640, 480, QImage::Format_RGB32);
        photo.fill(QColor(230, 200, 40));
        photo.save(jpeg, "JPEG");
    }
};

// The association's saved company open in the shell.
bool openSaved(kv::test::Shell& shell, const QTemporaryDir& folder) {
    const std::string path = kv::test::savedAssociation(folder);
    return !path.empty() && shell.controller.openAtStartUp(path);
}

kv::ui::VoucherForm* formOf(kv::test::Shell& shell, kv::VoucherFormModel*& model) {
    model = static_cast<kv::VoucherFormModel*>(shell.controller.openForm(kv::FormKind::Voucher));
    kv::ui::FormWindow* window = model != nullptr ? shell.window->formWindow(*model) : nullptr;
    return window != nullptr ? qobject_cast<kv::ui::VoucherForm*>(window->content()) : nullptr;
}

// Files dragged from a file manager and let go over widget.
void dropFiles(QWidget* widget, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) {
        urls << QUrl::fromLocalFile(file);
    }
    data.setUrls(urls);
    data.setText(urls.constFirst().toString()); // as file managers do: a text field would take it as text
    const QPoint at = widget->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
    QVERIFY(drop.isAccepted());
    kv::test::settle();
}

QStringList listed(const QListWidget* list) {
    QStringList rows;
    for (int row = 0; row < list->count(); ++row) {
        rows << list->item(row)->text();
    }
    return rows;
}

kv::ui::AttachmentViewer* openViewer(const QWidget* over) {
    const auto viewers = over->window()->findChildren<kv::ui::AttachmentViewer*>();
    return viewers.isEmpty() ? nullptr : viewers.constLast();
}

} // namespace

class AttachmentWiringTest : public QObject {
    Q_OBJECT
private slots:
    void receiptsChosenInTheDialogAreMarkedAndShownFromTheList() {
        QTemporaryDir companyFolder;
        kv::test::Shell shell;
        QVERIFY(openSaved(shell, companyFolder));
        const Receipts receipts;

        shell.controller.execute(CommandId::NewVoucher);
        kv::VoucherFormModel* model = nullptr;
        kv::ui::VoucherForm* form = formOf(shell, model);
        QVERIFY(form != nullptr);
        QCOMPARE(form->attachmentCount()->text(), QString("Underlag: inga filer"));
        QVERIFY(!form->showAttachmentsButton()->isEnabled());

        // "Bifoga underlag...": two files at once.
        form->setFileChooser([&receipts](QWidget*) { return QStringList{receipts.pdf, receipts.png}; });
        form->attachButton()->click();
        QCOMPARE(listed(form->attachmentList()), (QStringList{"Hyra mars.pdf (ny)", "Kvitto.png (ny)"}));
        QCOMPARE(form->attachmentCount()->text(), QString("Underlag: 2 filer"));
        QVERIFY(form->showAttachmentsButton()->isEnabled());

        // A photo dropped on the text field is attached, not typed into it; a
        // file dropped twice is chosen once.
        QLineEdit* text = form->field(VoucherField::Vertext);
        dropFiles(text, {receipts.jpeg});
        dropFiles(form->gridWidget()->view()->viewport(), {receipts.png});
        QCOMPARE(text->text(), QString());
        QCOMPARE(form->attachmentCount()->text(), QString("Underlag: 3 filer"));
        QCOMPARE(listed(form->attachmentList()).last(), QString("Foto.jpg (ny)"));

        // Delete takes a chosen file off again.
        form->attachmentList()->setCurrentRow(2);
        QTest::keyClick(form->attachmentList(), Qt::Key_Delete);
        QCOMPARE(form->attachmentCount()->text(), QString("Underlag: 2 filer"));

        // "Visa underlag" before the registration: the PDF's two pages and the image.
        form->showAttachmentsButton()->click();
        kv::ui::AttachmentViewer* viewer = openViewer(shell.window.get());
        QVERIFY(viewer != nullptr);
        QCOMPARE(viewer->windowTitle(), QString("Underlag till verifikat 1"));
        QCOMPARE(viewer->pageCount(), std::size_t{3});
        viewer->close();

        // Registered with "OK": the files go into the company's store.
        model->setFieldText(VoucherField::TransDay, "5");
        model->setFieldText(VoucherField::TransMonth, "3");
        model->setFieldText(VoucherField::TransYear, "2012");
        model->setFieldText(VoucherField::Vertext, "Hyra mars");
        QVERIFY(model->typeCell({1, kv::kColKonto}, "6010"));
        QVERIFY(model->typeCell({1, kv::kColRadtext}, "Hyra"));
        QVERIFY(model->typeCell({1, kv::kColDebet}, "4000"));
        QVERIFY(model->typeCell({2, kv::kColKonto}, "1010"));
        QVERIFY(model->typeCell({2, kv::kColRadtext}, "Hyra"));
        QVERIFY(model->typeCell({2, kv::kColKredit}, "4000"));
        shell.prompter.answer(kv::Answer::Ok).answer(kv::Answer::Ok).answer(kv::Answer::Ok);
        form->okButton()->click();
        kv::test::settle();
        QCOMPARE(shell.controller.openForm(kv::FormKind::Voucher), nullptr);
        QCOMPARE(shell.doc().state().m_verifikat.size(), std::size_t{1});
        const std::vector<kv::AttachmentRecord> stored = kv::voucherAttachments(shell.doc(), 1);
        QCOMPARE(stored.size(), std::size_t{2});
        QCOMPARE(stored[0].fileName, std::string("Hyra mars.pdf"));

        // A voucher without receipts beside it.
        kv::CVerifikatrad rent{"Hyra", "Lokalhyra", 6010, 100.0, 0.0, 0.0};
        kv::CVerifikatrad cash{"Hyra", "Kassa", 1010, 0.0, 100.0, 0.0};
        shell.doc().registerVoucher(kv::makeVoucher(6, 3, 2012, "Utan underlag", {rent, cash}));

        // The list marks voucher 1, before the save and after it.
        shell.controller.execute(CommandId::VoucherList);
        kv::test::settle();
        auto* list = qobject_cast<kv::ui::VoucherListWindow*>(
            shell.window->window(WindowKind::VoucherList)->content());
        QVERIFY(list != nullptr);
        QTableView* view = list->view();
        const auto marked = [view](int row) {
            return !view->model()
                        ->index(row, kv::kListColVernr + 1) // beside the number, in the empty column
                        .data(Qt::DecorationRole)
                        .value<QIcon>()
                        .isNull();
        };
        QVERIFY(marked(0));
        QVERIFY(!marked(1));
        QVERIFY(shell.controller.save());
        kv::test::settle(); // the save's update rebuilds the list
        QVERIFY(marked(0));
        QVERIFY(!marked(1));

        // "Visa underlag..." follows the marked voucher.
        QAction* show = shell.window->menuAction(CommandId::ShowAttachments);
        QVERIFY(show != nullptr);
        list->markRow(1);
        QVERIFY(!shell.controller.commandState(CommandId::ShowAttachments).enabled);
        list->markRow(0);
        QVERIFY(shell.controller.commandState(CommandId::ShowAttachments).enabled);
        shell.controller.execute(CommandId::ShowAttachments);
        viewer = openViewer(shell.window.get());
        QVERIFY(viewer != nullptr);
        QCOMPARE(viewer->windowTitle(), QString("Underlag till verifikat 1"));
        QCOMPARE(viewer->pageCount(), std::size_t{3});
        QVERIFY(viewer->shownMessage().isEmpty());
        QVERIFY(!viewer->shownImage().isNull());
        viewer->close();
        kv::test::settle();

        // A stored file changed behind the program's back is shown as a message, not as its new bytes.
        const QString storedPng =
            QString::fromStdString(kv::attachmentStoredPath(shell.doc().pathName(), stored[1]));
        QFile::remove(storedPng);
        QVERIFY(QFile::copy(receipts.jpeg, storedPng));
        list->showAttachments(0);
        viewer = openViewer(shell.window.get());
        QVERIFY(viewer != nullptr);
        viewer->showPage(2);
        QVERIFY(viewer->shownImage().isNull());
        QVERIFY2(!viewer->shownMessage().isEmpty(), "the changed file is shown as if nothing happened");
        viewer->close();
        QCOMPARE(shell.prompter.unscripted, 0);
    }

    // Opened again, a registered voucher shows the receipts it has; more may be added, none taken away.
    void anAmendedVoucherKeepsItsReceipts() {
        QTemporaryDir companyFolder;
        kv::test::Shell shell;
        QVERIFY(openSaved(shell, companyFolder));
        const Receipts receipts;
        kv::CVerifikatrad rent{"Hyra", "Lokalhyra", 6010, 100.0, 0.0, 0.0};
        kv::CVerifikatrad cash{"Hyra", "Kassa", 1010, 0.0, 100.0, 0.0};
        shell.doc().registerVoucher(kv::makeVoucher(6, 3, 2012, "Hyra", {rent, cash}));
        kv::AttachmentStoring storing(shell.doc().pathName());
        const kv::LocalClock clock = [] { return kv::LocalTime{2026, 12, 10, 14, 3, 25}; };
        static_cast<void>(kv::attachToVoucher(shell.doc(), 1, {receipts.pdf.toStdString()}, storing, clock));
        storing.keep();

        shell.controller.execute(CommandId::VoucherList);
        kv::test::settle();
        auto* list = qobject_cast<kv::ui::VoucherListWindow*>(
            shell.window->window(WindowKind::VoucherList)->content());
        QVERIFY(list != nullptr);
        QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {},
                          list->view()->visualRect(list->view()->model()->index(0, 0)).center());
        kv::VoucherFormModel* model = nullptr;
        kv::ui::VoucherForm* form = formOf(shell, model);
        QVERIFY(form != nullptr);
        QCOMPARE(listed(form->attachmentList()), QStringList{"Hyra mars.pdf"});
        dropFiles(form, {receipts.png});
        QCOMPARE(listed(form->attachmentList()), (QStringList{"Hyra mars.pdf", "Kvitto.png (ny)"}));
        // A kept receipt is not taken away by Delete.
        form->attachmentList()->setCurrentRow(0);
        QTest::keyClick(form->attachmentList(), Qt::Key_Delete);
        QCOMPARE(form->attachmentList()->count(), 2);
        form->showAttachmentsButton()->click();
        kv::ui::AttachmentViewer* viewer = openViewer(shell.window.get());
        QVERIFY(viewer != nullptr);
        QCOMPARE(viewer->pageCount(), std::size_t{3});
        viewer->close();
        QCOMPARE(shell.prompter.unscripted, 0);
    }
};

QTEST_MAIN(AttachmentWiringTest)
#include "AttachmentWiringTest.moc"
