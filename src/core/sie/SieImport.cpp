#include "sie/SieImport.h"

#include "chart/ChartEditorModel.h"
#include "chart/ChartTemplates.h"
#include "chart/UserTemplates.h"
#include "sie/SieChartPlacement.h"
#include "sie/SieFigures.h"
#include "sie/SieSilentPrompter.h"
#include "storage/CompanyFiles.h"
#include "storage/TemplateStore.h"
#include "voucher/VatRulesModel.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace kv {

namespace {

// The first and last years a period of the program may have, as the period dialog allows them.
constexpr std::int32_t kFirstStartYear = 2001;
constexpr std::int32_t kLastStartYear = 2098;
constexpr std::int32_t kLastEndYear = 2099;

const char* encodingName(SieEncoding encoding) {
    switch (encoding) {
    case SieEncoding::Pc8:
        return "PC8 (teckentabell 437)";
    case SieEncoding::Windows1252:
        return "Windows-1252";
    case SieEncoding::Utf8:
        break;
    }
    return "UTF-8";
}

} // namespace

std::string sieEncodingText(const SieBooks& books) {
    std::string text = encodingName(books.encoding);
    const bool claimsPc8 = books.format.empty() || books.format == "PC8";
    if (books.encoding != SieEncoding::Pc8 && claimsPc8) {
        text += " (filen anger PC8)";
    }
    return text;
}

SieVoucherMaker::SieVoucherMaker(const CompanyState& company) {
    for (const auto& konto : company.m_allaKonton) {
        m_names.try_emplace(konto->m_nKontonr, konto->m_strKolumn2);
    }
    // The rate the voucher dialog shows in its VAT column: the last rule naming the account.
    for (const CAutomoms& rule : company.m_momsregler) {
        for (const std::int32_t account : {rule.m_nDebetkonto, rule.m_nKreditkonto}) {
            if (account > 0) {
                m_rates[account] = rule.m_dMomssats;
            }
        }
    }
}

CEttVerifikat SieVoucherMaker::make(const SieVoucher& voucher) const {
    std::vector<CVerifikatrad> lines;
    lines.reserve(voucher.transactions.size());
    for (const SieTransaction& transaction : voucher.transactions) {
        CVerifikatrad line;
        line.m_nKonto = transaction.account;
        if (const auto name = m_names.find(transaction.account); name != m_names.end()) {
            line.m_strKontonamn = name->second;
        }
        line.m_strRadtext = transaction.text;
        if (transaction.amount >= 0) {
            line.m_dDebet = toKronor(transaction.amount);
        } else {
            line.m_dKredit = toKronor(-transaction.amount);
        }
        if (const auto rate = m_rates.find(transaction.account); rate != m_rates.end()) {
            line.m_dMoms = rate->second;
        }
        lines.push_back(std::move(line));
    }
    CEttVerifikat made =
        makeVoucher(voucher.date.day, voucher.date.month, voucher.date.year, voucher.text, std::move(lines));
    if (voucher.registered) {
        made.m_nBokfDag = voucher.registered->day;
        made.m_nBokfManad = voucher.registered->month;
        made.m_nBokfAr = voucher.registered->year;
    }
    return made;
}

namespace {

// The years a period may have, as the message about them says.
std::string periodYearsText() {
    return "perioder som börjar " + std::to_string(kFirstStartYear) + "–" + std::to_string(kLastStartYear) +
           " och slutar senast " + std::to_string(kLastEndYear);
}

// The year must be whole months that the program can keep as one period.
PeriodChoice periodOf(const SieYear& year) {
    const std::string range = displaySieDate(year.first) + " – " + displaySieDate(year.last);
    if (year.first.day != 1 || year.last.day != daysInMonth(year.last.year, year.last.month)) {
        throw SieReadError(year.line, "Räkenskapsåret " + range +
                                          " börjar eller slutar inte vid ett månadsskifte; programmet bokför "
                                          "perioder av hela månader.");
    }
    if (year.first.year < kFirstStartYear || year.first.year > kLastStartYear ||
        year.last.year > kLastEndYear) {
        throw SieReadError(year.line, "Räkenskapsåret " + range +
                                          " ligger utanför de år som programmet bokför (" +
                                          periodYearsText() + ").");
    }
    if (YearMonth{year.last.year, year.last.month} <= YearMonth{year.first.year, year.first.month}) {
        throw SieReadError(year.line, "Räkenskapsåret " + range +
                                          " är kortare än två månader; programmets "
                                          "perioder slutar en senare månad än de börjar.");
    }
    return {year.first.month, year.first.year, year.last.month, year.last.year};
}

class CompanyBuilder {
public:
    CompanyBuilder(const SieBooks& books, const SieImportRequest& request)
        : m_books(books), m_request(request), m_templates(request.templateFolder),
          m_doc(std::make_unique<CTallvingeDoc>()) {}

    SieImportResult build() {
        const PeriodChoice period = m_books.year ? periodOf(*m_books.year) : periodOfVouchers();
        m_doc->firstPeriodAsked();
        m_doc->addFirstPeriod(period);
        chooseTemplate();
        buildCharts();
        approveVatRules();
        writeOpeningBalances();
        registerVouchers();
        summarise();
        m_doc->markUnsaved();
        return {std::move(m_doc), std::move(m_summary)};
    }

private:
    // A transaction file names no financial year: the period is the whole
    // months from the first voucher to the last.
    PeriodChoice periodOfVouchers() {
        if (m_books.vouchers.empty()) {
            throw SieReadError(0,
                               "Filen har varken räkenskapsår (#RAR 0) eller verifikat som perioden kan tas "
                               "ur.");
        }
        SieDate first = m_books.vouchers.front().date;
        SieDate last = first;
        for (const SieVoucher& voucher : m_books.vouchers) {
            first = std::min(first, voucher.date);
            last = std::max(last, voucher.date);
        }
        const std::string span = displaySieDate(first) + " – " + displaySieDate(last);
        YearMonth to{last.year, last.month};
        const YearMonth from{first.year, first.month};
        std::string note = "Filen anger inget räkenskapsår (#RAR 0): perioden är verifikatens månader, " +
                           std::to_string(from.month) + "." + std::to_string(from.year) + " – ";
        if (!(from < to)) {
            // A period ends a later month than it starts.
            to = to.month == 12 ? YearMonth{to.year + 1, 1} : YearMonth{to.year, to.month + 1};
            note =
                "Filen anger inget räkenskapsår (#RAR 0) och verifikaten ligger i en enda månad: perioden är "
                "den månaden och nästa, " +
                std::to_string(from.month) + "." + std::to_string(from.year) + " – ";
        }
        if (from.year < kFirstStartYear || from.year > kLastStartYear || to.year > kLastEndYear) {
            throw SieReadError(0, "Verifikatens datum " + span +
                                      " ligger utanför de år som programmet bokför (" + periodYearsText() +
                                      ").");
        }
        m_summary.notes.push_back(note + std::to_string(to.month) + "." + std::to_string(to.year) + ".");
        m_summary.period = std::to_string(from.month) + "." + std::to_string(from.year) + " – " +
                           std::to_string(to.month) + "." + std::to_string(to.year);
        return {from.month, from.year, to.month, to.year};
    }

    void chooseTemplate() {
        const FileReport read = m_templates.read();
        const bool userTemplate = m_templates.find(m_request.templateName) != nullptr;
        if (!userTemplate && !isBuiltInTemplateName(m_request.templateName)) {
            std::string message =
                "Mallen \"" + m_request.templateName + "\" finns inte bland kontoplanmallarna.";
            if (m_templates.fileUnreadable() && read.messages.size() > 1) {
                message += " " + read.messages.back();
            }
            throw SieReadError(0, message);
        }
        kv::chooseTemplate(*m_doc, m_templates, m_request.templateName);
    }

    // Both charts as the editors show the template, with the file's missing
    // accounts put in, approved as the user would approve them.
    void buildCharts() {
        const CKontoplan* userTemplate = chosenUserTemplate(*m_doc, m_templates);
        ChartEditorModel balance(*m_doc, m_prompter, ChartKind::Balance, userTemplate);
        balance.open();
        ChartEditorModel income(*m_doc, m_prompter, ChartKind::Income, userTemplate);
        income.open();
        std::unordered_set<std::int32_t> known;
        for (const ChartEditorModel* editor : {&balance, &income}) {
            const auto numbers = gridAccountNumbers(*editor);
            known.insert(numbers.begin(), numbers.end());
        }
        std::vector<SieMissingAccount> missing;
        for (const SieAccount& account : m_books.accounts) {
            if (known.insert(account.number).second) {
                missing.push_back({account.number, account.name, account.type, account.line});
            }
        }
        // Accounts the file uses without a #KONTO are added too, named by their number.
        for (const auto& [number, line] : accountsUsed()) {
            if (known.insert(number).second) {
                missing.push_back({number, std::string(), 0, line});
            }
        }
        placeMissing(balance, missing, {ChartSide::Assets, ChartSide::Liabilities});
        approve(balance);
        placeMissing(income, missing, {ChartSide::Income});
        approve(income);
    }

    // Every account a balance or a voucher line names, with the first line naming it.
    [[nodiscard]] std::vector<std::pair<std::int32_t, std::size_t>> accountsUsed() const {
        std::vector<std::pair<std::int32_t, std::size_t>> used;
        std::unordered_set<std::int32_t> seen;
        const auto use = [&](std::int32_t account, std::size_t line) {
            if (seen.insert(account).second) {
                used.emplace_back(account, line);
            }
        };
        for (const auto* balances : {&m_books.opening, &m_books.closing, &m_books.results}) {
            for (const SieBalance& balance : *balances) {
                use(balance.account, balance.line);
            }
        }
        for (const SieVoucher& voucher : m_books.vouchers) {
            for (const SieTransaction& transaction : voucher.transactions) {
                use(transaction.account, transaction.line);
            }
        }
        return used;
    }

    void placeMissing(ChartEditorModel& editor, const std::vector<SieMissingAccount>& missing,
                      std::initializer_list<ChartSide> sides) {
        const std::vector<SieAddedAccount> added = kv::placeAccounts(editor, missing, sides);
        m_summary.added.insert(m_summary.added.end(), added.begin(), added.end());
    }

    void approve(ChartEditorModel& editor) {
        const std::size_t mark = m_prompter.said.size();
        if (!editor.approve()) {
            const std::vector<std::string> said(m_prompter.said.begin() + static_cast<std::ptrdiff_t>(mark),
                                                m_prompter.said.end());
            std::string why;
            for (const std::string& text : said) {
                why += (why.empty() ? "" : " ") + text;
            }
            throw SieReadError(0, std::string(editor.title()) +
                                      " kunde inte godkännas med filens konton: " + why);
        }
    }

    void approveVatRules() {
        VatRulesModel rules(*m_doc, m_prompter);
        if (!rules.open()) {
            rules.approve();
        }
        if (m_doc->state().m_momsregler.empty()) {
            throw SieReadError(0, "Mallens momsregler kunde inte godkännas: " + m_prompter.joined());
        }
    }

    // Whether the account's balance is computed, not booked: then the file may
    // give it nothing but zero.
    void refuseOnComputedAccount(std::int32_t account, Ore amount, std::size_t line, const char* what) const {
        if (amount != 0 && m_hasResultAccount && account == m_resultAccount) {
            throw SieReadError(line, "Konto " + std::to_string(account) +
                                         " är resultatkontot i mallens kontoplan: dess saldo räknas fram ur "
                                         "resultaträkningen, så det kan inte ha " +
                                         what + ". Välj en mall med ett annat resultatkonto.");
        }
    }

    void writeOpeningBalances() {
        m_hasResultAccount = m_doc->resultAccountNumber(m_resultAccount);
        std::vector<OpeningBalance> balances;
        for (const SieBalance& balance : m_books.opening) {
            refuseOnComputedAccount(balance.account, balance.amount, balance.line, "någon ingående balans");
            if (m_hasResultAccount && balance.account == m_resultAccount) {
                continue;
            }
            if (!m_doc->inBalNummer(balance.account)) {
                if (balance.amount == 0) {
                    continue;
                }
                throw SieReadError(balance.line,
                                   "Konto " + std::to_string(balance.account) +
                                       " hör till resultaträkningen och kan inte ha någon ingående "
                                       "balans.");
            }
            balances.push_back({balance.account, balance.amount});
            m_summary.openingSum = addOre(m_summary.openingSum, balance.amount);
        }
        m_doc->addOpeningBalances(balances);
        m_summary.openingBalances = balances.size();
    }

    void registerVouchers() {
        const SieVoucherMaker maker(m_doc->state());
        std::vector<std::int32_t> numbers;
        numbers.reserve(m_books.vouchers.size());
        for (const SieVoucher& voucher : m_books.vouchers) {
            for (const SieTransaction& transaction : voucher.transactions) {
                refuseOnComputedAccount(transaction.account, transaction.amount, transaction.line,
                                        "några verifikatrader");
                Ore& side = transaction.amount >= 0 ? m_summary.debit : m_summary.credit;
                side = addOre(side, transaction.amount >= 0 ? transaction.amount : -transaction.amount);
            }
            m_summary.transactions += voucher.transactions.size();
            try {
                numbers.push_back(m_doc->registerVoucher(maker.make(voucher)));
            } catch (const DocumentRefusal& refusal) {
                throw SieReadError(voucher.line, refusal.what());
            }
        }
        m_summary.vouchers = m_books.vouchers.size();
        // Saved with the company into its database.
        m_doc->recordSieImport(sieImportRecord(m_books, m_request.fileName, m_doc->state().m_nAktuellPeriod,
                                               numbers, m_request.clock(), true));
    }

    // The file's closing balances and results against the books as built.
    void checkBalances() {
        std::unordered_map<std::int32_t, SieAccountFigures> figures;
        for (const SieAccountFigures& account : sieAccountFigures(*m_doc)) {
            figures.emplace(account.konto->m_nKontonr, account);
        }
        const auto balanceOf = [&figures](std::int32_t number, bool result) {
            const auto found = figures.find(number);
            if (found == figures.end()) {
                return Ore{0};
            }
            const std::optional<Ore>& first = result ? found->second.result : found->second.closing;
            const std::optional<Ore>& second = result ? found->second.closing : found->second.result;
            return first.value_or(second.value_or(0));
        };
        const auto check = [&](const std::vector<SieBalance>& balances, const char* label, bool result) {
            for (const SieBalance& balance : balances) {
                const Ore imported = balanceOf(balance.account, result);
                ++m_summary.balancesChecked;
                if (imported != balance.amount) {
                    m_summary.mismatches.push_back(
                        {label, balance.account, balance.amount, imported, balance.line});
                }
            }
        };
        check(m_books.closing, "#UB", false);
        check(m_books.results, "#RES", true);
        // A file that states its closing figures states them all: an account
        // with vouchers and no #UB or #RES line ends the year at zero.
        if (m_books.closing.empty() && m_books.results.empty()) {
            return;
        }
        std::unordered_set<std::int32_t> stated;
        for (const auto* balances : {&m_books.closing, &m_books.results}) {
            for (const SieBalance& balance : *balances) {
                stated.insert(balance.account);
            }
        }
        for (const auto& [account, line] : accountsUsed()) {
            if (stated.count(account) != 0 || (m_hasResultAccount && account == m_resultAccount)) {
                continue;
            }
            const bool result = !m_doc->inBalNummer(account);
            const Ore imported = balanceOf(account, result);
            ++m_summary.balancesChecked;
            if (imported != 0) {
                m_summary.mismatches.push_back({result ? "#RES" : "#UB", account, 0, imported, 0});
            }
        }
    }

    void summarise() {
        checkBalances();
        std::sort(m_summary.added.begin(), m_summary.added.end(),
                  [](const SieAddedAccount& a, const SieAddedAccount& b) { return a.number < b.number; });
        m_summary.fileName = m_request.fileName;
        m_summary.companyName = m_books.companyName;
        m_summary.program = m_books.program;
        m_summary.encoding = sieEncodingText(m_books);
        if (m_books.year) {
            m_summary.period =
                displaySieDate(m_books.year->first) + " – " + displaySieDate(m_books.year->last);
        }
        m_summary.allowDifference = m_request.allowDifference;
        m_summary.templateName = m_request.templateName;
        m_summary.accountsInFile = m_books.accounts.size();
        if (m_summary.openingSum != 0) {
            m_summary.notes.push_back("De ingående balanserna summerar till " +
                                      formatOre(m_summary.openingSum) +
                                      ", inte 0.00: balansräkningen går inte jämnt ut.");
        }
        if (!m_books.checksumVerified) {
            m_summary.notes.push_back(
                "Filen har ingen kontrollsumma (#KSUMMA); den kunde inte kontrolleras mot "
                "skador.");
        }
        if (m_books.replacedCharacters > 0) {
            m_summary.notes.push_back(std::to_string(m_books.replacedCharacters) +
                                      " tecken kan inte lagras i företagets filer och ersattes med närmaste "
                                      "bokstav eller \"?\".");
        }
        if (renumbered()) {
            m_summary.notes.push_back(
                "Verifikaten numreras 1, 2, … i filens ordning; filens serier och nummer "
                "följer inte med.");
        }
        for (const SieLeftOut& account : m_books.unusableAccounts) {
            m_summary.notes.push_back(account.what + " (rad " + std::to_string(account.line) +
                                      ") har inget kontonummer och används inte; den lämnas utan avseende.");
        }
        for (const SieLeftOut& voucher : m_books.emptyVouchers) {
            m_summary.notes.push_back("Filens " + voucher.what + " (rad " + std::to_string(voucher.line) +
                                      ") har inga rader och följer inte med.");
        }
        if (!m_books.zeroLedAccounts.empty()) {
            std::string numbers;
            for (const std::int32_t number : m_books.zeroLedAccounts) {
                numbers += (numbers.empty() ? "" : ", ") + std::to_string(number);
            }
            m_summary.notes.push_back("Kontonummer med inledande nollor läses som sina tal: " + numbers +
                                      ".");
        }
        if (m_books.previousYear) {
            m_summary.notes.push_back(
                "Föregående räkenskapsår (#RAR -1) följer inte med; företaget börjar med "
                "filens räkenskapsår som första period.");
        }
    }

    // True when the file's vouchers were not already series "A" (or none) numbered 1, 2, ….
    [[nodiscard]] bool renumbered() const {
        for (std::size_t i = 0; i < m_books.vouchers.size(); ++i) {
            const SieVoucher& voucher = m_books.vouchers[i];
            const bool sameSeries = voucher.series.empty() || voucher.series == "A";
            if (!sameSeries || (!voucher.number.empty() && voucher.number != std::to_string(i + 1))) {
                return true;
            }
        }
        return false;
    }

    const SieBooks& m_books;
    const SieImportRequest& m_request;
    TemplateStore m_templates; // the user's, read afresh for this company
    std::unique_ptr<CTallvingeDoc> m_doc;
    SilentPrompter m_prompter;
    SieImportSummary m_summary;
    std::int32_t m_resultAccount = 0;
    bool m_hasResultAccount = false;
};

} // namespace

SieImportResult buildSieCompany(const SieBooks& books, const SieImportRequest& request) {
    try {
        return CompanyBuilder(books, request).build();
    } catch (const DocumentRefusal& refusal) {
        throw SieReadError(0, refusal.what());
    }
}

std::string importTimeText(const LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return text;
}

SieImportRecord sieImportRecord(const SieBooks& books, const std::string& fileName, std::int32_t period,
                                const std::vector<std::int32_t>& numbersHere, const LocalTime& now,
                                bool newCompany) {
    SieImportRecord record{fileName, books.sha256, importTimeText(now), period, newCompany, {}};
    record.vouchers.reserve(books.vouchers.size());
    for (std::size_t k = 0; k < books.vouchers.size() && k < numbersHere.size(); ++k) {
        const SieVoucher& voucher = books.vouchers[k];
        ImportedVoucher row{voucher.series, voucher.number, displaySieDate(voucher.date), 0, 0,
                            numbersHere[k]};
        for (const SieTransaction& transaction : voucher.transactions) {
            Ore& side = transaction.amount >= 0 ? row.debit : row.credit;
            side = addOre(side, transaction.amount >= 0 ? transaction.amount : -transaction.amount);
        }
        record.vouchers.push_back(std::move(row));
    }
    return record;
}

} // namespace kv
