#include "storage/CompanyDatabase.h"

#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <functional>
#include <random>

namespace kv {

namespace {

constexpr int kBusyMilliseconds = 2000;

constexpr std::array<DatabaseMigration, 7> kMigrations = {{
    {1, R"sql(
CREATE TABLE sie_import (
    id INTEGER PRIMARY KEY,
    file_name TEXT NOT NULL,
    file_sha256 TEXT NOT NULL,
    read_at TEXT NOT NULL,
    period INTEGER NOT NULL,
    new_company INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE sie_import_voucher (
    import_id INTEGER NOT NULL REFERENCES sie_import(id) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    series TEXT NOT NULL,
    number TEXT NOT NULL,
    date TEXT NOT NULL,
    debit INTEGER NOT NULL,
    credit INTEGER NOT NULL,
    number_here INTEGER NOT NULL,
    PRIMARY KEY (import_id, position)
);
)sql"},
    {2, R"sql(
CREATE INDEX sie_import_by_period ON sie_import(period);
)sql"},
    // The budget: the user's plan per period, account and month, in öre.
    {3, R"sql(
CREATE TABLE budget (
    period INTEGER PRIMARY KEY,
    first_month TEXT NOT NULL,
    month_count INTEGER NOT NULL,
    saved_at TEXT NOT NULL
);
CREATE TABLE budget_account (
    period INTEGER NOT NULL REFERENCES budget(period) ON DELETE CASCADE,
    account INTEGER NOT NULL,
    account_name TEXT NOT NULL,
    spread_evenly INTEGER NOT NULL,
    PRIMARY KEY (period, account)
);
CREATE TABLE budget_month (
    period INTEGER NOT NULL,
    account INTEGER NOT NULL,
    month TEXT NOT NULL,
    amount INTEGER NOT NULL,
    PRIMARY KEY (period, account, month),
    FOREIGN KEY (period, account) REFERENCES budget_account(period, account) ON DELETE CASCADE
);
)sql"},
    // The bank statements: the user's matching rules, the lines booked, the settings per bank account.
    {4, R"sql(
CREATE TABLE bank_rule (
    position INTEGER PRIMARY KEY,
    pattern TEXT NOT NULL,
    text_match TEXT NOT NULL CHECK (text_match IN ('contains', 'equals')),
    amount_sign TEXT NOT NULL CHECK (amount_sign IN ('any', 'in', 'out')),
    min_ore INTEGER,
    max_ore INTEGER,
    account INTEGER NOT NULL,
    vat_rule INTEGER
);
CREATE TABLE bank_line (
    id INTEGER PRIMARY KEY,
    bank_account TEXT NOT NULL,
    date TEXT NOT NULL,
    amount_ore INTEGER NOT NULL,
    text_key TEXT NOT NULL,
    voucher INTEGER NOT NULL,
    period INTEGER NOT NULL,
    read_at TEXT NOT NULL
);
CREATE INDEX bank_line_by_account ON bank_line(bank_account, date);
CREATE TABLE bank_account (
    bank_account TEXT PRIMARY KEY,
    book_account INTEGER NOT NULL,
    csv_columns TEXT NOT NULL DEFAULT ''
);
)sql"},
    // The receipts kept with the vouchers: which voucher has which file of Name_underlag/.
    {5, R"sql(
CREATE TABLE attachment (
    id INTEGER PRIMARY KEY,
    period INTEGER NOT NULL,
    voucher INTEGER NOT NULL,
    file_name TEXT NOT NULL,
    size INTEGER NOT NULL CHECK (size >= 0),
    file_sha256 TEXT NOT NULL,
    added_at TEXT NOT NULL,
    kind TEXT NOT NULL CHECK (kind IN ('pdf', 'jpeg', 'png'))
);
CREATE INDEX attachment_by_voucher ON attachment(period, voucher);
)sql"},
    // A save across the files and the records: the records carry the save until it is done, and the save
    // says what each file will be, so that opening after a crash finishes it or takes it back.
    {6, R"sql(
ALTER TABLE sie_import ADD COLUMN save_id INTEGER;
ALTER TABLE bank_line ADD COLUMN save_id INTEGER;
ALTER TABLE attachment ADD COLUMN save_id INTEGER;
CREATE TABLE pending_save (
    id INTEGER PRIMARY KEY,
    started_at TEXT NOT NULL
);
CREATE TABLE pending_save_file (
    save_id INTEGER NOT NULL REFERENCES pending_save(id) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    target TEXT NOT NULL,
    temporary TEXT NOT NULL,
    kept TEXT NOT NULL,
    size INTEGER NOT NULL CHECK (size >= 0),
    sha256 TEXT NOT NULL,
    PRIMARY KEY (save_id, position)
);
)sql"},
    // What a bank line was booked on, so that the next statement learns from it, in every period.
    {7, R"sql(
ALTER TABLE bank_line ADD COLUMN book_account INTEGER NOT NULL DEFAULT 0;
ALTER TABLE bank_line ADD COLUMN account INTEGER NOT NULL DEFAULT 0;
ALTER TABLE bank_line ADD COLUMN vat_rule INTEGER NOT NULL DEFAULT 0;
ALTER TABLE bank_line ADD COLUMN words TEXT NOT NULL DEFAULT '';
ALTER TABLE bank_line ADD COLUMN source TEXT NOT NULL DEFAULT '';
CREATE INDEX bank_line_by_book_account ON bank_line(book_account, date);
)sql"},
}};

// Why SQLite failed, in Swedish.
std::string reasonOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return kMsgDatabaseDamaged;
    case SQLITE_FULL:
        return "Disken är full.";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "Databasen används av ett annat program just nu. Försök igen om en stund.";
    case SQLITE_READONLY:
        if (code == SQLITE_READONLY_ROLLBACK) {
            return kMsgDatabaseRollbackRefused;
        }
        return "Databasen får inte skrivas (skrivskyddad fil eller mapp).";
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return "Databasen får inte skrivas (skrivskyddad fil eller mapp).";
    case SQLITE_CANTOPEN:
        return "Databasen kan inte öppnas (mappen eller filen saknas eller får inte läsas).";
    case SQLITE_NOMEM:
        return "Datorns minne räcker inte.";
    case SQLITE_IOERR:
        return "Ett fel uppstod när disken lästes eller skrevs.";
    default:
        return "SQLite rapporterade fel " + std::to_string(code) + " (" + sqlite3_errstr(code) + ").";
    }
}

[[noreturn]] void fail(const char* what, const std::string& path, int code) {
    throw DatabaseError(fileFailureMessage(what, path, reasonOf(code)));
}

[[noreturn]] void fail(const char* what, const std::string& path, const std::string& reason) {
    throw DatabaseError(fileFailureMessage(what, path, reason));
}

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

// A prepared statement, finalized when it goes.
class SqlStatement {
public:
    SqlStatement(sqlite3* db, const char* sql, const std::string& path, const char* what)
        : m_path(path), m_what(what) {
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
        m_stmt.reset(raw);
        if (rc != SQLITE_OK) {
            fail(m_what, m_path, rc);
        }
    }
    SqlStatement& bind(int at, const std::string& text) {
        check(sqlite3_bind_text(m_stmt.get(), at, text.data(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT));
        return *this;
    }
    SqlStatement& bind(int at, std::int64_t value) {
        check(sqlite3_bind_int64(m_stmt.get(), at, value));
        return *this;
    }
    SqlStatement& bind(int at, const std::optional<std::int64_t>& value) {
        check(value ? sqlite3_bind_int64(m_stmt.get(), at, *value) : sqlite3_bind_null(m_stmt.get(), at));
        return *this;
    }
    // True while there is a row to read.
    bool step() {
        const int rc = sqlite3_step(m_stmt.get());
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc != SQLITE_DONE) {
            fail(m_what, m_path, rc);
        }
        return false;
    }
    void run() {
        step();
        sqlite3_reset(m_stmt.get());
    }
    [[nodiscard]] bool isNull(int column) const {
        return sqlite3_column_type(m_stmt.get(), column) == SQLITE_NULL;
    }
    [[nodiscard]] std::int64_t integer(int column) const {
        return sqlite3_column_int64(m_stmt.get(), column);
    }
    [[nodiscard]] std::string text(int column) const {
        const auto* bytes = sqlite3_column_text(m_stmt.get(), column);
        return bytes == nullptr
                   ? std::string()
                   : std::string(reinterpret_cast<const char*>(bytes),
                                 static_cast<std::size_t>(sqlite3_column_bytes(m_stmt.get(), column)));
    }

private:
    void check(int rc) const {
        if (rc != SQLITE_OK) {
            fail(m_what, m_path, rc);
        }
    }
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
    };
    std::unique_ptr<sqlite3_stmt, Finalizer> m_stmt;
    std::string m_path;
    const char* m_what;
};

void exec(sqlite3* db, const char* sql, const std::string& path, const char* what) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        fail(what, path, sqlite3_extended_errcode(db));
    }
}

std::int64_t pragma(sqlite3* db, const char* sql, const std::string& path) {
    SqlStatement query(db, sql, path, kMsgDatabaseUnusable);
    return query.step() ? query.integer(0) : 0;
}

enum class Presence { Absent, File };

// What is at path: nothing or a regular file (a link to one counts); anything
// else is refused before SQLite opens it, so that nothing there can make the
// program hang.
Presence presenceOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        struct stat own {};
        if (::lstat(path.c_str(), &own) == 0) {
            fail(kMsgDatabaseUnusable, path, "Sökvägen är en symbolisk länk till en fil som inte finns.");
        }
        return Presence::Absent;
    }
    if (!S_ISREG(info.st_mode)) {
        fail(kMsgDatabaseUnusable, path, "Sökvägen är inte en vanlig fil.");
    }
    return Presence::File;
}

Connection open(const std::string& path, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK) {
        fail(kMsgDatabaseUnusable, path, rc);
    }
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), kBusyMilliseconds);
    return db;
}

// The schema version, once the file is known to be this program's database
// (or an empty one) of a version this program knows.
int checkedVersion(sqlite3* db, const std::string& path) {
    const std::int64_t application = pragma(db, "PRAGMA application_id", path);
    const std::int64_t version = pragma(db, "PRAGMA user_version", path);
    if (application != kDatabaseApplicationId) {
        const bool empty =
            application == 0 && version == 0 && pragma(db, "SELECT count(*) FROM sqlite_master", path) == 0;
        if (!empty) {
            fail(kMsgDatabaseUnusable, path, kMsgDatabaseForeign);
        }
        return 0;
    }
    if (version > kDatabaseVersion || version < 0) {
        fail(kMsgDatabaseUnusable, path,
             "Databasen är gjord av en nyare version av Kvistoran (databasversion " +
                 std::to_string(version) + "; den här versionen känner till version " +
                 std::to_string(kDatabaseVersion) +
                 "). Den lämnas orörd. Uppdatera Kvistoran för att använda den.");
    }
    return static_cast<int>(version);
}

// Brings the schema from version up to date, inside the caller's transaction.
void migrate(sqlite3* db, int version, const std::string& path) {
    for (const DatabaseMigration& step : kMigrations) {
        if (step.version > version) {
            exec(db, step.sql, path, kMsgDatabaseNotWritten);
        }
    }
    const std::string mark = "PRAGMA application_id = " + std::to_string(kDatabaseApplicationId) +
                             "; PRAGMA user_version = " + std::to_string(kDatabaseVersion) + ";";
    exec(db, mark.c_str(), path, kMsgDatabaseNotWritten);
}

// Copies the whole of source into destination; returns SQLite's result.
int backupInto(sqlite3* destination, sqlite3* source) {
    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", source, "main");
    if (backup == nullptr) {
        return sqlite3_extended_errcode(destination);
    }
    int rc = SQLITE_OK;
    // Another program's save may hold the source for a moment: wait and go on.
    for (int tries = 0; tries < 200; ++tries) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) {
            break;
        }
        sqlite3_sleep(20);
    }
    const int finished = sqlite3_backup_finish(backup);
    return rc == SQLITE_DONE ? finished : rc;
}

// The database at path opened for reading. A change that a killed program
// left half made (SQLite's journal beside the file) is first taken back, as
// SQLite does when the file is opened for writing; where the file or its
// folder may not be written, the user is told that.
Connection openReadOnly(const std::string& path) {
    Connection db = open(path, SQLITE_OPEN_READONLY);
    const int rc = sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK || sqlite3_extended_errcode(db.get()) != SQLITE_READONLY_ROLLBACK) {
        return db; // any other failure shows at the first real question
    }
    db.reset();
    {
        sqlite3* raw = nullptr;
        const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        const Connection writable(raw);
        if (opened != SQLITE_OK) {
            fail(kMsgDatabaseUnusable, path, kMsgDatabaseRollbackRefused);
        }
        sqlite3_extended_result_codes(writable.get(), 1);
        sqlite3_busy_timeout(writable.get(), kBusyMilliseconds);
        if (sqlite3_exec(writable.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
            const int code = sqlite3_extended_errcode(writable.get());
            fail(kMsgDatabaseUnusable, path,
                 (code & 0xFF) == SQLITE_READONLY ? std::string(kMsgDatabaseRollbackRefused)
                                                  : reasonOf(code));
        }
    }
    return open(path, SQLITE_OPEN_READONLY);
}

// The database at path for reading, never changed: an older schema is read
// through a copy in memory brought up to date. Nothing when no file is there.
std::optional<Connection> openForReading(const std::string& path) {
    if (presenceOf(path) == Presence::Absent) {
        return std::nullopt;
    }
    Connection db = openReadOnly(path);
    const int version = checkedVersion(db.get(), path);
    if (version == kDatabaseVersion) {
        return db;
    }
    Connection memory = open(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (const int rc = backupInto(memory.get(), db.get()); rc != SQLITE_OK) {
        fail(kMsgDatabaseUnusable, path, rc);
    }
    exec(memory.get(), "BEGIN", path, kMsgDatabaseUnusable);
    migrate(memory.get(), version, path);
    exec(memory.get(), "COMMIT", path, kMsgDatabaseUnusable);
    return memory;
}

void writeSieImport(sqlite3* db, const SieImportRecord& record, std::int64_t saveId,
                    const std::string& path) {
    SqlStatement import(
        db,
        "INSERT INTO sie_import (file_name, file_sha256, read_at, period, new_company, save_id) "
        "VALUES (?, ?, ?, ?, ?, ?)",
        path, kMsgDatabaseNotWritten);
    import.bind(1, record.fileName)
        .bind(2, record.sha256)
        .bind(3, record.readAt)
        .bind(4, std::int64_t{record.period})
        .bind(5, std::int64_t{record.newCompany ? 1 : 0})
        .bind(6, saveId)
        .run();
    const std::int64_t id = sqlite3_last_insert_rowid(db);
    SqlStatement voucher(db,
                         "INSERT INTO sie_import_voucher (import_id, position, series, number, date, debit, "
                         "credit, number_here) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                         path, kMsgDatabaseNotWritten);
    std::int64_t position = 0;
    for (const ImportedVoucher& row : record.vouchers) {
        voucher.bind(1, id)
            .bind(2, position++)
            .bind(3, row.series)
            .bind(4, row.number)
            .bind(5, row.date)
            .bind(6, std::int64_t{row.debit})
            .bind(7, std::int64_t{row.credit})
            .bind(8, std::int64_t{row.numberHere})
            .run();
    }
}

void writeBudgetRows(sqlite3* db, const BudgetRecord& budget, const std::string& path) {
    SqlStatement remove(db, "DELETE FROM budget WHERE period = ?", path, kMsgDatabaseNotWritten);
    remove.bind(1, std::int64_t{budget.period}).run();
    SqlStatement head(db,
                      "INSERT INTO budget (period, first_month, month_count, saved_at) VALUES (?, ?, ?, ?)",
                      path, kMsgDatabaseNotWritten);
    head.bind(1, std::int64_t{budget.period})
        .bind(2, budget.firstMonth)
        .bind(3, std::int64_t{budget.monthCount})
        .bind(4, budget.savedAt)
        .run();
    SqlStatement account(db,
                         "INSERT INTO budget_account (period, account, account_name, spread_evenly) VALUES "
                         "(?, ?, ?, ?)",
                         path, kMsgDatabaseNotWritten);
    SqlStatement month(db, "INSERT INTO budget_month (period, account, month, amount) VALUES (?, ?, ?, ?)",
                       path, kMsgDatabaseNotWritten);
    for (const BudgetAccountRecord& row : budget.accounts) {
        account.bind(1, std::int64_t{budget.period})
            .bind(2, std::int64_t{row.account})
            .bind(3, row.name)
            .bind(4, std::int64_t{row.spreadEvenly ? 1 : 0})
            .run();
        for (const auto& [when, amount] : row.months) {
            month.bind(1, std::int64_t{budget.period})
                .bind(2, std::int64_t{row.account})
                .bind(3, when)
                .bind(4, amount)
                .run();
        }
    }
}

// The database at path opened for writing (made when missing), inside a
// BEGIN IMMEDIATE transaction with its schema brought up to date.
Connection openForWriting(const std::string& path) {
    Connection db = open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    exec(db.get(), "PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON;", path, kMsgDatabaseUnusable);
    // The schema is read and brought up to date under the write lock, so
    // that a newer program's save cannot come between.
    exec(db.get(), "BEGIN IMMEDIATE", path, kMsgDatabaseNotWritten);
    migrate(db.get(), checkedVersion(db.get(), path), path);
    return db;
}

// One write of the user's settings in a transaction of its own: committed,
// or rolled back with a database this write made removed again.
void writeSettings(const std::string& path, const std::function<void(sqlite3*)>& write) {
    const bool created = presenceOf(path) == Presence::Absent;
    try {
        Connection db = openForWriting(path);
        try {
            write(db.get());
            exec(db.get(), "COMMIT", path, kMsgDatabaseNotWritten);
        } catch (...) {
            sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    } catch (...) {
        if (created) {
            removeDatabase(path);
        }
        throw;
    }
}

void writeBankLines(sqlite3* db, const std::vector<BankLineRecord>& lines, std::int64_t saveId,
                    const std::string& path) {
    if (lines.empty()) {
        return;
    }
    SqlStatement insert(db,
                        "INSERT INTO bank_line (bank_account, date, amount_ore, text_key, voucher, period, "
                        "read_at, save_id, book_account, account, vat_rule, words, source) "
                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                        path, kMsgDatabaseNotWritten);
    for (const BankLineRecord& line : lines) {
        insert.bind(1, line.bankAccount)
            .bind(2, line.date)
            .bind(3, std::int64_t{line.amount})
            .bind(4, line.textKey)
            .bind(5, std::int64_t{line.voucher})
            .bind(6, std::int64_t{line.period})
            .bind(7, line.readAt)
            .bind(8, saveId)
            .bind(9, std::int64_t{line.bookAccount})
            .bind(10, std::int64_t{line.account})
            .bind(11, std::int64_t{line.vatRule})
            .bind(12, line.words)
            .bind(13, line.source)
            .run();
    }
}

void writeAttachments(sqlite3* db, const std::vector<AttachmentRecord>& attachments, std::int64_t saveId,
                      const std::string& path) {
    if (attachments.empty()) {
        return;
    }
    SqlStatement insert(
        db,
        "INSERT INTO attachment (period, voucher, file_name, size, file_sha256, added_at, kind, save_id) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
        path, kMsgDatabaseNotWritten);
    for (const AttachmentRecord& attachment : attachments) {
        insert.bind(1, std::int64_t{attachment.period})
            .bind(2, std::int64_t{attachment.voucher})
            .bind(3, attachment.fileName)
            .bind(4, static_cast<std::int64_t>(attachment.size))
            .bind(5, attachment.sha256)
            .bind(6, attachment.addedAt)
            .bind(7, attachment.kind)
            .bind(8, saveId)
            .run();
    }
}

// The attachments a query of the columns below gives, in its order.
std::vector<AttachmentRecord> attachmentsOf(SqlStatement& query) {
    std::vector<AttachmentRecord> attachments;
    while (query.step()) {
        const std::int64_t size = query.integer(3);
        attachments.push_back({static_cast<std::int32_t>(query.integer(1)),
                               static_cast<std::int32_t>(query.integer(0)), query.text(2),
                               size < 0 ? 0U : static_cast<std::uint64_t>(size), query.text(4), query.text(5),
                               query.text(6)});
    }
    return attachments;
}

#define KV_ATTACHMENT_COLUMNS                                                                                \
    "SELECT period, voucher, file_name, size, file_sha256, added_at, kind FROM attachment "
constexpr const char* kAttachmentsOfPeriod =
    KV_ATTACHMENT_COLUMNS "WHERE period = ? AND save_id IS NULL ORDER BY id";
constexpr const char* kAttachmentsOfVoucher =
    KV_ATTACHMENT_COLUMNS "WHERE period = ? AND voucher = ? AND save_id IS NULL ORDER BY id";
#undef KV_ATTACHMENT_COLUMNS

const char* matchName(BankTextMatch match) {
    return match == BankTextMatch::Equals ? "equals" : "contains";
}

const char* signName(BankAmountSign sign) {
    switch (sign) {
    case BankAmountSign::In:
        return "in";
    case BankAmountSign::Out:
        return "out";
    case BankAmountSign::Any:
        break;
    }
    return "any";
}

} // namespace

std::span<const DatabaseMigration> databaseMigrations() {
    return kMigrations;
}

std::string companyDatabasePath(const std::string& companyPath) {
    const std::string name = fileNameOf(companyPath);
    const std::string folder = companyPath.substr(0, companyPath.size() - name.size());
    return folder + companyTitleOf(companyPath) + kDatabaseExtension;
}

std::vector<SieImportRecord> readSieImports(const std::string& companyPath, std::int32_t period) {
    const std::string path = companyDatabasePath(companyPath);
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return {};
    }
    SqlStatement query(
        db->get(),
        "SELECT i.id, i.file_name, i.file_sha256, i.read_at, i.period, i.new_company, v.series, "
        "v.number, v.date, v.debit, v.credit, v.number_here FROM sie_import i "
        "LEFT JOIN sie_import_voucher v ON v.import_id = i.id WHERE i.period = ? AND i.save_id IS NULL "
        "ORDER BY i.id, v.position",
        path, kMsgDatabaseUnusable);
    query.bind(1, std::int64_t{period});
    std::vector<SieImportRecord> records;
    std::int64_t current = -1;
    while (query.step()) {
        if (query.integer(0) != current) {
            current = query.integer(0);
            records.push_back({query.text(1),
                               query.text(2),
                               query.text(3),
                               static_cast<std::int32_t>(query.integer(4)),
                               query.integer(5) != 0,
                               {}});
        }
        if (!query.isNull(6)) {
            records.back().vouchers.push_back({query.text(6), query.text(7), query.text(8), query.integer(9),
                                               query.integer(10),
                                               static_cast<std::int32_t>(query.integer(11))});
        }
    }
    return records;
}

std::optional<BudgetRecord> readBudget(const std::string& companyPath, std::int32_t period) {
    const std::string path = companyDatabasePath(companyPath);
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return std::nullopt;
    }
    SqlStatement head(db->get(), "SELECT first_month, month_count, saved_at FROM budget WHERE period = ?",
                      path, kMsgDatabaseUnusable);
    head.bind(1, std::int64_t{period});
    if (!head.step()) {
        return std::nullopt;
    }
    BudgetRecord budget{period, head.text(0), static_cast<std::int32_t>(head.integer(1)), head.text(2), {}};
    SqlStatement rows(
        db->get(),
        "SELECT a.account, a.account_name, a.spread_evenly, m.month, m.amount FROM budget_account a "
        "LEFT JOIN budget_month m ON m.period = a.period AND m.account = a.account "
        "WHERE a.period = ? ORDER BY a.account, m.month",
        path, kMsgDatabaseUnusable);
    rows.bind(1, std::int64_t{period});
    while (rows.step()) {
        const auto account = static_cast<std::int32_t>(rows.integer(0));
        if (budget.accounts.empty() || budget.accounts.back().account != account) {
            budget.accounts.push_back({account, rows.text(1), rows.integer(2) != 0, {}});
        }
        if (!rows.isNull(3)) {
            budget.accounts.back().months.emplace_back(rows.text(3), rows.integer(4));
        }
    }
    return budget;
}

void writeBudget(const std::string& companyPath, const BudgetRecord& budget) {
    const std::string path = companyDatabasePath(companyPath);
    writeSettings(path, [&](sqlite3* db) { writeBudgetRows(db, budget, path); });
}

std::vector<BankLineRecord> readBankLines(const std::string& companyPath, const std::string& bankAccount,
                                          std::int32_t bookAccount) {
    const std::string path = companyDatabasePath(companyPath);
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return {};
    }
    SqlStatement query(
        db->get(),
        "SELECT bank_account, date, amount_ore, text_key, voucher, period, read_at, book_account, "
        "account, vat_rule, words, source FROM bank_line "
        "WHERE (bank_account = ? OR (book_account = ? AND book_account <> 0)) AND save_id IS NULL "
        "ORDER BY id",
        path, kMsgDatabaseUnusable);
    query.bind(1, bankAccount).bind(2, std::int64_t{bookAccount});
    std::vector<BankLineRecord> lines;
    const auto int32 = [&query](int column) { return static_cast<std::int32_t>(query.integer(column)); };
    while (query.step()) {
        lines.push_back({query.text(0), query.text(1), query.integer(2), query.text(3), int32(4), int32(5),
                         query.text(6), int32(7), int32(8), int32(9), query.text(10), query.text(11)});
    }
    return lines;
}

std::vector<AttachmentRecord> readAttachments(const std::string& companyPath, std::int32_t period) {
    const std::string path = companyDatabasePath(companyPath);
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return {};
    }
    SqlStatement query(db->get(), kAttachmentsOfPeriod, path, kMsgDatabaseUnusable);
    query.bind(1, std::int64_t{period});
    return attachmentsOf(query);
}

std::vector<AttachmentRecord> readVoucherAttachments(const std::string& companyPath, std::int32_t period,
                                                     std::int32_t voucher) {
    const std::string path = companyDatabasePath(companyPath);
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return {};
    }
    SqlStatement query(db->get(), kAttachmentsOfVoucher, path, kMsgDatabaseUnusable);
    query.bind(1, std::int64_t{period}).bind(2, std::int64_t{voucher});
    return attachmentsOf(query);
}

std::vector<std::int32_t> readVouchersWithAttachments(const std::string& companyPath, std::int32_t period) {
    const std::string path = companyDatabasePath(companyPath);
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return {};
    }
    SqlStatement query(
        db->get(),
        "SELECT DISTINCT voucher FROM attachment WHERE period = ? AND save_id IS NULL ORDER BY voucher", path,
        kMsgDatabaseUnusable);
    query.bind(1, std::int64_t{period});
    std::vector<std::int32_t> vouchers;
    while (query.step()) {
        vouchers.push_back(static_cast<std::int32_t>(query.integer(0)));
    }
    return vouchers;
}

std::vector<BankRule> readBankRules(const std::string& companyPath) {
    const std::string path = companyDatabasePath(companyPath);
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return {};
    }
    SqlStatement query(db->get(),
                       "SELECT pattern, text_match, amount_sign, min_ore, max_ore, account, vat_rule "
                       "FROM bank_rule ORDER BY position",
                       path, kMsgDatabaseUnusable);
    std::vector<BankRule> rules;
    while (query.step()) {
        BankRule rule;
        rule.pattern = query.text(0);
        rule.match = query.text(1) == "equals" ? BankTextMatch::Equals : BankTextMatch::Contains;
        const std::string sign = query.text(2);
        rule.sign = sign == "in"    ? BankAmountSign::In
                    : sign == "out" ? BankAmountSign::Out
                                    : BankAmountSign::Any;
        if (!query.isNull(3)) {
            rule.minAmount = query.integer(3);
        }
        if (!query.isNull(4)) {
            rule.maxAmount = query.integer(4);
        }
        rule.account = static_cast<std::int32_t>(query.integer(5));
        rule.vatRule = query.isNull(6) ? 0 : static_cast<std::int32_t>(query.integer(6));
        rules.push_back(std::move(rule));
    }
    return rules;
}

void writeBankRules(const std::string& companyPath, const std::vector<BankRule>& rules) {
    const std::string path = companyDatabasePath(companyPath);
    writeSettings(path, [&](sqlite3* db) {
        exec(db, "DELETE FROM bank_rule", path, kMsgDatabaseNotWritten);
        SqlStatement insert(db,
                            "INSERT INTO bank_rule (position, pattern, text_match, amount_sign, min_ore, "
                            "max_ore, account, vat_rule) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                            path, kMsgDatabaseNotWritten);
        std::int64_t position = 1;
        for (const BankRule& rule : rules) {
            insert.bind(1, position++)
                .bind(2, rule.pattern)
                .bind(3, std::string(matchName(rule.match)))
                .bind(4, std::string(signName(rule.sign)))
                .bind(5, rule.minAmount)
                .bind(6, rule.maxAmount)
                .bind(7, std::int64_t{rule.account})
                .bind(8, rule.vatRule > 0 ? std::optional<std::int64_t>(rule.vatRule) : std::nullopt)
                .run();
        }
    });
}

std::map<std::string, std::int64_t> readBankLineSources(const std::string& companyPath) {
    const std::string path = companyDatabasePath(companyPath);
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return {};
    }
    SqlStatement query(db->get(),
                       "SELECT source, COUNT(*) FROM bank_line WHERE save_id IS NULL AND source <> '' "
                       "GROUP BY source",
                       path, kMsgDatabaseUnusable);
    std::map<std::string, std::int64_t> counts;
    while (query.step()) {
        counts[query.text(0)] = query.integer(1);
    }
    return counts;
}

std::vector<BankAccountSetting> readBankAccounts(const std::string& companyPath) {
    const std::string path = companyDatabasePath(companyPath);
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return {};
    }
    SqlStatement query(
        db->get(), "SELECT bank_account, book_account, csv_columns FROM bank_account ORDER BY bank_account",
        path, kMsgDatabaseUnusable);
    std::vector<BankAccountSetting> settings;
    while (query.step()) {
        settings.push_back({query.text(0), static_cast<std::int32_t>(query.integer(1)), query.text(2)});
    }
    return settings;
}

void writeBankAccount(const std::string& companyPath, const BankAccountSetting& setting) {
    const std::string path = companyDatabasePath(companyPath);
    writeSettings(path, [&](sqlite3* db) {
        SqlStatement upsert(
            db,
            "INSERT INTO bank_account (bank_account, book_account, csv_columns) VALUES (?, ?, ?) "
            "ON CONFLICT (bank_account) DO UPDATE SET book_account = excluded.book_account, "
            "csv_columns = excluded.csv_columns",
            path, kMsgDatabaseNotWritten);
        upsert.bind(1, setting.bankAccount)
            .bind(2, std::int64_t{setting.bookAccount})
            .bind(3, setting.csvColumns)
            .run();
    });
}

int databaseVersion(const std::string& path) {
    if (presenceOf(path) == Presence::Absent) {
        fail(kMsgDatabaseUnusable, path, "Filen finns inte.");
    }
    const Connection db = openReadOnly(path);
    return checkedVersion(db.get(), path);
}

void DatabaseSave::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

DatabaseSave::DatabaseSave(const std::string& path, const PendingRecords& records,
                           const std::vector<SaveFileRecord>& files, const std::string& startedAt,
                           std::function<void()> whileCommitting)
    : m_path(path), m_whileCommitting(std::move(whileCommitting)) {
    m_created = presenceOf(path) == Presence::Absent;
    try {
        m_db.reset(openForWriting(path).release());
        SqlStatement save(m_db.get(), "INSERT INTO pending_save (started_at) VALUES (?)", path,
                          kMsgDatabaseNotWritten);
        save.bind(1, startedAt).run();
        m_saveId = sqlite3_last_insert_rowid(m_db.get());
        SqlStatement file(m_db.get(),
                          "INSERT INTO pending_save_file (save_id, position, target, temporary, kept, size, "
                          "sha256) VALUES (?, ?, ?, ?, ?, ?, ?)",
                          path, kMsgDatabaseNotWritten);
        std::int64_t position = 0;
        for (const SaveFileRecord& written : files) {
            file.bind(1, m_saveId)
                .bind(2, position++)
                .bind(3, written.target)
                .bind(4, written.temporary)
                .bind(5, written.kept)
                .bind(6, static_cast<std::int64_t>(written.size))
                .bind(7, written.sha256)
                .run();
        }
        for (const SieImportRecord& record : records.imports) {
            writeSieImport(m_db.get(), record, m_saveId, path);
        }
        writeBankLines(m_db.get(), records.bankLines, m_saveId, path);
        writeAttachments(m_db.get(), records.attachments, m_saveId, path);
    } catch (...) {
        if (m_db) {
            sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
            m_db.reset();
        }
        if (m_created) {
            removeDatabase(path);
        }
        throw;
    }
}

DatabaseSave::~DatabaseSave() {
    if (m_committed) {
        return; // settled by finish() or rollBack(), or else at the next opening
    }
    if (m_db) {
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        m_db.reset();
    }
    if (m_created) {
        removeDatabase(m_path);
    }
}

void DatabaseSave::commit() {
    if (m_whileCommitting) {
        sqlite3_commit_hook(
            m_db.get(),
            [](void* self) -> int {
                try {
                    static_cast<DatabaseSave*>(self)->m_whileCommitting();
                    return 0;
                } catch (...) {
                    return 1; // SQLite takes the transaction back
                }
            },
            this);
    }
    const int rc = sqlite3_exec(m_db.get(), "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_commit_hook(m_db.get(), nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(m_db.get());
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        fail(kMsgDatabaseNotWritten, m_path, code);
    }
    m_committed = true;
}

namespace {

// The statements that settle a pending save, finished or taken back.
constexpr const char* kFinishSave = "UPDATE sie_import SET save_id = NULL WHERE save_id = ?1; "
                                    "UPDATE bank_line SET save_id = NULL WHERE save_id = ?1; "
                                    "UPDATE attachment SET save_id = NULL WHERE save_id = ?1; "
                                    "DELETE FROM pending_save WHERE id = ?1;";
constexpr const char* kTakeBackSave = "DELETE FROM sie_import WHERE save_id = ?1; "
                                      "DELETE FROM bank_line WHERE save_id = ?1; "
                                      "DELETE FROM attachment WHERE save_id = ?1; "
                                      "DELETE FROM pending_save WHERE id = ?1;";

// Runs each statement of sql with ?1 bound to id, inside the caller's transaction.
void runWithId(sqlite3* db, const char* sql, std::int64_t id, const std::string& path) {
    const char* next = sql;
    while (next != nullptr && *next != '\0') {
        sqlite3_stmt* raw = nullptr;
        const char* rest = nullptr;
        if (sqlite3_prepare_v2(db, next, -1, &raw, &rest) != SQLITE_OK) {
            fail(kMsgDatabaseNotWritten, path, sqlite3_extended_errcode(db));
        }
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
        next = rest;
        if (raw == nullptr) {
            continue; // only blanks were left
        }
        sqlite3_bind_int64(raw, 1, id);
        if (sqlite3_step(raw) != SQLITE_DONE) {
            fail(kMsgDatabaseNotWritten, path, sqlite3_extended_errcode(db));
        }
    }
}

// Settles the save inside a transaction of its own on db.
void settle(sqlite3* db, std::int64_t id, bool finished, const std::string& path) {
    exec(db, "BEGIN IMMEDIATE", path, kMsgDatabaseNotWritten);
    try {
        runWithId(db, finished ? kFinishSave : kTakeBackSave, id, path);
        exec(db, "COMMIT", path, kMsgDatabaseNotWritten);
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace

void DatabaseSave::finish() {
    if (!m_db) {
        return;
    }
    settle(m_db.get(), m_saveId, true, m_path);
    m_db.reset();
}

void DatabaseSave::rollBack() {
    if (!m_committed || !m_db) {
        return; // the transaction is taken back as the save goes, or the save is done
    }
    settle(m_db.get(), m_saveId, false, m_path);
    m_db.reset();
    if (m_created) {
        removeDatabase(m_path); // nothing of it was ever saved
    }
}

std::vector<PendingSave> readPendingSaves(const std::string& path) {
    if (presenceOf(path) == Presence::Absent) {
        return {};
    }
    // Opened for writing, so that SQLite takes back a change that a killed program left half made.
    const Connection db = open(path, SQLITE_OPEN_READWRITE);
    if (checkedVersion(db.get(), path) < 6) {
        return {};
    }
    SqlStatement query(db.get(),
                       "SELECT s.id, f.target, f.temporary, f.kept, f.size, f.sha256 FROM pending_save s "
                       "LEFT JOIN pending_save_file f ON f.save_id = s.id ORDER BY s.id, f.position",
                       path, kMsgDatabaseUnusable);
    std::vector<PendingSave> saves;
    while (query.step()) {
        if (saves.empty() || saves.back().id != query.integer(0)) {
            saves.push_back({query.integer(0), {}});
        }
        if (!query.isNull(1)) {
            const std::int64_t size = query.integer(4);
            saves.back().files.push_back({query.text(1), query.text(2), query.text(3),
                                          size < 0 ? 0U : static_cast<std::uint64_t>(size), query.text(5)});
        }
    }
    return saves;
}

void settlePendingSave(const std::string& path, std::int64_t id, bool finished) {
    const Connection db = open(path, SQLITE_OPEN_READWRITE);
    exec(db.get(), "PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON;", path, kMsgDatabaseUnusable);
    settle(db.get(), id, finished, path);
}

std::vector<std::pair<std::string, std::string>> recordedAttachmentFiles(const std::string& path) {
    const std::optional<Connection> db = openForReading(path);
    if (!db) {
        return {};
    }
    SqlStatement query(db->get(), "SELECT DISTINCT file_sha256, kind FROM attachment", path,
                       kMsgDatabaseUnusable);
    std::vector<std::pair<std::string, std::string>> files;
    while (query.step()) {
        files.emplace_back(query.text(0), query.text(1));
    }
    return files;
}

void copyDatabase(const std::string& from, const std::string& to) {
    if (presenceOf(from) == Presence::Absent) {
        fail(kMsgDatabaseUnusable, from, "Filen finns inte.");
    }
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0) {
        fail(kMsgDatabaseNotWritten, to, "Filen finns redan.");
    }
    const Connection source = openReadOnly(from);
    const std::string name = fileNameOf(to);
    std::random_device random;
    const std::string temp = to.substr(0, to.size() - name.size()) + "." + name + "." +
                             std::to_string(random() % 1000000000U) + ".tmp";
    {
        const Connection copy = open(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (const int rc = backupInto(copy.get(), source.get()); rc != SQLITE_OK) {
            removeDatabase(temp);
            fail(kMsgDatabaseNotWritten, to, rc);
        }
    }
    if (::rename(temp.c_str(), to.c_str()) != 0) {
        const int errnum = errno;
        removeDatabase(temp);
        fail(kMsgDatabaseNotWritten, to, describeFileError(errnum));
    }
}

void removeDatabase(const std::string& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        ::unlink((path + suffix).c_str());
    }
}

} // namespace kv
