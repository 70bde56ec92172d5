// The check that a company's income chart names where its result goes: run
// before a voucher is entered and before periods are created or opened.
#pragma once

#include <optional>
#include <string>

namespace kv {

class CTallvingeDoc;

inline constexpr const char* kMsgResultatEjRegistrerad =
    "Resultaträkningen är ej registrerad. Gå till   Kontoplan - Kontoplan för resultaträkning.";
inline constexpr const char* kMsgVilketVinstkonto = "Vilket konto skall vinst/förlust sättas in på i "
                                                    "balansräkningen / passiva? Gå till   Kontoplan - "
                                                    "Kontoplan för resultaträkning.";

// The message for the first problem found, or nothing when the result row is
// sound: the income chart has rows, and the number in the second column of
// its result row (the second-last row) is an account of the balance-sheet
// chart at or after its assets total (the first row coded "a").
std::optional<std::string> resultRowProblem(const CTallvingeDoc& doc);

} // namespace kv
