// Receipts kept with the vouchers: the store of files by content, the
// records in the company's database, the voucher dialog's chosen files and
// registration, the marks, backups and the command line.
#include "AppFakeHost.h"
#include "BackupTestSupport.h"
#include "CliRunner.h"
#include "VoucherTestSupport.h"

#include "app/AppController.h"
#include "attachments/Attachments.h"
#include "reports/JournalReport.h"
#include "reports/ReportBooks.h"
#include "storage/BackupRestore.h"
#include "storage/CompanyBackups.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "storage/SaveRecovery.h"
#include "storage/Sha256.h"
#include "voucher/VoucherListModel.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <tuple>

namespace kv {
namespace {

using test::readFile;
using test::TempDir;
using test::TypedLine;
using test::VoucherDesk;
using test::writeFile;

const std::string kPdf = "%PDF-1.4\n1 0 obj << >> endobj\n%%EOF\n";
const std::string kJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF bytes";
const std::string kPng = std::string("\x89PNG\r\n\x1A\n", 8) + "IHDR bytes";

LocalClock clockAt(int minute) {
    return [minute] { return LocalTime{2026, 12, 10, 14, minute, 25}; };
}

std::vector<std::string> storedFiles(const std::string& companyPath) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(attachmentFolderPath(companyPath), error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool contains(const std::vector<std::string>& said, const std::string& part) {
    return std::any_of(said.begin(), said.end(),
                       [&](const std::string& text) { return text.find(part) != std::string::npos; });
}

// The voucher company saved as Firma.bok, with a voucher dialog over it.
struct ReceiptDesk {
    TempDir dir;
    std::string path = dir.file("Firma.bok");
    VoucherDesk desk;

    ReceiptDesk() { EXPECT_TRUE(saveNewCompany(desk.doc, path).ok); }

    VoucherFormModel& open(std::optional<std::size_t> registered, int minute) {
        desk.form.reset();
        VoucherFormSetup setup;
        setup.today = test::kToday;
        setup.registered = registered;
        setup.clock = clockAt(minute);
        desk.form = std::make_unique<VoucherFormModel>(desk.doc, desk.prompter, std::move(setup));
        return *desk.form;
    }
    // A new balanced voucher typed in; "OK" left to the test.
    VoucherFormModel& typeRent(int minute) {
        VoucherFormModel& form = open(std::nullopt, minute);
        test::typeHead(form, "5", "3", "2012", "Hyra mars");
        EXPECT_TRUE(test::typeLine(form, 1, {"5010", "Hyra", "1000", ""}));
        EXPECT_TRUE(test::typeLine(form, 2, {"1930", "Hyra", "", "1000"}));
        return form;
    }
    bool ok(VoucherFormModel& form) {
        desk.prompter.answer(Answer::Ok).answer(Answer::Ok);
        return form.ok();
    }
    std::string receipt(const std::string& name, const std::string& bytes) {
        const std::string file = dir.file(name);
        writeFile(file, bytes);
        return file;
    }
    // The company saved at hour:00 on 2026-12-10 (its backups named so).
    void saveAt(int hour) {
        EXPECT_TRUE(saveCompany(desk.doc, path, [hour] { return LocalTime{2026, 12, 10, hour, 0, 0}; }).ok);
    }
    // A rent voucher registered with a.pdf attached, saved at 14:00.
    std::int32_t rentWithReceipt() {
        const std::int32_t number = desk.registerRent();
        AttachmentStoring storing(path);
        (void)attachToVoucher(desk.doc, number, {receipt("a.pdf", kPdf)}, storing, clockAt(1));
        storing.keep();
        saveAt(14);
        return number;
    }
};

// A file is taken by its first bytes, never by its name, and only a regular
// file within the limit; every refusal names the file and says why.
TEST(AttachmentStore, TheKindIsToldByTheBytesAndOnlyARegularFileWithinTheLimitIsTaken) {
    TempDir dir;
    const auto file = [&dir](const char* name, const std::string& bytes, std::uintmax_t size = 0) {
        writeFile(dir.file(name), bytes);
        if (size > 0) {
            std::filesystem::resize_file(dir.file(name), size);
        }
        return dir.file(name);
    };
    const std::string fifo = dir.file("rör.pdf");
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.file("mapp.pdf");
    std::filesystem::create_directory(folder);
    struct Case {
        std::string file;
        std::optional<AttachmentKind> kind; // nothing: refused
        const char* refusal;
    };
    const std::vector<Case> cases{
        {file("kvitto.pdf", kPdf), AttachmentKind::Pdf, ""},
        {file("bild.jpg", kJpeg), AttachmentKind::Jpeg, ""},
        {file("skanning.png", kPng), AttachmentKind::Png, ""},
        {file("faktura.jpg", kPdf), AttachmentKind::Pdf, ""}, // a PDF under a picture's name
        {file("lagom.pdf", kPdf, kAttachmentMaxBytes), AttachmentKind::Pdf, ""},
        {file("sida.pdf", "<html>inget kvitto</html>"), std::nullopt, kMsgUnderlagFelSort},
        {file("trasig.png", std::string("\x89PNG\r\n", 6)), std::nullopt, kMsgUnderlagFelSort}, // cut short
        {file("nästan.pdf", "%PDF"), std::nullopt, kMsgUnderlagFelSort},
        {file("tom.pdf", ""), std::nullopt, kMsgUnderlagTom},
        {file("stor.pdf", kPdf, kAttachmentMaxBytes + 1), std::nullopt, "för stor (51 MB, högst 50 MB"},
        {fifo, std::nullopt, "namngiven pipe"},
        {folder, std::nullopt, "Sökvägen är en mapp"},
        {dir.file("finns-inte.pdf"), std::nullopt, "finns inte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.kind) {
            const CheckedAttachment checked = checkAttachmentFile(c.file);
            EXPECT_EQ(checked.kind, *c.kind);
            EXPECT_EQ(dir.file(checked.fileName), c.file);
            EXPECT_EQ(checked.size, std::filesystem::file_size(c.file));
            if (checked.size < 1000) {
                EXPECT_EQ(checked.sha256, sha256Hex(readFile(c.file)));
            }
            continue;
        }
        try {
            (void)checkAttachmentFile(c.file);
            ADD_FAILURE() << "inte vägrad";
        } catch (const AttachmentError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind(kMsgUnderlagKanEjLasas, 0), 0U) << message;
            EXPECT_NE(message.find(c.file), std::string::npos) << message; // names the file
            EXPECT_NE(message.find(c.refusal), std::string::npos) << message;
        }
    }
}

TEST(AttachmentStore, TheSameContentIsStoredOnceAndAStoringNotKeptTakesOnlyItsOwnFilesAway) {
    TempDir dir;
    const std::string company = dir.file("Firma.bok");
    writeFile(dir.file("a.pdf"), kPdf);
    writeFile(dir.file("samma.pdf"), kPdf);
    writeFile(dir.file("b.png"), kPng);
    const LocalTime at{2026, 12, 10, 14, 3, 25};
    {
        AttachmentStoring storing(company);
        const AttachmentRecord first = storing.store(dir.file("a.pdf"), 0, 1, at);
        const AttachmentRecord second = storing.store(dir.file("samma.pdf"), 0, 2, at);
        EXPECT_EQ(first.sha256, second.sha256);
        EXPECT_EQ(first.addedAt, "2026-12-10 14:03:25");
        EXPECT_EQ(first.kind, "pdf");
        EXPECT_EQ(second.fileName, "samma.pdf");
        EXPECT_EQ(storedFiles(company), std::vector<std::string>{sha256Hex(kPdf) + ".pdf"});
        EXPECT_EQ(readStoredAttachment(company, second), kPdf);
        storing.keep();
    }
    {
        AttachmentStoring storing(company); // not kept: what it wrote goes, what stood there stays
        (void)storing.store(dir.file("a.pdf"), 0, 3, at);
        (void)storing.store(dir.file("b.png"), 0, 3, at);
        EXPECT_EQ(storedFiles(company).size(), 2U);
    }
    EXPECT_EQ(storedFiles(company), std::vector<std::string>{sha256Hex(kPdf) + ".pdf"});
}

TEST(AttachmentStore, AStoredFileThatChangedIsNotTakenForTheReceipt) {
    TempDir dir;
    const std::string company = dir.file("Firma.bok");
    writeFile(dir.file("a.pdf"), kPdf);
    AttachmentStoring storing(company);
    const AttachmentRecord record = storing.store(dir.file("a.pdf"), 0, 1, {});
    storing.keep();
    const std::string stored = attachmentStoredPath(company, record);
    struct Case {
        const char* name;
        std::function<void()> damage;
        const char* reason;
    };
    const std::vector<Case> cases{
        {"gone", [&] { std::filesystem::remove(stored); }, "saknas"},
        {"shorter", [&] { writeFile(stored, kPdf.substr(0, 10)); }, "inte lika stor"},
        {"same size, other bytes", [&] { writeFile(stored, std::string(kPdf.size(), 'x')); }, "innehållet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // An editor that makes the read-only file writable first.
        std::error_code gone;
        std::filesystem::permissions(stored, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, gone);
        writeFile(stored, kPdf);
        c.damage();
        try {
            (void)readStoredAttachment(company, record);
            ADD_FAILURE() << "inte vägrad";
        } catch (const AttachmentError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
    // Storing the receipt again repairs the file and never removes it after.
    {
        AttachmentStoring again(company);
        (void)again.store(dir.file("a.pdf"), 0, 2, {});
    }
    EXPECT_EQ(readStoredAttachment(company, record), kPdf);
    // A link put in the store under the receipt's name is replaced, never written through.
    const std::string elsewhere = dir.file("annan.txt");
    writeFile(elsewhere, "användarens egen fil");
    std::filesystem::remove(stored);
    std::filesystem::create_symlink(elsewhere, stored);
    {
        AttachmentStoring again(company);
        (void)again.store(dir.file("a.pdf"), 0, 3, {});
        again.keep();
    }
    EXPECT_EQ(readFile(elsewhere), "användarens egen fil");
    EXPECT_FALSE(std::filesystem::is_symlink(stored));
    EXPECT_EQ(readStoredAttachment(company, record), kPdf);
    // A record the program never wrote makes no path.
    AttachmentRecord odd = record;
    odd.sha256 = "../../etc/passwd";
    EXPECT_THROW((void)attachmentStoredPath(company, odd), AttachmentError);
}

TEST(VoucherReceipts, RegisteringAndAmendingAddReceiptsAndNeverTakeOneAway) {
    ReceiptDesk d;
    VoucherFormModel& form = d.typeRent(3);
    form.attachFiles(
        {d.receipt("kvitto.pdf", kPdf), d.receipt("kopia.pdf", kPdf), d.receipt("bild.png", kPng)});
    ASSERT_EQ(form.chosenAttachments().size(), 2U); // the same content is chosen once
    ASSERT_TRUE(d.ok(form));
    const std::int32_t number = form.registeredNumber().value();

    // Registered: the files are in the store, the records pending until the save.
    EXPECT_EQ(storedFiles(d.path).size(), 2U);
    ASSERT_EQ(d.desk.doc.pendingRecords().attachments.size(), 2U);
    EXPECT_EQ(d.desk.doc.pendingRecords().attachments[0].voucher, number);
    EXPECT_TRUE(readAttachments(d.path, 0).empty());
    EXPECT_EQ(voucherAttachments(d.desk.doc, number).size(), 2U);
    ASSERT_TRUE(saveCompany(d.desk.doc, d.path).ok);
    EXPECT_TRUE(d.desk.doc.pendingRecords().empty());

    // Amended: the kept receipts show, one more is added, the same one again is told.
    VoucherFormModel& amend = d.open(d.desk.doc.state().m_verifikat.size() - 1, 9);
    ASSERT_EQ(amend.keptAttachments().size(), 2U);
    d.desk.prompter.said.clear();
    amend.attachFiles({d.receipt("igen.pdf", kPdf), d.receipt("foto.jpg", kJpeg)});
    EXPECT_TRUE(contains(d.desk.prompter.said, kMsgUnderlagRedanBifogat));
    ASSERT_EQ(amend.chosenAttachments().size(), 1U);
    d.desk.prompter.answer(Answer::Ok);
    ASSERT_TRUE(amend.ok()) << (d.desk.prompter.said.empty() ? "" : d.desk.prompter.said.back());
    ASSERT_TRUE(saveCompany(d.desk.doc, d.path).ok);

    CTallvingeDoc reopened;
    ASSERT_TRUE(openCompany(reopened, d.path).ok);
    const std::vector<AttachmentRecord> records = voucherAttachments(reopened, number);
    ASSERT_EQ(records.size(), 3U);
    EXPECT_EQ(records[0].fileName, "kvitto.pdf");
    EXPECT_EQ(records[0].addedAt, "2026-12-10 14:03:25");
    EXPECT_EQ(records[2].fileName, "foto.jpg");
    EXPECT_EQ(records[2].addedAt, "2026-12-10 14:09:25"); // the history says which came when
    for (const AttachmentRecord& record : records) {
        EXPECT_EQ(record.voucher, number);
        EXPECT_NO_THROW((void)readStoredAttachment(d.path, record));
    }
}

TEST(VoucherReceipts, AFailureBeforeTheRegistrationLeavesNeitherVoucherNorFiles) {
    struct Case {
        const char* name;
        std::function<void(ReceiptDesk&)> breakIt; // after the files are chosen
        const char* told;
    };
    const std::vector<Case> cases{
        {"the store cannot be made",
         [](ReceiptDesk& d) {
             writeFile(attachmentFolderPath(d.path).substr(0, attachmentFolderPath(d.path).size() - 1), "x");
         },
         kMsgUnderlagKanEjSparas},
        {"a chosen file went away", [](ReceiptDesk& d) { std::filesystem::remove(d.dir.file("b.png")); },
         "finns inte"},
        {"a chosen file was changed into something else",
         [](ReceiptDesk& d) { writeFile(d.dir.file("b.png"), "inte längre en bild"); }, kMsgUnderlagFelSort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReceiptDesk d;
        const auto vouchers = d.desk.doc.state().m_verifikat.size();
        VoucherFormModel& form = d.typeRent(3);
        form.attachFiles({d.receipt("a.pdf", kPdf), d.receipt("b.png", kPng)});
        ASSERT_EQ(form.chosenAttachments().size(), 2U);
        c.breakIt(d);
        d.desk.prompter.said.clear();
        EXPECT_FALSE(d.ok(form));
        EXPECT_TRUE(contains(d.desk.prompter.said, c.told));
        EXPECT_TRUE(contains(d.desk.prompter.said, "Verifikatet är inte registrerat"));
        EXPECT_EQ(d.desk.doc.state().m_verifikat.size(), vouchers);
        EXPECT_TRUE(d.desk.doc.pendingRecords().attachments.empty());
        EXPECT_TRUE(storedFiles(d.path).empty());       // a.pdf, stored first, went again
        EXPECT_EQ(form.chosenAttachments().size(), 2U); // the user may try again
    }
}

TEST(VoucherReceipts, ASaveThatFailsWritesNoRecordAndTheNextSaveWritesThem) {
    for (const SaveStep step : {SaveStep::PeriodFileInPlace, SaveStep::CompanyFileInPlace}) {
        ReceiptDesk d;
        VoucherFormModel& form = d.typeRent(3);
        form.attachFiles({d.receipt("a.pdf", kPdf)});
        ASSERT_TRUE(d.ok(form));
        setSaveStepHook([step](SaveStep at) {
            if (at == step) {
                throw FileError("rename", EIO);
            }
        });
        const FileReport failed = saveCompany(d.desk.doc, d.path);
        setSaveStepHook({});
        EXPECT_FALSE(failed.ok);
        EXPECT_TRUE(readAttachments(d.path, 0).empty());
        ASSERT_EQ(d.desk.doc.pendingRecords().attachments.size(), 1U);
        // The file stays for the record still pending.
        EXPECT_NO_THROW((void)readStoredAttachment(d.path, d.desk.doc.pendingRecords().attachments[0]));
        ASSERT_TRUE(saveCompany(d.desk.doc, d.path).ok);
        EXPECT_EQ(readAttachments(d.path, 0).size(), 1U);
    }
}

TEST(VoucherReceipts, AChangeTakenBackTakesItsReceiptsAndMarksBack) {
    ReceiptDesk d;
    const std::int32_t number = d.desk.registerRent();
    ASSERT_TRUE(saveCompany(d.desk.doc, d.path).ok);
    AttachmentMarks marks;
    EXPECT_FALSE(marks.has(d.desk.doc, number));
    {
        auto change = d.desk.doc.beginChange();
        AttachmentStoring storing(d.path);
        ASSERT_EQ(attachToVoucher(d.desk.doc, number, {d.receipt("a.pdf", kPdf)}, storing, clockAt(1)).size(),
                  1U);
        EXPECT_TRUE(marks.has(d.desk.doc, number));
        // Neither the change nor the storing is kept: an undone registration.
    }
    EXPECT_TRUE(d.desk.doc.pendingRecords().attachments.empty());
    EXPECT_TRUE(storedFiles(d.path).empty());
    EXPECT_FALSE(marks.has(d.desk.doc, number));

    AttachmentStoring storing(d.path);
    (void)attachToVoucher(d.desk.doc, number, {d.receipt("a.pdf", kPdf)}, storing, clockAt(2));
    storing.keep();
    ASSERT_TRUE(saveCompany(d.desk.doc, d.path).ok);
    EXPECT_TRUE(marks.has(d.desk.doc, number)); // read again from the database after the save
    EXPECT_FALSE(marks.has(d.desk.doc, number + 1));
    EXPECT_TRUE(marks.failure().empty());
}

TEST(VoucherReceipts, ADatabaseThatCannotBeUsedRefusesTheReceiptsBeforeAnythingIsChosen) {
    ReceiptDesk d;
    writeFile(companyDatabasePath(d.path), "ingen databas");
    VoucherFormModel& form = d.typeRent(3);
    form.attachFiles({d.receipt("a.pdf", kPdf)});
    EXPECT_TRUE(form.chosenAttachments().empty());
    EXPECT_TRUE(contains(d.desk.prompter.said, kMsgDatabaseUnusable));
    EXPECT_TRUE(storedFiles(d.path).empty());
    EXPECT_EQ(readFile(companyDatabasePath(d.path)), "ingen databas");
}

TEST(VoucherReceipts, ACompanyNeverSavedOrAMissingVoucherTakesNoReceipt) {
    VoucherDesk desk; // no file yet
    TempDir dir;
    writeFile(dir.file("a.pdf"), kPdf);
    VoucherFormModel& form = desk.open();
    form.attachFiles({dir.file("a.pdf")});
    EXPECT_TRUE(form.chosenAttachments().empty());
    EXPECT_TRUE(contains(desk.prompter.said, kMsgUnderlagEjSparatForetag));

    ReceiptDesk d;
    AttachmentStoring storing(d.path);
    EXPECT_THROW((void)attachToVoucher(d.desk.doc, 99, {dir.file("a.pdf")}, storing, clockAt(1)),
                 AttachmentError);
    EXPECT_TRUE(d.desk.doc.pendingRecords().empty());
}

TEST(VoucherReceipts, TheJournalOfTheWindowMarksAVoucherWithReceiptsAndTheCommandLineNever) {
    ReceiptDesk d;
    const std::int32_t first = d.desk.registerRent();
    const std::int32_t second = d.desk.registerRent();
    AttachmentStoring storing(d.path);
    (void)attachToVoucher(d.desk.doc, second, {d.receipt("a.pdf", kPdf)}, storing, clockAt(1));
    const auto headOf = [&](const Listing& listing, std::int32_t number) {
        for (const CUtskriftsrad& line : listing.lines) {
            if (line.m_text[0] == zeroPadded(number, 5)) {
                return line.m_text[1];
            }
        }
        return std::string("?");
    };
    const Listing marked = journalListing(d.desk.doc, JournalPrintRange{}, true);
    EXPECT_EQ(headOf(marked, first), "");
    EXPECT_EQ(headOf(marked, second), kAttachmentMark);
    EXPECT_EQ(headOf(journalListing(d.desk.doc, JournalPrintRange{}), second), "");
    VoucherListModel list(d.desk.doc);
    EXPECT_FALSE(list.hasAttachments(static_cast<std::size_t>(first - 1)));
    EXPECT_TRUE(list.hasAttachments(static_cast<std::size_t>(second - 1)));
}

TEST(VoucherReceipts, BackupAndRestoreCarryTheReceiptsAsLinks) {
    ReceiptDesk d;
    d.rentWithReceipt();
    test::changeSomething(d.desk.doc);
    d.saveAt(15);

    const std::string backup = backupFolderPath(d.path) + "2026-12-10_15-00-00/";
    const std::string stored = sha256Hex(kPdf) + ".pdf";
    struct stat original {};
    struct stat kept {};
    ASSERT_EQ(::stat((attachmentFolderPath(d.path) + stored).c_str(), &original), 0);
    ASSERT_EQ(::stat((backup + "Firma_underlag/" + stored).c_str(), &kept), 0);
    EXPECT_EQ(original.st_ino, kept.st_ino); // a link, not a copy

    const std::string restored = d.dir.file("Åter.bok");
    const FileReport report = restoreBackup(backup, d.path, restored);
    ASSERT_TRUE(report.ok) << (report.messages.empty() ? "" : report.messages[0]);
    const std::vector<AttachmentRecord> records = readAttachments(restored, 0);
    ASSERT_EQ(records.size(), 1U);
    EXPECT_EQ(readStoredAttachment(restored, records[0]), kPdf);
    // Restoring over a name whose receipts' folder is there is refused.
    std::filesystem::create_directory(d.dir.file("Annan_underlag"));
    EXPECT_FALSE(restoreBackup(backup, d.path, d.dir.file("Annan.bok")).ok);
}

// The thinning of old backups takes their receipts' links with them, and
// the receipts themselves stay.
TEST(VoucherReceipts, ThinnedBackupsGoWithTheirReceiptLinks) {
    ReceiptDesk d;
    const std::int32_t number = d.desk.registerRent();
    AttachmentStoring storing(d.path);
    (void)attachToVoucher(d.desk.doc, number, {d.receipt("a.pdf", kPdf)}, storing, clockAt(1));
    storing.keep();
    const auto saveAt = [&](int minute) {
        test::changeSomething(d.desk.doc);
        ASSERT_TRUE(
            saveCompany(d.desk.doc, d.path, [minute] { return LocalTime{2026, 12, 10, 15, minute, 0}; }).ok);
    };
    for (int minute = 0; minute < static_cast<int>(kBackupsKept) + 3; ++minute) {
        saveAt(minute);
    }
    std::size_t backups = 0;
    for (const auto& entry : std::filesystem::directory_iterator(backupFolderPath(d.path))) {
        ++backups;
        EXPECT_TRUE(std::filesystem::exists(entry.path() / "Firma_underlag" / (sha256Hex(kPdf) + ".pdf")))
            << entry.path();
    }
    EXPECT_EQ(backups, kBackupsKept);
    EXPECT_EQ(readStoredAttachment(d.path, readAttachments(d.path, 0).at(0)), kPdf);
}

TEST(VoucherReceipts, ExtractedCopiesGetSafeNames) {
    const std::vector<std::tuple<std::int32_t, std::size_t, std::string, std::string>> cases{
        {12, 1, "kvitto.pdf", "0012-1-kvitto.pdf"},
        {7, 2, "../../etc/passwd", "0007-2-____etc_passwd"},
        {123, 1, "a\nb\x01.pdf", "0123-1-ab.pdf"},
        {1, 3, "..", "0001-3-_"},
        {4, 1, "", "0004-1-underlag"},
        {10000, 1, "mapp\\fil.png", "10000-1-mapp_fil.png"},
    };
    for (const auto& [voucher, running, name, expected] : cases) {
        EXPECT_EQ(extractedAttachmentName(voucher, running, name), expected) << name;
    }
}

TEST(VoucherReceipts, TheCommandLineAttachesListsAndExtractsAllOrNothing) {
    ReceiptDesk d;
    const std::int32_t number = d.desk.registerRent();
    ASSERT_TRUE(saveCompany(d.desk.doc, d.path).ok);
    const std::string company = test::quoted(d.path);
    const std::string pdf = d.receipt("kvitto.pdf", kPdf);
    const std::string png = d.receipt("bild.png", kPng);
    const std::string bad = d.receipt("falsk.pdf", "MZ inget kvitto");

    // A damaged file among good ones: nothing is stored or recorded.
    const test::CliRun refused = runCli(d.dir, "attach " + company + " " + std::to_string(number) + " " +
                                                   test::quoted(pdf) + " " + test::quoted(bad));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("ingen PDF-, JPEG- eller PNG-fil"), std::string::npos) << refused.err;
    EXPECT_TRUE(storedFiles(d.path).empty());
    EXPECT_FALSE(fileExists(companyDatabasePath(d.path)));

    const test::CliRun noVoucher = runCli(d.dir, "attach " + company + " 99 " + test::quoted(pdf));
    EXPECT_EQ(noVoucher.status, 1);
    EXPECT_NE(noVoucher.err.find(kMsgUnderlagIngetVerifikat), std::string::npos) << noVoucher.err;

    const test::CliRun attached = runCli(d.dir, "attach " + company + " " + std::to_string(number) + " " +
                                                    test::quoted(pdf) + " " + test::quoted(png));
    ASSERT_EQ(attached.status, 0) << attached.err;
    EXPECT_EQ(std::count(attached.out.begin(), attached.out.end(), '\n'), 2);
    EXPECT_NE(attached.out.find(std::to_string(number) + "\tkvitto.pdf\t" + std::to_string(kPdf.size()) +
                                "\t" + sha256Hex(kPdf) + "\t"),
              std::string::npos)
        << attached.out;

    const test::CliRun listed = runCli(d.dir, "attachments " + company);
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("\tbild.png\t"), std::string::npos) << listed.out;
    EXPECT_EQ(runCli(d.dir, "attachments " + company + " " + std::to_string(number + 1)).out, "");

    std::filesystem::create_directory(d.dir.file("ut"));
    const test::CliRun extracted =
        runCli(d.dir, "attachments " + company + " --extract " + test::quoted(d.dir.file("ut")));
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    char name[32];
    std::snprintf(name, sizeof name, "%04d", number);
    EXPECT_EQ(readFile(d.dir.file("ut/" + std::string(name) + "-1-kvitto.pdf")), kPdf);
    EXPECT_EQ(readFile(d.dir.file("ut/" + std::string(name) + "-2-bild.png")), kPng);
    // Extracting again writes over nothing.
    EXPECT_EQ(runCli(d.dir, "attachments " + company + " --extract " + test::quoted(d.dir.file("ut"))).status,
              1);
}

bool writable(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) != 0;
}

ino_t inodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// A stored receipt is written read-only; a backup shares it only while it
// is, and copies one that can be written (a store from before), so that an
// edit in place never reaches a backup; the next opening makes it read-only.
TEST(VoucherReceipts, StoredReceiptsAreReadOnlyAndABackupNeverSharesOneThatCanBeWritten) {
    ReceiptDesk d;
    d.rentWithReceipt();
    const std::string stored = attachmentFolderPath(d.path) + sha256Hex(kPdf) + ".pdf";
    EXPECT_FALSE(writable(stored));

    ::chmod(stored.c_str(), 0644); // as a store from before receipts were read-only
    test::changeSomething(d.desk.doc);
    d.saveAt(15);
    const std::string kept =
        backupFolderPath(d.path) + "2026-12-10_15-00-00/Firma_underlag/" + sha256Hex(kPdf) + ".pdf";
    EXPECT_NE(inodeOf(kept), inodeOf(stored));
    EXPECT_FALSE(writable(kept));
    EXPECT_EQ(readFile(kept), kPdf);

    EXPECT_TRUE(recoverCompany(d.path).messages.empty());
    EXPECT_FALSE(writable(stored));
    test::changeSomething(d.desk.doc);
    d.saveAt(16);
    EXPECT_EQ(
        inodeOf(backupFolderPath(d.path) + "2026-12-10_16-00-00/Firma_underlag/" + sha256Hex(kPdf) + ".pdf"),
        inodeOf(stored)); // read-only now: shared
}

// A receipt attached but never saved goes when the company closes without
// saving, or, after a crash, at the next opening; one that a saved voucher
// has too stays.
TEST(VoucherReceipts, AReceiptNoSavedVoucherHasGoesAtCloseOrAtTheNextOpening) {
    ReceiptDesk d;
    const std::int32_t number = d.rentWithReceipt();
    const std::vector<std::string> saved = storedFiles(d.path);

    test::ScriptedPrompter prompter;
    const TempDir templates;
    AppController app(prompter, templates.path());
    test::FakeHost host(app);
    ASSERT_TRUE(app.openAtStartUp(d.path));
    AttachmentStoring storing(d.path);
    (void)attachToVoucher(app.document(), number, {d.receipt("b.png", kPng), d.receipt("c.pdf", kPdf)},
                          storing, clockAt(2));
    storing.keep();
    EXPECT_EQ(storedFiles(d.path).size(), 2U); // c.pdf is a.pdf's content, stored once
    prompter.answer(Answer::No);               // "Spara ändringarna?"
    app.execute(CommandId::CloseCompany);
    EXPECT_FALSE(app.companyOpen());
    EXPECT_EQ(storedFiles(d.path), saved);

    // A killed program leaves its receipts behind; the next opening sweeps them.
    writeFile(attachmentFolderPath(d.path) + sha256Hex(kJpeg) + ".jpg", kJpeg);
    writeFile(attachmentFolderPath(d.path) + "." + sha256Hex(kPng) + ".png.123.tmp", kPng);
    ASSERT_TRUE(app.openAtStartUp(d.path));
    EXPECT_EQ(storedFiles(d.path), saved);
    EXPECT_EQ(prompter.unscripted, 0);
}

// resave makes a company of its own: the receipts come along.
TEST(VoucherReceipts, ResaveCarriesTheReceiptsAlong) {
    ReceiptDesk d;
    d.rentWithReceipt();
    const std::string copy = d.dir.file("Kopia.bok");
    const test::CliRun resaved = runCli(d.dir, "resave " + test::quoted(d.path) + " " + test::quoted(copy));
    ASSERT_EQ(resaved.status, 0) << resaved.err;
    const std::vector<AttachmentRecord> records = readAttachments(copy, 0);
    ASSERT_EQ(records.size(), 1U);
    EXPECT_EQ(readStoredAttachment(copy, records[0]), kPdf);
}

} // namespace
} // namespace kv
