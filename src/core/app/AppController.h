// The application: it owns the open company (one at a time), knows which of
// its windows and forms are open, and routes each command to the handler
// that its subsystem registered. It talks to the user through the prompter
// and to the windows through the window host.
#pragma once

#include "app/Menus.h"
#include "app/RecentFiles.h"
#include "app/WindowRegistry.h"
#include "interaction/AppServices.h"
#include "interaction/AppState.h"
#include "interaction/CommandId.h"
#include "interaction/CommandRegistry.h"
#include "model/TallvingeDoc.h"
#include "reports/PageLayout.h"
#include "storage/CompanyLock.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class Prompter;
class WindowHost;

class AppController : private DocumentView, public AppServices {
public:
    // templateFolder: the folder of the user's chart-template file.
    AppController(Prompter& prompter, std::string templateFolder);
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;
    ~AppController() override;

    void setHost(WindowHost* host) { m_host = host; }

    // ---- state ----
    [[nodiscard]] bool companyOpen() const { return m_doc != nullptr; }
    // The open company, or nullptr.
    [[nodiscard]] CTallvingeDoc* company() { return m_doc.get(); }
    [[nodiscard]] const CTallvingeDoc* company() const { return m_doc.get(); }
    [[nodiscard]] AppState state() const;
    [[nodiscard]] const CommandRegistry& commands() const { return m_commands; }
    // The command's state as the user meets it; a command that no subsystem
    // registered is disabled.
    [[nodiscard]] CommandState commandState(CommandId id) const { return m_commands.state(id, state()); }
    [[nodiscard]] MenuBarId menuBar() const;
    [[nodiscard]] const WindowRegistry& windows() const { return m_windows; }
    // The title of the main window: "  Kvistoran", with the company's title.
    [[nodiscard]] std::string mainWindowTitle() const;

    [[nodiscard]] RecentFiles& recentFiles() { return m_recent; }
    [[nodiscard]] const RecentFiles& recentFiles() const { return m_recent; }

    // Listing lines per printed page, settled at start-up.
    [[nodiscard]] PageLines linesPerPage() const { return m_nRaderPerSida; }
    void setLinesPerPage(PageLines lines) { m_nRaderPerSida = lines; }

    // ---- commands ----
    // Runs a command from a menu, key or button; a disabled command does nothing.
    void execute(CommandId id);
    // Opens the company named on the command line; it stays open.
    bool openAtStartUp(const std::string& path);
    // The journal's guidance button of a company without a chart.
    void runChartGuidance();

    // ---- window and form events from the window program ----
    void windowActivated(std::optional<WindowKind> kind);
    // The user closes a window. Closing the company's last window closes the
    // company: asks the save question; false when the user cancels.
    bool mayCloseWindow(WindowKind kind);
    // A window has closed (by the user or the program).
    void windowClosed(WindowKind kind);
    // The user closes a form (close box, Escape); true when it closed.
    bool closeFormByUser(FormModel& form);
    // The main window is about to close: closes the company first; false
    // when the user cancels.
    bool mayQuit();

    // ---- AppServices, for the commands of the subsystems ----
    [[nodiscard]] CTallvingeDoc& document() override;
    [[nodiscard]] Prompter& prompter() override { return m_prompter; }
    [[nodiscard]] const std::string& templateFolder() const override { return m_templates.folder(); }
    [[nodiscard]] TemplateStore& templates() override { return m_templates; }
    [[nodiscard]] ReportSettings& reportSettings() override { return m_reportSettings; }
    void openWindow(WindowKind kind) override;
    void reopenWindow(WindowKind kind) override;
    [[nodiscard]] bool isWindowOpen(WindowKind kind) const override { return m_windows.isOpen(kind); }
    void markVoucherInList(std::size_t row) override;
    void performWindowCommand(CommandId id) override;
    void showForm(std::unique_ptr<FormModel> form) override;
    [[nodiscard]] FormModel* openForm(FormKind kind) override;
    [[nodiscard]] bool isFormOpen(FormKind kind) const override;
    void activateForm(FormModel& form) override; // Vouchers
    bool save() override;
    bool openCompanyFile(const std::string& path) override; // SIE

private:
    void onDocumentUpdated() override;
    void shellChanged() const;
    void registerFileCommands();
    // Runs a command's work; what it throws is told as a failure, never passed on.
    void contained(const std::function<void()>& action);

    // Files.
    void newCompany();
    void openChosenCompany();
    bool openCompanyAt(const std::string& path, bool fromRecentList);
    bool saveAs();
    bool saveTo(const std::string& path);
    // The lock of the company at path, or nothing when another program
    // holds it: then the user has been told who.
    std::optional<CompanyLock> lockFor(const std::string& path);
    bool saveModified();
    bool closeCompany();
    void discardCompany();
    void takeCompany(std::unique_ptr<CTallvingeDoc> doc);
    void askFirstPeriod();

    // Windows and forms.
    void closeWindowByProgram(WindowKind kind);
    void closeForm(FormModel& form);
    void closeAllForms();
    // Asks each open form whether what it holds may go with the company.
    bool formsMayGo();

    Prompter& m_prompter;
    TemplateStore m_templates;
    ReportSettings m_reportSettings; // of the open company; reset when another opens
    WindowHost* m_host = nullptr;
    std::unique_ptr<CTallvingeDoc> m_doc;
    // The lock of the open company's files; none while it has no file or is open read-only.
    std::optional<CompanyLock> m_lock;
    ViewSubscription m_subscription;
    CommandRegistry m_commands;
    WindowRegistry m_windows;
    std::vector<std::unique_ptr<FormModel>> m_forms;
    // Forms that finished while one of their own calls ran: dropped at the
    // next event, once nothing of theirs is on the stack.
    std::vector<std::unique_ptr<FormModel>> m_finishedForms;
    RecentFiles m_recent;
    PageLines m_nRaderPerSida;
};

// The path as saved: the extension ".bok" added when the file name has none.
std::string withCompanyExtension(const std::string& path);

} // namespace kv
