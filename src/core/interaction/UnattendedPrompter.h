// A prompter that nobody sits at: the command-line tool, a flow run with every
// default taken, a benchmark. It keeps what the user would have been told,
// answers every question with OK or Yes, chooses no file and closes every
// dialog without OK. A use that must answer otherwise overrides that call,
// or registers how it answers a kind of dialog in `answers`.
#pragma once

#include "interaction/DialogRegistry.h"
#include "interaction/Prompter.h"

#include <string>
#include <vector>

namespace kv {

class UnattendedPrompter : public Prompter {
public:
    void message(const std::string& text) override { said.push_back(text); }
    void information(const std::string&, const std::string& text) override { said.push_back(text); }
    Answer askOkCancel(const std::string&, Answer /*byDefault*/ = Answer::Ok) override { return Answer::Ok; }
    Answer askYesNoCancel(const std::string&) override { return Answer::Yes; }
    Answer askYesNo(const std::string&) override { return Answer::Yes; }
    std::optional<std::string> chooseCompanyToOpen() override { return std::nullopt; }
    std::optional<std::string> chooseCompanySaveName(const std::string&) override { return std::nullopt; }

    // A dialog with a registered answer runs it; every other one is closed
    // without OK, since nobody is there to work it.
    Answer show(DialogModel& dialog) override {
        return answers.has(dialog) ? answers.show(dialog) : Answer::Cancel;
    }
    std::optional<std::string> chooseSieFileToOpen(const char* /*title*/ = kSieOpenTitle) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseSieSaveName(const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseBackupCopyName(const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseBankFileToOpen() override { return std::nullopt; }
    std::optional<std::string> chooseArchiveSaveName(const std::string&) override { return std::nullopt; }

    // Everything the user would have been told, in order.
    std::vector<std::string> said;

protected:
    // How this user works the dialogs it does not just close.
    DialogRegistry<> answers;
};

} // namespace kv
