#include "sie/SieAddVouchers.h"

#include "chart/ChartEditorModel.h"
#include "model/YearMonth.h"
#include "sie/SieImport.h"
#include "sie/SieSilentPrompter.h"
#include "storage/CompanyDatabase.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace kv {

namespace {

// A voucher as the books would hold it: its date and its lines' accounts
// and amounts, in order of account and amount. The same key for the same
// voucher read twice, whatever it was numbered.
std::string bookedKey(std::int32_t year, std::int32_t month, std::int32_t day,
                      std::vector<std::pair<std::int32_t, Ore>> lines) {
    std::sort(lines.begin(), lines.end());
    std::string key = std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day);
    for (const auto& [account, amount] : lines) {
        key += "|" + std::to_string(account) + ":" + std::to_string(amount);
    }
    return key;
}

std::string bookedKey(const CEttVerifikat& voucher) {
    std::vector<std::pair<std::int32_t, Ore>> lines;
    for (const CVerifikatrad& line : voucher.m_rader) {
        if (line.m_nKonto != 0) {
            lines.emplace_back(line.m_nKonto, addOre(toOre(line.m_dDebet), -toOre(line.m_dKredit)));
        }
    }
    return bookedKey(voucher.m_nTransAr, voucher.m_nTransManad, voucher.m_nTransDag, std::move(lines));
}

std::string bookedKey(const SieVoucher& voucher) {
    std::vector<std::pair<std::int32_t, Ore>> lines;
    for (const SieTransaction& transaction : voucher.transactions) {
        lines.emplace_back(transaction.account, transaction.amount);
    }
    return bookedKey(voucher.date.year, voucher.date.month, voucher.date.day, std::move(lines));
}

std::string lineText(std::size_t line) {
    return "rad " + std::to_string(line);
}

// The accounts the file's vouchers use that the chart lacks, named from the file's #KONTO.
std::vector<SieMissingAccount> missingAccounts(const CTallvingeDoc& doc, const SieBooks& books) {
    std::unordered_map<std::int32_t, const SieAccount*> named;
    for (const SieAccount& account : books.accounts) {
        named.emplace(account.number, &account);
    }
    std::vector<SieMissingAccount> missing;
    std::unordered_set<std::int32_t> seen;
    for (const SieVoucher& voucher : books.vouchers) {
        for (const SieTransaction& transaction : voucher.transactions) {
            if (doc.accountIndex(transaction.account) >= 0 || !seen.insert(transaction.account).second) {
                continue;
            }
            const auto found = named.find(transaction.account);
            missing.push_back({transaction.account,
                               found != named.end() ? found->second->name : std::string(),
                               found != named.end() ? found->second->type : char{0}, transaction.line});
        }
    }
    return missing;
}

// Puts the missing accounts into both charts and approves them; the
// editors' check box of only used accounts is the company's again after.
std::vector<SieAddedAccount> putInCharts(CTallvingeDoc& doc, const std::vector<SieMissingAccount>& missing,
                                         bool approve) {
    if (missing.empty()) {
        return {};
    }
    const bool onlyUsed = doc.state().m_nEndastAnvanda == 1;
    SilentPrompter quiet;
    std::vector<SieAddedAccount> added;
    for (const ChartKind kind : {ChartKind::Balance, ChartKind::Income}) {
        ChartEditorModel editor(doc, quiet, kind);
        editor.open();
        const std::vector<SieAddedAccount> placed =
            kind == ChartKind::Balance
                ? placeAccounts(editor, missing, {ChartSide::Assets, ChartSide::Liabilities})
                : placeAccounts(editor, missing, {ChartSide::Income});
        added.insert(added.end(), placed.begin(), placed.end());
        if (approve && !placed.empty() && !editor.approve()) {
            throw DocumentRefusal(std::string(editor.title()) +
                                  " kunde inte godkännas med filens konton: " + quiet.joined());
        }
    }
    doc.setOnlyUsedAccounts(onlyUsed);
    return added;
}

// A voucher of the open period as the import log knows it: the file and the
// time it was read in from.
struct LoggedVoucher {
    const SieImportRecord* file = nullptr;
    const ImportedVoucher* voucher = nullptr;
    bool saved = true;
};

// The import log of the open period, saved and not yet saved.
class ImportLog {
public:
    // Reads the company's database, if it has one; a database that cannot be
    // read is a refusal, since the addition could not be saved to it.
    ImportLog(const CTallvingeDoc& doc, std::vector<std::string>& refusals) {
        const std::int32_t period = doc.state().m_nAktuellPeriod;
        if (!doc.pathName().empty()) {
            try {
                m_saved = readSieImports(doc.pathName(), period);
            } catch (const DatabaseError& error) {
                refusals.push_back(error.what());
            }
        }
        for (const SieImportRecord& record : m_saved) {
            add(record, true);
        }
        for (const SieImportRecord& record : doc.pendingRecords().imports) {
            if (record.period == period) {
                add(record, false);
            }
        }
    }

    // How the voucher numbered here came in, when the log knows it.
    [[nodiscard]] std::optional<LoggedVoucher> find(const CEttVerifikat& booked) const {
        const auto found = m_byNumber.find(booked.m_nVernr);
        if (found == m_byNumber.end()) {
            return std::nullopt;
        }
        // The date must agree too: the number may since have gone to another voucher.
        const SieDate date{booked.m_nTransAr, booked.m_nTransManad, booked.m_nTransDag};
        if (found->second.voucher->date != displaySieDate(date)) {
            return std::nullopt;
        }
        return found->second;
    }

    // The latest reading of a file with these very bytes.
    [[nodiscard]] std::optional<LoggedVoucher> sameFile(const std::string& sha256) const {
        std::optional<LoggedVoucher> latest;
        for (const auto& [record, saved] : m_files) {
            if (!sha256.empty() && record->sha256 == sha256) {
                latest = LoggedVoucher{record, nullptr, saved};
            }
        }
        return latest;
    }

private:
    void add(const SieImportRecord& record, bool saved) {
        m_files.emplace_back(&record, saved);
        for (const ImportedVoucher& voucher : record.vouchers) {
            m_byNumber[voucher.numberHere] = {&record, &voucher, saved};
        }
    }

    std::vector<SieImportRecord> m_saved;
    std::vector<std::pair<const SieImportRecord*, bool>> m_files;
    std::unordered_map<std::int32_t, LoggedVoucher> m_byNumber;
};

// "2026-12-10 14:03" of the log's "2026-12-10 14:03:25".
std::string minuteText(const std::string& readAt) {
    return readAt.substr(0, 16);
}

// Why a voucher the books hold already is refused: where it is, and when
// and from which file it was read in, when the import log knows.
std::string alreadyBookedText(const SieVoucher& voucher, const CEttVerifikat& booked,
                              const std::optional<LoggedVoucher>& logged) {
    std::string text = "finns redan i bokföringen som verifikat " + std::to_string(booked.m_nVernr) +
                       " (samma datum och rader)";
    if (!logged) {
        return text + ".";
    }
    const SieImportRecord& file = *logged->file;
    const ImportedVoucher& then = *logged->voucher;
    text += "; det lästes in " + minuteText(file.readAt) + " från " + file.fileName;
    if (then.series != voucher.series || then.number != voucher.number) {
        text +=
            " (där verifikat " + (then.series.empty() ? then.number : then.series + " " + then.number) + ")";
    }
    if (file.newCompany) {
        text += " när företaget skapades ur filen";
    }
    if (!logged->saved) {
        text += ", ännu inte sparat";
    }
    return text + ".";
}

} // namespace

SieAddSummary planSieVouchers(CTallvingeDoc& doc, const SieBooks& books, const std::string& fileName) {
    SieAddSummary summary;
    summary.fileName = fileName;
    summary.program = books.program;
    summary.encoding = sieEncodingText(books);
    summary.vouchers = books.vouchers.size();
    for (const SieLeftOut& voucher : books.emptyVouchers) {
        summary.notes.push_back("Filens " + voucher.what + " (" + lineText(voucher.line) +
                                ") har inga rader och följer inte med.");
    }
    if (!doc.hasOpenPeriod()) {
        summary.refusals.push_back("Företaget har ingen öppen period att lägga verifikaten i.");
        return summary;
    }
    summary.period = doc.periodLabel();
    if (doc.periodLocked()) {
        summary.refusals.push_back("Den öppna perioden " + summary.period +
                                   " är låst: endast de två sista perioderna kan ändras.");
    }
    std::int32_t resultAccount = 0;
    const bool namesResult = doc.resultAccountNumber(resultAccount);
    const ImportLog log(doc, summary.refusals);
    if (const auto same = log.sameFile(books.sha256)) {
        summary.notes.push_back("En fil med precis samma innehåll lästes in " +
                                minuteText(same->file->readAt) + " från " + same->file->fileName +
                                (same->saved ? "." : " (ännu inte sparat)."));
    }
    std::unordered_map<std::string, const CEttVerifikat*> booked;
    for (const CEttVerifikat& voucher : doc.state().m_verifikat) {
        booked.emplace(bookedKey(voucher), &voucher);
    }
    std::int32_t next = doc.state().m_nNastaVernr;
    for (const SieVoucher& voucher : books.vouchers) {
        const std::string name = voucherName(voucher);
        const YearMonth when{voucher.date.year, voucher.date.month};
        if (when < doc.periodStart() || doc.periodEnd() < when) {
            summary.refusals.push_back(name + ", " + lineText(voucher.line) +
                                       ": datumet ligger utanför den öppna perioden " + summary.period + ".");
        }
        for (const SieTransaction& transaction : voucher.transactions) {
            if (namesResult && transaction.account == resultAccount) {
                summary.refusals.push_back(name + ", " + lineText(transaction.line) + ": konto " +
                                           std::to_string(resultAccount) +
                                           " är resultatkontot och kan inte ha verifikatrader.");
            }
            Ore& side = transaction.amount >= 0 ? summary.debit : summary.credit;
            side = addOre(side, transaction.amount >= 0 ? transaction.amount : -transaction.amount);
        }
        if (const auto found = booked.find(bookedKey(voucher)); found != booked.end()) {
            summary.refusals.push_back(name + ", " + lineText(voucher.line) + ": " +
                                       alreadyBookedText(voucher, *found->second, log.find(*found->second)));
        }
        summary.transactions += voucher.transactions.size();
        summary.numbers.push_back({name, next++});
    }
    if (!books.vouchers.empty()) {
        const auto [first, last] =
            std::minmax_element(books.vouchers.begin(), books.vouchers.end(),
                                [](const SieVoucher& a, const SieVoucher& b) { return a.date < b.date; });
        summary.span = displaySieDate(first->date) + " – " + displaySieDate(last->date);
    }
    // Where the accounts would go, tried on the editors and taken back: the
    // company stays as it was.
    {
        auto tried = doc.beginChange();
        try {
            summary.added = putInCharts(doc, missingAccounts(doc, books), false);
        } catch (const SieReadError& error) {
            summary.refusals.push_back(error.what());
        }
    }
    return summary;
}

void addSieVouchers(CTallvingeDoc& doc, const SieBooks& books, const std::string& fileName,
                    const LocalClock& clock) {
    const SieAddSummary plan = planSieVouchers(doc, books, fileName);
    if (!plan.canAdd()) {
        throw DocumentRefusal(plan.refusals.empty() ? std::string("Filen har inga verifikat att lägga till.")
                                                    : plan.refusals.front());
    }
    auto change = doc.beginChange();
    try {
        putInCharts(doc, missingAccounts(doc, books), true);
    } catch (const SieReadError& error) {
        throw DocumentRefusal(error.what());
    }
    const SieVoucherMaker maker(doc.state());
    std::vector<std::int32_t> numbers;
    numbers.reserve(books.vouchers.size());
    for (const SieVoucher& voucher : books.vouchers) {
        numbers.push_back(doc.registerVoucher(maker.make(voucher)));
    }
    doc.recordSieImport(
        sieImportRecord(books, fileName, doc.state().m_nAktuellPeriod, numbers, clock(), false));
    change.commit();
}

// ---- what the user reads ----

std::vector<SieSummaryRow> SieAddSummary::rows() const {
    std::vector<SieSummaryRow> out = {{"Fil", fileName}};
    if (!program.empty()) {
        out.push_back({"Program", program});
    }
    out.push_back({"Teckenkodning", encoding});
    out.push_back({"Öppen period", period});
    std::string count = std::to_string(vouchers);
    if (!numbers.empty()) {
        count += numbers.size() == 1 ? " (blir nr " + std::to_string(numbers.front().here) + ")"
                                     : " (blir nr " + std::to_string(numbers.front().here) + "–" +
                                           std::to_string(numbers.back().here) + ")";
    }
    out.push_back({"Verifikat", count});
    if (!span.empty()) {
        out.push_back({"Datum", span});
    }
    out.push_back({"Verifikatrader", std::to_string(transactions)});
    out.push_back({"Summa debet", formatOre(debit)});
    out.push_back({"Summa kredit", formatOre(credit)});
    out.push_back({"Konton som läggs till", std::to_string(added.size())});
    return out;
}

std::vector<std::string> SieAddSummary::numberLines() const {
    std::vector<std::string> lines;
    lines.reserve(numbers.size());
    for (const SieAddedNumber& number : numbers) {
        lines.push_back(number.inFile + " blir nr " + std::to_string(number.here));
    }
    return lines;
}

std::vector<std::string> SieAddSummary::addedLines() const {
    std::vector<std::string> lines;
    for (const SieAddedAccount& account : added) {
        lines.push_back(addedAccountLine(account));
    }
    return lines;
}

std::string SieAddSummary::conclusion() const {
    if (!refusals.empty()) {
        return "Inga verifikat läggs till: " + std::to_string(refusals.size()) +
               (refusals.size() == 1 ? " sak" : " saker") + " ovan hindrar det. Företaget är oförändrat.";
    }
    if (vouchers == 0) {
        return "Filen har inga verifikat att lägga till.";
    }
    return "Vill du lägga till verifikaten i den öppna perioden?";
}

std::string SieAddSummary::text() const {
    std::string out;
    for (const SieSummaryRow& row : rows()) {
        out += row.label + ": " + row.value + "\n";
    }
    const auto section = [&out](const char* title, const std::vector<std::string>& lines) {
        if (lines.empty()) {
            return;
        }
        out += std::string("\n") + title + ":\n";
        for (const std::string& line : lines) {
            out += "  " + line + "\n";
        }
    };
    section("Vägras", refusals);
    section("Konton som läggs till", addedLines());
    section("Verifikaten", numberLines());
    section("Att observera", notes);
    return out;
}

SieSummaryView SieAddSummary::view() const {
    SieSummaryView shown;
    shown.title = kSieAddTitle;
    shown.rows = rows();
    shown.lists = {{"Vägras:", refusals},
                   {"Konton som läggs till i kontoplanen:", addedLines()},
                   {"Verifikaten:", numberLines()}};
    shown.notes = notes;
    shown.conclusion = conclusion();
    if (canAdd()) {
        shown.acceptText = kSieButtonLaggTill;
        shown.closeText = kSieButtonAvbryt;
    } else {
        shown.closeText = kSieButtonStang;
    }
    return shown;
}

} // namespace kv
