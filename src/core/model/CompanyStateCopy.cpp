// A deep copy of a company's contents, for the change scopes that must be
// able to put a whole company back.
#include "model/TallvingeDoc.h"

#include <unordered_map>

namespace kv {

namespace {

KontoRefs remapped(const KontoRefs& subset, const std::unordered_map<const CKonto*, CKonto*>& map) {
    KontoRefs result;
    result.reserve(subset.size());
    for (const CKonto* row : subset) {
        const auto found = map.find(row);
        if (found != map.end()) {
            result.push_back(found->second);
        }
    }
    return result;
}

CPeriod copyPeriod(const CPeriod& period) {
    CPeriod copy;
    copy.m_nReserv1 = period.m_nReserv1;
    copy.m_nFranManad = period.m_nFranManad;
    copy.m_nFranAr = period.m_nFranAr;
    copy.m_nReserv2 = period.m_nReserv2;
    copy.m_nTillManad = period.m_nTillManad;
    copy.m_nTillAr = period.m_nTillAr;
    copy.m_nVinstradNy = period.m_nVinstradNy;
    copy.m_ingaende = copyKontoList(period.m_ingaende);
    return copy;
}

std::unique_ptr<GridState> copyGrid(const DeepConst<std::unique_ptr<GridState>>& grid) {
    return grid ? std::make_unique<GridState>(*grid) : nullptr;
}

} // namespace

CompanyState copyCompanyState(const CompanyState& s) {
    CompanyState c;
    c.m_nNastaVernr = s.m_nNastaVernr;
    c.m_nUtskrift1 = s.m_nUtskrift1;
    c.m_nUtskrift2 = s.m_nUtskrift2;
    c.m_bNyttForetag = s.m_bNyttForetag;
    c.m_pBalansGrid = copyGrid(s.m_pBalansGrid);
    c.m_pResultatGrid = copyGrid(s.m_pResultatGrid);
    c.m_nReserv1 = s.m_nReserv1;
    c.m_nFranManad = s.m_nFranManad;
    c.m_nFranAr = s.m_nFranAr;
    c.m_nReserv2 = s.m_nReserv2;
    c.m_nTillManad = s.m_nTillManad;
    c.m_nTillAr = s.m_nTillAr;
    c.m_nEndastAnvanda = s.m_nEndastAnvanda;
    c.m_strEnhet = s.m_strEnhet;
    c.m_strFilnamn = s.m_strFilnamn;
    c.m_nAktuellPeriod = s.m_nAktuellPeriod;
    c.m_nVinstrad = s.m_nVinstrad;

    std::unordered_map<const CKonto*, CKonto*> rows;
    c.m_allaKonton.reserve(s.m_allaKonton.size());
    for (const auto& konto : s.m_allaKonton) {
        c.m_allaKonton.push_back(std::make_unique<CKonto>(*konto));
        rows.emplace(konto.get(), c.m_allaKonton.back().get());
    }
    c.m_resKonton = remapped(s.m_resKonton, rows);
    c.m_balKonton = remapped(s.m_balKonton, rows);
    c.m_balNummer = s.m_balNummer;
    c.m_resNummer = s.m_resNummer;
    c.m_momsregler = s.m_momsregler;
    c.m_verifikat = s.m_verifikat;
    for (const CPeriod& period : s.m_perioder) {
        c.m_perioder.push_back(copyPeriod(period));
    }

    c.m_strPeriodfilnamn = s.m_strPeriodfilnamn;
    c.m_strMallnamn = s.m_strMallnamn;
    c.m_nValdMall = s.m_nValdMall;
    c.m_strNyttDokument = s.m_strNyttDokument;
    c.m_nSenasteAr = s.m_nSenasteAr;
    c.m_nSenasteManad = s.m_nSenasteManad;
    c.m_nSenasteDag = s.m_nSenasteDag;

    c.m_nDelperiod = s.m_nDelperiod;
    c.m_nDelFranManad = s.m_nDelFranManad;
    c.m_nDelFranAr = s.m_nDelFranAr;
    c.m_nDelTillManad = s.m_nDelTillManad;
    c.m_nDelTillAr = s.m_nDelTillAr;
    c.m_nUtskrift3 = s.m_nUtskrift3;
    c.m_bAutoOppna = s.m_bAutoOppna;
    c.m_nAutoPeriod = s.m_nAutoPeriod;
    return c;
}

} // namespace kv
