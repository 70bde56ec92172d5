// What the user sees before a company is made from a SIE file: where it
// comes from, what the new company gets (accounts added to the template's
// charts, vouchers, sums) and whether its balances agree with the file's.
// The window program's summary dialog and the command line show it.
#pragma once

#include "interaction/DialogModel.h"
#include "model/Amount.h"
#include "sie/SieChartPlacement.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kSieImportTitle = "Importera SIE-fil";
inline constexpr const char* kSieButtonSkapa = "Skapa företaget...";
inline constexpr const char* kSieButtonAvbryt = "Avbryt";
inline constexpr const char* kSieButtonStang = "Stäng";

// A balance of the file that the imported books do not reach.
struct SieMismatch {
    std::string label; // "#UB" or "#RES"
    std::int32_t account = 0;
    Ore inFile = 0;
    Ore imported = 0;
    std::size_t line = 0; // 0: the file has no such line, which says 0.00
};

struct SieSummaryRow {
    std::string label;
    std::string value;
};

// A summary as a dialog shows it: its figures, titled lists, notes, the
// conclusion and the buttons; and, where the user may take the file as it
// stands, a check box that the accepting button waits for.
struct SieSummaryList {
    std::string title;
    std::vector<std::string> lines;
};
struct SieSummaryView {
    std::string title;
    std::vector<SieSummaryRow> rows;
    std::vector<SieSummaryList> lists;
    std::vector<std::string> notes;
    std::string conclusion;
    std::string acceptText; // empty: nothing to accept, only the close button
    std::string closeText;
    std::string optionText;       // empty: no check box
    std::string optionConclusion; // the conclusion while the check box is ticked
};

struct SieImportSummary : DialogModelOf<SieImportSummary> {
    std::string fileName;
    std::string companyName;
    std::string program;
    std::string encoding;
    std::string period;
    std::string templateName;
    std::size_t accountsInFile = 0;
    std::vector<SieAddedAccount> added;
    std::size_t openingBalances = 0;
    Ore openingSum = 0;
    std::size_t vouchers = 0;
    std::size_t transactions = 0;
    Ore debit = 0;
    Ore credit = 0;
    std::size_t balancesChecked = 0;
    std::vector<SieMismatch> mismatches;
    std::vector<std::string> notes;
    bool allowDifference = false; // the user takes the books as they stand
    [[nodiscard]] std::string dialogTitle() const override { return kSieImportTitle; }

    // A company whose balances disagree with the file is not made, unless
    // the user takes it with its differences.
    [[nodiscard]] bool canImport() const { return mismatches.empty() || allowDifference; }
    // The figures, one row each, as the dialog lists them.
    [[nodiscard]] std::vector<SieSummaryRow> rows() const;
    // "2099  Årets resultat  (skulder och eget kapital, efter 2091)", one line per added account.
    [[nodiscard]] std::vector<std::string> addedLines() const;
    // "#UB konto 1930 (rad 40): filen 1 200.00, bokföringen 1 000.00", one line per mismatch.
    [[nodiscard]] std::vector<std::string> mismatchLines() const;
    // The question the dialog closes with, or why the company cannot be made.
    [[nodiscard]] std::string conclusion() const;
    // All of it as plain text, for the command line.
    [[nodiscard]] std::string text() const;
    // As the window's dialog shows it.
    [[nodiscard]] SieSummaryView view() const;
};

} // namespace kv
