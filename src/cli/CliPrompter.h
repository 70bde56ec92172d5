// The user of the command-line tool: every message is kept to be written on
// standard error, every question is answered as the command's options say,
// and no dialog is shown.
#pragma once

#include "interaction/UnattendedPrompter.h"

#include <functional>
#include <string>

namespace kv::cli {

class CliPrompter final : public UnattendedPrompter {
public:
    // answer: the reply to each OK/Cancel question, by its text.
    explicit CliPrompter(std::function<Answer(const std::string&)> answer) : m_answer(std::move(answer)) {}

    Answer askOkCancel(const std::string& text, Answer /*byDefault*/ = Answer::Ok) override {
        return m_answer(text);
    }
    Answer askYesNoCancel(const std::string&) override { return Answer::Cancel; }

private:
    std::function<Answer(const std::string&)> m_answer;
};

} // namespace kv::cli
