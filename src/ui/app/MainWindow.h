// The main window: the menus, keys, toolbar and status bar of the program and
// the company's windows inside it. It shows what the application controller
// decides and hands every command to it. Its parts live by concern in
// MainWindow.cpp (the window, its commands and title), MainWindowMenus.cpp,
// MainWindowWindows.cpp, WindowFactory.cpp, MainWindowArrange.cpp,
// MainWindowPrinting.cpp and MainWindowForms.cpp.
#pragma once

#include "app/AppController.h"
#include "interaction/WindowHost.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QToolBar;

namespace kv::ui {

class ChildWindow;
class FormWindow;
class LockIndicators;
class WindowContent;

// Whether company windows open maximised: the user's last choice, kept in the
// settings; at first they do.
[[nodiscard]] bool windowsOpenMaximized();
void setWindowsOpenMaximized(bool maximized);

class MainWindow : public QMainWindow, public WindowHost {
    Q_OBJECT
public:
    explicit MainWindow(AppController& controller, QWidget* parent = nullptr);
    ~MainWindow() override;

    // WindowHost
    void openCompanyWindow(WindowKind kind) override;
    void closeCompanyWindow(WindowKind kind) override;
    void activateCompanyWindow(WindowKind kind) override;
    void markVoucherInList(std::size_t row) override;
    void describe(AppState& state) const override;
    void performWindowCommand(CommandId id) override;
    void shellChanged() override;
    void closeMainWindow() override;
    void openForm(FormModel& form) override;
    void closeForm(FormModel& form) override;
    void activateForm(FormModel& form) override;

    // What shows a form model of a kind: each subsystem with a modeless form
    // registers the widget that shows its model.
    using FormContentFactory = std::function<QWidget*(FormModel& model, AppController& controller)>;
    void registerFormContent(FormKind kind, FormContentFactory factory);
    [[nodiscard]] FormWindow* formWindow(const FormModel& form) const;

    [[nodiscard]] QMdiArea* mdiArea() const { return m_mdi; }
    [[nodiscard]] ChildWindow* window(WindowKind kind) const;
    [[nodiscard]] std::optional<MenuBarId> shownMenuBar() const { return m_menuBarId; }
    [[nodiscard]] QToolBar* toolbar() const { return m_toolbar; }
    [[nodiscard]] QAction* toolbarAction(CommandId id) const;
    // The menu item of a command in the menu bar shown, with its state as
    // the user would see it on opening the menu; null when not there.
    [[nodiscard]] QAction* menuAction(CommandId id);
    // Keeps whether the current company window is maximised, for the windows
    // of the next run; done as a company's windows close and as the program ends.
    void rememberWindowChoice() const;
    // Runs the command once the menu, button or key event that asked for it
    // has returned, so that no widget goes away under its own event.
    void runLater(CommandId id);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenuBar(MenuBarId id);
    [[nodiscard]] const std::vector<QMenu*>& menusOf(MenuBarId id);
    void fillMenu(QMenu* menu, const Menu& definition);
    void addCommandItem(QMenu* menu, CommandId id, const QString& text);
    void addWindowList(QMenu* menu);
    void buildToolbar();
    void buildStatusBar();
    void buildKeys();
    void updateCommandStates();
    void showTitle();
    void storeRecentFilesIfChanged();
    void subWindowActivated(QMdiSubWindow* window);
    // The content of a new company window of a kind (WindowFactory.cpp).
    [[nodiscard]] WindowContent* makeContent(WindowKind kind, CTallvingeDoc& doc);
    [[nodiscard]] WindowContent* activeContent() const;
    [[nodiscard]] QRect cascadedPlace(const ChildWindow& child, int index) const;
    void cascade();
    void tileHorizontally();
    void arrangeIcons();
    void print(bool preview);
    void printerSetup();
    void saveAsPdf();    // Reports
    void exportReport(); // Reports
    void yearArchive();  // The year's archive
    // What shows each subsystem's modeless forms.
    void registerFormContents();

    AppController& m_controller;
    QMdiArea* m_mdi;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_message = nullptr;
    LockIndicators* m_locks = nullptr;
    std::map<CommandId, QAction*> m_toolbarActions;
    std::map<FormKind, FormContentFactory> m_formContents;
    std::optional<MenuBarId> m_menuBarId;
    // Each menu bar's menus, made once and kept while the window lives: a
    // menu may be in the middle of its own event when the bar changes.
    std::map<MenuBarId, std::vector<QMenu*>> m_menuBars;
    // The commands of the numeric keypad's keys, by Qt key.
    std::map<int, CommandId> m_keypadCommands;
    std::unique_ptr<QPrinter> m_printer;
    std::vector<std::string> m_storedRecent;
    bool m_toolbarShown = true;
    bool m_statusBarShown = true;
};

} // namespace kv::ui
