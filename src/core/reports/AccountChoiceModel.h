// "Välj ett konto": the account the ledger shows (or, under its own title,
// the VAT settlement account). The user picks it from the list, or types its number.
#pragma once

#include "interaction/DialogModel.h"
#include "model/TallvingeDoc.h"

#include <optional>
#include <string>
#include <vector>

namespace kv {

class AccountChoiceModel : public DialogModelOf<AccountChoiceModel> {
public:
    explicit AccountChoiceModel(const CompanyState& company);

    [[nodiscard]] const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    [[nodiscard]] std::string dialogTitle() const override { return title(); }

    // "1050  Bank": the number by "%2d", two blanks and the name.
    [[nodiscard]] const std::vector<std::string>& entries() const { return m_entries; }
    [[nodiscard]] int selected() const { return m_selected; }
    void select(int index);
    // Typed digits select the first account whose number starts with them;
    // returns false when none does (the selection stays).
    bool selectTyped(const std::string& digits);
    // The number of the selected entry: its text up to the first blank.
    [[nodiscard]] std::optional<std::int32_t> chosen() const;

private:
    std::string m_title;
    std::vector<std::string> m_entries;
    std::vector<std::int32_t> m_numbers;
    int m_selected = -1;
};

} // namespace kv
