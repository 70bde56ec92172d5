// A company with a history of saves and backups, for the tests of the
// backup list, of restoring and of the command that offers them.
#pragma once

#include "TestSupport.h"

#include "storage/CompanyBackups.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace kv::test {

// A company saved three times, a second apart, switching periods between:
//   10:00:00  periods 2012 and 2013, 2012 open with 1 voucher
//   10:00:01  2013 open with 3 vouchers   -> backup 1: the company file of 10:00:00
//   10:00:02  2012 open with 2 vouchers   -> backup 2: the company file of 10:00:01 and 2012's file of
//   10:00:00
struct History {
    TempDir dir;
    std::string path = dir.file("Firma.bok");
    std::string first = backupFolderPath(path) + "2024-05-03_10-00-01/";
    std::string second = backupFolderPath(path) + "2024-05-03_10-00-02/";

    History() {
        CTallvingeDoc doc;
        test::buildSmallCompany(doc);
        test::loadEdited(doc, [](CompanyState& state) {
            CPeriod next;
            next.m_nFranManad = 1;
            next.m_nFranAr = 2013;
            next.m_nTillManad = 12;
            next.m_nTillAr = 2013;
            state.m_perioder.push_back(std::move(next));
        });
        saveWith(doc, 0, 2012, 1, 0);
        saveWith(doc, 1, 2013, 3, 1);
        saveWith(doc, 0, 2012, 2, 2);
    }

    void saveWith(CTallvingeDoc& doc, std::int32_t period, std::int32_t year, int vouchers, int at) {
        test::loadEdited(doc, [&](CompanyState& state) {
            state.m_nAktuellPeriod = period;
            state.m_nFranAr = year;
            state.m_nTillAr = year;
            state.m_verifikat.clear();
            state.m_nNastaVernr = 1;
        });
        for (int i = 0; i < vouchers; ++i) {
            test::postVoucher(doc, 10 + i, 3, year, {{1930, 10.0 + i, 0}, {3000, 0, 10.0 + i}});
        }
        const LocalClock clock = [at] { return LocalTime{2024, 5, 3, 10, 0, at}; };
        ASSERT_TRUE(saveCompany(doc, path, clock).ok);
    }
};

// Every file under folder with its bytes and time, to see that nothing
// changed; the lock of an open company is no file of the company's.
inline std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (const std::string name = entry.path().filename().string();
            name.starts_with(".") && name.ends_with(".bok.lock")) {
            continue;
        }
        if (entry.is_regular_file()) {
            const auto time = std::filesystem::last_write_time(entry.path()).time_since_epoch().count();
            files[entry.path().string()] = readFile(entry.path().string()) + "@" + std::to_string(time);
        } else {
            files[entry.path().string()] = entry.is_directory() ? "folder" : "other";
        }
    }
    return files;
}

} // namespace kv::test
