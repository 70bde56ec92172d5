#include "model/Records.h"

namespace kv {

CKonto CKonto::chartRowCopy() const {
    CKonto copy;
    copy.m_nKontonr = m_nKontonr;
    copy.m_strKolumn2 = m_strKolumn2;
    copy.m_strKolumn3 = m_strKolumn3;
    copy.m_strKolumn4 = m_strKolumn4;
    copy.m_strKolumn5 = m_strKolumn5;
    copy.m_strKolumn6 = m_strKolumn6;
    copy.m_nAnvands = m_nAnvands;
    copy.m_nMarkering = m_nMarkering;
    return copy;
}

CKonto CKonto::templateRowCopy() const {
    CKonto copy;
    copy.m_nKontonr = m_nKontonr;
    copy.m_strKolumn2 = m_strKolumn2;
    copy.m_strKolumn3 = m_strKolumn3;
    copy.m_strKolumn4 = m_strKolumn4;
    copy.m_strKolumn5 = m_strKolumn5;
    return copy;
}

bool CAutomoms::namesAccount(std::int32_t number) const {
    return m_nDebetkonto == number || m_nKreditkonto == number || m_nDebetMomskonto == number ||
           m_nKreditMomskonto == number;
}

KontoList copyKontoList(const KontoList& list) {
    KontoList copy;
    copy.reserve(list.size());
    for (const auto& konto : list) {
        copy.push_back(std::make_unique<CKonto>(*konto));
    }
    return copy;
}

} // namespace kv
