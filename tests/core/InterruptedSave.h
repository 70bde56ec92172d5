// A treasurer's session whose save is interrupted: a company of 2024 with
// one bank line booked and saved before, then a statement of four lines
// read in (the first of them that one), a SIE file's voucher added and a
// receipt attached, all saved at once. The child program of the tests runs
// the session and is killed during its save; the tests reopen the company
// and compare. Only the core is used here, so that both can share it.
#pragma once

#include "app/NewCompany.h"
#include "attachments/Attachments.h"
#include "bank/BankImport.h"
#include "chart/ChartTemplates.h"
#include "sie/SieAddVouchers.h"
#include "sie/SieBooks.h"
#include "storage/CompanyFiles.h"

#include <fstream>
#include <string>
#include <vector>

namespace kv::test::interrupted {

inline constexpr const char* kCompanyName = "Förening.bok";
inline constexpr std::int32_t kBankAccount = 1930;
inline constexpr std::int32_t kUnmatchedAccount = 3010;
inline constexpr const char* kReceipt = "%PDF-1.4\n1 0 obj << /Kvitto 1 >> endobj\n%%EOF\n";

inline LocalTime sessionTime() {
    return {2024, 3, 31, 18, 0, 0};
}

inline BankLine line(int day, Ore amount, std::string counterpart) {
    BankLine made;
    made.bookingDate = {2024, 3, day};
    made.amount = amount;
    made.counterpart = std::move(counterpart);
    return made;
}

// The statement of March: the first line was read and saved before.
inline BankStatement statement(bool onlyTheFirstLine = false) {
    BankStatement read;
    read.kind = BankFileKind::Camt053;
    read.account = "SE45 5000 0000 0583 9825 7466";
    read.currency = "SEK";
    read.lines = {line(2, 50'000, "Medlemsavgift Anna"), line(9, -12'500, "Kaffe och bröd"),
                  line(9, -12'500, "Kaffe och bröd"), line(20, 30'000, "Medlemsavgift Bertil")};
    if (onlyTheFirstLine) {
        read.lines.resize(1);
    }
    std::size_t number = 1;
    for (BankLine& each : read.lines) {
        each.lineNumber = number++;
    }
    return read;
}

inline BankImportPlan plan(const CTallvingeDoc& doc, const BankStatement& read) {
    BankImportOptions options;
    options.bookAccount = kBankAccount;
    options.unmatchedAccount = kUnmatchedAccount;
    return planBankImport(doc, read, options, {}, importedBankLines(doc, bankAccountKey(read, kBankAccount)));
}

inline std::string sieFile() {
    return "#FLAGGA 0\n#SIETYP 4\n#VER K 4 20240315 \"Kassa mars\"\n{\n#TRANS 1910 {} 200.00\n"
           "#TRANS 3010 {} -200.00\n}\n";
}

inline std::string companyPath(const std::string& folder) {
    return folder + "/" + kCompanyName;
}

// The company as it stood before the session: the first line booked and saved.
inline bool prepare(const std::string& folder, const std::string& templates) {
    CTallvingeDoc doc;
    if (!createDefaultCompany(doc, {kMallBaskonto, 1, 2024, 12, 2024, templates}).ok) {
        return false;
    }
    BankImportPlan first = plan(doc, statement(true));
    bookBankImport(doc, first, sessionTime);
    std::ofstream(folder + "/kvitto.pdf", std::ios::binary) << kReceipt;
    return saveCompany(doc, companyPath(folder), sessionTime).ok;
}

// The session's changes, not yet saved: the statement's new lines, the SIE
// file's voucher and the receipt on the first new bank voucher. storing
// holds the receipt's file in the store until the save.
inline void work(CTallvingeDoc& doc, const std::string& folder, AttachmentStoring& storing) {
    BankImportPlan march = plan(doc, statement());
    const std::size_t before = doc.state().m_verifikat.size();
    bookBankImport(doc, march, sessionTime);
    addSieVouchers(doc, readSieBooks(sieFile()), "kassa.si");
    const auto firstNew = static_cast<std::int32_t>(before + 1);
    attachToVoucher(doc, firstNew, {folder + "/kvitto.pdf"}, storing, sessionTime);
}

} // namespace kv::test::interrupted
