// Takes the part of the user in the chart editors and dialogs that a SIE
// file's accounts pass through, who accepts what they show; keeps what they
// said, which explains a refusal.
#pragma once

#include "interaction/UnattendedPrompter.h"

#include <string>
#include <vector>

namespace kv {

class SilentPrompter final : public UnattendedPrompter {
public:
    Answer askOkCancel(const std::string& text, Answer /*byDefault*/ = Answer::Ok) override {
        said.push_back(text);
        return Answer::Ok;
    }
    Answer askYesNoCancel(const std::string& text) override {
        said.push_back(text);
        return Answer::Yes;
    }

    [[nodiscard]] std::string joined() const {
        std::string out;
        for (const std::string& text : said) {
            out += (out.empty() ? "" : " ") + text;
        }
        return out;
    }
};

} // namespace kv
