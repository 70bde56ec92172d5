// What the application offers the commands of the subsystems: the open
// company, the user, the company's windows and modeless forms, saving, and
// what the user keeps beside the books (the chart templates, the reports'
// choices).
// The application controller implements it; the subsystems register their
// commands against it and never see the controller itself.
#pragma once

#include "interaction/AppState.h"
#include "interaction/CommandId.h"
#include "interaction/FormModel.h"
#include "interaction/ReportSettings.h"
#include "storage/TemplateStore.h"

#include <memory>
#include <string>

namespace kv {

class CTallvingeDoc;
class Prompter;

class AppServices {
public:
    virtual ~AppServices() = default;

    // The open company. Commands that need one are disabled without it.
    [[nodiscard]] virtual CTallvingeDoc& document() = 0;
    [[nodiscard]] virtual Prompter& prompter() = 0;
    // The folder of the shared chart-template file.
    [[nodiscard]] virtual const std::string& templateFolder() const = 0;
    // The user's chart templates, kept for the whole session.
    [[nodiscard]] virtual TemplateStore& templates() = 0;
    // What the user chose for the reports of the open company.
    [[nodiscard]] virtual ReportSettings& reportSettings() = 0;

    // Opens a window of the company, or activates the one open.
    virtual void openWindow(WindowKind kind) = 0;
    // Opens a window afresh: an open one is closed first.
    virtual void reopenWindow(WindowKind kind) = 0;
    [[nodiscard]] virtual bool isWindowOpen(WindowKind kind) const = 0;
    // Marks the voucher at position row in the open voucher list.
    virtual void markVoucherInList(std::size_t row) = 0;
    // A command that the active window or the main window carries out itself.
    virtual void performWindowCommand(CommandId id) = 0;

    // Shows a modeless form beside the windows; the application owns it
    // until it finishes or the user closes it.
    virtual void showForm(std::unique_ptr<FormModel> form) = 0;
    // The open form of that kind, or nullptr.
    [[nodiscard]] virtual FormModel* openForm(FormKind kind) = 0;
    // Whether a form of that kind is open: from the moment it is shown until
    // it finishes or the user's close goes through.
    [[nodiscard]] virtual bool isFormOpen(FormKind kind) const = 0;
    // Vouchers: brings an open form to the front, with the focus.
    virtual void activateForm(FormModel& form) = 0;

    // "Spara", as the user would: asks for a name when the company has none.
    virtual bool save() = 0;

    // SIE: opens the company saved at path, when none is open (as "Öppna ett
    // företag..." would); false when it did not open.
    virtual bool openCompanyFile(const std::string& path) = 0;
};

} // namespace kv
