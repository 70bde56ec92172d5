// The texts of the voucher commands.
#pragma once

namespace kv {

// "Nytt verifikat"
inline constexpr const char* kMsgPeriodenLast = "Perioden är låst";
inline constexpr const char* kMsgResultatEjGodkand =
    "Resultaträkningen är ej godkännd. Gå till Kontoplan - Kontoplan för Resultaträkning";
inline constexpr const char* kMsgBalansEjGodkand =
    "Balansräkningen är ej godkännd. Gå till Kontoplan - Kontoplan för Balansräkning";
inline constexpr const char* kMsgMomsEjGodkand =
    "Automatisk momsberäkning är ej godkännd. Gå till Moms - Sätt moms";
// "Ta fram önskat verifikat"
inline constexpr const char* kMsgVerifikatdialogenOppen = "Verifikatdialogen är öppen. Stäng den!";

} // namespace kv
