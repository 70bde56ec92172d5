// Receipt benchmarks on the generated company of 100 000 vouchers saved in a
// temporary folder, with a receipt on every fifth voucher (20 000 records):
//
//   Marks            the voucher list's "has receipts" for every voucher of
//                    the period, from a fresh cache (one query, then lookups)
//   VoucherReceipts  the receipts of one voucher (the indexed query)
//   StoreReceipt     a 1 MB PDF read, checked, hashed and stored (a new file)
//   StoreSameReceipt the same content again: found in the store and checked
//
//   kvistoran-bench-attachments                     5 repetitions, medians
#include "GeneratedCompany.h"

#include "attachments/Attachments.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace kv::bench {

namespace {

constexpr int kVouchers = 100000;
constexpr int kEvery = 5;

struct Company {
    std::string folder;
    std::string path;
    CTallvingeDoc doc;

    Company() {
        char pattern[] = "/tmp/kvistoran-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            throw std::runtime_error("mkdtemp");
        }
        folder = pattern;
        path = folder + "/Firma.bok";
        generateCompany(doc, kVouchers);
        if (!saveNewCompany(doc, path).ok) {
            throw std::runtime_error("save");
        }
        PendingRecords records;
        for (int voucher = 1; voucher <= kVouchers; voucher += kEvery) {
            records.attachments.push_back({voucher, doc.state().m_nAktuellPeriod, "kvitto.pdf", 1000,
                                           std::string(64, 'a'), "2026-12-10 14:03:25", "pdf"});
        }
        DatabaseSave save(companyDatabasePath(path), records, {}, "2026-12-10 14:03:25");
        save.commit();
        save.finish();
    }
    ~Company() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

Company& company() {
    static const std::unique_ptr<Company> made = std::make_unique<Company>();
    return *made;
}

std::string pdfOf(std::size_t size, int seed) {
    std::string bytes = "%PDF-1.7\n";
    bytes.resize(size, static_cast<char>('a' + seed % 26));
    bytes += std::to_string(seed);
    return bytes;
}

void BM_Marks(benchmark::State& state) {
    Company& c = company();
    for (auto _ : state) {
        AttachmentMarks marks;
        int marked = 0;
        for (const CEttVerifikat& voucher : c.doc.state().m_verifikat) {
            marked += marks.has(c.doc, voucher.m_nVernr) ? 1 : 0;
        }
        if (marked != kVouchers / kEvery) {
            state.SkipWithError("fel antal märkta verifikat");
        }
        benchmark::DoNotOptimize(marked);
    }
}

void BM_VoucherReceipts(benchmark::State& state) {
    Company& c = company();
    for (auto _ : state) {
        benchmark::DoNotOptimize(voucherAttachments(c.doc, kVouchers / 2 + 1));
    }
}

void BM_StoreReceipt(benchmark::State& state, bool same) {
    Company& c = company();
    const std::string source = c.folder + "/kvitto.pdf";
    int seed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::ofstream out(source, std::ios::binary | std::ios::trunc);
            out << pdfOf(1024 * 1024, same ? 0 : ++seed);
        }
        state.ResumeTiming();
        AttachmentStoring storing(c.path);
        benchmark::DoNotOptimize(storing.store(source, 1, 1, LocalTime{}));
        storing.keep();
    }
}

} // namespace

BENCHMARK(BM_Marks)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VoucherReceipts)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_StoreReceipt, StoreReceipt, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_StoreReceipt, StoreSameReceipt, true)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace kv::bench

BENCHMARK_MAIN();
