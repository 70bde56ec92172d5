// The application: it owns the open company (one at a time), knows which of
// its windows are open, decides when each command is enabled and runs the
// commands' flows. It talks to the user through the prompter and to the
// windows through the window host.
#pragma once

#include "app/AppState.h"
#include "app/CommandId.h"
#include "app/CommandRules.h"
#include "app/Menus.h"
#include "app/RecentFiles.h"
#include "app/WindowRegistry.h"
#include "model/TallvingeDoc.h"

#include <memory>
#include <optional>
#include <string>

namespace kv {

class Prompter;
class WindowHost;

class AppController : private DocumentView {
public:
    explicit AppController(Prompter& prompter);
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;
    ~AppController() override;

    void setHost(WindowHost* host) { m_host = host; }
    // The user, for the windows whose flows ask questions of their own.
    [[nodiscard]] Prompter& prompter() { return m_prompter; }

    // ---- state ----
    [[nodiscard]] bool companyOpen() const { return m_doc != nullptr; }
    // The open company, or nullptr.
    [[nodiscard]] CTallvingeDoc* document() { return m_doc.get(); }
    [[nodiscard]] const CTallvingeDoc* document() const { return m_doc.get(); }
    [[nodiscard]] AppState state() const;
    // The command's state as the user meets it: its rule, and disabled while
    // its flow is still missing from the program.
    [[nodiscard]] CommandState commandState(CommandId id) const;
    [[nodiscard]] MenuBarId menuBar() const { return menuBarFor(state()); }
    [[nodiscard]] const WindowRegistry& windows() const { return m_windows; }
    // The title of the main window: "  Kvistoran", with the company's title.
    [[nodiscard]] std::string mainWindowTitle() const;

    [[nodiscard]] RecentFiles& recentFiles() { return m_recent; }
    [[nodiscard]] const RecentFiles& recentFiles() const { return m_recent; }

    // Listing lines per printed page, settled at start-up.
    [[nodiscard]] int linesPerPage() const { return m_nRaderPerSida; }
    void setLinesPerPage(int lines) { m_nRaderPerSida = lines; }

    // ---- commands ----
    // Runs a command from a menu, key or button; a disabled command does nothing.
    void execute(CommandId id);
    // Opens the company named on the command line; it stays open.
    bool openAtStartUp(const std::string& path);

    // ---- window events from the window program ----
    void windowActivated(std::optional<WindowKind> kind);
    // The user closes a window. Closing the company's last window closes the
    // company: asks the save question; false when the user cancels.
    bool mayCloseWindow(WindowKind kind);
    // A window has closed (by the user or the program).
    void windowClosed(WindowKind kind);
    // The main window is about to close: closes the company first; false
    // when the user cancels.
    bool mayQuit();

private:
    void onDocumentUpdated() override;
    void changed() const;

    // Files.
    void newCompany();
    void openChosenCompany();
    bool openCompanyAt(const std::string& path, bool fromRecentList);
    bool save();
    bool saveAs();
    bool saveTo(const std::string& path);
    bool saveModified();
    bool closeCompany();
    void discardCompany();
    void takeCompany(std::unique_ptr<CTallvingeDoc> doc);

    // Windows.
    void openWindow(WindowKind kind);
    void reopenWindow(WindowKind kind);
    void closeWindowByProgram(WindowKind kind);

    // Commands of the company.
    void newVoucher();
    void findVoucher();
    void showSeveralVouchers();
    void toggleOnlyUsedAccounts();
    bool runCompanyCommand(CommandId id);

    Prompter& m_prompter;
    WindowHost* m_host = nullptr;
    std::unique_ptr<CTallvingeDoc> m_doc;
    WindowRegistry m_windows;
    RecentFiles m_recent;
    std::int32_t m_nRaderPerSida = 20;
};

// True for the commands whose flows the program does not have yet; they stay
// disabled whatever their rule says.
bool commandFlowMissing(CommandId id);

// The path as saved: the extension ".bok" added when the file name has none.
std::string withCompanyExtension(const std::string& path);

} // namespace kv
