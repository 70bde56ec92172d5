// Answers the modal windows of the window program as a user would, one after
// another as they come up, so that a test can run the real message boxes and
// dialogs.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>

namespace kv::test {

// How long a window the test waits for may take to come. It only bounds a
// test that has already gone wrong, so it is far beyond what a loaded
// machine under a sanitizer needs.
inline constexpr int kWindowWaitMs = 60000;

// Acts in each expected modal window in turn; one that does not come, or
// another instead, is closed so that nothing hangs, and reported.
class ModalDriver : public QObject {
public:
    template <typename Window> void expect(std::function<void(Window&)> act) {
        m_steps.push_back([act](QWidget* modal) {
            auto* window = qobject_cast<Window*>(modal);
            if (window != nullptr) {
                act(*window);
            }
            return window != nullptr;
        });
    }
    // A message box with exactly this text, answered with the button of that text.
    void box(const std::string& text, const QString& button) {
        expect<QMessageBox>([text, button](QMessageBox& shown) {
            QCOMPARE(shown.text(), QString::fromStdString(text));
            for (QAbstractButton* candidate : shown.buttons()) {
                if (candidate->text() == button) {
                    candidate->click();
                    return;
                }
            }
            QFAIL("no such button");
        });
    }
    // A file dialog, answered with the file typed into its name field as the
    // user does (the dialog's own selectFile waits for its folder listing).
    void file(const QString& path) {
        expect<QFileDialog>([path](QFileDialog& dialog) {
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            name->setText(path);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
    }

    // The expected windows that have not come yet.
    [[nodiscard]] std::size_t pending() const { return m_steps.size(); }

    // Does the action inside a running event loop, as the program's main loop
    // delivers a user's event, and answers the windows that come up until
    // every expected one has come and the action has returned.
    bool run(const std::function<void()>& action) {
        m_deadline = QDeadlineTimer(kWindowWaitMs);
        QEventLoop loop;
        bool returned = false;
        QTimer::singleShot(0, &loop, [&] {
            action();
            returned = true;
        });
        QTimer::singleShot(10, this, [this] { poll(); });
        QTimer done;
        QObject::connect(&done, &QTimer::timeout, &loop, [&] {
            if (returned && m_steps.empty()) {
                loop.quit();
            }
        });
        done.start(5);
        // Whatever still shows after the time is up is closed, so nothing hangs.
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, &loop, [&] {
            m_failed = true;
            m_steps.clear();
            while (QWidget* modal = QApplication::activeModalWidget()) {
                qWarning("left open: %s %s", modal->metaObject()->className(),
                         qPrintable(modal->windowTitle()));
                auto* dialog = qobject_cast<QDialog*>(modal);
                if (dialog == nullptr) {
                    break;
                }
                dialog->done(QDialog::Rejected);
                QCoreApplication::processEvents();
            }
            loop.quit();
        });
        giveUp.start(3 * kWindowWaitMs);
        loop.exec();
        QCoreApplication::sendPostedEvents(); // what the last steps queued
        return !m_failed;
    }

private:
    void poll() {
        if (m_steps.empty()) {
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            const auto step = m_steps.front();
            m_steps.pop_front();
            QTimer::singleShot(10, this, [this] { poll(); });
            if (!step(modal)) {
                qWarning("unexpected window: %s", qPrintable(modal->windowTitle()));
                m_failed = true;
                m_steps.clear();
                if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                    dialog->done(QDialog::Rejected);
                }
            }
            m_deadline = QDeadlineTimer(kWindowWaitMs);
            return;
        }
        if (m_deadline.hasExpired()) {
            m_failed = true;
            m_steps.clear();
            return;
        }
        QTimer::singleShot(10, this, [this] { poll(); });
    }

    std::deque<std::function<bool(QWidget*)>> m_steps;
    QDeadlineTimer m_deadline;
    bool m_failed = false;
};

} // namespace kv::test
