// The company's database beside its files: the schema brought up to date or
// refused, made only by a save with records for it, written with the files
// all or nothing, and carried by backups, restores and the rename.
#include "AppFakeHost.h"
#include "BackupTestSupport.h"
#include "ScriptedPrompter.h"
#include "SieTestSupport.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "app/NewCompany.h"
#include "attachments/Attachments.h"
#include "chart/ChartTemplates.h"
#include "periods/RenameDialogModel.h"
#include "sie/SieAddVouchers.h"
#include "storage/BackupList.h"
#include "storage/BackupRestore.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "storage/SaveRecovery.h"
#include "storage/Sha256.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>

namespace kv {
namespace {

using test::readFile;
using test::snapshot;
using test::TempDir;

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

SieImportRecord record(const std::string& file, std::int32_t numberHere) {
    return {file,
            std::string(64, 'a'),
            "2026-12-10 14:03:25",
            0,
            false,
            {{"L", "7", "2012-01-25", 25'000'00, 25'000'00, numberHere}}};
}

// Firma.bok saved once, without a database.
struct Saved {
    TempDir dir;
    std::string path = dir.file("Firma.bok");
    std::string database = dir.file("Firma.kvdb");
    CTallvingeDoc doc;

    Saved() {
        test::buildSmallCompany(doc);
        EXPECT_TRUE(saveCompany(doc, path).ok);
    }
    // A voucher and its import record, waiting for the next save.
    void addImport(const std::string& file) {
        test::postVoucher(doc, 25, 1, 2012, {{1930, 100, 0}, {3000, 0, 100}});
        doc.recordSieImport(record(file, doc.state().m_verifikat.back().m_nVernr));
    }
};

// Runs statements on a database file with SQLite itself, as another program would.
void runSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// A database of the first schema with one import in it.
void writeVersionOne(const std::string& path) {
    const DatabaseMigration first = databaseMigrations().front();
    ASSERT_EQ(first.version, 1);
    runSql(path, std::string(first.sql) +
                     "PRAGMA application_id = " + std::to_string(kDatabaseApplicationId) +
                     "; PRAGMA user_version = 1;"
                     "INSERT INTO sie_import VALUES (1, 'gammal.si', 'abc', '2025-01-02 03:04:05', 0, 0);"
                     "INSERT INTO sie_import_voucher VALUES (1, 0, 'A', '1', '2012-01-02', 100, 100, 1);");
}

TEST(Sha256, KnownDigests) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 56 bytes: the length no longer fits the first block.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [bytes, digest] : cases) {
        EXPECT_EQ(sha256Hex(bytes), digest) << bytes.size();
    }
}

TEST(CompanyDatabase, TheSchemaIsBroughtUpToDateOrRefusedUntouched) {
    enum class Outcome { Migrated, Refused };
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make; // what stands at Firma.kvdb before the save
        Outcome outcome;
        std::size_t importsBefore = 0;
        const char* refusal = "";
    };
    const std::vector<Case> cases = {
        {"none yet", [](const std::string&) {}, Outcome::Migrated},
        {"an empty file", [](const std::string& path) { test::writeFile(path, ""); }, Outcome::Migrated},
        {"the current schema",
         [](const std::string& path) {
             Saved other;
             other.addImport("förra.si");
             ASSERT_TRUE(saveCompany(other.doc, other.path).ok);
             std::filesystem::copy_file(other.database, path);
         },
         Outcome::Migrated, 1},
        {"an older schema", writeVersionOne, Outcome::Migrated, 1},
        {"a newer schema",
         [](const std::string& path) {
             runSql(path, "CREATE TABLE t (x); PRAGMA application_id = " +
                              std::to_string(kDatabaseApplicationId) + "; PRAGMA user_version = 99;");
         },
         Outcome::Refused, 0, "nyare version av Kvistoran (databasversion 99"},
        {"another program's database", [](const std::string& path) { runSql(path, "CREATE TABLE t (x);"); },
         Outcome::Refused, 0, "från ett annat program"},
        {"not a database", [](const std::string& path) { test::writeFile(path, std::string(4096, 'x')); },
         Outcome::Refused, 0, "skadad eller är ingen SQLite-databas"},
        {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); },
         Outcome::Refused, 0, "inte en vanlig fil"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Saved company;
        c.make(company.database);
        company.addImport("lön.si");
        const auto before = snapshot(company.dir.path());

        if (c.outcome == Outcome::Refused) {
            EXPECT_THROW(readSieImports(company.path, 0), DatabaseError);
        } else {
            EXPECT_EQ(readSieImports(company.path, 0).size(), c.importsBefore);
        }
        EXPECT_EQ(snapshot(company.dir.path()), before); // reading changes nothing, an older file neither

        const FileReport saved = saveCompany(company.doc, company.path);
        if (c.outcome == Outcome::Refused) {
            EXPECT_FALSE(saved.ok);
            ASSERT_FALSE(saved.messages.empty());
            const std::string told = saved.messages.back(); // after a note of the backup
            EXPECT_NE(told.find(c.refusal), std::string::npos) << told;
            EXPECT_NE(told.find("Företaget sparades inte"), std::string::npos) << told;
            EXPECT_EQ(snapshot(company.dir.path()), before);
            EXPECT_TRUE(company.doc.isModified());
            EXPECT_EQ(company.doc.pendingRecords().imports.size(), 1U); // for the next try
            continue;
        }
        ASSERT_TRUE(saved.ok) << saved.messages.front();
        EXPECT_EQ(databaseVersion(company.database), kDatabaseVersion);
        const std::vector<SieImportRecord> imports = readSieImports(company.path, 0);
        ASSERT_EQ(imports.size(), c.importsBefore + 1);
        EXPECT_EQ(imports.back(), record("lön.si", 1));
        EXPECT_TRUE(company.doc.pendingRecords().empty());
    }
}

TEST(CompanyDatabase, OnlyASaveWithRecordsMakesIt) {
    Saved company;
    test::changeSomething(company.doc);
    ASSERT_TRUE(saveCompany(company.doc, company.path).ok);
    CTallvingeDoc opened;
    ASSERT_TRUE(openCompany(opened, company.path).ok);
    EXPECT_TRUE(readSieImports(company.path, 0).empty());
    EXPECT_FALSE(exists(company.database));

    company.addImport("lön.si");
    ASSERT_TRUE(saveCompany(company.doc, company.path).ok);
    EXPECT_TRUE(exists(company.database));
    // Opening another company drops records that were never saved.
    company.doc.recordSieImport(record("ej.si", 9));
    ASSERT_TRUE(openCompany(company.doc, company.path).ok);
    EXPECT_TRUE(company.doc.pendingRecords().empty());
    // A change that is taken back takes its record back.
    {
        auto change = company.doc.beginChange();
        company.doc.recordSieImport(record("ej.si", 9));
    }
    EXPECT_TRUE(company.doc.pendingRecords().empty());
}

// The company's files as a snapshot, without the database: a save that
// fails may leave the database's pages rewritten, never its records.
std::map<std::string, std::string> filesBeside(const std::string& folder) {
    auto files = snapshot(folder);
    std::erase_if(files, [](const auto& entry) { return entry.first.ends_with(".kvdb"); });
    return files;
}

// A save with records for the database that fails at any of its steps: the
// files are exactly as they were, the database holds the records it held,
// and no save is left pending.
TEST(CompanyDatabase, ASaveThatFailsMidwayLeavesFilesAndDatabaseAsTheyWere) {
    const auto fileFails = [] { throw FileError("rename", ENOSPC); };
    const auto databaseFails = [] {
        throw DatabaseError("Det gick inte att skriva till företagets databas\n\nDisken är full.");
    };
    struct Case {
        const char* what;
        bool databaseBefore;
        SaveStep step;
        std::function<void()> fail;
    };
    const std::vector<Case> cases = {
        {"before the records are written", true, SaveStep::FilesWritten, fileFails},
        {"the records' commit refused", true, SaveStep::RecordsCommitting, databaseFails},
        {"the records' commit refused, no database yet", false, SaveStep::RecordsCommitting, databaseFails},
        {"the period file fails after the records", true, SaveStep::RecordsCommitted, fileFails},
        {"the company file fails after the period file", true, SaveStep::PeriodFileInPlace, fileFails},
        {"the company file fails, no database yet", false, SaveStep::PeriodFileInPlace, fileFails},
        {"the save is not marked done", true, SaveStep::CompanyFileInPlace, databaseFails},
        {"the save is not marked done, no database before", false, SaveStep::CompanyFileInPlace,
         databaseFails},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Saved company;
        if (c.databaseBefore) {
            company.addImport("först.si");
            ASSERT_TRUE(saveCompany(company.doc, company.path).ok);
        }
        company.addImport("sedan.si");
        const auto before = filesBeside(company.dir.path());
        setSaveStepHook([&c](SaveStep step) {
            if (step == c.step) {
                c.fail();
            }
        });
        const FileReport saved = saveCompany(company.doc, company.path);
        setSaveStepHook({});
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(filesBeside(company.dir.path()), before);
        EXPECT_EQ(exists(company.database), c.databaseBefore);
        EXPECT_EQ(readSieImports(company.path, 0).size(), c.databaseBefore ? 1U : 0U);
        EXPECT_TRUE(readPendingSaves(company.database).empty());
        EXPECT_TRUE(company.doc.isModified());
        EXPECT_EQ(company.doc.state().m_strFilnamn, "Firma.bok");
        ASSERT_EQ(company.doc.pendingRecords().imports.size(), 1U);

        // The next save gets all of it through.
        ASSERT_TRUE(saveCompany(company.doc, company.path).ok);
        CTallvingeDoc reopened;
        ASSERT_TRUE(openCompany(reopened, company.path).ok);
        EXPECT_EQ(reopened.state().m_verifikat.size(), company.doc.state().m_verifikat.size());
        EXPECT_EQ(readSieImports(company.path, 0).back().fileName, "sedan.si");
    }
}

// Another program reads the database while the save would mark it done: the
// files go back, and the records, which cannot be taken out now either,
// stay pending until the next opening takes them back.
TEST(CompanyDatabase, ASaveThatCannotBeMarkedDonePutsTheFilesBack) {
    Saved company;
    company.addImport("först.si");
    ASSERT_TRUE(saveCompany(company.doc, company.path).ok);
    company.addImport("sedan.si");
    const auto before = filesBeside(company.dir.path());
    sqlite3* reader = nullptr;
    setSaveStepHook([&](SaveStep step) {
        if (step == SaveStep::CompanyFileInPlace) {
            ASSERT_EQ(sqlite3_open_v2(company.database.c_str(), &reader, SQLITE_OPEN_READONLY, nullptr),
                      SQLITE_OK);
            ASSERT_EQ(
                sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM sie_import;", nullptr, nullptr, nullptr),
                SQLITE_OK);
        }
    });
    const FileReport saved = saveCompany(company.doc, company.path);
    setSaveStepHook({});
    sqlite3_close(reader);
    ASSERT_FALSE(saved.ok);
    EXPECT_NE(saved.messages[0].find("används av ett annat program"), std::string::npos) << saved.messages[0];
    EXPECT_EQ(filesBeside(company.dir.path()), before);
    EXPECT_EQ(readSieImports(company.path, 0).size(), 1U); // the pending one is not counted
    EXPECT_EQ(readPendingSaves(company.database).size(), 1U);

    const FileReport recovered = recoverCompany(company.path);
    EXPECT_EQ(recovered.messages, std::vector<std::string>{kMsgSaveTakenBackAfterCrash});
    EXPECT_TRUE(readPendingSaves(company.database).empty());
    EXPECT_EQ(filesBeside(company.dir.path()), before);
    ASSERT_TRUE(saveCompany(company.doc, company.path).ok);
    EXPECT_EQ(readSieImports(company.path, 0).size(), 2U);
}

TEST(CompanyDatabase, ANewCompanyRefusesADatabaseInTheWayAndLeavesNothingOnFailure) {
    TempDir dir;
    const std::string path = dir.file("Ny.bok");
    const auto fresh = [] {
        auto doc = std::make_unique<CTallvingeDoc>();
        test::buildSmallCompany(*doc);
        doc->recordSieImport(record("ny.si", 1));
        return doc;
    };
    test::writeFile(dir.file("Ny.kvdb"), "en annan");
    auto doc = fresh();
    EXPECT_FALSE(saveNewCompany(*doc, path).ok);
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(readFile(dir.file("Ny.kvdb")), "en annan");

    std::filesystem::remove(dir.file("Ny.kvdb"));
    setSaveStepHook([](SaveStep step) {
        if (step == SaveStep::CompanyFileInPlace) {
            throw DatabaseError("full");
        }
    });
    EXPECT_FALSE(saveNewCompany(*doc, path).ok);
    setSaveStepHook({});
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    ASSERT_TRUE(saveNewCompany(*doc, path).ok);
    EXPECT_EQ(readSieImports(path, 0).size(), 1U);
}

// Backups keep the database as it was before each save, restore takes it
// back, and a backup from before the company had one restores without.
TEST(CompanyDatabase, BackupsAndRestoreCarryTheDatabase) {
    test::History history; // three saves without a database
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, history.path).ok);
    doc.recordSieImport(record("lön.si", 1));
    test::changeSomething(doc);
    const LocalClock at3 = [] { return LocalTime{2024, 5, 3, 10, 0, 3}; };
    const LocalClock at4 = [] { return LocalTime{2024, 5, 3, 10, 0, 4}; };
    ASSERT_TRUE(saveCompany(doc, history.path, at3).ok); // backup 3: made before the database
    doc.recordSieImport(record("kassa.si", 2));
    test::changeSomething(doc);
    ASSERT_TRUE(saveCompany(doc, history.path, at4).ok); // backup 4: the database with lön.si

    const std::string folder = backupFolderPath(history.path);
    const BackupFiles third = backupFilesIn(folder + "2024-05-03_10-00-03/");
    const BackupFiles fourth = backupFilesIn(folder + "2024-05-03_10-00-04/");
    EXPECT_TRUE(third.databaseFile.empty());
    ASSERT_FALSE(fourth.databaseFile.empty());

    struct Case {
        const char* what;
        std::string backup;
        std::vector<std::string> files; // the import log of the restored company
    };
    const std::vector<Case> cases = {
        {"before the database", folder + "2024-05-03_10-00-03/", {}},
        {"with the database", folder + "2024-05-03_10-00-04/", {"lön.si"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string target =
            history.dir.file(std::string("Kopia") + std::to_string(c.files.size()) + ".bok");
        const FileReport restored = restoreBackup(c.backup, history.path, target);
        ASSERT_TRUE(restored.ok) << restored.messages.front();
        EXPECT_EQ(exists(companyDatabasePath(target)), !c.files.empty());
        std::vector<std::string> files;
        for (const SieImportRecord& import : readSieImports(target, 0)) {
            files.push_back(import.fileName);
        }
        EXPECT_EQ(files, c.files);
    }
    // A restore never takes another company's database as its own.
    test::writeFile(history.dir.file("Upptagen.kvdb"), "x");
    EXPECT_FALSE(
        restoreBackup(folder + "2024-05-03_10-00-04/", history.path, history.dir.file("Upptagen.bok")).ok);
    EXPECT_FALSE(exists(history.dir.file("Upptagen.bok")));
    EXPECT_EQ(readFile(history.dir.file("Upptagen.kvdb")), "x");
}

// "Byt företagets namn...": the company under the new name has the records
// and the receipts (saved and still pending), the old name keeps its own, and
// a company without a database stays without.
TEST(CompanyDatabase, TheRenamedCompanyTakesItsDatabase) {
    struct Case {
        const char* what;
        bool database;
        bool receipts;
    };
    for (const Case& c : std::vector<Case>{{"without a database", false, false},
                                           {"with a database", true, false},
                                           {"with receipts", true, true}}) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        TempDir templates;
        test::ScriptedPrompter prompter;
        AppController controller{prompter, templates.path()};
        test::FakeHost host{controller};
        test::newCompanyWithoutPeriod(controller, prompter);
        CTallvingeDoc& doc = controller.document();
        test::buildSmallCompany(doc);
        if (c.database) {
            test::postVoucher(doc, 25, 1, 2012, {{1930, 100, 0}, {3000, 0, 100}});
            doc.recordSieImport(record("lön.si", 1));
        }
        const std::string path = dir.file("Firma.bok");
        ASSERT_TRUE(saveCompany(doc, path).ok);
        const auto attach = [&](const std::string& name, const std::string& bytes) {
            test::writeFile(dir.file(name), bytes);
            AttachmentStoring storing(path);
            (void)attachToVoucher(doc, 1, {dir.file(name)}, storing,
                                  [] { return LocalTime{2026, 12, 10, 14, 3, 25}; });
            storing.keep();
        };
        if (c.receipts) {
            attach("a.pdf", "%PDF-1.4\n%%EOF\n");
            ASSERT_TRUE(saveCompany(doc, path).ok);
            attach("b.png", std::string("\x89PNG\r\n\x1A\n", 8) + "IHDR"); // attached, not yet saved
        }
        prompter.on<RenameDialogModel>([&prompter](RenameDialogModel& dialog) {
            dialog.setNewName("Bolag");
            return dialog.accept(prompter) == RenameCheck::Accepted ? Answer::Ok : Answer::Cancel;
        });
        controller.execute(CommandId::RenameCompany);
        ASSERT_EQ(doc.pathName(), dir.file("Bolag.bok")) << ::testing::PrintToString(prompter.said);
        EXPECT_EQ(exists(dir.file("Bolag.kvdb")), c.database);
        EXPECT_EQ(exists(dir.file("Firma.kvdb")), c.database);
        if (c.database) {
            ASSERT_EQ(readSieImports(dir.file("Bolag.bok"), 0).size(), 1U);
            EXPECT_EQ(readSieImports(dir.file("Bolag.bok"), 0)[0].fileName, "lön.si");
        }
        // Each name finds every receipt its database names; the old one keeps its folder whole.
        EXPECT_EQ(readAttachments(dir.file("Bolag.bok"), 0).size(), c.receipts ? 2U : 0U);
        for (const std::string& company : {dir.file("Bolag.bok"), path}) {
            for (const AttachmentRecord& stored : readAttachments(company, 0)) {
                EXPECT_NO_THROW((void)readStoredAttachment(company, stored)) << company;
            }
        }
    }
}

} // namespace
} // namespace kv

namespace kv {
namespace {

const LocalClock kReadIn = [] { return LocalTime{2026, 12, 10, 14, 3, 25}; };

const std::string kPayroll = "#FLAGGA 0\n#SIETYP 4\n"
                             "#VER L 7 20240125 \"Lön januari\"\n{\n#TRANS 7010 {} 25000.00\n"
                             "#TRANS 1930 {} -25000.00\n}\n";

// A company of 2024 saved as Firma.bok with one voucher of its own.
struct Books {
    TempDir dir;
    TempDir templates;
    std::string path = dir.file("Firma.bok");
    CTallvingeDoc doc;

    Books() {
        EXPECT_TRUE(createDefaultCompany(doc, {kMallBaskonto, 1, 2024, 12, 2024, templates.path()}).ok);
        test::postVoucher(doc, 5, 1, 2024, {{1930, 100, 0}, {3010, 0, 100}});
        EXPECT_TRUE(saveCompany(doc, path).ok);
    }
};

// The refusal of a voucher read in before says when, from which file and as
// which number, saved or not yet.
TEST(SieImportLog, ARefusedVoucherSaysWhenAndFromWhereItWasReadIn) {
    struct Case {
        const char* what;
        std::function<void(Books&)> before; // how the payroll's voucher came into the books
        std::string again;                  // the file read the second time
        std::string refusal;
        bool sameFileNote;
    };
    const std::string renumbered = "#FLAGGA 0\n#SIETYP 4\n#VER L 70 20240125 \"Lön\"\n{\n"
                                   "#TRANS 1930 {} -25000.00\n#TRANS 7010 {} 25000.00\n}\n";
    const auto addAndSave = [](Books& books) {
        addSieVouchers(books.doc, readSieBooks(kPayroll), "lön.si", kReadIn);
        ASSERT_TRUE(saveCompany(books.doc, books.path).ok);
        ASSERT_TRUE(openCompany(books.doc, books.path).ok); // the log is read from the database
    };
    const std::vector<Case> cases = {
        {"saved", addAndSave, kPayroll,
         "verifikat L 7 (2024-01-25), rad 3: finns redan i bokföringen som verifikat 2 (samma datum och "
         "rader); "
         "det lästes in 2026-12-10 14:03 från lön.si.",
         true},
        {"not yet saved",
         [](Books& books) { addSieVouchers(books.doc, readSieBooks(kPayroll), "lön.si", kReadIn); }, kPayroll,
         "verifikat L 7 (2024-01-25), rad 3: finns redan i bokföringen som verifikat 2 (samma datum och "
         "rader); "
         "det lästes in 2026-12-10 14:03 från lön.si, ännu inte sparat.",
         true},
        {"another file with the same voucher", addAndSave, renumbered,
         "verifikat L 70 (2024-01-25), rad 3: finns redan i bokföringen som verifikat 2 (samma datum och "
         "rader); "
         "det lästes in 2026-12-10 14:03 från lön.si (där verifikat L 7).",
         false},
        {"typed by hand",
         [](Books& books) {
             test::postVoucher(books.doc, 25, 1, 2024, {{7010, 25000, 0}, {1930, 0, 25000}});
         },
         kPayroll,
         "verifikat L 7 (2024-01-25), rad 3: finns redan i bokföringen som verifikat 2 (samma datum och "
         "rader).",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Books books;
        c.before(books);
        const SieAddSummary summary = planSieVouchers(books.doc, readSieBooks(c.again), "igen.si");
        EXPECT_EQ(summary.refusals, std::vector<std::string>{c.refusal});
        const std::string note = "En fil med precis samma innehåll lästes in 2026-12-10 14:03 från lön.si";
        const bool noted = std::any_of(summary.notes.begin(), summary.notes.end(),
                                       [&](const std::string& text) { return text.starts_with(note); });
        EXPECT_EQ(noted, c.sameFileNote);
    }
}

TEST(SieImportLog, ANewCompanyFromAFileKeepsItsImportLog) {
    TempDir dir;
    TempDir templates;
    const std::string path = dir.file("Ny.bok");
    const SieBooks books = readSieBooks(kPayroll);
    SieImportResult made =
        buildSieCompany(books, {kSieDefaultTemplate, templates.path(), "lön.si", false, kReadIn});
    ASSERT_TRUE(saveNewCompany(*made.company, path).ok);
    const std::vector<SieImportRecord> log = readSieImports(path, 0);
    ASSERT_EQ(log.size(), 1U);
    EXPECT_EQ(log[0], (SieImportRecord{"lön.si",
                                       books.sha256,
                                       "2026-12-10 14:03:25",
                                       0,
                                       true,
                                       {{"L", "7", "2024-01-25", 25'000'00, 25'000'00, 1}}}));

    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    const SieAddSummary again = planSieVouchers(doc, books, "lön.si");
    ASSERT_EQ(again.refusals.size(), 1U);
    EXPECT_NE(
        again.refusals[0].find("det lästes in 2026-12-10 14:03 från lön.si när företaget skapades ur filen."),
        std::string::npos)
        << again.refusals[0];
}

TEST(SieImportLog, ADatabaseThatCannotBeUsedStopsTheAdditionBeforeItBegins) {
    Books books;
    test::writeFile(companyDatabasePath(books.path),
                    "inte en databas, men inte tom heller: " + std::string(200, 'x'));
    const SieAddSummary summary = planSieVouchers(books.doc, readSieBooks(kPayroll), "lön.si");
    ASSERT_EQ(summary.refusals.size(), 1U);
    EXPECT_NE(summary.refusals[0].find(kMsgDatabaseDamaged), std::string::npos) << summary.refusals[0];
    EXPECT_FALSE(summary.canAdd());
}

} // namespace
} // namespace kv
