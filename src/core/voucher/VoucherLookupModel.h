// The lookup dialog "Ta fram verifikat" of the voucher list: one voucher
// number, which must be one of the period's vouchers.
#pragma once

#include "interaction/DialogModel.h"

#include <cstddef>
#include <optional>
#include <string>

namespace kv {

class Prompter;

class VoucherLookupModel : public DialogModelOf<VoucherLookupModel> {
public:
    explicit VoucherLookupModel(std::size_t voucherCount) : m_count(voucherCount) {}
    [[nodiscard]] std::string dialogTitle() const override;

    [[nodiscard]] const std::string& numberText() const { return m_text; }
    void setNumberText(std::string text) { m_text = std::move(text); }
    [[nodiscard]] std::size_t voucherCount() const { return m_count; }

    // "Ta fram verifikatet": true when the number is one of the vouchers;
    // otherwise the user is told the numbers there are and the field stays.
    bool accept(Prompter& prompter);
    // The list's line of the voucher chosen, once accepted.
    [[nodiscard]] std::optional<std::size_t> chosenRow() const { return m_chosen; }

private:
    std::size_t m_count;
    std::string m_text;
    std::optional<std::size_t> m_chosen;
};

// The message of a number outside 1 to count.
std::string lookupRangeMessage(std::size_t count);

} // namespace kv
