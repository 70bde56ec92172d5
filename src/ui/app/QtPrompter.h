// Asks the user with message boxes and file dialogs, with Swedish buttons,
// and shows each dialog's model with the Qt dialog registered for its type.
#pragma once

#include "common/DialogViews.h"
#include "interaction/Prompter.h"

#include <QMessageBox>

#include <utility>

class QDialog;
class QWidget;

namespace kv::ui {

// The icon of a message box of a kind.
[[nodiscard]] QMessageBox::Icon messageIcon(MessageKind kind);

class QtPrompter : public Prompter {
public:
    // A prompter for messages and questions only, or one that shows the
    // dialogs with views.
    QtPrompter() = default;
    explicit QtPrompter(DialogViews views) : m_views(std::move(views)) {}

    // Dialogs are centred over parent (may be null until the main window exists).
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const std::string& text) override;
    void say(MessageKind kind, const std::string& text) override;
    Answer askOkCancel(const std::string& text, Answer byDefault = Answer::Ok) override;
    Answer askToProceed(const std::string& text, const std::string& okText,
                        Answer byDefault = Answer::Cancel) override;
    Answer askYesNoCancel(const std::string& text) override;
    std::optional<std::string> chooseCompanyToOpen() override;
    std::optional<std::string> chooseCompanySaveName(const std::string& suggestedName) override;

    // Shows the dialog with its registered view; UnregisteredDialog when
    // the model's type has none.
    Answer show(DialogModel& dialog) override;

    // Periods
    Answer askYesNo(const std::string& text) override;
    // Vouchers
    void information(const std::string& caption, const std::string& text) override;
    // SIE
    std::optional<std::string> chooseSieFileToOpen(const char* title = kSieOpenTitle) override;
    std::optional<std::string> chooseSieSaveName(const std::string& suggestedName) override;
    // Backups
    std::optional<std::string> chooseBackupCopyName(const std::string& suggestedPath) override;
    // Bank statements
    std::optional<std::string> chooseBankFileToOpen() override;
    // The year's archive
    std::optional<std::string> chooseArchiveSaveName(const std::string& suggestedPath) override;

private:
    // Over the dialog that is showing, if any: a message from a dialog belongs to it.
    [[nodiscard]] QWidget* owner() const;

    QWidget* m_parent = nullptr;
    DialogViews m_views;
};

} // namespace kv::ui
