// Helpers shared by the core tests: small companies built in memory and
// temporary folders that clean up after themselves.
#pragma once

#include "model/TallvingeDoc.h"

#include <functional>
#include <string>

namespace kv::test {

// A temporary folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    [[nodiscard]] const std::string& path() const { return m_path; }
    [[nodiscard]] std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// A chart row as the chart grid holds it (columns 1 to 6).
ChartRowTexts row(std::string number, std::string name, std::string group = {}, std::string sum = {},
                  std::string total = {}, std::string mark = {});

// A company with a small approved chart of both kinds, one period
// (January to December 2012) and no vouchers. The income chart ends with the
// result row naming 2090 and the end marker.
void buildSmallCompany(CTallvingeDoc& doc);
// The same company as its files hold it.
CompanyState smallCompany();

// A small company that uses every stored field: two vouchers, a VAT rule,
// two periods with opening balances, grid states with styled cells, and
// texts with every Windows-1252 character.
void buildFullCompany(CTallvingeDoc& doc);
CompanyState fullCompany();

// Some change of the books, as the user makes them.
void changeSomething(CTallvingeDoc& doc);

// Replaces the company with what its file would hold after edit: for the
// states that the program reaches only over many steps or from damaged files.
void loadEdited(CTallvingeDoc& doc, const std::function<void(CompanyState&)>& edit);

// The position in m_allaKonton of the first row with the number, as the document looks it up.
std::size_t accountIndex(const CompanyState& company, std::int32_t number);

// Posts one voucher with the given lines (account, debit, credit) as the
// voucher registration does: the voucher, one posted row per line, in-use flags.
struct Line {
    std::int32_t account;
    double debit;
    double credit;
};
void postVoucher(CTallvingeDoc& doc, int day, int month, int year, const std::vector<Line>& lines);

} // namespace kv::test
