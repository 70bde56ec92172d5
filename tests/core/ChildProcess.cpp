#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kv::test {

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
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

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_waited) {
        kill();
        wait();
    }
    ::close(m_input);
    ::close(m_output);
}

std::string ChildProcess::readLine() {
    std::string line;
    char c = 0;
    while (::read(m_output, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

void ChildProcess::kill() {
    if (m_pid > 0 && !m_waited) {
        ::kill(m_pid, SIGKILL);
    }
}

int ChildProcess::wait() {
    if (!m_waited && m_pid > 0) {
        while (::waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) {
        }
        m_waited = true;
    }
    return m_status;
}

int exitOf(int status) {
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

} // namespace kv::test
