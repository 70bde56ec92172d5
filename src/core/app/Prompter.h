// The one way the books talk to the user: messages, questions and the modal
// choices that a flow needs. The window program answers with real message
// boxes and dialogs; tests answer from a script and record what was said.
#pragma once

#include <optional>
#include <string>

namespace kv {

enum class Answer { Ok, Cancel, Yes, No };

// The company file type, as the file dialogs offer it.
inline constexpr const char* kCompanyFileFilter = "Kvistoran fil (*.bok)";
inline constexpr const char* kCompanyFileExtension = ".bok";

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message with an OK button.
    virtual void message(const std::string& text) = 0;
    // A question with OK and Cancel; returns Answer::Ok or Answer::Cancel.
    virtual Answer askOkCancel(const std::string& text) = 0;
    // A question with Yes, No and Cancel (the save question when closing).
    virtual Answer askYesNoCancel(const std::string& text) = 0;

    // The company file to open ("Öppna ett företag..."); nothing on Cancel.
    virtual std::optional<std::string> chooseCompanyToOpen() = 0;
    // Where to save the company ("Spara företaget som"), offering
    // suggestedName; nothing on Cancel. The answer may lack the extension.
    virtual std::optional<std::string> chooseCompanySaveName(const std::string& suggestedName) = 0;
};

} // namespace kv
