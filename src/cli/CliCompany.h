// The company a command works on. A command that writes it holds its lock
// from before it reads the company until it is done, and refuses when
// another program has the company open; any command first settles what a
// save killed midway left, when no other program holds the company.
#pragma once

#include "CliMessages.h"
#include "storage/CompanyLock.h"

#include <functional>
#include <optional>
#include <string>

namespace kv::cli {

// The lock of the company at path for command ("import-bank"), with what
// opening it settled told on standard error; nothing when another program
// holds the company, which has been told then (the command ends with exit
// status 1).
// fail tells the refusal (failWith unless a caller collects the messages).
using Fail = std::function<int(const std::string&)>;
std::optional<CompanyLock> lockCompany(const std::string& path, const std::string& command,
                                       const Fail& fail = failWith);

// Before the company at path is read: a save that a killed program left
// pending is settled, unless another program holds the company (and may be
// saving it now). The tidying of leftovers is left to the writers.
void settleBeforeReading(const std::string& path);

// Either of the two, as the command writes the company or only reads it
// (a command that writes only when asked to, with --yes): false when
// another program holds a company the command writes.
bool prepareCompany(const std::string& path, const std::string& command, bool writes,
                    std::optional<CompanyLock>& lock, const Fail& fail = failWith);

} // namespace kv::cli
