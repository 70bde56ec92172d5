#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <stdlib.h>

namespace kv::bench {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvistoran-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

BenchArguments::BenchArguments(int argc, char** argv, std::string defaultVouchers)
    : m_vouchers(std::move(defaultVouchers)) {
    const std::string flag = kVouchersFlag;
    bool repetitionsGiven = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind(flag, 0) == 0) {
            m_vouchers = arg.substr(flag.size());
            continue;
        }
        repetitionsGiven = repetitionsGiven || arg.rfind("--benchmark_repetitions", 0) == 0;
        m_args.push_back(argv[i]);
    }
    if (!repetitionsGiven && !m_args.empty()) {
        m_args.insert(m_args.begin() + 1, {m_repetitions.data(), m_aggregatesOnly.data()});
    }
}

bool BenchArguments::initialize() {
    int count = static_cast<int>(m_args.size());
    m_args.push_back(nullptr);
    benchmark::Initialize(&count, m_args.data());
    return !benchmark::ReportUnrecognizedArguments(count, m_args.data());
}

} // namespace kv::bench
