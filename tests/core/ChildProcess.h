// A program of the tests (kvistoran-test-child) run as a process of its own,
// with pipes to its standard in and out: a second program on the same
// company, or a save that is killed midway.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

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

} // namespace kv::test
