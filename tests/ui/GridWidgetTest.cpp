// The grid widget wired to a core Grid: keys, mouse, editor, clipboard,
// commands and printing, on the offscreen platform.
#include "grid/GridWidget.h"
#include "../core/ScriptedPrompter.h"
#include "grid/GridEditor.h"
#include "grid/GridFindDialog.h"
#include "grid/GridPrinting.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using kv::CellPos;
using kv::CellRange;
using kv::Grid;
using kv::GridKey;
using kv::GridKeyCode;
using kv::ui::GridWidget;

namespace {

// The program's side: refuses "fel", swallows Alt + keypad "/".
class Hooks : public kv::GridHooks {
public:
    bool validateCell(Grid& grid, std::int32_t row, std::int32_t col) override {
        validated.push_back(grid.text(row, col));
        return grid.text(row, col) != "fel";
    }
    bool keyDown(Grid&, const GridKey& key) override {
        keys.push_back(key);
        return key.code == GridKeyCode::Divide && key.alt && key.keypad;
    }
    std::vector<std::string> validated;
    std::vector<GridKey> keys;
};

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, held, modifiers);
    QApplication::sendEvent(target, &event);
}

} // namespace

class GridWidgetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GridWidget> m_widget;
    Hooks m_hooks;

    Grid& grid() { return m_widget->grid(); }
    QTableView* view() { return m_widget->view(); }
    QModelIndex indexOf(CellPos cell) { return view()->model()->index(cell.row - 1, cell.col - 1); }
    QPoint centre(CellPos cell) { return view()->visualRect(indexOf(cell)).center(); }

    void click(CellPos cell, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        sendMouse(view()->viewport(), QEvent::MouseButtonPress, centre(cell), Qt::LeftButton, modifiers);
        sendMouse(view()->viewport(), QEvent::MouseButtonRelease, centre(cell), Qt::LeftButton, modifiers);
    }
    void drag(CellPos from, CellPos to) {
        sendMouse(view()->viewport(), QEvent::MouseButtonPress, centre(from), Qt::LeftButton);
        sendMouse(view()->viewport(), QEvent::MouseMove, centre(to), Qt::LeftButton);
        sendMouse(view()->viewport(), QEvent::MouseButtonRelease, centre(to), Qt::LeftButton);
    }
    void clickTitle(QHeaderView* header, int section) {
        const int along = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
        const QPoint pos = header->orientation() == Qt::Horizontal ? QPoint(along, header->height() / 2)
                                                                   : QPoint(header->width() / 2, along);
        sendMouse(header->viewport(), QEvent::MouseButtonPress, pos, Qt::LeftButton);
        sendMouse(header->viewport(), QEvent::MouseButtonRelease, pos, Qt::LeftButton);
    }
    QWidget* focused() { return QApplication::focusWidget(); }
    // Answers the next message box with OK and keeps its text.
    void answerNextMessage(QString& text) {
        QTimer::singleShot(0, this, [&text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                box->accept();
            }
        });
    }

private slots:
    void init() {
        m_hooks = Hooks();
        m_widget = std::make_unique<GridWidget>();
        grid().setHooks(&m_hooks);
        grid().setRowCount(30);
        grid().setColCount(4);
        m_widget->resize(640, 420);
        m_widget->show();
        m_widget->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_widget.get()));
        view()->setFocus();
    }
    void cleanup() { m_widget.reset(); }

    void typingGoesThroughValidationAndARefusalKeepsTheEditorOpen() {
        grid().setText(2, 2, "rätt");
        grid().moveCurrentCell({2, 2});
        QTest::keyClick(view(), 'f');
        auto* editor = qobject_cast<QLineEdit*>(focused());
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->text(), QStringLiteral("f"));
        QTest::keyClicks(editor, "el");
        QCOMPARE(qs(grid().text(2, 2)), QStringLiteral("fel")); // the hooks read what is typed
        QCOMPARE(qs(grid().storedText(2, 2)), QStringLiteral("rätt"));

        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_hooks.validated.back(), std::string("fel"));
        QVERIFY(grid().isEditing());
        QCOMPARE(grid().currentCell(), (CellPos{2, 2}));
        QCOMPARE(focused(), editor);
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->text(), QString());
        QVERIFY(view()->visualRect(indexOf({2, 2})).contains(editor->geometry().center()));
        QCOMPARE(qs(grid().storedText(2, 2)), QStringLiteral("rätt"));

        // A click elsewhere ends the edit too, and is refused the same way.
        QTest::keyClicks(editor, "fel");
        click({5, 3});
        QCOMPARE(grid().currentCell(), (CellPos{2, 2}));
        QCOMPARE(editor->text(), QString());

        QTest::keyClicks(editor, "bra");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!grid().isEditing());
        QCOMPARE(qs(grid().storedText(2, 2)), QStringLiteral("bra"));
        QCOMPARE(grid().currentCell(), (CellPos{3, 2}));
        QCOMPARE(focused(), view());
        QVERIFY(m_widget->canUndo());
    }

    void escapeAndTabEndTheEditTheGridsWay() {
        grid().setText(1, 1, "kvar");
        grid().moveCurrentCell({1, 1});
        QTest::keyClick(view(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(focused());
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->text(), QStringLiteral("kvar"));
        QTest::keyClicks(editor, "ord");
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!grid().isEditing());
        QCOMPARE(qs(grid().text(1, 1)), QStringLiteral("kvar"));

        QTest::keyClick(view(), 'x');
        QTest::keyClick(focused(), Qt::Key_Tab); // stays in the grid, one cell to the right
        QCOMPARE(qs(grid().text(1, 1)), QStringLiteral("x"));
        QCOMPARE(grid().currentCell(), (CellPos{1, 2}));
        QCOMPARE(focused(), view());
    }

    void aReadOnlyCellRefusesTheEditorButShowsTheProgramsText() {
        kv::CellStyle locked;
        locked.readOnly = true;
        grid().setStyle(1, 1, locked);
        grid().setText(1, 1, "programmet");
        QCOMPARE(indexOf({1, 1}).data().toString(), QStringLiteral("programmet"));
        grid().moveCurrentCell({1, 1});
        QTest::keyClick(view(), 'x');
        QTest::keyClick(view(), Qt::Key_F2);
        sendMouse(view()->viewport(), QEvent::MouseButtonDblClick, centre({1, 1}), Qt::LeftButton);
        QVERIFY(!grid().isEditing());
        QVERIFY(m_widget->findChildren<kv::ui::GridEditor*>().isEmpty());
        grid().setText(1, 1, "skrivet igen");
        QCOMPARE(indexOf({1, 1}).data().toString(), QStringLiteral("skrivet igen"));
        QVERIFY(indexOf({1, 1}).data(Qt::BackgroundRole).value<QBrush>().color() != QColor(Qt::white));

        // "Skrivskydd" stops every cell.
        m_widget->toggleReadOnly();
        QVERIFY(m_widget->isReadOnly());
        grid().moveCurrentCell({2, 2});
        QTest::keyClick(view(), 'x');
        QVERIFY(!grid().isEditing());
        m_widget->toggleReadOnly();
        QTest::keyClick(view(), 'x');
        QVERIFY(grid().isEditing());
    }

    void aSingleClickLeavesNoSelectionAndDraggingOrTitlesSelect() {
        QSignalSpy state(m_widget.get(), &GridWidget::commandStateChanged);
        click({3, 2});
        QCOMPARE(grid().currentCell(), (CellPos{3, 2}));
        QVERIFY(grid().selection().empty());
        QVERIFY(!m_widget->hasSelection());
        QCOMPARE(grid().selectedRowCount(), 0);

        drag({2, 1}, {4, 3});
        QCOMPARE(grid().selection(), (std::vector<CellRange>{{2, 1, 4, 3}}));
        QCOMPARE(grid().currentCell(), (CellPos{2, 1}));
        QVERIFY(m_widget->hasSelection());
        QVERIFY(!state.isEmpty());

        click({6, 4});
        QVERIFY(grid().selection().empty());

        clickTitle(view()->verticalHeader(), 4);
        QCOMPARE(grid().firstSelectedRow(), 5);
        QCOMPARE(grid().selectedRowCount(), 1);
        QCOMPARE(grid().selection(), (std::vector<CellRange>{{5, 1, 5, 4}}));
        clickTitle(view()->horizontalHeader(), 1);
        QCOMPARE(grid().selection(), (std::vector<CellRange>{{1, 2, 30, 2}}));

        QTest::keyClick(view(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(grid().selection().size(), 1U);
        QTest::keyClick(view(), Qt::Key_Down);
        QVERIFY(grid().selection().empty());
    }

    void theClipboardCarriesABlockBackAsTheSameCells() {
        grid().setText(1, 1, "3000");
        grid().setText(1, 2, "Försäljning\tmed tab");
        grid().setText(2, 2, "två\nrader");
        grid().setText(2, 3, "\"citat\"");
        drag({1, 1}, {2, 3});
        QApplication::clipboard()->clear();
        QTest::keyClick(view(), Qt::Key_C, Qt::ControlModifier);
        const QString copied = QApplication::clipboard()->text();
        QCOMPARE(copied, qs(kv::toClipboardText(
                             {{"3000", "Försäljning\tmed tab", ""}, {"", "två\nrader", "\"citat\""}})));

        click({10, 2});
        QVERIFY(grid().selection().empty());
        m_widget->paste();
        QCOMPARE(qs(grid().text(10, 2)), QStringLiteral("3000"));
        QCOMPARE(qs(grid().text(10, 3)), QStringLiteral("Försäljning\tmed tab"));
        QCOMPARE(qs(grid().text(11, 3)), QStringLiteral("två\nrader"));
        QCOMPARE(qs(grid().text(11, 4)), QStringLiteral("\"citat\""));
        QCOMPARE(qs(grid().text(11, 2)), QString());

        // While a cell is edited, paste goes into the edit.
        QApplication::clipboard()->setText(QStringLiteral("12"));
        grid().moveCurrentCell({20, 1});
        QTest::keyClick(view(), '3');
        m_widget->paste();
        QCOMPARE(qs(grid().editText()), QStringLiteral("312"));
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(qs(grid().text(20, 1)), QStringLiteral("312"));
        QCOMPARE(qs(grid().text(20, 2)), QString());

        // Cut empties the block and leaves its text on the clipboard.
        drag({10, 2}, {10, 3});
        m_widget->cut();
        QCOMPARE(qs(grid().text(10, 2)), QString());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("3000\t\"Försäljning\tmed tab\"\n"));
    }

    void deleteClearsTheSelectionAndUndoBringsItBack() {
        for (std::int32_t r = 1; r <= 3; ++r) {
            grid().setText(r, 1, "rad " + std::to_string(r));
            grid().setText(r, 2, "belopp");
        }
        drag({1, 1}, {2, 2});
        QTest::keyClick(view(), Qt::Key_Delete);
        QCOMPARE(qs(grid().text(1, 1)), QString());
        QCOMPARE(qs(grid().text(2, 2)), QString());
        QCOMPARE(qs(grid().text(3, 1)), QStringLiteral("rad 3"));
        QVERIFY(m_widget->canUndo());
        QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(qs(grid().text(1, 1)), QStringLiteral("rad 1"));
        QVERIFY(m_widget->canRedo());
        m_widget->redo();
        QCOMPARE(qs(grid().text(2, 1)), QString());
    }

    void zoomScalesColumnWidthsAndFonts() {
        grid().setColumnWidth(1, 200);
        grid().setColumnWidth(0, 60);
        QHeaderView* columns = view()->horizontalHeader();
        QCOMPARE(columns->sectionSize(0), 200);
        QCOMPARE(columns->sectionSize(1), 80);
        QCOMPARE(view()->verticalHeader()->width(), 60);
        const qreal normalSize = indexOf({1, 1}).data(Qt::FontRole).value<QFont>().pointSizeF();
        const int normalRow = view()->verticalHeader()->sectionSize(0);

        QSignalSpy state(m_widget.get(), &GridWidget::commandStateChanged);
        m_widget->zoomIn();
        QVERIFY(!state.isEmpty());
        QCOMPARE(grid().zoom(), 110);
        QCOMPARE(columns->sectionSize(0), 220);
        QCOMPARE(columns->sectionSize(1), 88);
        QCOMPARE(view()->verticalHeader()->width(), 66);
        QCOMPARE(indexOf({1, 1}).data(Qt::FontRole).value<QFont>().pointSizeF(), normalSize * 1.1);
        QVERIFY(view()->verticalHeader()->sectionSize(0) >= normalRow);

        for (int i = 0; i < 30 && m_widget->canZoomOut(); ++i) {
            m_widget->zoomOut();
        }
        QVERIFY(!m_widget->canZoomOut());
        QVERIFY(columns->sectionSize(0) < 100);
        m_widget->zoomNormal();
        QCOMPARE(columns->sectionSize(0), 200);

        // A column widened by hand keeps its width, counted at 100 %.
        m_widget->zoomIn();
        columns->resizeSection(1, 176);
        QCOMPARE(grid().state().columnWidth(2), 160);
    }

    void printLikeShowsThePaperLook() {
        kv::CellStyle locked;
        locked.readOnly = true;
        grid().setStyle(1, 1, locked);
        QCOMPARE(view()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("A"));
        QCOMPARE(view()->model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("3"));
        m_widget->togglePrintLike();
        QVERIFY(m_widget->isPrintLike());
        QVERIFY(view()->verticalHeader()->isHidden());
        QVERIFY(view()->horizontalHeader()->isHidden());
        QCOMPARE(indexOf({1, 1}).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::white));
        grid().setText(0, 1, "Konto"); // written titles show, as they print
        grid().redraw();
        QVERIFY(!view()->horizontalHeader()->isHidden());
        QCOMPARE(view()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Konto"));
        QCOMPARE(view()->model()->headerData(1, Qt::Horizontal).toString(), QString());
        m_widget->togglePrintLike();
        QVERIFY(!view()->verticalHeader()->isHidden());
    }

    void altWithKeypadDivideReachesTheProgram() {
        QTest::keyClick(view(), Qt::Key_Slash, Qt::AltModifier | Qt::KeypadModifier);
        QVERIFY(!m_hooks.keys.empty());
        const GridKey key = m_hooks.keys.back();
        QCOMPARE(key.code, GridKeyCode::Divide);
        QVERIFY(key.alt);
        QVERIFY(key.keypad);
        QVERIFY(!grid().isEditing());

        // Also while a cell is being edited; the editor's text stays as it was.
        QTest::keyClick(view(), '5');
        auto* editor = qobject_cast<QLineEdit*>(focused());
        QVERIFY(editor != nullptr);
        m_hooks.keys.clear();
        QTest::keyClick(editor, Qt::Key_Slash, Qt::AltModifier | Qt::KeypadModifier);
        QVERIFY(!m_hooks.keys.empty());
        QCOMPARE(m_hooks.keys.back().code, GridKeyCode::Divide);
        QVERIFY(m_hooks.keys.back().alt && m_hooks.keys.back().keypad);
        QCOMPARE(editor->text(), QStringLiteral("5"));
        // The keypad "/" alone is typed.
        QTest::keyClick(editor, Qt::Key_Slash, Qt::KeypadModifier);
        QCOMPARE(editor->text(), QStringLiteral("5/"));
        QVERIFY(m_hooks.keys.back().keypad && !m_hooks.keys.back().alt);
    }

    void theFormatDialogStylesTheSelection() {
        grid().setText(1, 1, "Intäkter");
        drag({1, 1}, {1, 2});
        bool seen = false;
        QTimer::singleShot(0, this, [&seen] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Formatera celler"));
            dialog->findChild<QCheckBox*>(QStringLiteral("bold"))->setChecked(true);
            auto* align = dialog->findChild<QComboBox*>(QStringLiteral("align"));
            align->setCurrentIndex(align->findText(QStringLiteral("Höger")));
            seen = true;
            qobject_cast<QDialog*>(dialog)->accept();
        });
        m_widget->formatCells();
        QVERIFY(seen);
        QVERIFY(grid().style(1, 1).bold);
        QVERIFY(grid().style(1, 2).bold);
        QCOMPARE(grid().style(1, 2).align, kv::HAlign::Right);
        QVERIFY(!grid().style(2, 1).bold);
        QVERIFY(indexOf({1, 1}).data(Qt::FontRole).value<QFont>().bold());
        m_widget->undo();
        QVERIFY(!grid().style(1, 1).bold);

        // The quick formats toggle on the selection too.
        m_widget->toggleItalic();
        QVERIFY(grid().style(1, 2).italic);
        m_widget->alignCenter();
        QCOMPARE(grid().style(1, 1).align, kv::HAlign::Center);
    }

    void findAndFindAgainMoveToTheMatches() {
        grid().setText(3, 2, "Kassa");
        grid().setText(7, 1, "kassa och bank");
        m_widget->find();
        auto* dialog = m_widget->findChild<kv::ui::GridFindDialog*>();
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Sök"));
        dialog->findChild<QLineEdit*>(QStringLiteral("findText"))->setText(QStringLiteral("kassa"));
        dialog->findChild<QPushButton*>(QStringLiteral("findNext"))->click();
        QCOMPARE(grid().currentCell(), (CellPos{3, 2}));
        m_widget->findAgain();
        QCOMPARE(grid().currentCell(), (CellPos{7, 1}));

        m_widget->replace();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Ersätt"));
        dialog->findChild<QLineEdit*>(QStringLiteral("replaceText"))->setText(QStringLiteral("Bank"));
        dialog->findChild<QCheckBox*>(QStringLiteral("wholeCell"))->setChecked(true);
        dialog->findChild<QLineEdit*>(QStringLiteral("findText"))->setText(QStringLiteral("KASSA"));
        grid().moveCurrentCell({3, 2});
        QString message;
        answerNextMessage(message);
        dialog->findChild<QPushButton*>(QStringLiteral("replace"))->click();
        QCOMPARE(qs(grid().text(3, 2)), QStringLiteral("Bank"));
        QCOMPARE(qs(grid().text(7, 1)), QStringLiteral("kassa och bank"));
        QCOMPARE(message, QStringLiteral("Hittade inte \"KASSA\"."));

        dialog->findChild<QCheckBox*>(QStringLiteral("wholeCell"))->setChecked(false);
        answerNextMessage(message);
        dialog->findChild<QPushButton*>(QStringLiteral("replaceAll"))->click();
        QCOMPARE(qs(grid().text(7, 1)), QStringLiteral("Bank och bank"));
        QCOMPARE(message, QStringLiteral("1 cell ersattes."));
    }

    void findTellsTheUserThroughTheOwnersPrompter() {
        kv::test::ScriptedPrompter prompter;
        m_widget->setPrompter(&prompter);
        grid().setText(3, 2, "Kassa");
        m_widget->find();
        auto* dialog = m_widget->findChild<kv::ui::GridFindDialog*>();
        QVERIFY(dialog != nullptr);
        auto* findText = dialog->findChild<QLineEdit*>(QStringLiteral("findText"));
        findText->setText(QStringLiteral("saknas"));
        dialog->findChild<QPushButton*>(QStringLiteral("findNext"))->click();
        findText->setText(QStringLiteral("kassa"));
        dialog->findChild<QPushButton*>(QStringLiteral("findNext"))->click();
        QCOMPARE(grid().currentCell(), (CellPos{3, 2}));
        QCOMPARE(prompter.said, (std::vector<std::string>{"Hittade inte \"saknas\"."}));
        m_widget->setPrompter(nullptr);
    }

    void withoutAPrompterTheProgramsMessageBoxTellsOverTheFindWindow() {
        std::vector<std::pair<QWidget*, std::string>> shown;
        GridWidget::setMessageBox(
            [&shown](QWidget* over, const std::string& text) { shown.emplace_back(over, text); });
        grid().setText(3, 2, "Kassa");
        m_widget->find();
        auto* dialog = m_widget->findChild<kv::ui::GridFindDialog*>();
        QVERIFY(dialog != nullptr);
        dialog->findChild<QLineEdit*>(QStringLiteral("findText"))->setText(QStringLiteral("saknas"));
        dialog->findChild<QPushButton*>(QStringLiteral("findNext"))->click();
        dialog->close();
        m_widget->findAgain(); // the find window is gone: over the grid
        GridWidget::setMessageBox(nullptr);
        QCOMPARE(shown.size(), std::size_t{2});
        QCOMPARE(shown[0].first, static_cast<QWidget*>(dialog));
        QCOMPARE(shown[1].first, static_cast<QWidget*>(m_widget.get()));
        QVERIFY(shown[0].second == "Hittade inte \"saknas\"." && shown[1].second == shown[0].second);
    }

    void printingPaintsEveryPageOfTheGrid() {
        for (std::int32_t r = 1; r <= 30; ++r) {
            grid().setText(r, 1, std::to_string(3000 + r));
            grid().setText(r, 2, "Konto nummer " + std::to_string(r));
        }
        grid().setRowCount(150);
        grid().setText(150, 3, "sist");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("rutnät.pdf")));
        const auto pages = kv::ui::gridPages(printer, grid().state(), m_widget->font(), {});
        QVERIFY(pages.size() >= 2);
        m_widget->setPrintHeading({QStringLiteral("Resultaträkning")});
        const auto headed =
            kv::ui::gridPages(printer, grid().state(), m_widget->font(), m_widget->printHeading());
        m_widget->print(&printer);

        QFile file(printer.outputFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString pdf = QString::fromLatin1(file.readAll());
        const auto count = pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
        QCOMPARE(count, static_cast<qsizetype>(headed.size()));
    }
};

QTEST_MAIN(GridWidgetTest)
#include "GridWidgetTest.moc"
