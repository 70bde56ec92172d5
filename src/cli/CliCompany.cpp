#include "CliCompany.h"

#include "CliMessages.h"
#include "storage/CompanyFiles.h"
#include "storage/SaveRecovery.h"

#include <variant>

namespace kv::cli {

std::optional<CompanyLock> lockCompany(const std::string& path, const std::string& command,
                                       const Fail& fail) {
    auto taken = CompanyLock::take(fullPath(path), "kvistoran-cli " + command);
    if (const auto* holder = std::get_if<LockHolder>(&taken)) {
        fail(fileFailureMessage(kMsgKanEjSparaForetaget, fullPath(path), companyInUseMessage(*holder)));
        return std::nullopt;
    }
    printNotes(recoverCompany(fullPath(path)).messages);
    return std::move(std::get<CompanyLock>(taken));
}

void settleBeforeReading(const std::string& path) {
    auto taken = CompanyLock::take(fullPath(path), "kvistoran-cli");
    if (std::holds_alternative<CompanyLock>(taken)) {
        printNotes(settleInterruptedSaves(fullPath(path)).messages);
    }
}

bool prepareCompany(const std::string& path, const std::string& command, bool writes,
                    std::optional<CompanyLock>& lock, const Fail& fail) {
    if (!writes) {
        settleBeforeReading(path);
        return true;
    }
    lock = lockCompany(path, command, fail);
    return lock.has_value();
}

} // namespace kv::cli
