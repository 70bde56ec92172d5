// What a company window shows, and the commands it decides about itself.
#pragma once

#include "interaction/AppState.h"
#include "interaction/CommandId.h"

#include <QWidget>

#include <functional>
#include <optional>

class QPrinter;

namespace kv {
struct ReportData;
}

namespace kv::ui {

class WindowContent : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The window has just been shown for the first time: what it does while
    // it initialises (it may run modal dialogs).
    virtual void firstUpdate() {}
    // Lets go of the document; called before the window or the company goes.
    virtual void detachFromDocument() {}
    // Fills in what this window offers for the commands it decides about.
    virtual void describe(ViewCapabilities& view) const { view = {}; }
    // Carries out such a command; false when this window has none.
    virtual bool perform(CommandId id) {
        static_cast<void>(id);
        return false;
    }
    virtual void print(QPrinter* printer) { static_cast<void>(printer); }
    // The pages printing on the printer would give, or 0 when the window
    // cannot tell before it prints.
    [[nodiscard]] virtual int pageCount(QPrinter* printer) const {
        static_cast<void>(printer);
        return 0;
    }
    // Reports: the print preview closed while it showed page (1, 2, ...).
    virtual void previewEnded(int page) { static_cast<void>(page); }
    // Reports: the report as data, as the window shows it; nothing for other windows.
    [[nodiscard]] virtual std::optional<ReportData> reportData() const;

signals:
    // The enable or check state of a command may have changed.
    void commandStateChanged();

protected:
    // Runs what a button of the window asked for once the button's own event
    // has returned: it may run dialogs that rebuild the window.
    void later(std::function<void()> action) {
        QMetaObject::invokeMethod(this, std::move(action), Qt::QueuedConnection);
    }
};

// The windows whose contents the program does not show yet: a plain, empty
// client area under the window's title and icon.
class EmptyWindowContent : public WindowContent {
    Q_OBJECT
public:
    explicit EmptyWindowContent(QWidget* parent = nullptr);
};

} // namespace kv::ui
