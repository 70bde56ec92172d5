// The records of a company's books. Field names are the shared vocabulary of
// the books and of the company files, so they keep their Swedish names.
// The texts of vouchers, voucher lines and posted rows, a million or more in a
// large company, are SharedText: they share the blocks of the file they were
// read from instead of owning a string each.
#pragma once

#include "model/SharedText.h"

#include <cstdint>
#include <experimental/propagate_const>
#include <memory>
#include <string>
#include <vector>

namespace kv {

// One line of a voucher as entered in the voucher dialog.
struct CVerifikatrad {
    SharedText m_strRadtext;
    SharedText m_strKontonamn;
    std::int32_t m_nKonto = 0;
    double m_dDebet = 0.0;
    double m_dKredit = 0.0;
    double m_dMoms = 0.0; // VAT rate in percent of the matching rule, 0 when none

    bool operator==(const CVerifikatrad&) const = default;
};

// One voucher ("verifikat"); owns its lines.
struct CEttVerifikat {
    std::vector<CVerifikatrad> m_rader;
    SharedText m_strVertext;
    std::int32_t m_nVernr = 0;
    std::int32_t m_nTransDag = 0;
    std::int32_t m_nTransManad = 0;
    std::int32_t m_nTransAr = 0;
    std::int32_t m_nBokfDag = 0;
    std::int32_t m_nBokfManad = 0;
    std::int32_t m_nBokfAr = 0;
    double m_dDifferens = 0.0;
    double m_dKontosaldo = 0.0;
    std::int32_t m_nAntalRader = 0;
    SharedText m_strText2;
    double m_dSumDebet = 0.0;
    double m_dSumKredit = 0.0;

    bool operator==(const CEttVerifikat&) const = default;
};

// One posted row of an account: a ledger row, an opening balance or a result row.
struct CKontorad {
    std::int32_t m_nVernr = 0;
    std::int32_t m_nDag = 0;
    std::int32_t m_nManad = 0;
    std::int32_t m_nAr = 0;
    double m_dDebet = 0.0;
    double m_dKredit = 0.0;
    double m_dExtra = 0.0;
    SharedText m_strText;
    SharedText m_strKontonamn;

    bool operator==(const CKontorad&) const = default;
};

// One row of an approved chart: an account, a heading, a sum row or the end marker.
struct CKonto {
    std::int32_t m_nKontonr = 0;
    std::string m_strKolumn2; // name or heading
    std::string m_strKolumn3; // group
    std::string m_strKolumn4; // subtotal code
    std::string m_strKolumn5; // total code
    std::string m_strKolumn6; // use mark
    std::int32_t m_nAnvands = 0;
    std::int32_t m_nMarkering = 0;
    std::vector<CKontorad> m_rader; // posted rows, oldest first

    bool operator==(const CKonto&) const = default;

    // A copy of the chart row without its posted rows.
    [[nodiscard]] CKonto chartRowCopy() const;
    // The row as a template gives it to a new company: number and the texts
    // of columns 2 to 5, unused, without posted rows.
    [[nodiscard]] CKonto templateRowCopy() const;
};

// A pointer that is const when its holder is: what a const company refers to
// through it can only be read. Lists of records hold these, so that a const
// view of the company is const all the way down.
template <typename Pointer> using DeepConst = std::experimental::propagate_const<Pointer>;

using KontoList = std::vector<DeepConst<std::unique_ptr<CKonto>>>;
// Rows of a chart that refer into the owning list.
using KontoRefs = std::vector<DeepConst<CKonto*>>;

// One automatic VAT rule.
struct CAutomoms {
    double m_dMomssats = 0.0;
    std::int32_t m_nDebetkonto = 0;
    std::int32_t m_nKreditkonto = 0;
    std::int32_t m_nDebetMomskonto = 0;
    std::int32_t m_nKreditMomskonto = 0;
    std::string m_strKommentar;
    std::int32_t m_nRuntime = 0; // copied with templates, never stored

    bool operator==(const CAutomoms&) const = default;
    [[nodiscard]] bool namesAccount(std::int32_t number) const;
};

// A chart template: income rows first, then balance rows, and VAT rules.
struct CKontoplan {
    std::string m_strNamn;
    std::int32_t m_nAntalRes = 0;
    std::int32_t m_nAntalBal = 0;
    KontoList m_konton;
    std::vector<CAutomoms> m_momsregler;
};

// One accounting period with the closing balances stored when it was last left.
struct CPeriod {
    std::int32_t m_nReserv1 = 0;
    std::int32_t m_nFranManad = 0;
    std::int32_t m_nFranAr = 0;
    std::int32_t m_nReserv2 = 0;
    std::int32_t m_nTillManad = 0;
    std::int32_t m_nTillAr = 0;
    std::int32_t m_nVinstradNy = 0;
    KontoList m_ingaende;
};

// Deep copy of an owning account list (the referring lists are not touched).
KontoList copyKontoList(const KontoList& list);

} // namespace kv
