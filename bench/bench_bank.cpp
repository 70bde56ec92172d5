// Bank statement benchmark: a statement of 10 000 lines proposed as
// vouchers in a company of 100 000 vouchers (80 000 generated four-line
// vouchers and 20 000 two-sided payments from the bank account, whose texts
// teach the matching), with 40 rules: the history index built, every line
// matched by rule or history, its voucher text made and checked, the
// duplicates looked up and the balance compared; and the same with a year's
// 20 000 bank lines booked before to learn from. Goal: 50 ms median.
//
//   kvistoran-bank-bench       5 repetitions, medians
//
// Every --benchmark_* flag works as usual.

#include "BankStatementData.h"
#include "BenchSupport.h"
#include "GeneratedCompany.h"

#include "bank/BankImport.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace kv::bench {
namespace {

constexpr int kGenerated = 80'000;
constexpr int kPayments = 20'000;
constexpr int kLines = 10'000;

struct Fixture {
    std::unique_ptr<CTallvingeDoc> doc = std::make_unique<CTallvingeDoc>();
    BankStatement statement;
    std::vector<BankRule> rules;

    Fixture() {
        generateCompany(*doc, kGenerated);
        addBankPayments(*doc, kPayments);
        statement = bankStatementOf(kLines);
        rules = bankRules();
    }
};

Fixture& fixture() {
    static Fixture made;
    return made;
}

void BM_BankProposals(benchmark::State& state) {
    Fixture& f = fixture();
    std::size_t proposed = 0;
    for (auto _ : state) {
        const BankImportPlan plan = planBankImport(*f.doc, f.statement, {1930, {}}, f.rules, {});
        proposed = 0;
        for (const BankProposal& proposal : plan.proposals) {
            proposed += proposal.status == ProposalStatus::Proposed ? 1 : 0;
        }
        benchmark::DoNotOptimize(plan.balance.books);
    }
    state.counters["proposed"] = static_cast<double>(proposed);
    state.counters["vouchers"] = static_cast<double>(f.doc->state().m_verifikat.size());
}

// The same statement read again: every line found among 10 000 booked before.
void BM_BankProposalsReadAgain(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<BankLineRecord> booked;
    const std::string account = bankAccountKey(f.statement, 1930);
    for (const BankLine& line : f.statement.lines) {
        booked.push_back({account, line.bookingDate.text(), line.amount, bankLineTextKey(line), 1, 1,
                          "2024-04-02 09:30:00", 1930, 6570, 0, bankLineWords(line), "historik"});
    }
    for (auto _ : state) {
        const BankImportPlan plan = planBankImport(*f.doc, f.statement, {1930, {}}, f.rules, booked);
        benchmark::DoNotOptimize(plan.proposals.data());
    }
}

// The statement of the next year: 20 000 lines booked the year before to learn from.
void BM_BankProposalsLearning(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<BankLineRecord> lastYear;
    for (std::size_t i = 0; i < 20'000; ++i) {
        const BankLine& line = f.statement.lines[i % f.statement.lines.size()];
        lastYear.push_back({"FÖRRA ÅRET", "2023-03-01", line.amount + 1, "x",
                            static_cast<std::int32_t>(i + 1), 0, "2024-01-02 09:30:00", 1930, 6570, 0,
                            bankLineWords(line), "historik"});
    }
    for (auto _ : state) {
        const BankImportPlan plan = planBankImport(*f.doc, f.statement, {1930, {}}, f.rules, lastYear);
        benchmark::DoNotOptimize(plan.proposals.data());
    }
}

BENCHMARK(BM_BankProposals)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BankProposalsLearning)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BankProposalsReadAgain)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace kv::bench

int main(int argc, char** argv) {
    kv::bench::BenchArguments arguments(argc, argv, "100000");
    if (!arguments.initialize()) {
        return 2;
    }
    benchmark::AddCustomContext("company",
                                "247-account template, 80 000 vouchers of 4 lines, 20 000 payments");
    benchmark::AddCustomContext("statement", "10 000 lines");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
