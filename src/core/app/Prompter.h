// The one way the books talk to the user: messages, questions and the modal
// choices that a flow needs. The window program answers with real message
// boxes and dialogs; tests answer from a script and record what was said.
#pragma once

#include <string>

namespace kv {

enum class Answer { Ok, Cancel, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message with an OK button.
    virtual void message(const std::string& text) = 0;
    // A question with OK and Cancel; returns Answer::Ok or Answer::Cancel.
    virtual Answer askOkCancel(const std::string& text) = 0;
    // A question with Yes, No and Cancel (the save question when closing).
    virtual Answer askYesNoCancel(const std::string& text) = 0;
};

} // namespace kv
