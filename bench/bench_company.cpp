// Company file and balance benchmarks on a generated company of 250 accounts
// and four-line vouchers, and the memory that hostile company files under
// 1 MB make the reader take (at most 64 MB).
//
//   kvistoran-bench                               100 000 vouchers, 5 repetitions, medians
//   kvistoran-bench --kv_vouchers=100000,1000000  also at 1 000 000 vouchers
//
// Every --benchmark_* flag works as usual; without --benchmark_repetitions the
// run repeats each benchmark 5 times and shows the aggregates only.

#include "BenchSupport.h"
#include "GeneratedCompany.h"
#include "HostileFiles.h"
#include "ReadProcess.h"

#include "model/TallvingeDoc.h"
#include "reports/ReportBooks.h"
#include "storage/CompanyBackups.h"
#include "storage/CompanyFiles.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::bench {

namespace {

// A generated company, saved once in its own temporary folder and opened
// again from there: the books then lie in memory as they do after "Öppna",
// which is what a user saves and what the reports walk.
class PreparedCompany {
public:
    explicit PreparedCompany(int vouchers)
        : m_vouchers(vouchers), m_companyPath(m_folder.path() + "/Benchföretaget.bok") {
        {
            CTallvingeDoc generated;
            generateCompany(generated, vouchers);
            if (!saveCompany(generated, m_companyPath).ok) {
                throw std::runtime_error("the generated company could not be saved");
            }
        }
        if (!openCompany(m_doc, m_companyPath).ok) {
            throw std::runtime_error("the generated company could not be read");
        }
        m_companyBytes = std::filesystem::file_size(m_companyPath);
        m_periodBytes =
            std::filesystem::file_size(periodFilePath(m_companyPath, m_doc.state().m_nAktuellPeriod));
    }

    [[nodiscard]] int vouchers() const { return m_vouchers; }
    [[nodiscard]] CTallvingeDoc& doc() { return m_doc; }
    [[nodiscard]] const std::string& companyPath() const { return m_companyPath; }
    [[nodiscard]] std::uint64_t companyBytes() const { return m_companyBytes; }
    [[nodiscard]] std::uint64_t savedBytes() const { return m_companyBytes + m_periodBytes; }

private:
    int m_vouchers;
    TempFolder m_folder;
    std::string m_companyPath;
    CTallvingeDoc m_doc;
    std::uint64_t m_companyBytes = 0;
    std::uint64_t m_periodBytes = 0;
};

// One company at a time: the benchmarks run size by size, and a million
// vouchers take over a gigabyte in memory. Nothing when it cannot be made;
// the benchmark then reports the error.
PreparedCompany* preparedCompany(benchmark::State& state) {
    static std::unique_ptr<PreparedCompany> current;
    const auto vouchers = static_cast<int>(state.range(0));
    if (!current || current->vouchers() != vouchers) {
        current.reset();
        try {
            current = std::make_unique<PreparedCompany>(vouchers);
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            return nullptr;
        }
    }
    return current.get();
}

void addSizeCounters(benchmark::State& state, const PreparedCompany& company) {
    state.counters["file_MB"] = static_cast<double>(company.companyBytes()) / 1e6;
    state.counters["vouchers/s"] =
        benchmark::Counter(company.vouchers(), benchmark::Counter::kIsIterationInvariantRate);
}

// Times one save per iteration, after the untimed step beforeSave; the
// backups each save keeps (links, not copies) are removed between saves, so
// that the benchmark does not fill the disk with them.
void timeSaves(benchmark::State& state, const std::function<void(PreparedCompany&)>& beforeSave) {
    PreparedCompany* prepared = preparedCompany(state);
    if (prepared == nullptr) {
        return;
    }
    PreparedCompany& company = *prepared;
    for (auto _ : state) {
        state.PauseTiming();
        beforeSave(company);
        state.ResumeTiming();
        const FileReport report = saveCompany(company.doc(), company.companyPath());
        if (!report.ok || !report.messages.empty()) {
            state.SkipWithError("saving failed");
            break;
        }
        state.PauseTiming();
        std::filesystem::remove_all(backupFolderPath(company.companyPath()));
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * company.savedBytes()));
    addSizeCounters(state, company);
}

void BM_Save(benchmark::State& state) {
    timeSaves(state, [](PreparedCompany&) {});
}

// A save with records for the database (a bank line booked): the files are
// written whole and hashed, the database records the pending save, the files
// are renamed into place and the save is marked done.
void BM_SaveWithRecords(benchmark::State& state) {
    std::int64_t line = 0;
    timeSaves(state, [&line](PreparedCompany& company) {
        company.doc().recordBankLines({{"SE4550000000058398257466", "2026-03-31", ++line, "rad", 1, 0,
                                        "2026-12-10 14:03:25", 1930, 6570, 0, "rad", "historik"}});
    });
}

void BM_Read(benchmark::State& state) {
    PreparedCompany* prepared = preparedCompany(state);
    if (prepared == nullptr) {
        return;
    }
    PreparedCompany& company = *prepared;
    for (auto _ : state) {
        auto doc = std::make_unique<CTallvingeDoc>();
        const auto start = std::chrono::steady_clock::now();
        const FileReport report = openCompany(*doc, company.companyPath());
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!report.ok || doc->state().m_verifikat.size() != company.doc().state().m_verifikat.size()) {
            state.SkipWithError("reading failed");
            break;
        }
        state.SetIterationTime(elapsed.count());
        doc.reset(); // freeing the books is not part of opening them
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * company.companyBytes()));
    addSizeCounters(state, company);
}

// The read once more, in a fresh process that holds nothing else: its peak
// resident size against the size of the file it read.
void BM_ReadPeakMemory(benchmark::State& state) {
    PreparedCompany* prepared = preparedCompany(state);
    if (prepared == nullptr) {
        return;
    }
    PreparedCompany& company = *prepared;
    double peakKb = 0;
    double baselineKb = 0;
    for (auto _ : state) {
        const ChildRead child = readInFreshProcess(company.companyPath());
        if (!child.ok) {
            state.SkipWithError(child.error.c_str());
            break;
        }
        state.SetIterationTime(child.seconds);
        peakKb = static_cast<double>(child.peakKb);
        baselineKb = static_cast<double>(child.baselineKb);
    }
    const double fileKb = static_cast<double>(company.companyBytes()) / 1024.0;
    state.counters["peak_MB"] = peakKb * 1024.0 / 1e6;
    state.counters["peak/file"] = peakKb / fileKb;
    state.counters["growth/file"] = (peakKb - baselineKb) / fileKb;
    state.counters["file_MB"] = static_cast<double>(company.companyBytes()) / 1e6;
}

// Every account's balance as the reports ask for it, and the result as they
// show it on the result account.
void BM_Balances(benchmark::State& state) {
    PreparedCompany* prepared = preparedCompany(state);
    if (prepared == nullptr) {
        return;
    }
    PreparedCompany& company = *prepared;
    CTallvingeDoc& doc = company.doc();
    if (state.range(1) != 0) {
        doc.setMonthRange(MonthRange{{2023, 3}, {2023, 5}});
    }
    for (auto _ : state) {
        Ore total = 0;
        for (std::size_t i = 0; i < doc.state().m_balKonton.size(); ++i) {
            total += doc.balanceOfBalanceAccount(i);
        }
        for (std::size_t i = 0; i < doc.state().m_resKonton.size(); ++i) {
            total += doc.RangeBalance(i);
        }
        const ReportBooks books(doc, doc.rangeRuleInForce());
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(books.postedResult());
    }
    doc.setMonthRange(std::nullopt);
    state.counters["posted_rows/s"] = benchmark::Counter(static_cast<double>(postedRowCount(doc)),
                                                         benchmark::Counter::kIsIterationInvariantRate);
    state.counters["vouchers/s"] =
        benchmark::Counter(company.vouchers(), benchmark::Counter::kIsIterationInvariantRate);
}

// The most a company file under 1 MB may make the reader take.
constexpr double kHostileReadLimitMb = 64.0;

// A file built to make the reader take memory, read in a fresh process: how
// much its resident size grew, read or refused. Over the limit, the benchmark
// reports an error.
void BM_HostileReadPeakMemory(benchmark::State& state, const HostileFile& file) {
    TempFolder folder;
    const std::string path = folder.path() + "/" + file.name + ".bok";
    std::ofstream(path, std::ios::binary) << file.bytes;
    ChildRead child;
    for (auto _ : state) {
        child = readInFreshProcess(path);
        if (!child.ok && !child.refused) {
            state.SkipWithError(child.error.c_str());
            return;
        }
        state.SetIterationTime(child.seconds);
    }
    const double growthMb = static_cast<double>(child.peakKb - child.baselineKb) * 1024.0 / 1e6;
    state.counters["file_KB"] = static_cast<double>(file.bytes.size()) / 1e3;
    state.counters["growth_MB"] = growthMb;
    state.counters["refused"] = child.refused ? 1 : 0;
    if (growthMb > kHostileReadLimitMb) {
        state.SkipWithError("reading took more than 64 MB");
    }
}

void registerHostileReads() {
    for (const HostileFile& file : hostileFiles()) {
        benchmark::RegisterBenchmark(("HostileReadPeakMemory/" + file.name).c_str(), BM_HostileReadPeakMemory,
                                     file)
            ->Iterations(1)
            ->Repetitions(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
}

std::vector<int> parseVoucherCounts(const std::string& list) {
    std::vector<int> counts;
    std::stringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        const int count = std::stoi(item);
        if (count < 1) {
            throw std::invalid_argument("voucher counts must be positive");
        }
        counts.push_back(count);
    }
    return counts;
}

void registerBenchmarks(const std::vector<int>& voucherCounts) {
    // Size by size, so that only one generated company is alive at a time.
    for (const int vouchers : voucherCounts) {
        benchmark::RegisterBenchmark("Save", BM_Save)
            ->Arg(vouchers)
            ->ArgName("vouchers")
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("SaveWithRecords", BM_SaveWithRecords)
            ->Arg(vouchers)
            ->ArgName("vouchers")
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("Read", BM_Read)
            ->Arg(vouchers)
            ->ArgName("vouchers")
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("ReadPeakMemory", BM_ReadPeakMemory)
            ->Arg(vouchers)
            ->ArgName("vouchers")
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("Balances", BM_Balances)
            ->Args({vouchers, 0})
            ->Args({vouchers, 1})
            ->ArgNames({"vouchers", "monthRange"})
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

} // namespace kv::bench

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == kv::bench::kReadChildFlag) {
        return kv::bench::runReadChild(argv[2]);
    }
    kv::bench::BenchArguments arguments(argc, argv, "100000");
    const std::string& voucherList = arguments.vouchers();
    try {
        kv::bench::registerBenchmarks(kv::bench::parseVoucherCounts(voucherList));
        kv::bench::registerHostileReads();
    } catch (const std::exception& error) {
        std::cerr << "kvistoran-bench: " << kv::bench::kVouchersFlag << " takes counts like 100000,1000000 ("
                  << error.what() << ")\n";
        return 2;
    }
    if (!arguments.initialize()) {
        return 2;
    }
    benchmark::AddCustomContext("company",
                                "250 accounts, 4 lines per voucher, 12 months, --kv_vouchers=" + voucherList);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
