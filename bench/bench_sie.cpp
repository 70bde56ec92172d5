// SIE benchmarks: export of a company of the 247-account template with
// 100 000 four-line vouchers to a file, and a new company made from that
// file (read, checked, built and checked against the file's balances).
// Saving the imported company is measured apart, as the company files'
// own cost. A transaction file (4I, no financial year, no chart) of 100 000
// vouchers made into a company, and one of 10 000 vouchers added to the
// company of 100 000 (read, planned, added as one change).
//
//   kvistoran-sie-bench       5 repetitions, medians
//
// Every --benchmark_* flag works as usual.

#include "BenchSupport.h"
#include "app/NewCompany.h"
#include "sie/SieAddVouchers.h"
#include "sie/SieFiles.h"
#include "sie/SieImport.h"
#include "sie/SieWriter.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::bench {

namespace {

constexpr int kVouchers = 100'000;
constexpr SieDate kGenerated{2024, 2, 1};

std::vector<std::int32_t> bookable(const CTallvingeDoc& doc) {
    std::int32_t resultAccount = 0;
    if (!doc.resultAccountNumber(resultAccount)) {
        resultAccount = 0;
    }
    std::vector<std::int32_t> numbers;
    for (const auto& konto : doc.state().m_allaKonton) {
        if (konto->m_nKontonr > 0 && konto->m_nKontonr != resultAccount) {
            numbers.push_back(konto->m_nKontonr);
        }
    }
    return numbers;
}

// The company of the 247-account template for 2023 with vouchers of four
// balanced lines spread over its months; the same every time.
std::unique_ptr<CTallvingeDoc> generateCompany(const std::string& templateFolder) {
    auto doc = std::make_unique<CTallvingeDoc>();
    if (!createDefaultCompany(*doc, {kSieDefaultTemplate, 1, 2023, 12, 2023, templateFolder}).ok) {
        throw std::runtime_error("the company could not be set up");
    }
    doc->addOpeningBalances({{1930, 50'000'00}, {2040, -50'000'00}});
    const std::vector<std::int32_t> accounts = bookable(*doc);
    std::mt19937 random(2023);
    std::uniform_int_distribution<std::size_t> pick(0, accounts.size() - 1);
    std::uniform_int_distribution<Ore> amount(100, 500'000);
    const auto lineOn = [&](std::int32_t account, Ore ore, const char* text) {
        CVerifikatrad line;
        line.m_nKonto = account;
        line.m_strKontonamn =
            doc->state().m_allaKonton[static_cast<std::size_t>(doc->accountIndex(account))]->m_strKolumn2;
        line.m_strRadtext = text;
        (ore >= 0 ? line.m_dDebet : line.m_dKredit) = toKronor(ore >= 0 ? ore : -ore);
        return line;
    };
    for (int v = 0; v < kVouchers; ++v) {
        const Ore a = amount(random);
        const Ore b = amount(random);
        std::vector<CVerifikatrad> lines = {
            lineOn(accounts[pick(random)], a, "Inköp"), lineOn(accounts[pick(random)], b, "Moms"),
            lineOn(accounts[pick(random)], -a, "Leverantör"), lineOn(accounts[pick(random)], -b, "Bank")};
        doc->registerVoucher(
            makeVoucher(1 + v % 28, 1 + v % 12, 2023, "Faktura " + std::to_string(v), std::move(lines)));
    }
    return doc;
}

// A transaction file as a payroll or cash-register program writes it: no
// #RAR, no #KONTO, vouchers of four lines in 2023 on the given accounts.
std::string transactionFile(const std::vector<std::int32_t>& accounts, int vouchers, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, accounts.size() - 1);
    std::uniform_int_distribution<Ore> amount(100, 500'000);
    std::string file = "#FLAGGA 0\n#PROGRAM \"Kassasystem\" 1.0\n#SIETYP 4\n";
    char date[16];
    for (int v = 0; v < vouchers; ++v) {
        std::snprintf(date, sizeof date, "2023%02d%02d", 1 + v % 12, 1 + v % 28);
        const Ore a = amount(random);
        const Ore b = amount(random);
        file += "#VER K " + std::to_string(v + 1) + " " + date + " \"Dagskassa\"\n{\n";
        for (const Ore line : {a, b, -a, -b}) {
            file += "#TRANS " + std::to_string(accounts[pick(random)]) + " {} " + formatPlainOre(line) + "\n";
        }
        file += "}\n";
    }
    return file;
}

struct Fixture {
    TempFolder folder;
    std::unique_ptr<CTallvingeDoc> company = generateCompany(folder.path());
    std::string exported = folder.file("bok.se");

    Fixture() { writeSieFile(exported, writeSie(*company, kGenerated).bytes); }
};

Fixture& fixture() {
    static Fixture made;
    return made;
}

void BM_SieExportToFile(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string path = f.folder.file("ut.se");
    for (auto _ : state) {
        writeSieFile(path, writeSie(*f.company, kGenerated).bytes);
    }
    state.counters["vouchers"] = kVouchers;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}

void BM_SieImportFromFile(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        const SieBooks books = readSieBooks(readSieFile(f.exported));
        SieImportResult result = buildSieCompany(books, {kSieDefaultTemplate, f.folder.path(), "bok.se"});
        if (!result.summary.canImport()) {
            state.SkipWithError("the imported balances disagree with the file");
        }
        benchmark::DoNotOptimize(result.company);
    }
    state.counters["vouchers"] = kVouchers;
}

void BM_SieReadOnly(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string bytes = readSieFile(f.exported);
    for (auto _ : state) {
        benchmark::DoNotOptimize(readSieBooks(bytes));
    }
}

void BM_SaveImportedCompany(benchmark::State& state) {
    Fixture& f = fixture();
    SieImportResult result = buildSieCompany(readSieBooks(readSieFile(f.exported)),
                                             {kSieDefaultTemplate, f.folder.path(), "bok.se"});
    const std::string path = f.folder.file("Importerad.bok");
    for (auto _ : state) {
        if (!saveCompany(*result.company, path).ok) {
            state.SkipWithError("the company could not be saved");
        }
    }
}

void BM_SieNewCompanyFromTransactionFile(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string bytes = transactionFile(bookable(*f.company), kVouchers, 4);
    for (auto _ : state) {
        SieImportResult result =
            buildSieCompany(readSieBooks(bytes), {kSieDefaultTemplate, f.folder.path(), "kassa.si"});
        benchmark::DoNotOptimize(result.company);
    }
    state.counters["vouchers"] = kVouchers;
}

void BM_SieAddToCompany(benchmark::State& state) {
    Fixture& f = fixture();
    constexpr int kAdded = 10'000;
    const std::string bytes = transactionFile(bookable(*f.company), kAdded, 10);
    for (auto _ : state) {
        state.PauseTiming(); // a fresh copy of the company, made and dropped outside the time
        auto company = std::make_unique<CTallvingeDoc>();
        company->loadCompany(copyCompanyState(f.company->state()));
        state.ResumeTiming();
        const SieBooks books = readSieBooks(bytes);
        const SieAddSummary plan = planSieVouchers(*company, books, "kassa.si");
        if (!plan.canAdd()) {
            state.SkipWithError(plan.refusals.empty() ? "nothing to add" : plan.refusals.front().c_str());
            break;
        }
        addSieVouchers(*company, books, "kassa.si");
        benchmark::DoNotOptimize(company->state().m_verifikat.size());
        state.PauseTiming();
        company.reset();
        state.ResumeTiming();
    }
    state.counters["added"] = kAdded;
}

// The company of 100 000 vouchers saved as a new company after 10 000 vouchers
// of a transaction file were added: with the import log written into a fresh
// database in the save's transaction (1), or without it (0) for comparison.
void BM_SaveWithImportLog(benchmark::State& state) {
    Fixture& f = fixture();
    const bool logged = state.range(0) != 0;
    const SieBooks books = readSieBooks(transactionFile(bookable(*f.company), 10'000, 10));
    const std::string path = f.folder.file("Loggad.bok");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        std::filesystem::remove(companyDatabasePath(path));
        auto company = std::make_unique<CTallvingeDoc>();
        company->loadCompany(copyCompanyState(f.company->state()));
        addSieVouchers(*company, books, "kassa.si");
        if (!logged) {
            company->pendingRecordsSaved();
        }
        state.ResumeTiming();
        if (!saveCompany(*company, path).ok) {
            state.SkipWithError("the company could not be saved");
            break;
        }
        state.PauseTiming();
        company.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_SieExportToFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SieImportFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SieReadOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveImportedCompany)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SieNewCompanyFromTransactionFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SieAddToCompany)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveWithImportLog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace kv::bench

int main(int argc, char** argv) {
    kv::bench::BenchArguments arguments(argc, argv, "100000");
    if (!arguments.initialize()) {
        return 2;
    }
    benchmark::AddCustomContext("company", "247-account template, 100 000 vouchers of 4 lines");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
