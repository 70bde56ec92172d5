// The vouchers' receipts in the year's archive: saved and unsaved ones named
// by voucher number with their hashes in the manifest, and a stored file that
// changed after it was attached refused instead of archived.
#include "VoucherTestSupport.h"

#include "archive/ArchivePlan.h"
#include "archive/ArchiveVerify.h"
#include "archive/YearArchive.h"
#include "attachments/Attachments.h"
#include "storage/CompanyFiles.h"
#include "storage/Sha256.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <zip.h>

#include <map>

namespace kv {
namespace {

using test::TempDir;

const std::string kReceipt = "%PDF-1.4\n1 0 obj << >> endobj\n% kvitto\n%%EOF\n";
const std::string kInvoice = std::string("\x89PNG\r\n\x1A\n", 8) + "IHDR faktura";

LocalClock clockAt(int minute) {
    return [minute] { return LocalTime{2026, 12, 10, 14, minute, 25}; };
}

ArchiveHeader header() {
    return {"Firma", "", "2012-01-01", "2012-12-31", "1.0", "2026-12-10T12:00:00Z"};
}

// The manifest's files of the archive at path, by name: their SHA-256.
std::map<std::string, std::string> manifestHashes(const std::string& path) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    EXPECT_NE(zip, nullptr);
    if (zip == nullptr) {
        return {};
    }
    zip_stat_t stat;
    zip_stat(zip, kManifestName, 0, &stat);
    std::string bytes(stat.size, '\0');
    zip_file_t* file = zip_fopen(zip, kManifestName, 0);
    zip_fread(file, bytes.data(), bytes.size());
    zip_fclose(file);
    zip_discard(zip);
    std::map<std::string, std::string> hashes;
    const nlohmann::json manifest = nlohmann::json::parse(bytes);
    for (const auto& entry : manifest["filer"]) {
        hashes[entry["fil"].get<std::string>()] = entry["sha256"].get<std::string>();
    }
    return hashes;
}

// Twelve vouchers, saved as Firma.bok; a receipt on the twelfth saved with
// the company, an invoice on the third attached since.
struct Books {
    TempDir dir;
    std::string path = dir.file("Firma.bok");
    test::VoucherDesk desk;

    Books() {
        EXPECT_TRUE(saveNewCompany(desk.doc, path).ok);
        std::int32_t last = 0;
        while (last < 12) {
            last = desk.registerRent();
        }
        EXPECT_EQ(last, 12);
        attach(12, "kvitto.pdf", kReceipt, 1);
        EXPECT_TRUE(saveCompany(desk.doc, path).ok);
        attach(3, "Faktura mars.png", kInvoice, 2);
    }
    void attach(std::int32_t voucher, const std::string& name, const std::string& bytes, int minute) {
        test::writeFile(dir.file(name), bytes);
        AttachmentStoring storing(path);
        EXPECT_EQ(attachToVoucher(desk.doc, voucher, {dir.file(name)}, storing, clockAt(minute)).size(), 1U);
        storing.keep();
    }
    std::vector<ArchiveFile> files() {
        std::vector<ArchiveFile> all = {{"sie/firma.se", "SIE", "#FLAGGA 0\r\n", {}, {}, 0}};
        for (ArchiveFile& file : attachmentFiles(archiveAttachments(desk.doc))) {
            all.push_back(std::move(file));
        }
        return all;
    }
};

TEST(ArchiveAttachments, SavedAndUnsavedReceiptsLandByVoucherNumberWithTheirHashes) {
    Books books;
    const std::vector<ArchiveAttachment> attachments = archiveAttachments(books.desk.doc);
    ASSERT_EQ(attachments.size(), 2U);
    EXPECT_EQ(attachments[0].voucher, 12);
    EXPECT_EQ(attachments[0].storedPath,
              attachmentFolderPath(books.path) + sha256Hex(kReceipt) + ".pdf"); // the store, not the original
    EXPECT_EQ(attachments[1].voucher, 3);

    const std::string archive = books.dir.file("arkiv.zip");
    writeYearArchive(archive, header(), books.files());
    EXPECT_TRUE(verifyArchive(archive).ok);
    const auto hashes = manifestHashes(archive);
    ASSERT_TRUE(hashes.contains("underlag/0012-1-kvitto.pdf"));
    EXPECT_EQ(hashes.at("underlag/0012-1-kvitto.pdf"), sha256Hex(kReceipt));
    ASSERT_TRUE(hashes.contains("underlag/0003-1-faktura-mars.png"));
    EXPECT_EQ(hashes.at("underlag/0003-1-faktura-mars.png"), sha256Hex(kInvoice));
    books.desk.doc.savedInFull();
}

TEST(ArchiveAttachments, AStoredReceiptThatChangedOrWentIsRefusedAndTheOldArchiveStays) {
    struct Case {
        const char* name;
        std::function<void(const std::string& stored)> spoil;
        const char* told;
    };
    const std::vector<Case> cases = {
        {"changed", [](const std::string& stored) { test::writeFile(stored, kReceipt + "tillagt"); },
         "har ändrats sedan den bifogades"},
        {"same size, other bytes",
         [](const std::string& stored) {
             std::string other = kReceipt;
             other[10] = 'X';
             test::writeFile(stored, other);
         },
         "har ändrats sedan den bifogades"},
        {"removed", [](const std::string& stored) { std::filesystem::remove(stored); },
         "Kan ej läsa underlaget"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Books books;
        const std::string archive = books.dir.file("arkiv.zip");
        test::writeFile(archive, "det gamla arkivet");
        c.spoil(attachmentFolderPath(books.path) + sha256Hex(kReceipt) + ".pdf");
        try {
            writeYearArchive(archive, header(), books.files());
            ADD_FAILURE() << "written";
        } catch (const YearArchiveError& error) {
            EXPECT_NE(std::string(error.what()).find(c.told), std::string::npos) << error.what();
        }
        EXPECT_EQ(test::readFile(archive), "det gamla arkivet");
        books.desk.doc.savedInFull();
    }
}

TEST(ArchiveAttachments, ACompanyNeverSavedHasNoReceiptsToArchive) {
    test::VoucherDesk desk;
    desk.registerRent();
    EXPECT_TRUE(archiveAttachments(desk.doc).empty());
}

} // namespace
} // namespace kv
