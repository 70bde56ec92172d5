#include "periods/PeriodDialogModel.h"

#include "model/DocumentTexts.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace kv {

namespace {

constexpr std::int32_t kFirstYear = 2000;
constexpr std::int32_t kLastYear = 2099;
constexpr std::int64_t kShortPeriodDays = 150; // at most this many days between the first days asks
constexpr std::int64_t kLongPeriodDays = 541;  // at least this many days asks

std::string periodText(const CPeriod& period) {
    return std::to_string(period.m_nFranManad) + "." + std::to_string(period.m_nFranAr) + "  -  " +
           std::to_string(period.m_nTillManad) + "." + std::to_string(period.m_nTillAr);
}

// A year field as the dialog reads it: blanks around a whole number.
std::optional<std::int32_t> readYear(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const auto last = text.find_last_not_of(" \t");
    std::string digits = text.substr(first, last - first + 1);
    if (digits.front() == '+') {
        digits.erase(0, 1);
    }
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const auto year = static_cast<std::int32_t>(std::stol(digits));
    if (year < kFirstYear || year > kLastYear) {
        return std::nullopt;
    }
    return year;
}

std::int32_t compareValue(std::int32_t month, std::int32_t year) {
    return (month + (year % 100) * 100) * 100;
}

} // namespace

std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

PeriodDialogModel::PeriodDialogModel(const CTallvingeDoc& doc, PeriodDialogMode mode,
                                     std::int32_t suggestedYear)
    : m_mode(mode) {
    if (mode == PeriodDialogMode::FirstPeriod) {
        if (suggestedYear > 0) {
            m_startYear = m_endYear = std::to_string(suggestedYear);
        }
        return;
    }
    listLastPeriods(doc);
    m_latestVoucher = doc.latestVoucherDate(m_latestVoucherNumber);
    if (doc.state().m_perioder.empty()) {
        return;
    }
    const CPeriod& last = doc.state().m_perioder.back();
    // The 15th of the last end month plus 30 days always falls in the month after it.
    const YearMonth start = mode == PeriodDialogMode::EndDate
                                ? YearMonth{last.m_nFranAr, last.m_nFranManad}
                                : YearMonth{last.m_nTillAr, last.m_nTillManad}.plusMonths(1);
    m_startMonth = start.month;
    m_startYear = std::to_string(start.year);
    m_endYear = mode == PeriodDialogMode::EndDate ? std::to_string(last.m_nTillAr) : m_startYear;
    m_startEnabled = false;
}

void PeriodDialogModel::listLastPeriods(const CTallvingeDoc& doc) {
    const bool endDate = m_mode == PeriodDialogMode::EndDate;
    const std::size_t count = doc.state().m_perioder.size();
    if (count >= 2) {
        m_periodLines.push_back(periodText(doc.state().m_perioder[count - 2]) +
                                (endDate ? " ( låst slutdatum )" : "  ( perioden låses för ändringar )"));
    }
    if (count >= 1) {
        m_periodLines.push_back(
            periodText(doc.state().m_perioder[count - 1]) +
            (endDate ? " ( slutdatum som kan ändras )" : "  ( periodens slutdatum låses )"));
    }
}

const char* PeriodDialogModel::title() const {
    switch (m_mode) {
    case PeriodDialogMode::FirstPeriod:
        return kFirstPeriodTitle;
    case PeriodDialogMode::EndDate:
        return kEndDateTitle;
    case PeriodDialogMode::NewPeriod:
        break;
    }
    return kPeriodDialogTitle;
}

void PeriodDialogModel::setStartMonth(std::int32_t month) {
    if (m_startEnabled) {
        m_startMonth = std::clamp(month, 1, 12);
    }
}

void PeriodDialogModel::setEndMonth(std::int32_t month) {
    m_endMonth = std::clamp(month, 1, 12);
}

void PeriodDialogModel::setStartYearText(std::string year) {
    if (m_startEnabled) {
        m_startYear = std::move(year);
    }
}

void PeriodDialogModel::setEndYearText(std::string year) {
    m_endYear = std::move(year);
}

bool PeriodDialogModel::accept(Prompter& prompter) {
    m_accepted = false;
    const auto startYear = readYear(m_startYear);
    const auto endYear = startYear ? readYear(m_endYear) : std::nullopt;
    if (!startYear || !endYear) {
        prompter.message(kMsgYearRange);
        return false;
    }
    if (*startYear < kFirstYear + 1 || *startYear > kLastYear - 1) {
        prompter.message(kMsgFelaktigtBegynnelsear);
        return false;
    }
    const std::int64_t days =
        daysFromCivil(*endYear, m_endMonth, 1) - daysFromCivil(*startYear, m_startMonth, 1);
    if (days <= kShortPeriodDays && prompter.askOkCancel(kMsgKortare6) != Answer::Ok) {
        return false;
    }
    if (m_mode != PeriodDialogMode::FirstPeriod && m_latestVoucher > YearMonth{*endYear, m_endMonth}) {
        prompter.message(voucherAfterEndMessage(m_latestVoucherNumber));
        return false;
    }
    if (days >= kLongPeriodDays && prompter.askOkCancel(kMsgLangre18) != Answer::Ok) {
        return false;
    }
    if (compareValue(m_startMonth, *startYear) >= compareValue(m_endMonth, *endYear)) {
        prompter.message(kMsgSlutdatumMindre);
        return false;
    }
    m_choice = {m_startMonth, *startYear, m_endMonth, *endYear};
    m_accepted = true;
    return true;
}

} // namespace kv
