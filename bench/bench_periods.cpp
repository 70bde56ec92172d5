// Period benchmarks on the generated company (250 accounts, four-line
// vouchers): a new period after a full year, a new period that is undone
// because a later step of its change failed, and "Öppna period" of the open
// year again (close, save, read the period file, open it).
//
//   kvistoran-bench-periods                       100 000 vouchers
//   kvistoran-bench-periods --benchmark_filter=Open
#include "GeneratedCompany.h"

#include "storage/CompanyFiles.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace kv::bench {

namespace {

constexpr int kVouchers = 100000;

// The generated company, made once; each run starts from a copy of it.
const CompanyState& generated() {
    static const CompanyState company = [] {
        CTallvingeDoc doc;
        generateCompany(doc, kVouchers);
        return copyCompanyState(doc.state());
    }();
    return company;
}

PeriodChoice nextYear(const CTallvingeDoc& doc) {
    const YearMonth start = doc.periodEnd().plusMonths(1);
    const YearMonth end = start.plusMonths(11);
    return {start.month, start.year, end.month, end.year};
}

void BM_NewPeriod(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CTallvingeDoc>();
        doc->loadCompany(copyCompanyState(generated()));
        const PeriodChoice choice = nextYear(*doc);
        state.ResumeTiming();
        doc->newPeriod(choice);
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["vouchers"] = kVouchers;
}

void BM_NewPeriodUndone(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CTallvingeDoc>();
        doc->loadCompany(copyCompanyState(generated()));
        const PeriodChoice choice = nextYear(*doc);
        state.ResumeTiming();
        {
            auto change = doc->beginChange();
            doc->newPeriod(choice);
        } // not committed: the year's books go back
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

void BM_OpenPeriodAgain(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kvistoran-bench-periods-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    CTallvingeDoc doc;
    doc.loadCompany(copyCompanyState(generated()));
    if (!saveCompany(doc, (folder / "Bench.bok").string()).ok) {
        state.SkipWithError("the generated company could not be saved");
    }
    const std::int32_t open = doc.state().m_nAktuellPeriod;
    for (auto _ : state) {
        auto change = doc.beginChange();
        doc.closePeriod();
        if (!saveCompany(doc, doc.pathName()).ok) {
            state.SkipWithError("the company could not be saved");
            break;
        }
        PeriodFileContents read = loadPeriodFile(doc, open);
        if (!read.report.ok) {
            state.SkipWithError("the period file could not be read");
            break;
        }
        doc.openPeriod(std::move(read.period));
        change.commit();
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

BENCHMARK(BM_NewPeriod)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NewPeriodUndone)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenPeriodAgain)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace kv::bench

BENCHMARK_MAIN();
