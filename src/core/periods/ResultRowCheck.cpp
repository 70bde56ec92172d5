#include "periods/ResultRowCheck.h"

#include "app/Prompter.h"

#include <algorithm>

namespace kv {

std::optional<std::string> resultRowProblem(const CTallvingeDoc& doc) {
    if (doc.m_resKonton.empty()) {
        return kMsgResultatEjRegistrerad;
    }
    if (doc.m_resKonton.size() < 2) {
        return kMsgVilketVinstkonto;
    }
    const std::int32_t number = readWholeNumber(doc.m_resKonton[doc.m_resKonton.size() - 2]->m_strKolumn2);
    const auto assetsTotal = std::find_if(doc.m_balKonton.begin(), doc.m_balKonton.end(),
                                          [](const CKonto* row) { return row->m_strKolumn5 == "a"; });
    // Headings and sum rows carry the number 0: only a real account can take the result.
    const bool found =
        number > 0 && std::any_of(assetsTotal, doc.m_balKonton.end(),
                                  [number](const CKonto* row) { return row->m_nKontonr == number; });
    if (!found) {
        return kMsgVilketVinstkonto;
    }
    return std::nullopt;
}

bool checkResultRow(const CTallvingeDoc& doc, Prompter& prompter) {
    if (const auto problem = resultRowProblem(doc)) {
        prompter.message(*problem);
        return false;
    }
    return true;
}

} // namespace kv
