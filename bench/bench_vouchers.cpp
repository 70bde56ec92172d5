// Voucher benchmarks on a generated company of 100 000 vouchers, with the
// window program's voucher list on screen (offscreen platform):
//
//   RegisterVoucher  a voucher typed into the voucher dialog's model (a sale
//                    split by the VAT line, and the bank), "OK" with its
//                    questions, the registration, and every open view
//                    rebuilt and painted; listOpen:0 without the list window
//   OpenVoucherList  the voucher list window made, shown and painted
//   ScrollVoucherList the list paged to its end and painted
//
//   kvistoran-voucher-bench                          100 000 vouchers, 5 repetitions, medians
//   kvistoran-voucher-bench --kv_vouchers=1000000

#include "BenchSupport.h"
#include "GeneratedCompany.h"

#include "app/AppController.h"
#include "interaction/UnattendedPrompter.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherListWindow.h"

#include <QApplication>
#include <QScrollBar>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace kv::bench {

namespace {

// One generated company at a time, with the application around it.
struct Desk {
    explicit Desk(int vouchers) : count(vouchers) { generateCompany(doc, vouchers); }
    int count;
    CTallvingeDoc doc;
    UnattendedPrompter prompter; // answers OK; anything told is a failure
    AppController controller{prompter, std::string()};
};

Desk* desk(benchmark::State& state) {
    static std::unique_ptr<Desk> current;
    const auto vouchers = static_cast<int>(state.range(0));
    if (!current || current->count != vouchers) {
        current.reset();
        current = std::make_unique<Desk>(vouchers);
    }
    return current.get();
}

// The voucher list on the screen, as the user has it open.
std::unique_ptr<ui::VoucherListWindow> showList(Desk& desk) {
    auto list = std::make_unique<ui::VoucherListWindow>(desk.doc, desk.controller);
    list->resize(700, 450);
    list->show();
    list->repaint();
    QApplication::processEvents();
    return list;
}

bool typeVoucher(VoucherFormModel& form) {
    form.setFieldText(VoucherField::TransDay, "14");
    form.setFieldText(VoucherField::TransMonth, "6");
    form.setFieldText(VoucherField::TransYear, "2023");
    form.setFieldText(VoucherField::Vertext, "Kontantförsäljning");
    if (!form.typeCell({1, kColKonto}, "3001") || !form.typeCell({1, kColRadtext}, "Varor") ||
        !form.typeCell({1, kColKredit}, "1250,00")) {
        return false;
    }
    form.vatLine();
    return form.typeCell({2, kColRadtext}, "Moms") && form.typeCell({3, kColKonto}, "1930") &&
           form.typeCell({3, kColRadtext}, "Varor") && form.typeCell({3, kColDebet}, "1250");
}

void BM_RegisterVoucher(benchmark::State& state) {
    Desk& company = *desk(state);
    const bool withList = state.range(1) != 0;
    const auto list = withList ? showList(company) : nullptr;
    for (auto _ : state) {
        {
            VoucherFormModel form(company.doc, company.prompter);
            if (!typeVoucher(form) || !form.ok()) {
                state.SkipWithError(company.prompter.said.empty() ? "not registered"
                                                                  : company.prompter.said.front().c_str());
                break;
            }
        }
        if (list) {
            list->view()->viewport()->repaint();
            QApplication::processEvents();
        }
    }
    state.counters["vouchers"] = static_cast<double>(company.doc.state().m_verifikat.size());
}

void BM_OpenVoucherList(benchmark::State& state) {
    Desk& company = *desk(state);
    for (auto _ : state) {
        auto list = showList(company);
        benchmark::DoNotOptimize(list->view()->model()->rowCount());
        state.PauseTiming();
        list.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["vouchers"] = static_cast<double>(company.doc.state().m_verifikat.size());
}

void BM_ScrollVoucherList(benchmark::State& state) {
    Desk& company = *desk(state);
    const auto list = showList(company);
    QScrollBar* bar = list->view()->verticalScrollBar();
    bool down = true;
    for (auto _ : state) {
        bar->setValue(down ? bar->maximum() : bar->minimum());
        list->view()->viewport()->repaint();
        down = !down;
    }
    state.counters["rows"] = list->view()->model()->rowCount();
}

} // namespace

} // namespace kv::bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    kv::bench::BenchArguments arguments(argc, argv, "100000");
    const std::string& voucherList = arguments.vouchers();
    for (const int vouchers : {std::stoi(voucherList)}) {
        benchmark::RegisterBenchmark("RegisterVoucher", kv::bench::BM_RegisterVoucher)
            ->Args({vouchers, 1})
            ->Args({vouchers, 0})
            ->ArgNames({"vouchers", "listOpen"})
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("OpenVoucherList", kv::bench::BM_OpenVoucherList)
            ->Arg(vouchers)
            ->ArgName("vouchers")
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("ScrollVoucherList", kv::bench::BM_ScrollVoucherList)
            ->Arg(vouchers)
            ->ArgName("vouchers")
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    if (!arguments.initialize()) {
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
