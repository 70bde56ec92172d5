// A modeless form over a core model: it shows beside the windows, follows its
// model's title, and Escape or the close box asks the model first.
#include "ShellTestSupport.h"

#include "common/FormWindow.h"

#include <QLabel>

namespace {

class NoteForm : public kv::FormModel {
public:
    [[nodiscard]] kv::FormKind kind() const override { return kv::FormKind::Voucher; }
    [[nodiscard]] std::string title() const override { return m_title; }
    bool mayClose() override {
        ++asked;
        return closable;
    }
    void rename(std::string title) {
        m_title = std::move(title);
        changed(kv::FormAspect::Title);
    }
    bool closable = false;
    int asked = 0;

private:
    std::string m_title = "Anteckning";
};

} // namespace

class ShellFormsTest : public QObject {
    Q_OBJECT
private slots:
    void aFormShowsBesideTheWindowsAndAsksItsModelBeforeItCloses() {
        kv::test::Shell shell;
        shell.newApprovedCompany();
        shell.window->registerFormContent(kv::FormKind::Voucher, [](kv::FormModel&, kv::AppController&) {
            return new QLabel(QStringLiteral("Innehåll"));
        });
        auto owned = std::make_unique<NoteForm>();
        NoteForm& form = *owned;
        shell.controller.showForm(std::move(owned));
        kv::ui::FormWindow* window = shell.window->formWindow(form);
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->windowTitle(), QString("Anteckning"));
        form.rename("Verifikat 1");
        QCOMPARE(window->windowTitle(), QString("Verifikat 1"));

        // The company's windows still take the keys and commands.
        shell.controller.execute(kv::CommandId::LedgerWindow);
        QVERIFY(shell.window->window(kv::WindowKind::Ledger) != nullptr);

        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->close());
        QCOMPARE(form.asked, 2);
        QCOMPARE(shell.controller.openForm(kv::FormKind::Voucher), &form);
        form.closable = true;
        QTest::keyClick(window, Qt::Key_Escape);
        QCOMPARE(shell.controller.openForm(kv::FormKind::Voucher), nullptr);
        QTRY_VERIFY(shell.window->formWindow(form) == nullptr);
    }
};

QTEST_MAIN(ShellFormsTest)
#include "ShellFormsTest.moc"
