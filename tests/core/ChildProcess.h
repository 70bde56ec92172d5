// A program of the tests (kvistoran-test-child, whose path the build gives as
// KVISTORAN_TEST_CHILD) run as a process of its own, with pipes to its
// standard in and out: a second program on the same company, or a save that
// is killed midway.
#pragma once

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kv::test {

class ChildProcess {
public:
    // Starts kvistoran-test-child with arguments. Throws std::runtime_error.
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess(); // killed, when it still runs

    // The next line it writes, without its line break; empty at its end.
    std::string readLine();
    void kill();
    // Waits for the end: the status as waitpid gives it.
    int wait();

private:
    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
    bool m_waited = false;
    int m_status = 0;
};

// The child's exit code, or -signal when a signal ended it.
int exitOf(int status);

inline ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    std::vector<std::string> all{KVISTORAN_TEST_CHILD};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int spawned = ::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    m_input = toChild[1];
    m_output = fromChild[0];
    if (spawned != 0) {
        m_pid = -1;
        throw std::runtime_error("posix_spawn");
    }
}

inline ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_waited) {
        kill();
        wait();
    }
    ::close(m_input);
    ::close(m_output);
}

inline std::string ChildProcess::readLine() {
    std::string line;
    char c = 0;
    while (::read(m_output, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

inline void ChildProcess::kill() {
    if (m_pid > 0 && !m_waited) {
        ::kill(m_pid, SIGKILL);
    }
}

inline int ChildProcess::wait() {
    if (!m_waited && m_pid > 0) {
        while (::waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) {
        }
        m_waited = true;
    }
    return m_status;
}

inline int exitOf(int status) {
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

} // namespace kv::test
