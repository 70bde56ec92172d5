// The caps, num and scroll lock indicators of the status bar. Linux offers
// no general way to read the lock state: the keyboard LEDs are read where
// the system shows them, otherwise the state is followed from the lock keys.
#pragma once

#include <QObject>
#include <QStringList>
#include <array>

class QLabel;
class QStatusBar;
class QTimer;

namespace kv::ui {

class LockIndicators : public QObject {
    Q_OBJECT
public:
    explicit LockIndicators(QStatusBar* bar);

    enum Lock { Caps, Num, Scroll };
    [[nodiscard]] bool isOn(Lock lock) const { return m_on[lock]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readLeds();
    void setOn(Lock lock, bool on);

    std::array<QLabel*, 3> m_labels{};
    std::array<bool, 3> m_on{};
    std::array<QStringList, 3> m_ledFiles;
    QTimer* m_timer = nullptr;
};

} // namespace kv::ui
