#include "app/LockIndicators.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace kv::ui {

namespace {

const char* const kTexts[] = {"CAPS", "NUM", "SCRL"};
const char* const kLedSuffixes[] = {"::capslock", "::numlock", "::scrolllock"};

} // namespace

LockIndicators::LockIndicators(QStatusBar* bar) : QObject(bar) {
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromLatin1(kTexts[i]), bar);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        label->setEnabled(false);
        bar->addPermanentWidget(label);
        m_labels[static_cast<std::size_t>(i)] = label;
    }
    const QDir leds(QStringLiteral("/sys/class/leds"));
    for (const QString& name : leds.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (int i = 0; i < 3; ++i) {
            if (name.endsWith(QLatin1String(kLedSuffixes[i]))) {
                m_ledFiles[static_cast<std::size_t>(i)].append(
                    leds.filePath(name + QStringLiteral("/brightness")));
            }
        }
    }
    const bool anyLed =
        std::any_of(m_ledFiles.begin(), m_ledFiles.end(), [](const auto& f) { return !f.isEmpty(); });
    if (anyLed) {
        m_timer = new QTimer(this);
        connect(m_timer, &QTimer::timeout, this, &LockIndicators::readLeds);
        m_timer->start(400);
        readLeds();
    }
    qApp->installEventFilter(this);
}

void LockIndicators::readLeds() {
    for (std::size_t i = 0; i < 3; ++i) {
        if (m_ledFiles[i].isEmpty()) {
            continue;
        }
        bool on = false;
        for (const QString& path : m_ledFiles[i]) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly) && file.readAll().trimmed() != "0") {
                on = true;
            }
        }
        setOn(static_cast<Lock>(i), on);
    }
}

bool LockIndicators::eventFilter(QObject* watched, QEvent* event) {
    // Every key reaches its top-level window first: one look per key press.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto follow = [&](Lock lock) {
            if (m_ledFiles[lock].isEmpty()) {
                setOn(lock, !m_on[lock]);
            }
        };
        switch (key->key()) {
        case Qt::Key_CapsLock:
            follow(Caps);
            break;
        case Qt::Key_NumLock:
            follow(Num);
            break;
        case Qt::Key_ScrollLock:
            follow(Scroll);
            break;
        default:
            // A letter typed without Shift tells the caps lock state.
            if (m_ledFiles[Caps].isEmpty() && key->text().size() == 1 && key->text().at(0).isLetter() &&
                !(key->modifiers() & Qt::ShiftModifier)) {
                setOn(Caps, key->text().at(0).isUpper());
            }
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void LockIndicators::setOn(Lock lock, bool on) {
    m_on[lock] = on;
    m_labels[lock]->setEnabled(on);
}

} // namespace kv::ui
