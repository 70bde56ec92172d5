// "Ta fram verifikat" with a range: the vouchers the printed journal lists.
#pragma once

#include "interaction/DialogModel.h"

#include <cstdint>
#include <string>

namespace kv {

class Prompter;

class VoucherRangeModel : public DialogModelOf<VoucherRangeModel> {
public:
    enum class Field { From, To };

    explicit VoucherRangeModel(std::int32_t voucherCount) : m_count(voucherCount) {}
    [[nodiscard]] std::string dialogTitle() const override;

    [[nodiscard]] std::int32_t voucherCount() const { return m_count; }
    [[nodiscard]] const std::string& fromText() const { return m_fromText; }
    [[nodiscard]] const std::string& toText() const { return m_toText; }
    void setFromText(std::string text) { m_fromText = std::move(text); }
    void setToText(std::string text) { m_toText = std::move(text); }

    // OK: 1 <= from <= to <= the number of vouchers; otherwise the message,
    // and the field in fault keeps the focus.
    bool accept(Prompter& prompter);
    [[nodiscard]] Field fieldInFault() const { return m_fault; }
    [[nodiscard]] std::int32_t from() const { return m_from; }
    [[nodiscard]] std::int32_t to() const { return m_to; }

private:
    std::int32_t m_count;
    std::string m_fromText = "0";
    std::string m_toText = "0";
    std::int32_t m_from = 0;
    std::int32_t m_to = 0;
    Field m_fault = Field::From;
};

// "Ange ett heltal mellan 1 och 5.": a number field's range check.
[[nodiscard]] std::string wholeNumberRangeMessage(std::int64_t low, std::int64_t high);

} // namespace kv
