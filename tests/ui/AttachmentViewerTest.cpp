// The viewer of a voucher's attachments: a two-page PDF and a PNG as three
// pages stepped through with the buttons, the keys and the list; each drawn
// as large as the window lets it with its proportions kept; files that cannot
// be read shown as a page that says why.
#include "AttachmentFiles.h"
#include "KeepPicture.h"

#include "attachments/AttachmentViewer.h"

#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

using kv::ui::AttachmentSource;
using kv::ui::AttachmentViewer;

bool near(const QColor& shown, const QColor& wanted) {
    return std::abs(shown.red() - wanted.red()) < 24 && std::abs(shown.green() - wanted.green()) < 24 &&
           std::abs(shown.blue() - wanted.blue()) < 24;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The page fills the view in one direction and fits in the other, with its proportions kept.
void checkFitted(AttachmentViewer& viewer, double wantedAspect) {
    const QImage image = viewer.shownImage();
    QVERIFY(!image.isNull());
    const QSizeF size = image.deviceIndependentSize();
    QVERIFY2(std::abs(size.width() / size.height() - wantedAspect) < 0.02,
             qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    const QWidget* view = viewer.findChild<kv::ui::AttachmentPageView*>();
    QVERIFY(size.width() <= view->width() && size.height() <= view->height());
    QVERIFY(size.width() >= view->width() - 30 || size.height() >= view->height() - 30);
}

} // namespace

class AttachmentViewerTest : public QObject {
    Q_OBJECT
private slots:
    void aTwoPagePdfAndAnImageAreThreePages() {
        QTemporaryDir folder;
        const QDir dir(folder.path());
        const QString pdf =
            kv::test::writePdf(dir, "faktura.pdf", {QColor(200, 30, 30), QColor(30, 30, 200)});
        const QString png = kv::test::writePng(dir, "kvitto.png", {400, 100}, QColor(20, 160, 20));
        AttachmentViewer viewer(12, {{"Faktura mars.pdf", pdf}, {"Kvitto.png", png}});
        viewer.resize(900, 800);
        kv::test::keep(viewer, "underlag-visare.png");
        QCOMPARE(viewer.windowTitle(), QString("Underlag till verifikat 12"));
        QCOMPARE(viewer.pageCount(), std::size_t{3});
        QCOMPARE(viewer.pageList()->count(), 3);
        QCOMPARE(viewer.pageList()->item(1)->text(), QString("2  Faktura mars.pdf, sida 2"));
        QCOMPARE(viewer.pageList()->item(2)->text(), QString("3  Kvitto.png"));

        // The first page: red, A4's proportions, nothing before it.
        QCOMPARE(viewer.pageNumberText(), QString("Sida 1 av 3"));
        QCOMPARE(viewer.headingText(), QString("Faktura mars.pdf \u2013 sida 1 av 2"));
        QVERIFY(near(kv::test::middleColour(viewer.shownImage()), QColor(200, 30, 30)));
        checkFitted(viewer, 210.0 / 297.0);
        QVERIFY(!viewer.previousButton()->isEnabled());
        QVERIFY(viewer.shownMessage().isEmpty());

        // Page Down: the PDF's second page, blue.
        QTest::keyClick(viewer.pageList(), Qt::Key_PageDown);
        QCOMPARE(viewer.currentPage(), std::size_t{1});
        QCOMPARE(viewer.pageNumberText(), QString("Sida 2 av 3"));
        QVERIFY(near(kv::test::middleColour(viewer.shownImage()), QColor(30, 30, 200)));
        QCOMPARE(viewer.pageList()->currentRow(), 1);

        // "Nästa": the image, four times as wide as high, wider than the window lets it be at that height.
        viewer.nextButton()->click();
        QCOMPARE(viewer.pageNumberText(), QString("Sida 3 av 3"));
        QCOMPARE(viewer.headingText(), QString("Kvitto.png"));
        QVERIFY(near(kv::test::middleColour(viewer.shownImage()), QColor(20, 160, 20)));
        checkFitted(viewer, 4.0);
        QVERIFY(!viewer.nextButton()->isEnabled());
        QTest::keyClick(viewer.pageList(), Qt::Key_PageDown); // past the last page: stays
        QCOMPARE(viewer.currentPage(), std::size_t{2});

        // A narrower window draws the page again, smaller, in the same proportions.
        viewer.resize(500, 800);
        QCoreApplication::processEvents();
        checkFitted(viewer, 4.0);

        // Page Up, Home and End, and a page chosen in the list.
        QTest::keyClick(viewer.pageList(), Qt::Key_PageUp);
        QCOMPARE(viewer.currentPage(), std::size_t{1});
        QTest::keyClick(viewer.pageList(), Qt::Key_Home);
        QCOMPARE(viewer.currentPage(), std::size_t{0});
        QTest::keyClick(viewer.pageList(), Qt::Key_End);
        QCOMPARE(viewer.currentPage(), std::size_t{2});
        viewer.pageList()->setCurrentRow(1);
        QCOMPARE(viewer.pageNumberText(), QString("Sida 2 av 3"));
        QVERIFY(viewer.previousButton()->isEnabled() && viewer.nextButton()->isEnabled());
        viewer.previousButton()->click();
        QCOMPARE(viewer.currentPage(), std::size_t{0});
    }

    // Each file the viewer cannot show is one page that says why, among the pages it can show.
    void aFileThatCannotBeReadIsAPageThatSaysSo() {
        QTemporaryDir folder;
        const QDir dir(folder.path());
        const QString good = kv::test::writePng(dir, "bra.png", {100, 200}, QColor(20, 160, 20));
        QByteArray pdf;
        QFile whole(kv::test::writePdf(dir, "hel.pdf", {Qt::white}));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        pdf = whole.readAll();

        struct Case {
            const char* name;
            QByteArray bytes; // none: the file is missing
            const char* message;
            const char* failure = ""; // what the caller knew before the viewer opened it
        };
        const std::vector<Case> cases{
            {"avkortad.pdf", pdf.left(60),
             "PDF-filen \u201davkortad.pdf\u201d är skadad och kan inte visas."},
            {"skräp.pdf", QByteArray("%PDF-1.4\n") + QByteArray(300, 'x'),
             "PDF-filen \u201dskräp.pdf\u201d är skadad och kan inte visas."},
            {"trasig.png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(40, '\0'),
             "Bilden \u201dtrasig.png\u201d är skadad och kan inte visas."},
            {"trasig.jpg", QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(20, '\x11'),
             "Bilden \u201dtrasig.jpg\u201d är skadad och kan inte visas."},
            // Told by its bytes, not its name: a text file called .pdf.
            {"anteckning.pdf", "Kvitto saknas, se mejl.\n",
             "Filen \u201danteckning.pdf\u201d är varken en PDF-fil eller en JPEG- eller PNG-bild och kan "
             "inte "
             "visas."},
            {"borta.pdf", {}, "Filen \u201dborta.pdf\u201d finns inte längre i företagets underlag"},
            // A whole PDF, but not the bytes that were stored.
            {"ändrad.pdf", pdf, "Underlaget har ändrats sedan det bifogades.",
             "Underlaget har ändrats sedan det bifogades."},
        };
        for (const Case& wrong : cases) {
            const QString path = dir.filePath(QString("fel-") + wrong.name);
            if (!wrong.bytes.isNull()) {
                writeBytes(path, wrong.bytes);
            }
            AttachmentViewer viewer(
                3, {{wrong.name, path, QString::fromUtf8(wrong.failure)}, {"Bra.png", good}});
            viewer.resize(600, 700);
            viewer.show();
            QVERIFY(QTest::qWaitForWindowExposed(&viewer));
            QCOMPARE(viewer.pageCount(), std::size_t{2});
            QVERIFY2(viewer.shownMessage().startsWith(QString::fromUtf8(wrong.message)),
                     qPrintable(viewer.shownMessage()));
            QVERIFY(viewer.shownImage().isNull());
            QVERIFY(!viewer.grab().isNull()); // the message is painted, nothing crashes
            QTest::keyClick(viewer.pageList(), Qt::Key_PageDown);
            QVERIFY(viewer.shownMessage().isEmpty());
            checkFitted(viewer, 0.5);
        }
    }

    void noAttachmentsSaySo() {
        AttachmentViewer viewer(0, {});
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QCOMPARE(viewer.windowTitle(), QString("Underlag till nytt verifikat"));
        QCOMPARE(viewer.pageNumberText(), QString("Inga sidor"));
        QCOMPARE(viewer.shownMessage(), QString("Verifikatet har inget underlag."));
        QVERIFY(!viewer.nextButton()->isEnabled() && !viewer.previousButton()->isEnabled());
        QTest::keyClick(viewer.pageList(), Qt::Key_PageDown);
        QTest::keyClick(viewer.pageList(), Qt::Key_End);
        QCOMPARE(viewer.currentPage(), std::size_t{0});
    }

    // The viewer never flows off the screen, wherever the window it opens over stands, however large it
    // would like to be.
    void theViewerOpensWhollyOnTheScreen() {
        QTemporaryDir folder;
        const QString png = kv::test::writePng(QDir(folder.path()), "a.png", {50, 50}, Qt::red);
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        const std::vector<QRect> owners{
            {room.topLeft(), QSize(400, 300)},
            {room.bottomRight() - QPoint(100, 80), QSize(700, 500)}, // mostly off the screen itself
            {room.topLeft() - QPoint(300, 200), QSize(500, 400)},
            room.adjusted(-50, -50, 50, 50),
        };
        for (const QRect& at : owners) {
            QWidget main;
            main.setGeometry(at);
            main.show();
            QPointer<AttachmentViewer> viewer = kv::ui::showAttachmentViewer(&main, 7, {{"a.png", png}});
            QVERIFY(QTest::qWaitForWindowExposed(viewer.data()));
            QVERIFY2(room.contains(viewer->frameGeometry()),
                     qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6")
                                    .arg(viewer->frameGeometry().x())
                                    .arg(viewer->frameGeometry().y())
                                    .arg(viewer->frameGeometry().width())
                                    .arg(viewer->frameGeometry().height())
                                    .arg(room.width())
                                    .arg(room.height())));
            // Large enough to read a page, and the page drawn to the window's size.
            QVERIFY(viewer->width() >= std::min(500, room.width() - 20));
            checkFitted(*viewer, 1.0);
            viewer->close();
        }
    }

    // Opened again for the same voucher, the viewer shows what the voucher has now, in one window.
    void oneViewerPerVoucher() {
        QTemporaryDir folder;
        const QDir dir(folder.path());
        const QString png = kv::test::writePng(dir, "a.png", {50, 50}, Qt::red);
        QWidget main;
        main.show();
        QPointer<AttachmentViewer> first = kv::ui::showAttachmentViewer(&main, 4, {{"a.png", png}});
        QPointer<AttachmentViewer> other = kv::ui::showAttachmentViewer(&main, 5, {{"a.png", png}});
        QPointer<AttachmentViewer> again =
            kv::ui::showAttachmentViewer(&main, 4, {{"a.png", png}, {"a igen.png", png}});
        QTRY_VERIFY(first.isNull());
        QVERIFY(!other.isNull());
        QCOMPARE(again->pageCount(), std::size_t{2});
        QCOMPARE(again->windowTitle(), QString("Underlag till verifikat 4"));
        QTest::keyClick(again->pageList(), Qt::Key_Escape);
        QTRY_VERIFY(again.isNull());
    }
};

QTEST_MAIN(AttachmentViewerTest)
#include "AttachmentViewerTest.moc"
