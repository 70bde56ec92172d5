#include "reports/AccountChoiceModel.h"

#include "reports/ReportTexts.h"

#include <cstdio>

namespace kv {

AccountChoiceModel::AccountChoiceModel(const CompanyState& company) : m_title(kValjEttKonto) {
    for (const auto& konto : company.m_allaKonton) {
        if (konto->m_nKontonr > 0) {
            char number[16];
            std::snprintf(number, sizeof number, "%2d", konto->m_nKontonr);
            m_entries.push_back(std::string(number) + "  " + konto->m_strKolumn2);
            m_numbers.push_back(konto->m_nKontonr);
        }
    }
    m_selected = m_entries.empty() ? -1 : 0;
}

void AccountChoiceModel::select(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < m_entries.size()) {
        m_selected = index;
    }
}

bool AccountChoiceModel::selectTyped(const std::string& digits) {
    if (digits.empty()) {
        return false;
    }
    for (std::size_t i = 0; i < m_numbers.size(); ++i) {
        if (std::to_string(m_numbers[i]).starts_with(digits)) {
            m_selected = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

std::optional<std::int32_t> AccountChoiceModel::chosen() const {
    if (m_selected < 0) {
        return std::nullopt;
    }
    const std::string& entry = m_entries[static_cast<std::size_t>(m_selected)];
    const auto start = entry.find_first_not_of(' ');
    return readWholeNumber(entry.substr(start, entry.find(' ', start) - start));
}

} // namespace kv
