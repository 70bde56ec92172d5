#include "reports/MonthRangeModel.h"

#include "interaction/Prompter.h"
#include "reports/ReportTexts.h"

#include <array>

namespace kv {

namespace {

constexpr std::array<const char*, 12> kMonthNames = {"januari",   "februari", "mars",     "april",
                                                     "maj",       "juni",     "juli",     "augusti",
                                                     "september", "oktober",  "november", "december"};

const char* monthName(const YearMonth& month) {
    return month.month >= 1 && month.month <= 12 ? kMonthNames[static_cast<std::size_t>(month.month - 1)]
                                                 : "";
}

// One entry per month from first through last, "2012  januari".
std::vector<std::string> monthList(YearMonth first, YearMonth last) {
    std::vector<std::string> list;
    for (YearMonth month = first; month <= last && list.size() < 1200; month = month.plusMonths(1)) {
        list.push_back(std::to_string(month.year) + "  " + monthName(month));
    }
    return list;
}

} // namespace

MonthRangeChoice chooseMonths(const CTallvingeDoc& doc, YearMonth from, YearMonth to) {
    const YearMonth start = doc.periodStart();
    const YearMonth end = doc.periodEnd();
    if (from < start || from > end || to < start || to > end) {
        return {std::nullopt, "Månaderna måste ligga inom perioden " + doc.periodLabel() + "."};
    }
    if (from > to) {
        return {std::nullopt, std::string(kSlutdatumetFel)};
    }
    if (from == start && to == end) {
        return {};
    }
    return {MonthRange{from, to}, std::nullopt};
}

std::string MonthRangeModel::fieldText(YearMonth month) {
    return std::to_string(month.year) + "   " + monthName(month);
}

MonthRangeModel::MonthRangeModel(const CTallvingeDoc& doc)
    : m_doc(doc), m_start(doc.periodStart()), m_end(doc.periodEnd()), m_from(m_start), m_to(m_end),
      m_firstMonths(monthList(m_start, m_end)), m_fromText(fieldText(m_start)), m_toText(fieldText(m_end)) {}

std::string MonthRangeModel::title() const {
    return kManadsbokslutTitle + m_doc.periodLabel();
}

void MonthRangeModel::fillLastMonths() {
    m_lastEnabled = true;
    m_lastMonths = monthList(m_from, m_end);
    m_lastIndex = -1;
}

void MonthRangeModel::chooseFirstMonth(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_firstMonths.size()) {
        return;
    }
    m_firstIndex = index;
    m_from = m_start.plusMonths(index);
    if (!m_wholePeriod) {
        m_fromText = fieldText(m_from);
    }
    fillLastMonths(); // the last month chosen stays as it was
}

void MonthRangeModel::chooseLastMonth(int index) {
    if (!m_lastEnabled || index < 0 || static_cast<std::size_t>(index) >= m_lastMonths.size()) {
        return;
    }
    m_lastIndex = index;
    m_to = m_from.plusMonths(index);
    m_toText = fieldText(m_to);
}

void MonthRangeModel::setWholePeriod(bool whole) {
    m_wholePeriod = whole;
    if (whole) {
        m_from = m_start;
        m_fromText = fieldText(m_from);
        return;
    }
    m_from = m_start.plusMonths(std::max(m_firstIndex, 0));
    m_toText = fieldText(m_to);
    fillLastMonths();
}

bool MonthRangeModel::accept(Prompter& prompter) {
    if (m_wholePeriod) {
        m_result = std::nullopt;
        return true;
    }
    m_from = m_start.plusMonths(std::max(m_firstIndex, 0));
    const MonthRangeChoice choice = chooseMonths(m_doc, m_from, m_to);
    if (choice.refusal) {
        prompter.message(*choice.refusal);
        return false;
    }
    m_result = choice.range;
    return true;
}

void runMonthRange(CTallvingeDoc& doc, Prompter& prompter) {
    if (!doc.hasOpenPeriod()) {
        return;
    }
    MonthRangeModel model(doc);
    if (prompter.show(model) == Answer::Ok) {
        doc.setMonthRange(model.result());
    } else {
        doc.updateAllViews();
    }
}

} // namespace kv
