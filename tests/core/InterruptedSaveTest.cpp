// A save killed at each of its steps (SIGKILL, in a process of its own):
// reopened, the company's files and database agree, the statement read
// again books nothing twice, and every receipt listed opens.
#include "InterruptedSave.h"
#include "ChildProcess.h"
#include "TestSupport.h"

#include "storage/CompanyBackups.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyLock.h"
#include "storage/FileIo.h"
#include "storage/SaveRecovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <variant>

namespace kv {
namespace {

namespace session = test::interrupted;
namespace fs = std::filesystem;

// What the company holds after it was opened again: the books, the period
// file of the open period and the database's records.
struct Reopened {
    std::size_t vouchers = 0;
    std::size_t periodFileVouchers = 0;
    std::vector<BankLineRecord> bankLines;
    std::size_t sieImports = 0;
    std::vector<AttachmentRecord> attachments;
};

Reopened reopen(const std::string& path, CTallvingeDoc& doc) {
    Reopened seen;
    EXPECT_TRUE(openCompany(doc, path).ok);
    seen.vouchers = doc.state().m_verifikat.size();
    const PeriodFileContents period = loadPeriodFile(doc, doc.state().m_nAktuellPeriod);
    EXPECT_TRUE(period.report.ok);
    seen.periodFileVouchers = period.period.m_verifikat.size();
    seen.bankLines = readBankLines(path, bankAccountKey(session::statement(), session::kBankAccount));
    seen.sieImports = readSieImports(path, doc.state().m_nAktuellPeriod).size();
    seen.attachments = readAttachments(path, doc.state().m_nAktuellPeriod);
    return seen;
}

// Files a save writes under a second name, anywhere but in the backups.
std::vector<std::string> leftovers(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string path = entry.path().string();
        if (path.find(kBackupFolderSuffix) == std::string::npos &&
            leftoverFileOf(entry.path().filename().string())) {
            found.push_back(path);
        }
    }
    return found;
}

std::size_t storedReceipts(const std::string& path) {
    const std::string store = attachmentFolderPath(path);
    if (!fs::exists(store)) {
        return 0;
    }
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(store), fs::directory_iterator()));
}

TEST(InterruptedSave, AKillAtAnyStepLeavesFilesAndDatabaseAgreeingAndNothingBookedTwice) {
    struct Case {
        SaveStep step;
        bool saved;               // the files were in place: the save counts
        const char* recoveryTold; // what opening again tells, if anything
    };
    const std::vector<Case> cases = {
        {SaveStep::FilesWritten, false, nullptr},
        {SaveStep::RecordsWritten, false, nullptr},
        {SaveStep::RecordsCommitting, false, nullptr},
        {SaveStep::RecordsCommitted, false, kMsgSaveTakenBackAfterCrash},
        {SaveStep::PeriodFileInPlace, false, kMsgSaveTakenBackAfterCrash},
        {SaveStep::CompanyFileInPlace, true, kMsgSaveFinishedAfterCrash},
        {SaveStep::SaveDone, true, nullptr},
    };
    const test::TempDir templates;
    for (const Case& c : cases) {
        SCOPED_TRACE("killed at step " + std::to_string(static_cast<int>(c.step)));
        const test::TempDir dir;
        const std::string path = session::companyPath(dir.path());
        ASSERT_TRUE(session::prepare(dir.path(), templates.path()));
        {
            test::ChildProcess child({"save", std::to_string(static_cast<int>(c.step)), dir.path()});
            ASSERT_EQ(test::exitOf(child.wait()), -SIGKILL);
        }

        // Opened again, as the window program and every writing command open it.
        auto lock = CompanyLock::take(path, "test");
        ASSERT_TRUE(std::holds_alternative<CompanyLock>(lock));
        const FileReport recovered = recoverCompany(path);
        EXPECT_EQ(recovered.messages,
                  c.recoveryTold ? std::vector<std::string>{c.recoveryTold} : std::vector<std::string>{});
        EXPECT_TRUE(readPendingSaves(companyDatabasePath(path)).empty());
        EXPECT_EQ(leftovers(dir.path()), std::vector<std::string>{});
        CTallvingeDoc doc;
        const Reopened seen = reopen(path, doc);
        // One voucher before; three bank lines and a SIE voucher in the save.
        const std::size_t vouchers = c.saved ? 5 : 1;
        EXPECT_EQ(seen.vouchers, vouchers);
        EXPECT_EQ(seen.periodFileVouchers, vouchers);
        EXPECT_EQ(seen.bankLines.size(), c.saved ? 4U : 1U);
        for (const BankLineRecord& line : seen.bankLines) {
            EXPECT_LE(static_cast<std::size_t>(line.voucher), seen.vouchers);
        }
        EXPECT_EQ(seen.sieImports, c.saved ? 1U : 0U);
        ASSERT_EQ(seen.attachments.size(), c.saved ? 1U : 0U);
        for (const AttachmentRecord& receipt : seen.attachments) {
            EXPECT_EQ(readStoredAttachment(path, receipt), session::kReceipt);
        }
        EXPECT_EQ(storedReceipts(path), seen.attachments.size()); // no receipt left that no voucher has

        // The statement read again: what the save did not book is proposed, nothing twice.
        BankImportPlan again = session::plan(doc, session::statement());
        const auto count = [&again](ProposalStatus status) {
            return std::count_if(again.proposals.begin(), again.proposals.end(),
                                 [status](const BankProposal& p) { return p.status == status; });
        };
        EXPECT_EQ(count(ProposalStatus::AlreadyBooked), c.saved ? 4 : 1);
        bookBankImport(doc, again, session::sessionTime);
        ASSERT_TRUE(saveCompany(doc, path, session::sessionTime).ok);
        CTallvingeDoc last;
        const Reopened booked = reopen(path, last);
        EXPECT_EQ(booked.bankLines.size(), 4U);
        EXPECT_EQ(booked.vouchers, c.saved ? 5U : 4U);
    }
}

} // namespace
} // namespace kv
