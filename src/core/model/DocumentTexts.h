// The texts with which the document refuses an operation whose precondition
// does not hold.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

inline constexpr const char* kMsgEndast2SistaPerioderna = "Endast de 2 sista perioderna kan ändras";
inline constexpr const char* kMsgEjInomPerioden = "Transaktionsdatumet är ej inom perioden!";
// A company whose first period was never chosen has nowhere to put a voucher.
inline constexpr const char* kMsgIngenPeriod =
    "Företaget har ingen bokföringsperiod. Det går inte att registrera verifikat.";
inline constexpr const char* kMsgSkrivskyddat =
    "Företaget är öppnat skrivskyddat, eftersom ett annat program har det öppet. Rapporterna kan visas och "
    "skrivas ut, men ingenting kan registreras eller sparas här.";
inline constexpr const char* kMsgVerifikatFinnsEj = "Det finns inget registrerat verifikat med det numret.";
inline constexpr const char* kMsgForstaPeriodenFinns = "Företaget har redan en första period.";
inline constexpr const char* kMsgInteSistaPerioden = "Den öppna perioden är inte den sista perioden.";
// A balance-sheet chart that does not name, four rows below its assets total,
// an account of its own to carry the previous period's result.
inline constexpr const char* kMsgVinstkontoSaknas =
    "Balansräkningen anger inte vilket konto som skall ta emot förra periodens vinst/förlust. Skriv "
    "kontots nummer i kolumn 2 fyra rader under den sista raden med \"a\" i kolumn 5 (summa aktiva). Gå "
    "till   Kontoplan - Kontoplan för Balansräkning.";
inline constexpr const char* kMsgFelaktigPeriod =
    "Perioden måste börja månaden efter den förra periodens slut.";
inline constexpr const char* kMsgSlutdatumMindre = "Slutdatum mindre eller lika med begynnelsedatum";

// A voucher dated after the end month that a period is to get.
inline std::string voucherAfterEndMessage(std::int32_t vernr) {
    return "Ett/flera transaktionsdatum  -verifikat nr " + std::to_string(vernr) +
           "-  finns registrerat efter slutdatumet!";
}

inline constexpr const char* kMsgOkandPeriod = "Perioden finns inte i företaget.";

// The account of the previous periods' profit, and the account of the result
// row, take no voucher lines.
inline constexpr std::int32_t kProfitAccount = 2090;
inline constexpr const char* kMsgVinstkontotKanEjAnvandas = "Vinstkontot kan ej användas";

} // namespace kv
