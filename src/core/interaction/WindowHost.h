// What the application controller asks of the window program: the company's
// windows, and the commands that the windows and the main window carry out
// themselves. The controller decides; the host shows.
#pragma once

#include "interaction/AppState.h"
#include "interaction/CommandId.h"
#include "interaction/FormModel.h"

namespace kv {

class WindowHost {
public:
    virtual ~WindowHost() = default;

    // Creates the window of the open company, shows and activates it.
    virtual void openCompanyWindow(WindowKind kind) = 0;
    // Closes a window because the program says so: no question is asked and
    // the controller is not told again.
    virtual void closeCompanyWindow(WindowKind kind) = 0;
    virtual void activateCompanyWindow(WindowKind kind) = 0;
    // Marks the voucher at position row in the voucher list, if it is open,
    // and gives the list the focus.
    virtual void markVoucherInList(std::size_t row) = 0;

    // Shows a modeless form over the model, beside the windows; the model
    // outlives the form on the screen.
    virtual void openForm(FormModel& form) = 0;
    // Takes the form off the screen at once, without asking: the model is
    // about to go. The form must not touch the model after this.
    virtual void closeForm(FormModel& form) = 0;
    virtual void activateForm(FormModel& form) = 0;

    // Fills in what the host knows: the active window's capabilities and
    // whether the toolbar and the status bar are shown.
    virtual void describe(AppState& state) const = 0;
    // Carries out a command of the windows or the main window itself: the
    // grid commands, printing, the bars, arranging, the about box, the calendar.
    virtual void performWindowCommand(CommandId id) = 0;

    // The company, its title, its modified state or the recent files changed.
    virtual void shellChanged() = 0;
    // Ends the program.
    virtual void closeMainWindow() = 0;
};

} // namespace kv
