// The backups that every save keeps: their names, the thinning rule, what a
// save keeps and when, a backup that cannot be made, and the template file's
// previous version.
#include "ChartTestSupport.h"
#include "TestSupport.h"

#include "storage/CompanyBackups.h"
#include "storage/CompanyFiles.h"
#include "storage/TemplateStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sys/stat.h>

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::buildSmallCompany;
using test::readFile;
using test::TempDir;
using test::writeFile;

// A clock that shows what the test sets.
struct FixedClock {
    LocalTime now{2024, 5, 3, 14, 22, 7};
    [[nodiscard]] LocalClock clock() const {
        return [this] { return now; };
    }
    // The clock moves on by days and seconds, through month ends.
    void advance(int days, int seconds = 0) {
        const long day = dayNumber(now) + days;
        const std::chrono::year_month_day date{std::chrono::sys_days(std::chrono::days(day))};
        const int second = now.hour * 3600 + now.minute * 60 + now.second + seconds;
        now = {static_cast<int>(date.year()),
               static_cast<int>(static_cast<unsigned>(date.month())),
               static_cast<int>(static_cast<unsigned>(date.day())),
               second / 3600,
               second / 60 % 60,
               second % 60};
    }
};

std::vector<std::string> entriesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        names.push_back(entry->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

BackupName at(int year, int month, int day, int hour = 12, int sequence = 1) {
    return {{year, month, day, hour, 0, 0}, sequence};
}

TEST(BackupNames, SortByTimeAndReadBack) {
    EXPECT_EQ(backupFolderName(at(2024, 5, 3, 14)), "2024-05-03_14-00-00");
    EXPECT_EQ(backupFolderName(at(2024, 5, 3, 14, 2)), "2024-05-03_14-00-00_02");
    EXPECT_EQ(backupFolderPath("/hem/Förening.bok"), "/hem/Förening_säkerhetskopior/");
    EXPECT_EQ(templateBackupPath("/m/mallalternativ.mal"), "/m/mallalternativ.mal.bak");
    for (const BackupName& name : {at(2024, 5, 3, 14), at(2024, 12, 31, 23, 99), at(2000, 2, 29, 0, 2)}) {
        EXPECT_EQ(parseBackupFolderName(backupFolderName(name)), name) << backupFolderName(name);
    }
    // Anything else in the folder is not a backup, and is never thinned away.
    for (const char* other :
         {"anteckningar", "2024-05-03", "2024-05-03_14-22-07_01", "2024-05-03_14-22-07_1x",
          "2024-13-03_14-22-07", "2023-02-29_14-22-07", "2024-05-03_24-00-00", "2024-05-03 14-22-07",
          "2024-05-03_14-22-07.bok", "+024-05-03_14-22-07"}) {
        EXPECT_FALSE(parseBackupFolderName(other)) << other;
    }
}

TEST(BackupThinning, KeepsTheLatestTwentyAndTheNewestOfEachOfTheLastThirtyDays) {
    const LocalTime now{2024, 5, 31, 18, 0, 0};
    struct Case {
        const char* what;
        std::vector<BackupName> backups;
        std::size_t removed;
    };
    std::vector<Case> cases;
    {
        Case many{"25 today", {}, 5};
        for (int hour = 0; hour < 25; ++hour) {
            many.backups.push_back({{2024, 5, 31, hour % 24, hour / 24, 0}, 1});
        }
        cases.push_back(many);
    }
    {
        // Days 0 to 29 back are kept, one each; days 30 to 39 back go.
        Case daily{"one a day for 40 days", {}, 10};
        for (int back = 0; back < 40; ++back) {
            FixedClock clock;
            clock.now = {2024, 5, 31, 9, 0, 0};
            clock.advance(-back);
            daily.backups.push_back({clock.now, 1});
        }
        cases.push_back(daily);
    }
    {
        // Three a day for ten days: the newest 20 cover six days and two of
        // the seventh; the third of that day and the two older ones of the
        // last three days go.
        Case three{"three a day for 10 days", {}, 7};
        for (int back = 0; back < 10; ++back) {
            for (int hour : {8, 12, 16}) {
                three.backups.push_back(at(2024, 5, 31 - back, hour));
            }
        }
        cases.push_back(three);
    }
    cases.push_back({"nothing to thin", {at(2023, 1, 1), at(2024, 5, 31)}, 0});
    for (const Case& c : cases) {
        const BackupName newest = *std::max_element(c.backups.begin(), c.backups.end());
        const std::vector<BackupName> removed = backupsToRemove(c.backups, now, newest);
        EXPECT_EQ(removed.size(), c.removed) << c.what;
        // The newest backup of each of the last 30 days is never removed.
        for (const BackupName& gone : removed) {
            const long back = dayNumber(now) - dayNumber(gone.time);
            const bool newerSameDay =
                std::any_of(c.backups.begin(), c.backups.end(), [&](const BackupName& b) {
                    return gone < b && dayNumber(b.time) == dayNumber(gone.time);
                });
            EXPECT_TRUE(back >= kBackupDays || newerSameDay) << c.what << ": " << backupFolderName(gone);
        }
    }
    // The backup just made stays, even when the clock was set back behind the others.
    std::vector<BackupName> future;
    for (int i = 0; i < 25; ++i) {
        future.push_back(at(2030, 1, 1 + i));
    }
    const BackupName made = at(2024, 5, 31, 12);
    future.push_back(made);
    future.push_back(at(2024, 5, 31, 13));
    const auto removed = backupsToRemove(future, now, made);
    EXPECT_EQ(std::count(removed.begin(), removed.end(), made), 0);
}

// A saved company with two periods, the first one open, each period with vouchers of its own.
struct SavedCompany {
    TempDir dir;
    FixedClock time;
    CTallvingeDoc doc;
    std::string path = dir.file("Firma.bok");

    SavedCompany() {
        buildSmallCompany(doc);
        test::loadEdited(doc, [](CompanyState& state) {
            CPeriod next;
            next.m_nFranManad = 1;
            next.m_nFranAr = 2013;
            next.m_nTillManad = 12;
            next.m_nTillAr = 2013;
            state.m_perioder.push_back(std::move(next));
        });
        test::postVoucher(doc, 3, 2, 2012, {{1930, 100, 0}, {3000, 0, 100}});
        EXPECT_TRUE(save().ok);
    }
    FileReport save() { return saveCompany(doc, path, time.clock()); }
    [[nodiscard]] std::string backups() const { return backupFolderPath(path); }
};

TEST(CompanyBackup, ASaveOverTheCompanyKeepsTheFilesItReplaces) {
    SavedCompany company;
    // The first save replaced nothing and kept nothing.
    EXPECT_FALSE(fs::exists(company.backups()));
    const std::string firstCompany = readFile(company.path);
    const std::string firstPeriod = readFile(company.dir.file("Firma_perioder/Firma0.per"));

    test::postVoucher(company.doc, 4, 2, 2012, {{1930, 50, 0}, {3000, 0, 50}});
    const FileReport report = company.save();
    EXPECT_TRUE(report.ok);
    EXPECT_TRUE(report.messages.empty());
    EXPECT_EQ(entriesIn(company.backups()), (std::vector<std::string>{"2024-05-03_14-22-07"}));
    const std::string kept = company.backups() + "2024-05-03_14-22-07/";
    EXPECT_EQ(entriesIn(kept), (std::vector<std::string>{"Firma.bok", "Firma0.per"}));
    EXPECT_EQ(readFile(kept + "Firma.bok"), firstCompany);
    EXPECT_EQ(readFile(kept + "Firma0.per"), firstPeriod);
    EXPECT_NE(readFile(company.path), firstCompany);

    // Another save in the same second gets the next name; one after the
    // switch to a period without a file yet keeps only the company file.
    const std::string secondCompany = readFile(company.path);
    test::loadEdited(company.doc, [](CompanyState& state) {
        state.m_nAktuellPeriod = 1;
        state.m_verifikat.clear();
    });
    ASSERT_TRUE(company.save().ok);
    EXPECT_EQ(entriesIn(company.backups() + "2024-05-03_14-22-07_02"),
              (std::vector<std::string>{"Firma.bok"}));
    EXPECT_EQ(readFile(company.backups() + "2024-05-03_14-22-07_02/Firma.bok"), secondCompany);
    company.time.advance(0, 1);
    const std::string secondPeriod = readFile(company.dir.file("Firma_perioder/Firma1.per"));
    ASSERT_TRUE(company.save().ok);
    EXPECT_EQ(readFile(company.backups() + "2024-05-03_14-22-08/Firma1.per"), secondPeriod);
}

TEST(CompanyBackup, AFailedSaveKeepsNoBackupOfFilesStillInPlace) {
    SavedCompany company;
    test::loadEdited(company.doc,
                     [](CompanyState& s) { s.m_allaKonton.front()->m_strKolumn2 = "Intäkter → kassa"; });
    company.doc.markUnsaved();
    EXPECT_FALSE(company.save().ok);
    EXPECT_TRUE(entriesIn(company.backups()).empty());
}

TEST(CompanyBackup, TheClockThinsTheBackups) {
    SavedCompany company;
    // Two saves a day for 35 days: 70 backups made.
    for (int day = 0; day < 35; ++day) {
        for (int save = 0; save < 2; ++save) {
            company.time.advance(save == 0 ? 1 : 0, save == 0 ? 0 : 3600);
            test::changeSomething(company.doc);
            ASSERT_TRUE(company.save().ok);
            if (day == 0 && save == 0) {
                fs::create_directories(company.backups() + "2024-05-04_14-22-07/Firma_perioder");
            }
        }
        company.time.now.hour = 14;
    }
    // The newest 20 cover the last ten days; the 20 days before them keep their newest each.
    std::vector<std::string> kept = entriesIn(company.backups());
    // A backup that the user saved a company into is the user's, and stays.
    ASSERT_EQ(kept.front(), "2024-05-04_14-22-07");
    EXPECT_TRUE(fs::exists(company.backups() + kept.front() + "/Firma.bok"));
    kept.erase(kept.begin());
    EXPECT_EQ(kept.size(), 40U);
    EXPECT_EQ(kept.back(), "2024-06-07_15-22-07");
    EXPECT_EQ(kept[20], "2024-05-29_14-22-07");
    EXPECT_EQ(kept[19], "2024-05-28_15-22-07");
    EXPECT_EQ(kept.front(), "2024-05-09_15-22-07");
}

TEST(CompanyBackup, ABackupThatCannotBeMadeIsToldAndTheSaveGoesOn) {
    struct Case {
        const char* what;
        std::function<void(const SavedCompany&)> spoil;
    };
    const std::vector<Case> cases = {
        {"a file where the folder goes",
         [](const SavedCompany& c) { writeFile(c.dir.file("Firma_säkerhetskopior"), "anteckningar"); }},
        {"a link that leads nowhere",
         [](const SavedCompany& c) {
             fs::create_symlink(c.dir.file("borta"), c.dir.file("Firma_säkerhetskopior"));
         }},
        {"every name of the second taken",
         [](const SavedCompany& c) {
             fs::create_directories(c.backups());
             writeFile(c.backups() + "2024-05-03_14-22-07", "");
             for (int sequence = 2; sequence <= 99; ++sequence) {
                 writeFile(c.backups() + backupFolderName({c.time.now, sequence}), "");
             }
         }},
    };
    for (const Case& c : cases) {
        SavedCompany company;
        c.spoil(company);
        test::postVoucher(company.doc, 4, 2, 2012, {{1930, 50, 0}, {3000, 0, 50}});
        const FileReport report = company.save();
        EXPECT_TRUE(report.ok) << c.what;
        ASSERT_EQ(report.messages.size(), 1U) << c.what;
        EXPECT_TRUE(report.messages[0].starts_with(std::string(kMsgBackupFailed) + "\n"))
            << report.messages[0];
        EXPECT_FALSE(company.doc.isModified()) << c.what;
        CTallvingeDoc saved;
        ASSERT_TRUE(openCompany(saved, company.path).ok);
        EXPECT_EQ(saved.state().m_verifikat.size(), 2U) << c.what;
    }
}

TEST(CompanyBackup, ABackupFolderOnAnotherDiskGetsPrivateCopies) {
    SavedCompany company;
    struct stat home {};
    struct stat other {};
    if (::stat(company.dir.path().c_str(), &home) != 0 || ::stat("/dev/shm", &other) != 0 ||
        home.st_dev == other.st_dev) {
        GTEST_SKIP() << "no second file system to test on";
    }
    TempDir elsewhere; // removed with the test
    const std::string away = "/dev/shm/" + fs::path(elsewhere.path()).filename().string();
    fs::create_directory(away);
    fs::create_symlink(away, company.backups().substr(0, company.backups().size() - 1));
    ::chmod(company.path.c_str(), 0640);
    const std::string before = readFile(company.path);

    test::changeSomething(company.doc);
    const FileReport report = company.save();
    EXPECT_TRUE(report.ok);
    EXPECT_TRUE(report.messages.empty()) << report.messages.front();
    const std::string kept = away + "/2024-05-03_14-22-07/Firma.bok";
    struct stat copy {};
    ASSERT_EQ(::stat(kept.c_str(), &copy), 0);
    EXPECT_EQ(copy.st_mode & 0777, 0640U);
    EXPECT_EQ(readFile(kept), before);
    EXPECT_TRUE(fs::exists(away + "/2024-05-03_14-22-07/Firma0.per"));
    fs::remove_all(away);
}

TEST(TemplateBackup, TheTemplateFileKeepsItsOnePreviousVersion) {
    test::TemplateFolder folder;
    const std::string file = templateFilePath(folder.path());
    const std::string backup = templateBackupPath(file);
    TemplateStore templates(folder.path());
    std::vector<std::string> versions;
    for (const char* name : {"A.bok", "B.bok", "C.bok"}) {
        auto mall = std::make_unique<CKontoplan>();
        mall->m_strNamn = name;
        templates.store(std::move(mall), std::nullopt);
        const FileReport report = templates.write();
        ASSERT_TRUE(report.ok);
        EXPECT_TRUE(report.messages.empty());
        versions.push_back(readFile(file));
    }
    EXPECT_EQ(readFile(backup), versions[1]);
    EXPECT_EQ(entriesIn(folder.path()),
              (std::vector<std::string>{"mallalternativ.mal", "mallalternativ.mal.bak"}));

    // A folder in the way of the previous version is told, and the file is written.
    fs::remove(backup);
    fs::create_directories(backup + "/i vägen");
    templates.store(std::make_unique<CKontoplan>(), std::nullopt);
    const FileReport report = templates.write();
    EXPECT_TRUE(report.ok);
    ASSERT_EQ(report.messages.size(), 1U);
    EXPECT_TRUE(report.messages[0].starts_with(std::string(kMsgTemplateBackupFailed) + "\n" + backup));
    EXPECT_NE(readFile(file), versions[2]);
    EXPECT_TRUE(fs::is_directory(backup));
}

} // namespace
} // namespace kv
