#include "BudgetCommand.h"

#include "CliCompany.h"
#include "CliMessages.h"

#include "budget/Budget.h"
#include "reports/ReportText.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "voucher/VoucherNumbers.h"

#include <iostream>
#include <stdexcept>

namespace kv::cli {

const char* const kBudgetHelp =
    R"(Budget:
  kvistoran-cli budget FÖRETAG.bok [--set KONTO=BELOPP ...]
                [--copy-outcome | --copy-budget | --next-from-outcome]
                [--change PROCENT]
      Visar budgeten för företagets öppna period: årsbeloppet och varje
      månad per konto, så som resultaträkningen visar kontot (intäkter
      positiva, kostnader negativa). --set sätter kontots årsbelopp och
      fördelar det jämnt på periodens månader (belopp skrivs som i
      verifikatdialogen, t.ex. 120000 eller -1500,50); --set kan ges flera
      gånger. --copy-outcome fyller resultaträkningens konton med
      föregående periods utfall, --copy-budget med föregående periods
      budget, båda ändrade med --change PROCENT och avrundade till hela
      kronor (en budget som kopieras oförändrad behåller sina ören).
      --next-from-outcome gör budgeten för perioden efter den öppna av den
      öppna periodens utfall. Budgeten sparas i företagets databas
      (FÖRETAG.kvdb); företags- och periodfilerna ändras inte.
)";

namespace {

class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Copy { None, Outcome, Budget, NextFromOutcome };

struct Request {
    std::string company;
    std::vector<std::pair<std::int32_t, Ore>> sets;
    Copy copy = Copy::None;
    double percent = 0.0;
    bool changeGiven = false;
};

std::pair<std::int32_t, Ore> readSet(const std::string& text) {
    const auto equals = text.find('=');
    const std::string account = text.substr(0, equals);
    if (equals == std::string::npos || account.empty() || account.size() > 9 || !isWholeNumberText(account) ||
        std::stoi(account) <= 0) {
        throw Refusal("--set skrivs KONTO=BELOPP, t.ex. 3010=120000: " + text);
    }
    const TypedBudgetAmount amount = readBudgetAmount(text.substr(equals + 1));
    if (!amount.amount) {
        throw Refusal(amount.refusal + ": " + text);
    }
    return {std::stoi(account), *amount.amount};
}

void chooseCopy(Request& request, Copy copy) {
    if (request.copy != Copy::None) {
        throw Refusal("välj en av --copy-outcome, --copy-budget och --next-from-outcome");
    }
    request.copy = copy;
}

Request readRequest(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        throw Refusal("budget behöver en företagsfil; se kvistoran-cli --help");
    }
    Request request;
    request.company = args[1];
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw Refusal(option + " saknar sitt värde; se kvistoran-cli --help");
            }
            return args[++i];
        };
        if (option == "--set") {
            request.sets.push_back(readSet(value()));
            // Further KONTO=BELOPP after one --set count too.
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
                request.sets.push_back(readSet(args[++i]));
            }
        } else if (option == "--copy-outcome") {
            chooseCopy(request, Copy::Outcome);
        } else if (option == "--copy-budget") {
            chooseCopy(request, Copy::Budget);
        } else if (option == "--next-from-outcome") {
            chooseCopy(request, Copy::NextFromOutcome);
        } else if (option == "--change") {
            const std::string& text = value();
            const std::optional<double> percent = readPercentChange(text);
            if (!percent) {
                throw Refusal(std::string(kMsgBudgetProcent) + ": " + text);
            }
            request.percent = *percent;
            request.changeGiven = true;
        } else {
            throw Refusal("okänt val: " + option + "; se kvistoran-cli --help");
        }
    }
    if (request.changeGiven && request.copy == Copy::None) {
        throw Refusal("--change gäller --copy-outcome, --copy-budget och --next-from-outcome");
    }
    if (!request.sets.empty() && request.copy != Copy::None) {
        throw Refusal("--set och kopieringen görs var för sig");
    }
    return request;
}

std::string monthTitle(YearMonth month) {
    return std::to_string(month.month) + "." + std::to_string(month.year);
}

// The budget as a table: account, name, year, the months.
std::string budgetText(const PeriodBudget& budget, bool saved) {
    ReportForm form;
    form.columns = {"Konto", "Namn", "År"};
    for (std::int32_t i = 0; i < budget.monthCount; ++i) {
        form.columns.push_back(monthTitle(budget.month(i)));
    }
    std::int32_t y = 0;
    const auto note = [&](const std::string& text) {
        form.lines.push_back({y, {{text, -1, 0, TextAlign::Left, std::nullopt, false}}});
        y += 16;
    };
    note(std::string(kBudgetTitle) + "  " + monthTitle(budget.first) + " - " +
         monthTitle(budget.month(budget.monthCount - 1)));
    if (!saved) {
        note(kMsgIngenBudget);
    }
    FormLine titles{y, {}};
    for (std::size_t c = 0; c < form.columns.size(); ++c) {
        titles.cells.push_back({form.columns[c], static_cast<std::int32_t>(c), 0,
                                c < 2 ? TextAlign::Left : TextAlign::Right, std::nullopt, false});
    }
    form.lines.push_back(std::move(titles));
    y += 16;
    for (const BudgetLine& line : budget.lines) {
        FormLine shown{y, {}};
        shown.cells.push_back({std::to_string(line.account), 0, 0, TextAlign::Left, std::nullopt, false});
        shown.cells.push_back({line.removed ? line.name + " (" + kBorttagetKonto + ")" : line.name, 1, 0,
                               TextAlign::Left, std::nullopt, false});
        shown.cells.push_back({formatOre(line.year()), 2, 0, TextAlign::Right, std::nullopt, false});
        for (std::size_t m = 0; m < line.months.size(); ++m) {
            shown.cells.push_back({formatOre(line.months[m]), static_cast<std::int32_t>(m + 3), 0,
                                   TextAlign::Right, std::nullopt, false});
        }
        form.lines.push_back(std::move(shown));
        y += 16;
    }
    return formAsText(form);
}

// Where the budget's accounts are: in the charts, by number.
void checkAccounts(const CTallvingeDoc& doc, const Request& request) {
    for (const auto& [account, amount] : request.sets) {
        if (!doc.hasAccount(account)) {
            throw Refusal("kontot " + std::to_string(account) + " finns inte i kontoplanen");
        }
    }
}

std::string accountName(const CompanyState& company, std::int32_t account) {
    for (const auto* list : {&company.m_resKonton, &company.m_balKonton}) {
        for (const CKonto* konto : *list) {
            if (konto->m_nKontonr == account) {
                return konto->m_strKolumn2;
            }
        }
    }
    return {};
}

int run(const Request& request) {
    std::optional<CompanyLock> lock;
    if (!prepareCompany(request.company, "budget", !request.sets.empty() || request.copy != Copy::None,
                        lock)) {
        return 1;
    }
    CTallvingeDoc doc;
    const FileReport opened = openCompany(doc, fullPath(request.company));
    if (!opened.ok) {
        std::string line;
        for (const std::string& message : opened.messages) {
            line += (line.empty() ? "" : ": ") + message;
        }
        throw Refusal(line);
    }
    if (!doc.hasOpenPeriod()) {
        throw Refusal(kMsgBudgetIngenPeriod);
    }
    const CompanyState& company = doc.state();
    const std::int32_t period = company.m_nAktuellPeriod;
    std::optional<PeriodBudget> saved = loadBudget(doc, period);
    if (request.sets.empty() && request.copy == Copy::None) {
        std::cout << budgetText(saved.value_or(emptyBudget(doc, period)), saved.has_value());
        return 0;
    }
    checkAccounts(doc, request);
    PeriodBudget budget = saved.value_or(emptyBudget(doc, period));
    switch (request.copy) {
    case Copy::None:
        for (const auto& [account, amount] : request.sets) {
            PeriodBudget one = emptyBudget(doc, period);
            one.lines.push_back(
                {account, accountName(company, account), evenSpread(amount, one.monthCount), true});
            fillFromBudget(budget, {account}, one, 0.0);
        }
        break;
    case Copy::Outcome: {
        const std::optional<PreviousPeriod> previous = loadPreviousPeriod(doc);
        if (!previous) {
            throw Refusal(kMsgBudgetIngenForegaende);
        }
        fillFromOutcome(budget, incomeAccounts(company), previous->outcome, previous->first,
                        static_cast<std::int32_t>(previous->last.key() - previous->first.key() + 1),
                        request.percent);
        break;
    }
    case Copy::Budget: {
        const std::optional<PeriodBudget> previous = period > 0 ? loadBudget(doc, period - 1) : std::nullopt;
        if (!previous) {
            throw Refusal(period > 0 ? kMsgBudgetIngenForegaendeBudget : kMsgBudgetIngenForegaende);
        }
        fillFromBudget(budget, incomeAccounts(company), *previous, request.percent);
        break;
    }
    case Copy::NextFromOutcome:
        budget = nextBudgetFromOutcome(doc, request.percent);
        break;
    }
    saveBudget(doc, budget, localTimeNow);
    const std::optional<PeriodBudget> written = loadBudget(doc, budget.period);
    std::cout << budgetText(written.value_or(budget), true);
    return 0;
}

} // namespace

std::optional<int> runBudgetCommand(const std::vector<std::string>& args) {
    if (args.empty() || args[0] != "budget") {
        return std::nullopt;
    }
    try {
        return run(readRequest(args));
    } catch (const Refusal& refusal) {
        return failWith(refusal.what());
    } catch (const BudgetRefusal& refusal) {
        return failWith(refusal.what());
    } catch (const DatabaseError& error) {
        return failWith(error.what());
    }
}

} // namespace kv::cli
