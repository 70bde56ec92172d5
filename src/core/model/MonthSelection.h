// Which posted rows a report counts: all, those of a run of months, or those
// from the period start through the run's last month. A value, handed to
// each computation; the document's own month range is one such value.
#pragma once

#include "model/Amount.h"
#include "model/Records.h"
#include "model/YearMonth.h"

namespace kv {

enum class RangeRule { WholePeriod, SubPeriod, Cumulative };

struct MonthSelection {
    RangeRule rule = RangeRule::WholePeriod;
    YearMonth from;
    YearMonth to;

    // A row is judged by its month and year only.
    [[nodiscard]] bool selects(const CKontorad& rad) const {
        if (rule == RangeRule::WholePeriod) {
            return true;
        }
        const YearMonth when{rad.m_nAr, rad.m_nManad};
        return when <= to && (rule == RangeRule::Cumulative || from <= when);
    }
    bool operator==(const MonthSelection&) const = default;
};

// Debit minus credit, in öre, over the rows the months select.
inline Ore balanceOf(const CKonto& konto, const MonthSelection& months) {
    Ore sum = 0;
    for (const CKontorad& rad : konto.m_rader) {
        if (months.selects(rad)) {
            sum = addOre(sum, addOre(toOre(rad.m_dDebet), -toOre(rad.m_dKredit)));
        }
    }
    return sum;
}

} // namespace kv
