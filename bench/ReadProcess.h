// Peak memory of reading a company file, measured in a fresh process so that
// nothing the benchmark itself holds (the generated books) is counted.
#pragma once

#include <string>

namespace kv::bench {

// The argument that makes the benchmark program a reading child.
inline constexpr const char* kReadChildFlag = "--kv_read_child";

struct ChildRead {
    bool ok = false;      // the company was read
    bool refused = false; // the reader refused the file; the figures below still hold
    std::string error;
    double seconds = 0.0; // the read alone
    long baselineKb = 0;  // peak resident size before the read
    long peakKb = 0;      // peak resident size after it
};

// Runs this program again as a child that reads companyPath and reports.
ChildRead readInFreshProcess(const std::string& companyPath);

// The child's side: reads the company and prints what readInFreshProcess parses.
int runReadChild(const std::string& companyPath);

} // namespace kv::bench
