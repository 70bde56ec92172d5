// A company for the bank statement tests and the statements read into it,
// made in code.
#pragma once

#include "TestSupport.h"

#include "app/NewCompany.h"
#include "bank/BankStatement.h"
#include "chart/ChartTemplates.h"
#include "model/TallvingeDoc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv::test {

// The 247-account template, 2024 as its one period: 1930 the bank, 4010
// purchases with VAT rules 2 and 27 (25 %, VAT on 1650), 6570 bank charges.
struct BankCompany {
    TempDir templates;
    CTallvingeDoc doc;

    BankCompany() {
        EXPECT_TRUE(createDefaultCompany(doc, {kMallBaskonto, 1, 2024, 12, 2024, templates.path()}).ok);
        doc.setModified(false);
    }
    // A voucher as typed: text and lines (account, öre, debit positive).
    std::int32_t book(int day, int month, const std::string& text,
                      const std::vector<std::pair<std::int32_t, Ore>>& lines) {
        std::vector<CVerifikatrad> rows;
        for (const auto& [account, amount] : lines) {
            CVerifikatrad row;
            row.m_nKonto = account;
            (amount >= 0 ? row.m_dDebet : row.m_dKredit) = toKronor(amount >= 0 ? amount : -amount);
            rows.push_back(row);
        }
        return doc.registerVoucher(makeVoucher(day, month, 2024, text, std::move(rows)));
    }
};

inline BankLine bankLine(int month, int day, Ore amount, std::string counterpart, std::string reference = {},
                         std::string text = {}) {
    BankLine line;
    line.bookingDate = {2024, month, day};
    line.amount = amount;
    line.counterpart = std::move(counterpart);
    line.reference = std::move(reference);
    line.text = std::move(text);
    return line;
}

inline BankStatement bankStatement(std::vector<BankLine> lines, std::optional<Ore> opening = {}) {
    BankStatement statement;
    statement.kind = BankFileKind::Camt053;
    statement.account = "SE45 5000 0000 0583 9825 7466";
    statement.currency = "SEK";
    statement.openingBalance = opening;
    std::size_t number = 1;
    for (BankLine& line : lines) {
        line.lineNumber = number++;
    }
    statement.lines = std::move(lines);
    return statement;
}

} // namespace kv::test
