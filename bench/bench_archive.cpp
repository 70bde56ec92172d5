// The year's archive of a year of 5 000 vouchers with a one-page PDF receipt
// on every voucher (5 000 receipts), written as "kvistoran-cli archive" and
// "Arkiv → Skapa årsarkiv..." write it: the company opened from its files, its
// receipts read from its database, every report drawn to PDF/A-1b by the
// window program's print code on the offscreen platform, the SIE file, the
// receipts from the company's store, hashed, and the zip with its manifest.
// The setup (the company, the receipts drawn with QPdfWriter, attached and
// saved) is made once, in a temporary folder, and is not timed.
//
//   kvistoran-archive-bench                          5 repetitions, medians
//   kvistoran-archive-bench --kv_vouchers=1000
#include "BenchSupport.h"
#include "GeneratedCompany.h"

#include "archive/ArchivePlan.h"
#include "archive/ArchiveRendering.h"
#include "archive/ArchiveVerify.h"
#include "attachments/Attachments.h"
#include "storage/CompanyFiles.h"

#include <QApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace kv::bench {

namespace {

// A receipt of one A4 page, as a scanner or a shop's till writes one.
void drawReceipt(const std::string& path, int number) {
    QPdfWriter pdf(QString::fromStdString(path));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(150);
    QPainter painter(&pdf);
    painter.setFont(QFont(QStringLiteral("Liberation Sans"), 11));
    painter.drawText(100, 150, QStringLiteral("Kvitto nr %1").arg(number));
    for (int line = 0; line < 12; ++line) {
        painter.drawText(
            100, 260 + line * 40,
            QStringLiteral("Vara %1   %2,00 kr").arg(line + 1).arg((number * 7 + line * 13) % 900));
    }
    painter.drawText(100, 800, QStringLiteral("Summa att betala   %1,00 kr").arg(number % 5000 + 100));
}

struct Books {
    TempFolder folder;
    std::string path = folder.file("Firma.bok");
    std::size_t receipts = 0;

    explicit Books(int vouchers) {
        CTallvingeDoc doc;
        generateCompany(doc, vouchers);
        if (!saveNewCompany(doc, path).ok) {
            throw std::runtime_error("the company could not be saved");
        }
        std::filesystem::create_directory(folder.file("kvitton"));
        AttachmentStoring storing(path);
        const LocalClock clock = [] { return LocalTime{2026, 12, 10, 14, 3, 25}; };
        for (const CEttVerifikat& voucher : doc.state().m_verifikat) {
            const std::string receipt =
                folder.file("kvitton/kvitto-" + std::to_string(voucher.m_nVernr) + ".pdf");
            drawReceipt(receipt, voucher.m_nVernr);
            receipts += attachToVoucher(doc, voucher.m_nVernr, {receipt}, storing, clock).size();
        }
        storing.keep();
        if (!saveCompany(doc, path).ok) {
            throw std::runtime_error("the receipts could not be saved");
        }
    }
};

void BM_YearArchive(benchmark::State& state) {
    static const std::unique_ptr<Books> books = std::make_unique<Books>(static_cast<int>(state.range(0)));
    const std::string out = books->folder.file("arkiv.zip");
    std::size_t attached = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CTallvingeDoc doc;
        if (!openArchiveBooks(doc, books->path, std::nullopt).ok) {
            state.SkipWithError("the company did not open");
            return;
        }
        const std::vector<ArchiveAttachment> attachments = archiveAttachments(doc);
        attached = attachments.size();
        ui::writeArchiveOf(doc, out, attachments);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    if (attached != books->receipts) {
        state.SkipWithError("receipts missing from the archive");
        return;
    }
    const ArchiveCheck check = verifyArchive(out);
    if (!check.ok) {
        state.SkipWithError("the archive does not match its manifest");
        return;
    }
    state.counters["receipts"] = static_cast<double>(attached);
    state.counters["files"] = static_cast<double>(check.filesChecked);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
}

} // namespace

} // namespace kv::bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QStandardPaths::setTestModeEnabled(true);
    kv::bench::BenchArguments arguments(argc, argv, "5000");
    const int vouchers = std::stoi(arguments.vouchers());
    benchmark::RegisterBenchmark("YearArchive", kv::bench::BM_YearArchive)
        ->Arg(vouchers)
        ->ArgName("vouchers")
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    if (!arguments.initialize()) {
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
