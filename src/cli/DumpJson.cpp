#include "DumpJson.h"

#include <algorithm>

namespace kv {

namespace {

Json toJson(const CKontorad& rad) {
    return Json{
        {"m_nVernr", rad.m_nVernr}, {"m_nDag", rad.m_nDag},       {"m_nManad", rad.m_nManad},
        {"m_nAr", rad.m_nAr},       {"m_dDebet", rad.m_dDebet},   {"m_dKredit", rad.m_dKredit},
        {"m_dExtra", rad.m_dExtra}, {"m_strText", rad.m_strText}, {"m_strKontonamn", rad.m_strKontonamn}};
}

Json toJson(const CKonto& konto) {
    Json rader = Json::array();
    for (const auto& rad : konto.m_rader) {
        rader.push_back(toJson(rad));
    }
    return Json{{"m_nKontonr", konto.m_nKontonr},     {"m_strKolumn2", konto.m_strKolumn2},
                {"m_strKolumn3", konto.m_strKolumn3}, {"m_strKolumn4", konto.m_strKolumn4},
                {"m_strKolumn5", konto.m_strKolumn5}, {"m_strKolumn6", konto.m_strKolumn6},
                {"m_nAnvands", konto.m_nAnvands},     {"m_nMarkering", konto.m_nMarkering},
                {"m_rader", std::move(rader)}};
}

Json toJson(const KontoList& list) {
    Json out = Json::array();
    for (const auto& konto : list) {
        out.push_back(toJson(*konto));
    }
    return out;
}

Json toJson(const CAutomoms& regel) {
    return Json{{"m_dMomssats", regel.m_dMomssats},
                {"m_nDebetkonto", regel.m_nDebetkonto},
                {"m_nKreditkonto", regel.m_nKreditkonto},
                {"m_nDebetMomskonto", regel.m_nDebetMomskonto},
                {"m_nKreditMomskonto", regel.m_nKreditMomskonto},
                {"m_strKommentar", regel.m_strKommentar}};
}

Json toJson(const std::vector<CAutomoms>& list) {
    Json out = Json::array();
    for (const auto& regel : list) {
        out.push_back(toJson(regel));
    }
    return out;
}

Json toJson(const CVerifikatrad& rad) {
    return Json{{"m_strRadtext", rad.m_strRadtext}, {"m_strKontonamn", rad.m_strKontonamn},
                {"m_nKonto", rad.m_nKonto},         {"m_dDebet", rad.m_dDebet},
                {"m_dKredit", rad.m_dKredit},       {"m_dMoms", rad.m_dMoms}};
}

Json toJson(const CEttVerifikat& ver) {
    Json rader = Json::array();
    for (const auto& rad : ver.m_rader) {
        rader.push_back(toJson(rad));
    }
    return Json{{"m_rader", std::move(rader)},        {"m_strVertext", ver.m_strVertext},
                {"m_nVernr", ver.m_nVernr},           {"m_nTransDag", ver.m_nTransDag},
                {"m_nTransAr", ver.m_nTransAr},       {"m_nTransManad", ver.m_nTransManad},
                {"m_nBokfDag", ver.m_nBokfDag},       {"m_nBokfManad", ver.m_nBokfManad},
                {"m_nBokfAr", ver.m_nBokfAr},         {"m_dDifferens", ver.m_dDifferens},
                {"m_dKontosaldo", ver.m_dKontosaldo}, {"m_nAntalRader", ver.m_nAntalRader},
                {"m_strText2", ver.m_strText2},       {"m_dSumDebet", ver.m_dSumDebet},
                {"m_dSumKredit", ver.m_dSumKredit}};
}

Json toJson(const CPeriod& period) {
    return Json{{"m_nReserv1", period.m_nReserv1},       {"m_nFranManad", period.m_nFranManad},
                {"m_nFranAr", period.m_nFranAr},         {"m_nReserv2", period.m_nReserv2},
                {"m_nTillManad", period.m_nTillManad},   {"m_nTillAr", period.m_nTillAr},
                {"m_nVinstradNy", period.m_nVinstradNy}, {"m_ingaende", toJson(period.m_ingaende)}};
}

const char* alignName(HAlign align) {
    switch (align) {
    case HAlign::Left:
        return "left";
    case HAlign::Center:
        return "center";
    case HAlign::Right:
        return "right";
    case HAlign::Default:
        break;
    }
    return "default";
}

Json toJson(const GridState* grid) {
    if (grid == nullptr) {
        return nullptr;
    }
    Json widths = Json::array();
    for (std::int32_t c = 0; c <= grid->colCount(); ++c) {
        widths.push_back(grid->columnWidth(c));
    }
    Json cells = Json::array();
    grid->forEachStoredCell([&cells](std::int32_t row, std::int32_t col, const GridCell& cell) {
        Json style{{"readOnly", cell.style.readOnly},
                   {"background", cell.style.background ? Json(*cell.style.background) : Json(nullptr)},
                   {"textColor", cell.style.textColor ? Json(*cell.style.textColor) : Json(nullptr)},
                   {"fontFace", cell.style.fontFace},
                   {"fontSize", cell.style.fontSize},
                   {"bold", cell.style.bold},
                   {"italic", cell.style.italic},
                   {"underline", cell.style.underline},
                   {"align", alignName(cell.style.align)}};
        cells.push_back(Json{{"row", row}, {"col", col}, {"text", cell.text}, {"style", std::move(style)}});
    });
    return Json{{"rowCount", grid->rowCount()},
                {"colCount", grid->colCount()},
                {"columnWidths", std::move(widths)},
                {"zoom", grid->settings().zoom},
                {"readOnly", grid->settings().readOnly},
                {"printLike", grid->settings().printLike},
                {"cells", std::move(cells)}};
}

Json positions(const KontoRefs& subset, const KontoList& owner) {
    Json out = Json::array();
    for (const CKonto* konto : subset) {
        const auto found =
            std::find_if(owner.begin(), owner.end(), [konto](const auto& k) { return k.get() == konto; });
        out.push_back(found == owner.end() ? -1 : static_cast<int>(found - owner.begin()));
    }
    return out;
}

void addOpening(Json& out, const CompanyState& doc) {
    out["m_nNastaVernr"] = doc.m_nNastaVernr;
    out["m_nUtskrift1"] = doc.m_nUtskrift1;
    out["m_nUtskrift2"] = doc.m_nUtskrift2;
    out["m_bNyttForetag"] = doc.m_bNyttForetag;
    out["m_pBalansGrid"] = toJson(doc.m_pBalansGrid.get());
    out["m_pResultatGrid"] = toJson(doc.m_pResultatGrid.get());
    out["m_nReserv1"] = doc.m_nReserv1;
    out["m_nFranManad"] = doc.m_nFranManad;
    out["m_nFranAr"] = doc.m_nFranAr;
    out["m_nReserv2"] = doc.m_nReserv2;
    out["m_nTillManad"] = doc.m_nTillManad;
    out["m_nTillAr"] = doc.m_nTillAr;
    out["m_nEndastAnvanda"] = doc.m_nEndastAnvanda;
}

void addBooks(Json& out, const CompanyState& doc) {
    out["m_allaKonton"] = toJson(doc.m_allaKonton);
    out["m_resKonton"] = positions(doc.m_resKonton, doc.m_allaKonton);
    out["m_balKonton"] = positions(doc.m_balKonton, doc.m_allaKonton);
    out["m_balNummer"] = doc.m_balNummer;
    out["m_resNummer"] = doc.m_resNummer;
    out["m_momsregler"] = toJson(doc.m_momsregler);
    Json vouchers = Json::array();
    for (const auto& ver : doc.m_verifikat) {
        vouchers.push_back(toJson(ver));
    }
    out["m_verifikat"] = std::move(vouchers);
}

} // namespace

Json companyToJson(const CompanyState& doc) {
    Json out = Json::object();
    addOpening(out, doc);
    out["m_strEnhet"] = doc.m_strEnhet;
    out["m_strFilnamn"] = doc.m_strFilnamn;
    out["m_nAktuellPeriod"] = doc.m_nAktuellPeriod;
    out["m_nVinstrad"] = doc.m_nVinstrad;
    addBooks(out, doc);
    Json periods = Json::array();
    for (const auto& period : doc.m_perioder) {
        periods.push_back(toJson(period));
    }
    out["m_perioder"] = std::move(periods);
    return out;
}

Json periodToJson(const std::string& owner, const CompanyState& doc) {
    Json out = Json::object();
    out["m_strFilnamn"] = owner;
    addOpening(out, doc);
    out["m_nAktuellPeriod"] = doc.m_nAktuellPeriod;
    out["m_nVinstrad"] = doc.m_nVinstrad;
    addBooks(out, doc);
    return out;
}

Json templatesToJson(const TemplateList& templates) {
    Json out = Json::array();
    for (const auto& mall : templates) {
        out.push_back(Json{{"m_strNamn", mall->m_strNamn},
                           {"m_nAntalRes", mall->m_nAntalRes},
                           {"m_nAntalBal", mall->m_nAntalBal},
                           {"m_konton", toJson(mall->m_konton)},
                           {"m_momsregler", toJson(mall->m_momsregler)}});
    }
    return out;
}

} // namespace kv
