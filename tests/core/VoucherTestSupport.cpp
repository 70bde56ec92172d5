#include "VoucherTestSupport.h"

#include <gtest/gtest.h>

namespace kv::test {

void buildVoucherCompany(CTallvingeDoc& doc) {
    buildSmallCompany(doc);
    std::vector<CAutomoms> rules(54);
    rules[0].m_dMomssats = 25.0;
    rules[0].m_nKreditkonto = 3000;
    rules[0].m_nKreditMomskonto = 2440;
    rules[1].m_dMomssats = 12.0;
    rules[1].m_nDebetkonto = 4000;
    rules[1].m_nDebetMomskonto = 1910;
    doc.setVatRules(std::move(rules));
    doc.savedInFull();
}

bool typeLine(VoucherFormModel& form, std::int32_t row, const TypedLine& line) {
    if (!form.typeCell({row, kColKonto}, line.account) || !form.typeCell({row, kColRadtext}, line.text)) {
        return false;
    }
    if (!line.debit.empty() && !form.typeCell({row, kColDebet}, line.debit)) {
        return false;
    }
    return line.credit.empty() || form.typeCell({row, kColKredit}, line.credit);
}

void typeHead(VoucherFormModel& form, const std::string& day, const std::string& month,
              const std::string& year, const std::string& text) {
    form.setFieldText(VoucherField::TransDay, day);
    form.setFieldText(VoucherField::TransMonth, month);
    form.setFieldText(VoucherField::TransYear, year);
    form.setFieldText(VoucherField::Vertext, text);
}

VoucherFormModel& VoucherDesk::open(std::optional<std::size_t> registered) {
    form.reset();
    VoucherFormSetup setup;
    setup.today = kToday;
    setup.registered = registered;
    form = std::make_unique<VoucherFormModel>(doc, prompter, std::move(setup));
    finished = false;
    form->setCloser([this] { finished = true; });
    if (!registered && form->fieldText(VoucherField::TransDay).empty()) {
        typeHead(*form, "1", "2", "2012", "Verifikat"); // a new period offers no date
    }
    return *form;
}

std::int32_t VoucherDesk::registerRent() {
    VoucherFormModel& voucher = open();
    typeHead(voucher, "5", "3", "2012", "Hyra mars");
    EXPECT_TRUE(typeLine(voucher, 1, {"5010", "Hyra", "1000", ""}));
    EXPECT_TRUE(typeLine(voucher, 2, {"1930", "Hyra", "", "1000"}));
    prompter.answer(Answer::Ok).answer(Answer::Ok);
    EXPECT_TRUE(voucher.ok());
    prompter.said.clear();
    return voucher.registeredNumber().value_or(0);
}

} // namespace kv::test
