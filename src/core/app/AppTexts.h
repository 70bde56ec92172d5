// The program's own texts of the application shell: titles, the about line,
// the messages of the commands and the help texts of the menu "Hjälp".
#pragma once

#include "app/AppState.h"
#include "app/CommandId.h"

#include <optional>
#include <string>

namespace kv {

inline constexpr const char* kAppTitle = "Kvistoran";
inline constexpr const char* kMainWindowTitle = "  Kvistoran";
inline constexpr const char* kAboutTitle = "Om Kvistoran";
inline constexpr const char* kAboutLine = "Kvistoran version 1.15  (dec 2012)";
inline constexpr const char* kCalendarTitle = "Kalender";

// "Nytt verifikat"
inline constexpr const char* kMsgPeriodenLast = "Perioden är låst";
inline constexpr const char* kMsgResultatEjGodkand =
    "Resultaträkningen är ej godkännd. Gå till Kontoplan - Kontoplan för Resultaträkning";
inline constexpr const char* kMsgBalansEjGodkand =
    "Balansräkningen är ej godkännd. Gå till Kontoplan - Kontoplan för Balansräkning";
inline constexpr const char* kMsgMomsEjGodkand =
    "Automatisk momsberäkning är ej godkännd. Gå till Moms - Sätt moms";
// A company whose first period was never chosen has nowhere to put a voucher.
inline constexpr const char* kMsgIngenPeriod =
    "Företaget har ingen bokföringsperiod. Det går inte att registrera verifikat.";
// "Ta fram önskat verifikat"
inline constexpr const char* kMsgVerifikatdialogenOppen = "Verifikatdialogen är öppen. Stäng den!";

// The save question when a modified company is closed.
std::string saveQuestion(const std::string& title);

// The help text of a command of the menu "Hjälp", or nothing for another
// command. The template folder named is the one this computer uses.
std::optional<std::string> helpText(CommandId id);

// The title of a company window.
std::string windowTitle(WindowKind kind);

} // namespace kv
