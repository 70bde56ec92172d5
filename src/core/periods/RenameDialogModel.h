// The dialog "Byt företagets namn": the company's name now, the new name
// typed, and the checks of its OK button.
#pragma once

#include "interaction/DialogModel.h"
#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"

#include <optional>
#include <string>

namespace kv {

// What the OK button did: the dialog stays open, closes with OK, or closes
// as cancelled because the name is taken in the company's folder.
enum class RenameCheck { StayOpen, Accepted, Taken };

class RenameDialogModel : public DialogModelOf<RenameDialogModel> {
public:
    explicit RenameDialogModel(const CTallvingeDoc& doc);

    [[nodiscard]] const char* title() const;
    [[nodiscard]] std::string dialogTitle() const override { return title(); }
    [[nodiscard]] const char* currentNameLabel() const;
    [[nodiscard]] const char* newNameLabel() const;
    // The stored company file name without its extension.
    [[nodiscard]] const std::string& currentName() const { return m_currentName; }
    [[nodiscard]] const std::string& newName() const { return m_newName; }
    void setNewName(std::string name) { m_newName = std::move(name); }
    // The company's folder, with its trailing separator.
    [[nodiscard]] const std::string& folder() const { return m_folder; }

    // OK: the checks in order, with their messages.
    RenameCheck accept(Prompter& prompter);
    [[nodiscard]] bool accepted() const { return m_accepted; }

private:
    std::string m_currentName;
    std::string m_newName;
    std::string m_folder;
    bool m_accepted = false;
};

// Why a typed company name cannot be used, or nothing when it can: it must
// make a file name in the company's folder and fit the company's files.
std::optional<std::string> companyNameProblem(const std::string& name);

// True when an entry of folder, its extension aside, is called name.
bool nameTakenInFolder(const std::string& folder, const std::string& name);

} // namespace kv
