// "Månadsbokslut (en eller flera månader)": the choice of a run of months of
// the open period that the reports show, and the rule it is kept by.
#pragma once

#include "interaction/DialogModel.h"
#include "model/TallvingeDoc.h"

#include <optional>
#include <string>
#include <vector>

namespace kv {

class Prompter;

// The months of a choice: a range, or the whole period (nothing). A range
// equal to the whole period is the whole period; a first month after the
// last is refused with the dialog's message.
struct MonthRangeChoice {
    std::optional<MonthRange> range;
    std::optional<std::string> refusal;
};
[[nodiscard]] MonthRangeChoice chooseMonths(const CTallvingeDoc& doc, YearMonth from, YearMonth to);

class MonthRangeModel : public DialogModelOf<MonthRangeModel> {
public:
    explicit MonthRangeModel(const CTallvingeDoc& doc);

    [[nodiscard]] std::string title() const;
    [[nodiscard]] std::string dialogTitle() const override { return title(); }
    // The list under "Börja med månad" and the one under "Sluta med månad".
    [[nodiscard]] const std::vector<std::string>& firstMonths() const { return m_firstMonths; }
    [[nodiscard]] const std::vector<std::string>& lastMonths() const { return m_lastMonths; }
    [[nodiscard]] bool lastMonthsEnabled() const { return m_lastEnabled; }
    [[nodiscard]] int firstChoice() const { return m_firstIndex; }
    [[nodiscard]] int lastChoice() const { return m_lastIndex; }
    // The two read-only fields under "Period".
    [[nodiscard]] const std::string& fromText() const { return m_fromText; }
    [[nodiscard]] const std::string& toText() const { return m_toText; }
    [[nodiscard]] bool wholePeriod() const { return m_wholePeriod; }

    void chooseFirstMonth(int index);
    void chooseLastMonth(int index);
    void setWholePeriod(bool whole);
    // OK: refused, with the message, when the first month is after the last.
    bool accept(Prompter& prompter);
    // What OK chose: a range, or the whole period.
    [[nodiscard]] std::optional<MonthRange> result() const { return m_result; }

    // "2012   januari", as the fields show a month.
    [[nodiscard]] static std::string fieldText(YearMonth month);

private:
    void fillLastMonths();

    const CTallvingeDoc& m_doc;
    YearMonth m_start;
    YearMonth m_end;
    YearMonth m_from;
    YearMonth m_to;
    int m_firstIndex = -1;
    int m_lastIndex = -1;
    bool m_lastEnabled = false;
    bool m_wholePeriod = false;
    std::vector<std::string> m_firstMonths;
    std::vector<std::string> m_lastMonths;
    std::string m_fromText;
    std::string m_toText;
    std::optional<MonthRange> m_result;
};

// The command "Månadsbokslut...": the dialog, then the range it chose; the
// report windows redraw whatever the answer.
void runMonthRange(CTallvingeDoc& doc, Prompter& prompter);

} // namespace kv
