#include "sie/SieImportSummary.h"

namespace kv {

std::vector<SieSummaryRow> SieImportSummary::rows() const {
    std::vector<SieSummaryRow> out = {{"Fil", fileName}, {"Företag", companyName}};
    if (!program.empty()) {
        out.push_back({"Program", program});
    }
    out.push_back({"Teckenkodning", encoding});
    out.push_back({"Räkenskapsår", period});
    out.push_back({"Kontoplanmall", templateName});
    out.push_back({"Konton i filen", std::to_string(accountsInFile)});
    out.push_back({"Konton som läggs till", std::to_string(added.size())});
    out.push_back(
        {"Ingående balanser", std::to_string(openingBalances) + " konton, summa " + formatOre(openingSum)});
    std::string numbers = "inga";
    if (vouchers > 0) {
        numbers = std::to_string(vouchers) +
                  (vouchers == 1 ? " (nr 1)" : " (nr 1–" + std::to_string(vouchers) + ")");
    }
    out.push_back({"Verifikat", numbers});
    out.push_back({"Verifikatrader", std::to_string(transactions)});
    out.push_back({"Summa debet", formatOre(debit)});
    out.push_back({"Summa kredit", formatOre(credit)});
    std::string checked = std::to_string(balancesChecked);
    if (balancesChecked > 0) {
        checked += mismatches.empty() ? ", alla stämmer"
                                      : ", " + std::to_string(mismatches.size()) + " stämmer inte";
    }
    out.push_back({"Kontrollerade saldon (#UB, #RES)", checked});
    return out;
}

std::vector<std::string> SieImportSummary::addedLines() const {
    std::vector<std::string> lines;
    lines.reserve(added.size());
    for (const SieAddedAccount& account : added) {
        lines.push_back(addedAccountLine(account));
    }
    return lines;
}

std::vector<std::string> SieImportSummary::mismatchLines() const {
    std::vector<std::string> lines;
    lines.reserve(mismatches.size());
    for (const SieMismatch& mismatch : mismatches) {
        const std::string where =
            mismatch.line > 0 ? "rad " + std::to_string(mismatch.line) : std::string("ingen rad i filen");
        lines.push_back(mismatch.label + " konto " + std::to_string(mismatch.account) + " (" + where +
                        "): filen " + formatOre(mismatch.inFile) + ", bokföringen " +
                        formatOre(mismatch.imported));
    }
    return lines;
}

std::string SieImportSummary::conclusion() const {
    if (canImport() && !mismatches.empty()) {
        return "Företaget skapas med filens ingående balanser och verifikat som de står; saldona ovan "
               "stämmer "
               "inte med filens. Du väljer var det ska sparas i nästa steg.";
    }
    if (canImport()) {
        return "Vill du skapa företaget? Du väljer var det ska sparas i nästa steg.";
    }
    return "Företaget skapas inte: " + std::to_string(mismatches.size()) +
           (mismatches.size() == 1 ? " saldo" : " saldon") +
           " i filen stämmer inte med de ingående balanserna och verifikaten i den.";
}

std::string SieImportSummary::text() const {
    std::string out;
    for (const SieSummaryRow& row : rows()) {
        out += row.label + ": " + row.value + "\n";
    }
    if (!added.empty()) {
        out += "\nKonton som läggs till:\n";
        for (const std::string& line : addedLines()) {
            out += "  " + line + "\n";
        }
    }
    if (!mismatches.empty()) {
        out += "\nSaldon som inte stämmer:\n";
        for (const std::string& line : mismatchLines()) {
            out += "  " + line + "\n";
        }
    }
    if (!notes.empty()) {
        out += "\nAtt observera:\n";
        for (const std::string& note : notes) {
            out += "  " + note + "\n";
        }
    }
    return out;
}

SieSummaryView SieImportSummary::view() const {
    SieSummaryView shown;
    shown.title = kSieImportTitle;
    shown.rows = rows();
    shown.lists = {{"Konton som läggs till i kontoplanen:", addedLines()},
                   {"Saldon i filen som inte stämmer:", mismatchLines()}};
    shown.notes = notes;
    shown.conclusion = conclusion();
    shown.acceptText = kSieButtonSkapa;
    shown.closeText = kSieButtonAvbryt;
    if (!mismatches.empty()) {
        // The user may take the books as they stand, differences and all.
        shown.optionText = "Skapa företaget ändå, med filens ingående balanser och verifikat som de står";
        SieImportSummary taken = *this;
        taken.allowDifference = true;
        shown.optionConclusion = taken.conclusion();
        SieImportSummary refused = *this;
        refused.allowDifference = false;
        shown.conclusion = refused.conclusion();
    }
    return shown;
}

} // namespace kv
