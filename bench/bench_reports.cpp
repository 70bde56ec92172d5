// How long each report window takes to rebuild after a registration, the
// ledger's printed listing of every account, and the ledger of every account
// as CSV and as an Excel workbook, on a generated company.
//
//   kvistoran-bench-reports                              100 000 vouchers, 5 repetitions, medians
//   kvistoran-bench-reports --kv_vouchers=1000000        another size

#include "BenchSupport.h"
#include "GeneratedCompany.h"

#include "reports/JournalReport.h"
#include "reports/LedgerReport.h"
#include "reports/PdfWriter.h"
#include "reports/ReportDataFiles.h"
#include "reports/StatementReport.h"
#include "reports/TrialBalanceReport.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace kv::bench {

namespace {

int g_vouchers = 100000; // set once from the command line, before any benchmark runs

CTallvingeDoc& company() {
    static const std::unique_ptr<CTallvingeDoc> doc = [] {
        auto made = std::make_unique<CTallvingeDoc>();
        generateCompany(*made, g_vouchers);
        return made;
    }();
    return *doc;
}

// The account with the most rows: the longest ledger on the screen.
std::int32_t busiestAccount(const CTallvingeDoc& doc) {
    std::size_t most = 0;
    std::int32_t number = 0;
    for (const auto& konto : doc.state().m_allaKonton) {
        if (konto->m_nKontonr > 0 && konto->m_rader.size() > most) {
            most = konto->m_rader.size();
            number = konto->m_nKontonr;
        }
    }
    return number;
}

// A registration, as the views then hear of it.
void registerOne(CTallvingeDoc& doc, std::int32_t account) {
    CVerifikatrad debit;
    debit.m_nKonto = account;
    debit.m_dDebet = 100;
    CVerifikatrad credit;
    credit.m_nKonto = doc.state().m_allaKonton.back()->m_nKontonr > 0
                          ? doc.state().m_allaKonton.back()->m_nKontonr
                          : account;
    credit.m_dKredit = 100;
    doc.registerVoucher(makeVoucher(15, 6, 2023, "Benchmark", {debit, credit}));
}

template <typename Rebuild> void rebuildAfterRegistration(benchmark::State& state, Rebuild rebuild) {
    CTallvingeDoc& doc = company();
    const std::int32_t account = busiestAccount(doc);
    for (auto _ : state) {
        state.PauseTiming();
        registerOne(doc, account);
        state.ResumeTiming();
        benchmark::DoNotOptimize(rebuild(doc, account));
    }
    state.counters["vouchers"] = static_cast<double>(doc.state().m_verifikat.size());
}

void BM_TrialBalanceWindow(benchmark::State& state) {
    rebuildAfterRegistration(state, [](const CTallvingeDoc& doc, std::int32_t) {
        return trialBalanceForm(buildTrialBalance(doc), ScreenMeasures{}).lines.size();
    });
}

void BM_LedgerWindow(benchmark::State& state) {
    // As the window does: the account's lines, and the rows of one screen.
    rebuildAfterRegistration(state, [](const CTallvingeDoc& doc, std::int32_t account) {
        const LedgerScreenForm form(doc, account, ScreenMeasures{});
        return form.fixedLines().lines.size() + form.rowLines(0, 1080).size();
    });
}

void BM_JournalWindow(benchmark::State& state) {
    rebuildAfterRegistration(state, [](const CTallvingeDoc& doc, std::int32_t) {
        return journalForm(doc, ScreenMeasures{}).lines.size();
    });
}

void BM_IncomeStatementWindow(benchmark::State& state) {
    GridState grid;
    rebuildAfterRegistration(state, [&grid](const CTallvingeDoc& doc, std::int32_t) {
        writeStatementGrid(buildIncomeStatement(doc), grid);
        return grid.rowCount();
    });
}

void BM_BalanceSheetWindow(benchmark::State& state) {
    GridState grid;
    rebuildAfterRegistration(state, [&grid](const CTallvingeDoc& doc, std::int32_t) {
        writeStatementGrid(buildBalanceSheet(doc), grid);
        return grid.rowCount();
    });
}

void BM_LedgerListingOfAllAccounts(benchmark::State& state) {
    const CTallvingeDoc& doc = company();
    const PrintDevice device = a4PdfDevice();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ledgerListing(doc, device).size());
    }
}

void BM_LedgerListingPagesAsPdf(benchmark::State& state) {
    const CTallvingeDoc& doc = company();
    const PrintDevice device = a4PdfDevice();
    const HelveticaMeasurer measurer;
    std::size_t pages = 0;
    for (auto _ : state) {
        const Listing listing = ledgerListing(doc, device);
        const int perPage = linesPerPageOn(device);
        std::vector<ListingPage> laidOut;
        for (int page = 1; page <= pageCount(listing.size(), perPage); ++page) {
            laidOut.push_back(layoutListingPage(listing, device, measurer, perPage, page));
        }
        pages = laidOut.size();
        benchmark::DoNotOptimize(pdfDocument(laidOut, "Huvudbok").size());
    }
    state.counters["pages"] = static_cast<double>(pages);
}

// The ledger of every account as data: the table, then the file's bytes.
template <typename Write> void ledgerAsData(benchmark::State& state, Write write) {
    const CTallvingeDoc& doc = company();
    std::size_t rows = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const ReportData data = ledgerData(doc);
        rows = data.table.rows.size();
        bytes = write(data).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_LedgerAsCsv(benchmark::State& state) {
    ledgerAsData(state, [](const ReportData& data) { return reportCsv(data); });
}

void BM_LedgerAsXlsx(benchmark::State& state) {
    ledgerAsData(state, [](const ReportData& data) { return reportXlsx(data); });
}

} // namespace

} // namespace kv::bench

int main(int argc, char** argv) {
    kv::bench::BenchArguments arguments(argc, argv, "100000");
    kv::bench::g_vouchers = std::max(1, std::stoi(arguments.vouchers()));
    using namespace kv::bench;
    for (const auto& [name, function] : std::vector<std::pair<const char*, void (*)(benchmark::State&)>>{
             {"TrialBalanceWindow", BM_TrialBalanceWindow},
             {"LedgerWindow", BM_LedgerWindow},
             {"JournalWindow", BM_JournalWindow},
             {"IncomeStatementWindow", BM_IncomeStatementWindow},
             {"BalanceSheetWindow", BM_BalanceSheetWindow}}) {
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->Iterations(20);
    }
    benchmark::RegisterBenchmark("LedgerListingOfAllAccounts", BM_LedgerListingOfAllAccounts)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("LedgerListingPagesAsPdf", BM_LedgerListingPagesAsPdf)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("LedgerAsCsv", BM_LedgerAsCsv)->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::RegisterBenchmark("LedgerAsXlsx", BM_LedgerAsXlsx)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    if (!arguments.initialize()) {
        return 2;
    }
    benchmark::AddCustomContext("company", "250 accounts, 4 lines per voucher, " +
                                               std::to_string(g_vouchers) + " vouchers");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
