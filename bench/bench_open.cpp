// Opening a company in the window program (offscreen platform), as the user
// does with a file on the command line: the company file read, the journal
// shown, the trial-balance window opened and the main window painted.
//
//   OpenAndShowTrialBalance  from the file to the painted trial balance;
//                            the window program before it and the company's
//                            closing after it are not timed
//
//   kvistoran-open-bench                          100 000 vouchers, 5 repetitions, medians
//   kvistoran-open-bench --kv_vouchers=1000000

#include "BenchSupport.h"
#include "GeneratedCompany.h"

#include "app/AppController.h"
#include "app/ChildWindow.h"
#include "app/MainWindow.h"
#include "interaction/UnattendedPrompter.h"
#include "reports/PanelWindowContent.h"
#include "reports/ReportFormView.h"
#include "storage/CompanyFiles.h"

#include <QApplication>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

namespace kv::bench {

namespace {

// A generated company saved in a temporary folder, once per size.
struct SavedCompany {
    explicit SavedCompany(int vouchers) : count(vouchers), path(folder.file("Benchföretaget.bok")) {
        CTallvingeDoc doc;
        generateCompany(doc, vouchers);
        saved = saveCompany(doc, path).ok;
    }
    int count;
    TempFolder folder;
    std::string path;
    bool saved = false;
};

const SavedCompany& savedCompany(int vouchers) {
    static std::unique_ptr<SavedCompany> current;
    if (!current || current->count != vouchers) {
        current.reset();
        current = std::make_unique<SavedCompany>(vouchers);
    }
    return *current;
}

// The window program as it starts, with no company open.
struct Program {
    UnattendedPrompter prompter;
    AppController controller{prompter, std::string()};
    ui::MainWindow window{controller};

    Program() {
        window.resize(1366, 768);
        window.show();
        QApplication::processEvents();
    }
};

void BM_OpenAndShowTrialBalance(benchmark::State& state) {
    const SavedCompany& company = savedCompany(static_cast<int>(state.range(0)));
    if (!company.saved) {
        state.SkipWithError("the generated company could not be saved");
        return;
    }
    std::size_t lines = 0;
    for (auto _ : state) {
        auto program = std::make_unique<Program>();
        const auto start = std::chrono::steady_clock::now();
        const bool opened = program->controller.openAtStartUp(company.path);
        program->controller.execute(CommandId::TrialBalanceWindow);
        QApplication::processEvents();
        program->window.repaint();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        ui::ChildWindow* balance = program->window.window(WindowKind::TrialBalance);
        auto* content =
            balance == nullptr ? nullptr : qobject_cast<ui::PanelWindowContent*>(balance->content());
        if (!opened || content == nullptr || !program->prompter.said.empty()) {
            state.SkipWithError("the company or its trial balance did not open");
            break;
        }
        lines = content->formView()->form().lines.size();
        state.SetIterationTime(elapsed.count());
        program.reset(); // closing is not part of opening
        QApplication::processEvents();
    }
    state.counters["vouchers"] = static_cast<double>(company.count);
    state.counters["trial_balance_lines"] = static_cast<double>(lines);
}

} // namespace

} // namespace kv::bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QStandardPaths::setTestModeEnabled(true); // the recent files stay out of the user's settings
    kv::bench::BenchArguments arguments(argc, argv, "100000");
    const int vouchers = std::stoi(arguments.vouchers());
    benchmark::RegisterBenchmark("OpenAndShowTrialBalance", kv::bench::BM_OpenAndShowTrialBalance)
        ->Arg(vouchers)
        ->ArgName("vouchers")
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    if (!arguments.initialize()) {
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
