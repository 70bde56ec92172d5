// Runs the built kvistoran-cli as a user would, from a shell, and keeps what it
// printed on standard out and standard error and its exit status.
#pragma once

#include "TestSupport.h"

#include <string>

namespace kv::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// text in single quotes for the shell.
std::string quoted(const std::string& text);

// Runs "kvistoran-cli arguments" (arguments as the shell reads them) after
// prefix, such as "cd FOLDER &&" or "NAME=value"; standard error goes to a
// file in dir.
CliRun runCli(const TempDir& dir, const std::string& arguments, const std::string& prefix = {});

} // namespace kv::test
