// The other program of the tests: a real process that holds a company's lock
// or is killed while it saves, so that the tests meet what a second program
// or a crash leaves, not a flag.
//
//   kvistoran-test-child hold COMPANY.bok     takes the lock, says "låst" on standard out and holds
//                                             it until standard in closes or the process is killed
//   kvistoran-test-child save STEP FOLDER     runs the session of InterruptedSave.h on the company
//                                             in FOLDER and is killed (SIGKILL) at save step STEP
#include "InterruptedSave.h"
#include "storage/CompanyLock.h"
#include "storage/SaveRecovery.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>
#include <variant>

namespace {

int hold(const std::string& company) {
    auto taken = kv::CompanyLock::take(company, "kvistoran-test-child");
    if (!std::holds_alternative<kv::CompanyLock>(taken)) {
        std::cout << "upptaget" << std::endl;
        return 1;
    }
    std::cout << "låst" << std::endl;
    char byte = 0;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    return 0;
}

int save(int step, const std::string& folder) {
    namespace session = kv::test::interrupted;
    const std::string path = session::companyPath(folder);
    auto lock = kv::CompanyLock::take(path, "kvistoran-test-child");
    if (!std::holds_alternative<kv::CompanyLock>(lock)) {
        return 2;
    }
    kv::recoverCompany(path);
    kv::CTallvingeDoc doc;
    if (!kv::openCompany(doc, path).ok) {
        return 3;
    }
    kv::AttachmentStoring storing(path);
    session::work(doc, folder, storing);
    kv::setSaveStepHook([step](kv::SaveStep reached) {
        if (static_cast<int>(reached) == step) {
            ::raise(SIGKILL);
        }
    });
    if (!kv::saveCompany(doc, path, session::sessionTime).ok) {
        return 4;
    }
    storing.keep();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "hold") {
            return hold(args[1]);
        }
        if (args.size() == 3 && args[0] == "save") {
            return save(std::stoi(args[1]), args[2]);
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 5;
    }
    std::cerr << "användning: kvistoran-test-child hold FÖRETAG.bok | save STEG MAPP\n";
    return 9;
}
