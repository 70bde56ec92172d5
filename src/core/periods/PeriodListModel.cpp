#include "periods/PeriodListModel.h"

#include "periods/PeriodTexts.h"

namespace kv {

namespace {

// Months below 10 get a leading zero; years are written as they are.
std::string twoDigits(std::int32_t month) {
    return (month >= 0 && month < 10 ? "0" : "") + std::to_string(month);
}

} // namespace

std::string periodListEntry(const CPeriod& period, bool locked) {
    return twoDigits(period.m_nFranManad) + "." + std::to_string(period.m_nFranAr) + "  -  " +
           twoDigits(period.m_nTillManad) + "." + std::to_string(period.m_nTillAr) +
           (locked ? kLockedPeriodSuffix : "");
}

PeriodListModel::PeriodListModel(const CTallvingeDoc& doc) {
    const auto& periods = doc.state().m_perioder;
    const auto count = static_cast<std::int64_t>(periods.size());
    for (std::int64_t i = 0; i < count; ++i) {
        // Only the last two periods take vouchers.
        m_entries.push_back(periodListEntry(periods[static_cast<std::size_t>(i)], i < count - 2));
    }
    m_selected = static_cast<std::int32_t>(m_entries.size()) - 1;
}

const char* PeriodListModel::title() const {
    return kPeriodListTitle;
}

const char* PeriodListModel::label() const {
    return kPeriodListLabel;
}

void PeriodListModel::select(std::int32_t position) {
    if (position >= 0 && static_cast<std::size_t>(position) < m_entries.size()) {
        m_selected = position;
    }
}

bool PeriodListModel::accept() {
    m_accepted = m_selected >= 0;
    return m_accepted;
}

} // namespace kv
