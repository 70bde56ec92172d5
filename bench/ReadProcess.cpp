#include "ReadProcess.h"

#include "model/TallvingeDoc.h"
#include "storage/CompanyFiles.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kv::bench {

namespace {

// VmHWM of this process in kB: the largest resident size it has had.
long peakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

std::string readAll(int fd) {
    std::string text;
    char buffer[512];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

int runReadChild(const std::string& companyPath) {
    const long baseline = peakResidentKb();
    CTallvingeDoc doc;
    const auto start = std::chrono::steady_clock::now();
    const FileReport report = openCompany(doc, companyPath);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%s %.6f %ld %ld %zu\n", report.ok ? "ok" : "refused", elapsed.count(), baseline,
                peakResidentKb(), doc.state().m_verifikat.size());
    std::fflush(stdout);
    // The books are not needed any more: leave without freeing them one by one.
    std::_Exit(0);
}

ChildRead readInFreshProcess(const std::string& companyPath) {
    ChildRead result;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        result.error = std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::string exe = "/proc/self/exe";
    std::string flag = kReadChildFlag;
    std::string path = companyPath;
    char* argv[] = {exe.data(), flag.data(), path.data(), nullptr};
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, exe.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        result.error = std::strerror(spawned);
        return result;
    }
    const std::string output = readAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    std::istringstream words(output);
    std::string word;
    std::size_t vouchers = 0;
    words >> word;
    if ((word == "ok" || word == "refused") &&
        (words >> result.seconds >> result.baselineKb >> result.peakKb >> vouchers) && WIFEXITED(status) &&
        WEXITSTATUS(status) == 0) {
        result.ok = word == "ok";
        result.refused = !result.ok;
        if (result.refused) {
            result.error = "the file was refused";
        }
    } else {
        result.error = output.empty() ? "the reading process failed" : output;
    }
    return result;
}

} // namespace kv::bench
