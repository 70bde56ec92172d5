// The period dialog "Ny period", shared by the first period of a new
// company, "Skapa ny period" and the change of the last period's end date:
// what it shows when it opens and the checks of its OK button.
#pragma once

#include "interaction/DialogModel.h"
#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

enum class PeriodDialogMode { FirstPeriod, NewPeriod, EndDate };

inline constexpr std::array<const char*, 12> kMonthNames{"januari",   "februari", "mars",     "april",
                                                         "maj",       "juni",     "juli",     "augusti",
                                                         "september", "oktober",  "november", "december"};
inline constexpr const char* kPeriodDialogTitle = "Ny period";
inline constexpr const char* kFirstPeriodTitle = "Ange det nya företagets första period";
inline constexpr const char* kEndDateTitle = "Ändra slutdatum för den sista perioden";
inline constexpr const char* kYearFieldLabel = "År (4 siffror)";
inline constexpr const char* kPeriodStartLabel = "Från och med";
inline constexpr const char* kPeriodEndLabel = "Till och med";
inline constexpr const char* kLastPeriodsLabel = "De senaste perioderna";
inline constexpr const char* kMsgYearRange = "Ange årtalet som ett heltal mellan 2000 och 2099.";
inline constexpr const char* kMsgFelaktigtBegynnelsear = "Felaktigt begynnelseår";
inline constexpr const char* kMsgKortare6 =
    "Perioden är kortare än 6 månader !  Klicka  OK om du ändå vill fortsätta.";
inline constexpr const char* kMsgLangre18 =
    "Perioden är längre än 18 månader !  Klicka  OK om du ändå vill fortsätta.";

class PeriodDialogModel : public DialogModelOf<PeriodDialogModel> {
public:
    // Opens the dialog over the company's periods. In first-period mode the
    // year fields start with suggestedYear when it is given (0: empty).
    PeriodDialogModel(const CTallvingeDoc& doc, PeriodDialogMode mode, std::int32_t suggestedYear = 0);

    [[nodiscard]] PeriodDialogMode mode() const { return m_mode; }
    [[nodiscard]] const char* title() const;
    [[nodiscard]] std::string dialogTitle() const override { return title(); }
    [[nodiscard]] bool cancelEnabled() const { return m_mode != PeriodDialogMode::FirstPeriod; }
    [[nodiscard]] bool startEnabled() const { return m_startEnabled; }
    // The last two periods, oldest first, with what happens to each.
    [[nodiscard]] const std::vector<std::string>& periodLines() const { return m_periodLines; }

    // Months are 1 to 12 (the position in the month list plus 1); years are
    // what the user typed into the year fields.
    [[nodiscard]] std::int32_t startMonth() const { return m_startMonth; }
    [[nodiscard]] std::int32_t endMonth() const { return m_endMonth; }
    [[nodiscard]] const std::string& startYearText() const { return m_startYear; }
    [[nodiscard]] const std::string& endYearText() const { return m_endYear; }
    void setStartMonth(std::int32_t month);
    void setEndMonth(std::int32_t month);
    void setStartYearText(std::string year);
    void setEndYearText(std::string year);

    // OK: the checks in order, with their messages and questions. True when
    // the dialog closes with OK; choice() then holds the period.
    bool accept(Prompter& prompter);
    [[nodiscard]] bool accepted() const { return m_accepted; }
    [[nodiscard]] const PeriodChoice& choice() const { return m_choice; }

private:
    void listLastPeriods(const CTallvingeDoc& doc);

    PeriodDialogMode m_mode;
    bool m_startEnabled = true;
    std::int32_t m_startMonth = 1;
    std::int32_t m_endMonth = 12;
    std::string m_startYear;
    std::string m_endYear;
    std::vector<std::string> m_periodLines;
    // The latest voucher of the open period, for the end-date check.
    YearMonth m_latestVoucher;
    std::int32_t m_latestVoucherNumber = 0;
    bool m_accepted = false;
    PeriodChoice m_choice;
};

// Days from 1 January 1970 to the given day (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day);

} // namespace kv
