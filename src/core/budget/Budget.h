// The budget of a period: the user's plan per account and month, kept in the
// company's database (never in the company or period files). Amounts are in
// öre and stand as the statements show the account: on the income chart
// income positive and costs negative, as the income statement shows them; on
// the balance chart the debit balance. The month range of a report and the
// copy actions work on these months.
#pragma once

#include "model/TallvingeDoc.h"
#include "storage/LocalClock.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kBudgetTitle = "Budget";
inline constexpr const char* kBorttagetKonto = "borttaget konto";
inline constexpr const char* kMsgIngenBudget = "Ingen budget finns för perioden.";
inline constexpr const char* kMsgBudgetEjSparatForetag =
    "Företaget har inte sparats ännu. Spara företaget först: budgeten sparas i företagets databas bredvid "
    "företagsfilen.";
inline constexpr const char* kMsgBudgetIngenPeriod = "Företaget har ingen period att budgetera.";
inline constexpr const char* kMsgBudgetIngenForegaende =
    "Det finns ingen föregående period att kopiera från.";
inline constexpr const char* kMsgBudgetIngenForegaendeBudget = "Föregående period har ingen budget.";
inline constexpr const char* kMsgBudgetGeEttSiffervarde = "Ge ett siffervärde, t.ex. 12000 eller -1500,50";
inline constexpr const char* kMsgBudgetStorstaTal = "Största möjliga tal är 999 999 999";
inline constexpr const char* kMsgBudgetProcent =
    "Ändringen ges i procent, t.ex. 3 eller -2,5 (mellan -100 och 1000)";

// A budget that cannot be made, read or saved as asked; what() is the message.
class BudgetRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One account's budget.
struct BudgetLine {
    std::int32_t account = 0;
    std::string name;
    std::vector<Ore> months;  // one per month of the period, first month first
    bool spreadEvenly = true; // the months are the year amount spread evenly
    bool removed = false;     // the chart has no such account any more: "borttaget konto"

    [[nodiscard]] Ore year() const;
    bool operator==(const BudgetLine&) const = default;
};

// The budget of one period: its months and the budgeted accounts in chart order.
struct PeriodBudget {
    std::int32_t period = 0; // the period's place in the company's list, 0 for the first
    YearMonth first;         // the period's first month
    std::int32_t monthCount = 0;
    std::vector<BudgetLine> lines;

    [[nodiscard]] const BudgetLine* line(std::int32_t account) const;
    [[nodiscard]] BudgetLine* line(std::int32_t account);
    // The budget of an account over a run of months (inclusive); 0 when none.
    [[nodiscard]] Ore amount(std::int32_t account, YearMonth from, YearMonth to) const;
    // The month at position index (0 for the first).
    [[nodiscard]] YearMonth month(std::int32_t index) const { return first.plusMonths(index); }
    bool operator==(const PeriodBudget&) const = default;
};

// The year amount spread over count months in whole öre: each month gets the
// year divided evenly, and the öre left over go one each to the first months,
// so that the months add up to the year exactly.
[[nodiscard]] std::vector<Ore> evenSpread(Ore year, std::int32_t count);

// A typed budget amount, read as the voucher dialog reads amounts (a comma or
// a point, a minus sign in front, at most 999 999 999), rounded to the öre.
// An empty text is 0; an amount as the program shows it ("12 000.00") reads
// as typed. The refusal is the message for the user.
struct TypedBudgetAmount {
    std::optional<Ore> amount;
    std::string refusal;
};
[[nodiscard]] TypedBudgetAmount readBudgetAmount(const std::string& text);
// A typed amount without the blanks between digits that the program's own
// amounts carry ("12 000.00", "- 200.00"), so that an amount shown reads back
// as it was.
[[nodiscard]] std::string typedBudgetText(const std::string& text);
// A typed percentage change ("3", "-2,5"); empty is 0. Refuses outside -100 to 1000.
[[nodiscard]] std::optional<double> readPercentChange(const std::string& text);

// An amount changed by percent and rounded to whole kronor (halves away from
// zero): a budget made from figures is planned in kronor, not in öre.
[[nodiscard]] Ore changedToWholeKronor(Ore amount, double percent);

// The months of period index of the company: first month and count.
// Throws BudgetRefusal when the company has no such period.
[[nodiscard]] PeriodBudget emptyBudget(const CTallvingeDoc& doc, std::int32_t period);
// The months of the period after the open one: the next period of the list,
// or, while the open period is the last, one as long as the open one that
// follows it.
[[nodiscard]] PeriodBudget emptyNextBudget(const CTallvingeDoc& doc);

// The budget of period index as saved in the company's database, laid on the
// period's months (a month outside them is dropped, a month without a saved
// amount is 0) with each account checked against the company's charts
// (removed accounts marked); nothing when no budget was saved for it or the
// company was never saved. Throws DatabaseError when the database cannot be
// used.
[[nodiscard]] std::optional<PeriodBudget> loadBudget(const CTallvingeDoc& doc, std::int32_t period);

// Writes the budget straight into the company's database in a transaction of
// its own (the company files are not touched): it replaces the period's
// budget, with the removed accounts left out. Refused with BudgetRefusal
// while the company has never been saved; DatabaseError when the database
// cannot be used (nothing is written then).
void saveBudget(const CTallvingeDoc& doc, const PeriodBudget& budget, const LocalClock& clock);

// The outcome of each account in a company state, by month: the posted rows
// as the statements show them (income chart: credit minus debit; balance
// chart: debit minus credit, opening balances left out).
struct AccountOutcome {
    std::int32_t account = 0;
    std::string name;
    bool income = true;
    std::vector<std::pair<YearMonth, Ore>> months; // in month order, only months with rows
    [[nodiscard]] Ore over(YearMonth from, YearMonth to) const;
    [[nodiscard]] Ore total() const;
};
[[nodiscard]] std::vector<AccountOutcome> outcomeOf(const CompanyState& company);

// The previous period as its file holds it; nothing for the first period.
// Throws BudgetRefusal with the file's message when it cannot be read.
struct PreviousPeriod {
    YearMonth first;
    YearMonth last;
    std::vector<AccountOutcome> outcome;
};
[[nodiscard]] std::optional<PreviousPeriod> loadPreviousPeriod(const CTallvingeDoc& doc);

// The accounts' budgets filled from an outcome (of outcomeMonths months from
// outcomeFirst), each amount changed by percent and rounded to whole kronor.
// When both periods are equally long each month is taken by its place in the
// period, so the year's profile stays; else the year amount is changed and
// spread evenly. An account without outcome gets 0; other accounts stay.
void fillFromOutcome(PeriodBudget& target, const std::vector<std::int32_t>& accounts,
                     const std::vector<AccountOutcome>& outcome, YearMonth outcomeFirst,
                     std::int32_t outcomeMonths, double percent);
// The same from another budget; at 0 percent the amounts are copied to the
// öre, and an evenly spread account stays evenly spread.
void fillFromBudget(PeriodBudget& target, const std::vector<std::int32_t>& accounts,
                    const PeriodBudget& source, double percent);
// The accounts of the income chart, in chart order.
[[nodiscard]] std::vector<std::int32_t> incomeAccounts(const CompanyState& company);

// "Ny budget från årets utfall": the budget of the period after the open one
// from the open period's outcome of the income chart, changed by percent.
[[nodiscard]] PeriodBudget nextBudgetFromOutcome(const CTallvingeDoc& doc, double percent);

} // namespace kv
