#include "CliRunner.h"

#include <cstdio>
#include <sys/wait.h>

namespace kv::test {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

CliRun runCli(const TempDir& dir, const std::string& arguments, const std::string& prefix) {
    const std::string errFile = dir.file("stderr.txt");
    const std::string command = (prefix.empty() ? "" : prefix + " ") + std::string(KVISTORAN_CLI) + " " +
                                arguments + " 2>" + quoted(errFile);
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readFile(errFile);
    return run;
}

} // namespace kv::test
