// What every benchmark program shares: a temporary folder and the command
// line (the voucher counts to generate, and five repetitions by default).
#pragma once

#include <string>
#include <vector>

namespace kv::bench {

// A temporary folder, removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    [[nodiscard]] const std::string& path() const { return m_path; }
    [[nodiscard]] std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline constexpr const char* kVouchersFlag = "--kv_vouchers=";

// The program's arguments with --kv_vouchers=LIST taken out and, unless the
// user chose the repetitions, five of them with only their aggregates shown.
// argv() stays valid while the object lives.
class BenchArguments {
public:
    BenchArguments(int argc, char** argv, std::string defaultVouchers);
    BenchArguments(const BenchArguments&) = delete;
    BenchArguments& operator=(const BenchArguments&) = delete;

    [[nodiscard]] const std::string& vouchers() const { return m_vouchers; }
    // Hands the arguments to Google Benchmark; false (after its message)
    // when one of them is not its own.
    bool initialize();

private:
    std::string m_vouchers;
    std::string m_repetitions = "--benchmark_repetitions=5";
    std::string m_aggregatesOnly = "--benchmark_report_aggregates_only=true";
    std::vector<char*> m_args;
};

} // namespace kv::bench
