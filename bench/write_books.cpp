// kvistoran-bench-books N FOLDER: a generated company of N four-line vouchers
// as FOLDER/Bench.bok, and the same transactions as a plain-text journal
// (FOLDER/bench.journal) that ledger and hledger read, for timing them side
// by side.
#include "GeneratedCompany.h"

#include "storage/CompanyFiles.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

namespace {

std::string amount(double value) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

void writeJournal(const kv::CTallvingeDoc& doc, const std::string& path) {
    std::ofstream out(path);
    // The opening balances, as one transaction on the first day.
    out << "2023/01/01 Ingående balans\n";
    for (const auto& konto : doc.state().m_allaKonton) {
        for (const kv::CKontorad& rad : konto->m_rader) {
            if (rad.m_nVernr == 0 && rad.m_dDebet - rad.m_dKredit != 0) {
                out << "    A" << konto->m_nKontonr << "  " << amount(rad.m_dDebet - rad.m_dKredit) << "\n";
            }
        }
    }
    out << "    Eget kapital\n\n";
    for (const kv::CEttVerifikat& ver : doc.state().m_verifikat) {
        char date[16];
        std::snprintf(date, sizeof date, "%04d/%02d/%02d", ver.m_nTransAr, ver.m_nTransManad,
                      ver.m_nTransDag);
        out << date << " " << ver.m_strVertext << "\n";
        for (const kv::CVerifikatrad& rad : ver.m_rader) {
            out << "    A" << rad.m_nKonto << "  " << amount(rad.m_dDebet - rad.m_dKredit) << "\n";
        }
        out << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Användning: kvistoran-bench-books ANTAL MAPP\n";
        return 2;
    }
    kv::CTallvingeDoc doc;
    kv::bench::generateCompany(doc, std::max(1, std::stoi(argv[1])));
    const std::string folder = argv[2];
    const kv::FileReport saved = kv::saveCompany(doc, kv::fullPath(folder + "/Bench.bok"));
    if (!saved.ok) {
        std::cerr << "kvistoran-bench-books: företaget kunde inte sparas\n";
        return 1;
    }
    writeJournal(doc, folder + "/bench.journal");
    return 0;
}
