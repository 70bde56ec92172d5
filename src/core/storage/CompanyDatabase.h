// The company's own database: Name.kvdb beside Name.bok, an SQLite file
// holding what the written company and period files have no room for (see
// model/CompanyRecords.h). This module is the only one that opens or writes
// it. A company without the file works as any other; the file is made by the
// first save that has records for it, never by opening or reading.
//
// The schema is brought up to date on open by numbered migrations (the
// version is the file's user_version, the file is marked as this program's
// by its application_id). A file of a newer schema, a damaged file and an
// SQLite file of another program are refused with a message and never
// changed.
#pragma once

#include "model/CompanyRecords.h"
#include "model/CompanySettings.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

namespace kv {

inline constexpr const char* kDatabaseExtension = ".kvdb";
// The schema this program writes.
inline constexpr int kDatabaseVersion = 7;
// "KVDB" in the file's header: the file is this program's.
inline constexpr std::int32_t kDatabaseApplicationId = 0x4B564442;

inline constexpr const char* kMsgDatabaseUnusable = "Företagets databas kan inte användas";
inline constexpr const char* kMsgDatabaseNotWritten = "Det gick inte att skriva till företagets databas";
inline constexpr const char* kMsgDatabaseDamaged =
    "Filen är skadad eller är ingen SQLite-databas. Den lämnas som den är: flytta den åt sidan eller ta "
    "tillbaka den ur en säkerhetskopia (Arkiv - Säkerhetskopior...).";
inline constexpr const char* kMsgDatabaseRollbackRefused =
    "En ändring av databasen avbröts (programmet stängdes eller datorn stannade) och måste tas tillbaka "
    "innan databasen kan läsas, men filen eller dess mapp får inte skrivas (skrivskyddad). Öppna företaget "
    "där det får skrivas, så tas ändringen tillbaka.";
inline constexpr const char* kMsgDatabaseForeign =
    "Filen är en SQLite-databas från ett annat program, inte företagets. Den lämnas som den är: flytta den "
    "åt sidan.";

// D + T + ".kvdb" for the company file D + T + ".bok".
std::string companyDatabasePath(const std::string& companyPath);

// A database that cannot be opened, read or written: the whole message for
// the user (what failed, the file, why), in Swedish.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One step of the schema: the statements that bring a database of version
// - 1 to version.
struct DatabaseMigration {
    int version = 0;
    const char* sql = nullptr;
};
// Every step, oldest first; the last one's version is kDatabaseVersion.
std::span<const DatabaseMigration> databaseMigrations();

// The SIE files read into period of the company at companyPath, oldest
// first; none when the company has no database. Never creates or changes the
// file. Throws DatabaseError.
std::vector<SieImportRecord> readSieImports(const std::string& companyPath, std::int32_t period);

// The budget of period as saved, or nothing when none was (or the company
// has no database). Never creates or changes the file. Throws DatabaseError.
std::optional<BudgetRecord> readBudget(const std::string& companyPath, std::int32_t period);

// Replaces the budget of budget.period in the database of the company at
// companyPath (made when missing) in one transaction of its own: all of it is
// written or nothing, and a database this save made is removed again when it
// fails. Throws DatabaseError.
void writeBudget(const std::string& companyPath, const BudgetRecord& budget);

// The bank lines booked from statements of bankAccount, and those booked on
// bookAccount in the books from any statement (another file of the same
// account, read as CSV or camt), in every period, oldest first; none when the
// company has no database. Never creates or changes the file. Throws
// DatabaseError.
std::vector<BankLineRecord> readBankLines(const std::string& companyPath, const std::string& bankAccount,
                                          std::int32_t bookAccount = 0);

// The receipts attached to the vouchers of period, in the order they were
// added; none when the company has no database. Never creates or changes the
// file. Throws DatabaseError.
std::vector<AttachmentRecord> readAttachments(const std::string& companyPath, std::int32_t period);
// Those of one voucher of period, in the order they were added.
std::vector<AttachmentRecord> readVoucherAttachments(const std::string& companyPath, std::int32_t period,
                                                     std::int32_t voucher);
// The numbers of the vouchers of period that have at least one receipt, in
// one query. Throws DatabaseError.
std::vector<std::int32_t> readVouchersWithAttachments(const std::string& companyPath, std::int32_t period);

// The user's settings: they are no part of the books, so each write goes to
// the database at once, in a transaction of its own (the database made when
// missing, and removed again when the write fails), refused as a save is
// for a newer, damaged or foreign database. Throw DatabaseError.
// The bank matching rules, in the order they are tried.
std::vector<BankRule> readBankRules(const std::string& companyPath);
void writeBankRules(const std::string& companyPath, const std::vector<BankRule>& rules);
// How many recorded bank lines each source took ("regel:hyra" 12), the
// lines of a save not yet done left out.
std::map<std::string, std::int64_t> readBankLineSources(const std::string& companyPath);
// What each bank account is booked on.
std::vector<BankAccountSetting> readBankAccounts(const std::string& companyPath);
// Adds the setting or replaces the one of its bank account.
void writeBankAccount(const std::string& companyPath, const BankAccountSetting& setting);

// The schema version of the database at path, checked as an open checks it.
// Throws DatabaseError.
int databaseVersion(const std::string& path);

// One file of a save as the database keeps it until the save is done:
// where the file goes (target, relative to the company file's folder), the
// name it is written under first and the name the file it replaces is kept
// under meanwhile (plain names, in the folder of the target with its links
// followed; kept is empty when the save makes the file), and the new file's
// size and SHA-256.
struct SaveFileRecord {
    std::string target;
    std::string temporary;
    std::string kept;
    std::uint64_t size = 0;
    std::string sha256;

    bool operator==(const SaveFileRecord&) const = default;
};

// A save that was begun and never marked done: a program that was killed
// while it saved.
struct PendingSave {
    std::int64_t id = 0;
    std::vector<SaveFileRecord> files;

    bool operator==(const PendingSave&) const = default;
};

// The database's part of a save across the company's files and its records.
// The constructor opens the database at path (made when missing), brings its
// schema up to date and writes the records, marked as this save's, with the
// files the save will put in place, all in one transaction; commit() commits
// it, and from then on a crash is settled at the next opening. Once the files
// are in place, finish() marks the save done, and the records count from
// then on; rollBack() takes the records out again when the files could not
// all be put in place (they must be back as they were first). A save that
// goes without commit() leaves the database as it was and removes it when
// this save made it.
class DatabaseSave {
public:
    // whileCommitting runs inside SQLite's commit (for tests: a throw turns
    // the commit into a failure).
    DatabaseSave(const std::string& path, const PendingRecords& records,
                 const std::vector<SaveFileRecord>& files, const std::string& startedAt,
                 std::function<void()> whileCommitting = {}); // throws DatabaseError
    DatabaseSave(const DatabaseSave&) = delete;
    DatabaseSave& operator=(const DatabaseSave&) = delete;
    ~DatabaseSave();

    void commit();   // throws DatabaseError, the transaction rolled back
    void finish();   // throws DatabaseError
    void rollBack(); // throws DatabaseError

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::string m_path;
    std::unique_ptr<sqlite3, Closer> m_db;
    std::function<void()> m_whileCommitting;
    std::int64_t m_saveId = 0;
    bool m_created = false;
    bool m_committed = false;
};

// The saves of the database at path that were begun and never settled,
// oldest first; none when there is no database or its schema predates them.
// Opens the file for writing, so that a change SQLite must take back is.
// Throws DatabaseError.
std::vector<PendingSave> readPendingSaves(const std::string& path);
// Settles the pending save: finished, its records count from now on; else
// its records go. Throws DatabaseError.
void settlePendingSave(const std::string& path, std::int64_t id, bool finished);

// The SHA-256 and kind ("pdf", "jpeg", "png") of every receipt that a record
// of the database at path names, in any period, saved or pending; none
// without a database. Throws DatabaseError.
std::vector<std::pair<std::string, std::string>> recordedAttachmentFiles(const std::string& path);

// Copies the database at from as a new file at to (which must not exist)
// with SQLite's online backup, so that a save in progress cannot leave a
// torn copy; the copy takes its name only once it is whole. Throws
// DatabaseError.
void copyDatabase(const std::string& from, const std::string& to);

// Removes the database at path with the journal SQLite may keep beside it.
void removeDatabase(const std::string& path);

} // namespace kv
