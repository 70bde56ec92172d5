#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kv::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvistoran-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

ChartRowTexts row(std::string number, std::string name, std::string group, std::string sum, std::string total,
                  std::string mark) {
    return {std::move(number), std::move(name),  std::move(group),
            std::move(sum),    std::move(total), std::move(mark)};
}

void buildSmallCompany(CTallvingeDoc& doc) {
    doc.approveIncomeChart({
        row("", "INTÄKTER"),
        row("3000", "Försäljning", "a"),
        row("3010", "Medlemsavgifter", "a"),
        row("", "Sa intäkter", "", "a"),
        row("", "KOSTNADER"),
        row("4000", "Inköp", "b"),
        row("5010", "Lokalhyra", "b"),
        row("", "Sa kostnader", "", "b"),
        row("", "RESULTAT", "", "", "="),
        row("", "DEN HÄR periodens resultat"),
        row("", "sättes i passiva in på  :"),
        row("", "2090", "", "", "", "v"),
        row("Exempel", ""),
    });
    doc.approveBalanceChart({
        row("", "A K T I V A"),
        row("1910", "Kassa", "c"),
        row("1930", "Bank", "c"),
        row("", "Sa omsättningstillgångar", "", "c"),
        row("", "Sa AKTIVA", "", "", "a"),
        row("", ""),
        row("", "FÖRRA periodens"),
        row("", "vinst/förlust är insatt på  :"),
        row("", "2040"),
        row("", "P A S S I V A"),
        row("2040", "Fritt eget kapital", "d"),
        row("2090", "Räkenskapsperiodens resultat", "d"),
        row("", "Sa eget kapital", "", "d"),
        row("2440", "Leverantörsskulder", "e"),
        row("", "Sa skulder", "", "e"),
        row("", "Sa PASSIVA", "", "", "p"),
        row("Exempel", ""),
    });
    doc.firstPeriodAsked();
    doc.addFirstPeriod({1, 2012, 12, 2012});
}

CompanyState smallCompany() {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    return copyCompanyState(doc.state());
}

CompanyState fullCompany() {
    CTallvingeDoc doc;
    buildFullCompany(doc);
    return copyCompanyState(doc.state());
}

void changeSomething(CTallvingeDoc& doc) {
    doc.setOnlyUsedAccounts(doc.state().m_nEndastAnvanda == 0);
}

void loadEdited(CTallvingeDoc& doc, const std::function<void(CompanyState&)>& edit) {
    CompanyState state = copyCompanyState(doc.state());
    edit(state);
    doc.loadCompany(std::move(state));
}

std::size_t accountIndex(const CompanyState& company, std::int32_t number) {
    for (std::size_t i = 0; i < company.m_allaKonton.size(); ++i) {
        if (company.m_allaKonton[i]->m_nKontonr == number) {
            return i;
        }
    }
    throw std::out_of_range("no account " + std::to_string(number));
}

void postVoucher(CTallvingeDoc& doc, int day, int month, int year, const std::vector<Line>& lines) {
    std::vector<CVerifikatrad> rader;
    for (const Line& line : lines) {
        CVerifikatrad rad;
        rad.m_nKonto = line.account;
        rad.m_dDebet = line.debit;
        rad.m_dKredit = line.credit;
        const int index = doc.accountIndex(line.account);
        if (index >= 0) {
            rad.m_strKontonamn = doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_strKolumn2;
        }
        rader.push_back(std::move(rad));
    }
    const std::string text = "Verifikat " + std::to_string(doc.state().m_nNastaVernr);
    doc.registerVoucher(makeVoucher(day, month, year, text, std::move(rader)));
}

} // namespace kv::test
