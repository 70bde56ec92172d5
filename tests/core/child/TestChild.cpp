// The other program of the tests: a real process that holds a company's lock
// or is killed while it saves, so that the tests meet what a second program
// or a crash leaves, not a flag.
//
//   kvistoran-test-child hold COMPANY.bok     takes the lock, says "låst" on standard out and holds
//                                             it until standard in closes or the process is killed
//   kvistoran-test-child save STEP FOLDER     runs the session of InterruptedSave.h on the company
//                                             in FOLDER and is killed (SIGKILL) at save step STEP
//   kvistoran-test-child journal DATABASE     is killed amid a change of the database too large for
//                                             SQLite's cache, so that its journal must be rolled back
#include "InterruptedSave.h"
#include "storage/CompanyLock.h"
#include "storage/SaveRecovery.h"

#include <sqlite3.h>

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

int journal(const std::string& database) {
    sqlite3* db = nullptr;
    if (sqlite3_open(database.c_str(), &db) != SQLITE_OK) {
        return 6;
    }
    sqlite3_exec(db, "PRAGMA cache_size = 1; BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    for (int i = 0; i < 2000; ++i) {
        sqlite3_exec(db,
                     "INSERT INTO sie_import (file_name, file_sha256, read_at, period) VALUES "
                     "('halv.si', hex(randomblob(32)), '2024-03-31 18:00:00', 0)",
                     nullptr, nullptr, nullptr);
    }
    ::raise(SIGKILL);
    return 7;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "hold") {
            return hold(args[1]);
        }
        if (args.size() == 2 && args[0] == "journal") {
            return journal(args[1]);
        }
        if (args.size() == 3 && args[0] == "save") {
            return save(std::stoi(args[1]), args[2]);
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 5;
    }
    std::cerr << "användning: kvistoran-test-child hold FÖRETAG.bok | save STEG MAPP | journal DATABAS\n";
    return 9;
}
