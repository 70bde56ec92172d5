// A prompter that answers from a script and records everything it was told,
// so that a test reads like a user at work: ask -> answer Cancel -> check.
#pragma once

#include "interaction/DialogRegistry.h"
#include "interaction/Prompter.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A question the test did not script is a failure of the test, in the core
// tests' framework or in the window tests'.
#ifdef KVISTORAN_QTEST
#include <QTest>
#define KV_UNSCRIPTED(what) QTest::qFail(("not scripted: " + std::string(what)).c_str(), __FILE__, __LINE__)
#else
#include <gtest/gtest.h>
#define KV_UNSCRIPTED(what) ADD_FAILURE() << "not scripted: " << (what)
#endif

namespace kv::test {

class ScriptedPrompter : public Prompter {
public:
    // Answers for the questions, in the order they are asked.
    ScriptedPrompter& answer(Answer next) {
        m_answers.push_back(next);
        return *this;
    }
    // Answers for the file choices, in order; nothing stands for Cancel.
    ScriptedPrompter& chooseFile(std::optional<std::string> path) {
        m_files.push_back(std::move(path));
        return *this;
    }
    // What the user does in the dialogs of a model type: works on the model
    // and closes the dialog, with Answer::Ok after the model accepted. A new
    // script replaces the type's old one, and nullptr takes it away. A dialog that
    // the test did not script fails the test (and is closed without OK).
    template <typename Model> ScriptedPrompter& on(std::function<Answer(Model&)> user) {
        m_users.remove<Model>();
        if (user) {
            m_users.add<Model>(std::move(user));
        }
        return *this;
    }

    void message(const std::string& text) override { say(MessageKind::Refusal, text); }
    void say(MessageKind kind, const std::string& text) override {
        said.push_back(text);
        kindOf[text] = kind;
    }
    Answer askOkCancel(const std::string& text, Answer byDefault = Answer::Ok) override {
        defaultOf[text] = byDefault;
        return ask(text, Answer::Ok);
    }
    // A question whose OK button says what it does: the button's text is kept in buttonOf.
    Answer askToProceed(const std::string& text, const std::string& okText,
                        Answer byDefault = Answer::Cancel) override {
        defaultOf[text] = byDefault;
        buttonOf[text] = okText;
        return ask(text, Answer::Ok);
    }
    Answer askYesNoCancel(const std::string& text) override { return ask(text, Answer::Yes); }
    std::optional<std::string> chooseCompanyToOpen() override { return choose("<öppna>"); }
    std::optional<std::string> chooseCompanySaveName(const std::string& suggestedName) override {
        return choose("<spara som " + suggestedName + ">");
    }

    // Each dialog runs what the test scripted for its model type (on<Model>).
    Answer show(DialogModel& dialog) override {
        dialogs.push_back(dialog.dialogTitle());
        if (!m_users.has(dialog)) {
            ++unscripted;
            KV_UNSCRIPTED(dialogs.back());
            return Answer::Cancel;
        }
        return m_users.show(dialog);
    }
    // Periods: Yes/No questions take the scripted answers.
    Answer askYesNo(const std::string& text) override { return ask(text, Answer::Yes); }
    // Vouchers: the caption goes to captions, the text to said.
    void information(const std::string& caption, const std::string& text) override {
        captions.push_back(caption);
        said.push_back(text);
    }
    // SIE: the file choices appear as "<importera SIE>" and "<exportera SIE NAME>".
    std::optional<std::string> chooseSieFileToOpen(const char* title = kSieOpenTitle) override {
        return choose(std::string(title) == kSieOpenTitle ? "<importera SIE>" : "<läs in SIE>");
    }
    std::optional<std::string> chooseSieSaveName(const std::string& suggestedName) override {
        return choose("<exportera SIE " + suggestedName + ">");
    }
    // Backups: the copy's name is a file choice, "<spara kopia som PATH>".
    std::optional<std::string> chooseBackupCopyName(const std::string& suggestedPath) override {
        return choose("<spara kopia som " + suggestedPath + ">");
    }

    // Bank statements: the statement file is a file choice, "<läs in kontoutdrag>".
    std::optional<std::string> chooseBankFileToOpen() override { return choose("<läs in kontoutdrag>"); }
    // The year's archive: the zip's name is a file choice, "<spara årsarkiv som PATH>".
    std::optional<std::string> chooseArchiveSaveName(const std::string& suggestedPath) override {
        return choose("<spara årsarkiv som " + suggestedPath + ">");
    }

    // Everything said or asked, in order; file choices appear as "<öppna>"
    // and "<spara som NAME>".
    std::vector<std::string> said;
    // The titles of the dialogs shown, in order.
    std::vector<std::string> dialogs;
    // Vouchers: the captions of the information messages, in order.
    std::vector<std::string> captions;
    // What each message said was (its icon).
    std::map<std::string, MessageKind> kindOf;
    // The answer that Return gives, per OK/Cancel question asked.
    std::map<std::string, Answer> defaultOf;
    // The OK button's own text, per question that names it.
    std::map<std::string, std::string> buttonOf;
    // Questions and dialogs met without a scripted answer; each also failed the test.
    int unscripted = 0;

private:
    Answer ask(const std::string& text, Answer fallback) {
        said.push_back(text);
        if (m_answers.empty()) {
            ++unscripted;
            KV_UNSCRIPTED(text);
            return fallback;
        }
        const Answer next = m_answers.front();
        m_answers.pop_front();
        return next;
    }

    std::optional<std::string> choose(const std::string& what) {
        said.push_back(what);
        if (m_files.empty()) {
            ++unscripted;
            KV_UNSCRIPTED(what);
            return std::nullopt;
        }
        auto next = m_files.front();
        m_files.pop_front();
        return next;
    }

    std::deque<Answer> m_answers;
    std::deque<std::optional<std::string>> m_files;
    DialogRegistry<> m_users;
};

} // namespace kv::test
