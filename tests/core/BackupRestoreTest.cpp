// Looking through the backups (damaged ones shown as damaged) and taking one
// back as a company of its own, never touching the company it was made of.
#include "BackupTestSupport.h"
#include "TestSupport.h"

#include "backup/BackupListModel.h"
#include "storage/BackupList.h"
#include "storage/BackupRestore.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::History;
using test::readFile;
using test::snapshot;
using test::TempDir;
using test::writeFile;

std::size_t vouchersOfPeriod(const std::string& company, std::int32_t period) {
    CTallvingeDoc doc;
    EXPECT_TRUE(openCompany(doc, company).ok);
    if (period != doc.state().m_nAktuellPeriod) {
        const FileReport read = readPeriodFile(doc, period);
        EXPECT_TRUE(read.ok) << company << " " << period;
    }
    return doc.state().m_verifikat.size();
}

TEST(BackupList, ListsNewestFirstAndShowsTheDamagedOnes) {
    History history;
    // The oldest company file cut short, one period file spoilt, an empty
    // backup folder and a note of the user's own among the backups.
    const std::string bytes = readFile(history.first + "Firma.bok");
    writeFile(history.first + "Firma.bok", bytes.substr(0, bytes.size() / 2));
    writeFile(history.second + "Firma0.per", "skräp");
    fs::create_directories(backupFolderPath(history.path) + "2024-05-03_10-00-09");
    writeFile(backupFolderPath(history.path) + "anteckningar.txt", "mina anteckningar");

    BackupListModel list(listBackups(history.path), "Firma");
    EXPECT_EQ(list.title(), "Säkerhetskopior av Firma");
    ASSERT_EQ(list.rowCount(), 3U);
    EXPECT_EQ(list.cells(0),
              (std::vector<std::string>{"2024-05-03 10:00:09", "", "", "",
                                        "Skadad, kan inte öppnas: Säkerhetskopian saknar företagsfil."}));
    EXPECT_TRUE(list.damaged(0));
    // The newest backup that opens is offered first.
    EXPECT_EQ(list.selected(), 1);
    list.select(0);
    EXPECT_FALSE(list.canOpen());
    EXPECT_FALSE(list.accept());

    const std::vector<std::string> second = list.cells(1);
    EXPECT_EQ(std::vector<std::string>(second.begin(), second.end() - 1),
              (std::vector<std::string>{"2024-05-03 10:00:02", "1.2013 - 12.2013", "3",
                                        "2013-03-12  Verifikat 3"}));
    EXPECT_TRUE(second.back().starts_with("En periodfil är skadad: Firma0.per: ")) << second.back();
    EXPECT_TRUE(list.damaged(1));
    list.select(1);
    EXPECT_TRUE(list.canOpen());

    const std::vector<std::string> first = list.cells(2);
    EXPECT_EQ(first[0], "2024-05-03 10:00:01");
    EXPECT_TRUE(first[4].starts_with("Skadad, kan inte öppnas: Filen tar slut för tidigt")) << first[4];
    list.select(2);
    EXPECT_FALSE(list.canOpen());
    list.select(1);
    ASSERT_TRUE(list.accept());
    EXPECT_EQ(list.chosen().folder, history.second);
}

TEST(BackupRestore, GivesAWholeCompanyAndLeavesTheCompanyAlone) {
    History history;
    const auto before = snapshot(history.dir.path());

    // The second backup holds 2013 open and 2012's file as it was then.
    const std::string copy = history.dir.file("Kopia.bok");
    const FileReport restored = restoreBackup(history.second, history.path, copy);
    ASSERT_TRUE(restored.ok) << restored.messages.front();
    EXPECT_TRUE(restored.messages.empty());
    EXPECT_EQ(vouchersOfPeriod(copy, 1), 3U);
    EXPECT_EQ(vouchersOfPeriod(copy, 0), 1U);

    // The first backup has no file of 2013: that one comes from the company, and the user is told.
    const std::string old = history.dir.file("Gammal.bok");
    const FileReport second = restoreBackup(history.first, history.path, old);
    ASSERT_TRUE(second.ok);
    ASSERT_EQ(second.messages.size(), 1U);
    EXPECT_EQ(second.messages[0],
              "Säkerhetskopian innehåller inte perioderna 1.2013 - 12.2013. De har kopierats "
              "från företagets periodmapp " +
                  history.dir.file("Firma_perioder/") + " så som de är sparade nu.");
    EXPECT_EQ(vouchersOfPeriod(old, 0), 1U);
    EXPECT_EQ(vouchersOfPeriod(old, 1), 3U);

    auto after = snapshot(history.dir.path());
    std::erase_if(after, [](const auto& entry) {
        return entry.first.find("Kopia") != std::string::npos ||
               entry.first.find("Gammal") != std::string::npos;
    });
    EXPECT_EQ(after, before);
}

TEST(BackupRestore, NeverWritesOverOrIntoTheCompany) {
    History history;
    fs::create_directory_symlink(history.dir.path(), history.dir.file("genväg"));
    writeFile(history.dir.file("Annan.bok"), "ett annat företag");
    fs::create_directories(history.dir.file("Tom_perioder"));
    struct Case {
        std::string target;
        std::string message;
    };
    const std::string taken = std::string(kMsgRestoreTargetExists) + "\n";
    const std::vector<Case> cases = {
        {history.path, kMsgRestoreOverCompany},
        {history.dir.file("genväg/Firma.bok"), kMsgRestoreOverCompany},
        {history.dir.file("Firma.xyz"), kMsgRestoreOverCompany},
        {history.dir.file("Firma_perioder/Ny.bok"), kMsgRestoreOverCompany},
        {history.dir.file("Firma_säkerhetskopior/Ny.bok"), kMsgRestoreOverCompany},
        {history.dir.file("Annan.bok"), taken + history.dir.file("Annan.bok")},
        {history.dir.file("Tom.bok"), std::string(kMsgRestorePeriodFolderExists) + "\n"},
    };
    const auto before = snapshot(history.dir.path());
    for (const Case& c : cases) {
        const FileReport report = restoreBackup(history.second, history.path, c.target);
        EXPECT_FALSE(report.ok) << c.target;
        ASSERT_EQ(report.messages.size(), 1U) << c.target;
        EXPECT_TRUE(report.messages[0].starts_with(c.message)) << c.target << ": " << report.messages[0];
    }
    // A damaged backup writes nothing either.
    writeFile(history.second + "Firma.bok", "trasig");
    const FileReport damaged = restoreBackup(history.second, history.path, history.dir.file("Ny.bok"));
    EXPECT_FALSE(damaged.ok);
    EXPECT_FALSE(fs::exists(history.dir.file("Ny.bok")));
    EXPECT_FALSE(fs::exists(history.dir.file("Ny_perioder")));
    auto after = snapshot(history.dir.path());
    after.erase(history.second + "Firma.bok");
    auto unchanged = before;
    unchanged.erase(history.second + "Firma.bok");
    EXPECT_EQ(after, unchanged);
}

} // namespace
} // namespace kv
