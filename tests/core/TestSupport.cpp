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
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
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
    return {std::move(number), std::move(name), std::move(group), std::move(sum), std::move(total), std::move(mark)};
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
    CPeriod period;
    period.m_nFranManad = 1;
    period.m_nFranAr = 2012;
    period.m_nTillManad = 12;
    period.m_nTillAr = 2012;
    period.m_nVinstradNy = 1;
    doc.m_perioder.push_back(std::move(period));
    doc.m_nAktuellPeriod = 0;
    doc.m_nFranManad = 1;
    doc.m_nFranAr = 2012;
    doc.m_nTillManad = 12;
    doc.m_nTillAr = 2012;
    doc.m_bNyttForetag = 0;
}

void postVoucher(CTallvingeDoc& doc, int day, int month, int year, const std::vector<Line>& lines) {
    CEttVerifikat ver;
    ver.m_nVernr = doc.m_nNastaVernr++;
    ver.m_nTransDag = ver.m_nBokfDag = day;
    ver.m_nTransManad = ver.m_nBokfManad = month;
    ver.m_nTransAr = ver.m_nBokfAr = year;
    ver.m_strVertext = "Verifikat " + std::to_string(ver.m_nVernr);
    for (const Line& line : lines) {
        CVerifikatrad rad;
        rad.m_nKonto = line.account;
        rad.m_dDebet = line.debit;
        rad.m_dKredit = line.credit;
        const int index = doc.accountIndex(line.account);
        if (index >= 0) {
            CKonto& konto = *doc.m_allaKonton[static_cast<std::size_t>(index)];
            rad.m_strKontonamn = konto.m_strKolumn2;
            CKontorad posted;
            posted.m_nVernr = ver.m_nVernr;
            posted.m_nDag = day;
            posted.m_nManad = month;
            posted.m_nAr = year;
            posted.m_dDebet = line.debit;
            posted.m_dKredit = line.credit;
            posted.m_strText = ver.m_strVertext;
            posted.m_strKontonamn = konto.m_strKolumn2;
            konto.m_rader.push_back(std::move(posted));
            konto.m_nAnvands = 1;
        }
        ver.m_dSumDebet += line.debit;
        ver.m_dSumKredit += line.credit;
        ver.m_rader.push_back(std::move(rad));
    }
    ver.m_nAntalRader = static_cast<std::int32_t>(lines.size());
    doc.m_verifikat.push_back(std::move(ver));
}

} // namespace kv::test
