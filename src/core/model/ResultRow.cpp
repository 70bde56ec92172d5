#include "model/ResultRow.h"

#include "model/TallvingeDoc.h"

#include <algorithm>

namespace kv {

std::optional<std::string> resultRowProblem(const CTallvingeDoc& doc) {
    if (doc.state().m_resKonton.empty()) {
        return kMsgResultatEjRegistrerad;
    }
    if (doc.state().m_resKonton.size() < 2) {
        return kMsgVilketVinstkonto;
    }
    const std::int32_t number =
        readWholeNumber(doc.state().m_resKonton[doc.state().m_resKonton.size() - 2]->m_strKolumn2);
    const auto assetsTotal = std::find_if(doc.state().m_balKonton.begin(), doc.state().m_balKonton.end(),
                                          [](const CKonto* row) { return row->m_strKolumn5 == "a"; });
    // Headings and sum rows carry the number 0: only a real account can take the result.
    const bool found =
        number > 0 && std::any_of(assetsTotal, doc.state().m_balKonton.end(),
                                  [number](const CKonto* row) { return row->m_nKontonr == number; });
    if (!found) {
        return kMsgVilketVinstkonto;
    }
    return std::nullopt;
}

} // namespace kv
