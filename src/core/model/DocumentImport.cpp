// Operations for a company brought in from another program: its opening
// balances, written straight into its first period.
#include "model/TallvingeDoc.h"

#include <algorithm>
#include <set>

namespace kv {

namespace {

// The text of the opening row, as a new period writes it.
constexpr const char* kIngaendeBalans = "Ingående balans";

constexpr const char* kMsgEndastForstaPerioden =
    "Ingående balanser kan bara skrivas in i företagets första period; senare perioder får dem från "
    "perioden före.";

std::string notBalanceAccountMessage(std::int32_t number) {
    return "Konto " + std::to_string(number) +
           " finns inte i balansräkningen och kan inte få en ingående balans.";
}

std::string resultAccountMessage(std::int32_t number) {
    return "Konto " + std::to_string(number) +
           " är resultatkontot. Dess saldo räknas fram ur resultaträkningen och det kan inte få en ingående "
           "balans.";
}

std::string alreadyOpenedMessage(std::int32_t number) {
    return "Konto " + std::to_string(number) + " har redan en ingående balans.";
}

bool isOpeningRow(const CKontorad& row) {
    return row.m_nVernr == 0 && row.m_strText == kIngaendeBalans;
}

} // namespace

void CTallvingeDoc::addOpeningBalances(const std::vector<OpeningBalance>& balances) {
    if (!hasOpenPeriod() || m_nAktuellPeriod != 0) {
        throw DocumentRefusal(kMsgEndastForstaPerioden);
    }
    std::int32_t resultAccount = 0;
    const bool hasResultAccount = resultAccountNumber(resultAccount);
    std::set<std::int32_t> seen;
    for (const OpeningBalance& balance : balances) {
        const auto row = std::find_if(m_balKonton.begin(), m_balKonton.end(), [&](const CKonto* konto) {
            return konto->m_nKontonr == balance.account;
        });
        if (balance.account <= 0 || row == m_balKonton.end()) {
            throw DocumentRefusal(notBalanceAccountMessage(balance.account));
        }
        if (hasResultAccount && balance.account == resultAccount) {
            throw DocumentRefusal(resultAccountMessage(balance.account));
        }
        const bool opened = !(*row)->m_rader.empty() && isOpeningRow((*row)->m_rader.front());
        if (opened || !seen.insert(balance.account).second) {
            throw DocumentRefusal(alreadyOpenedMessage(balance.account));
        }
    }

    auto scope = beginChange();
    for (const OpeningBalance& balance : balances) {
        const auto index = static_cast<std::size_t>(accountIndex(balance.account));
        CKonto& konto = *m_allaKonton[index];
        // By position: an outer scope's whole-state restore keeps positions, not objects.
        currentScope().onRollback([this, index, inUse = konto.m_nAnvands] {
            CKonto& restored = *m_allaKonton[index];
            if (!restored.m_rader.empty()) {
                restored.m_rader.erase(restored.m_rader.begin());
            }
            restored.m_nAnvands = inUse;
        });
        CKontorad opening;
        opening.m_nManad = m_nFranManad;
        opening.m_nAr = m_nFranAr;
        opening.m_strText = kIngaendeBalans;
        if (balance.amount >= 0) {
            opening.m_dDebet = toKronor(balance.amount);
        } else {
            opening.m_dKredit = toKronor(-balance.amount);
        }
        konto.m_rader.insert(konto.m_rader.begin(), std::move(opening));
        // A zero opening row alone does not put an account in use.
        if (balance.amount != 0 || konto.m_rader.size() > 1) {
            konto.m_nAnvands = 1;
        }
    }
    scope.commit();
}

} // namespace kv
