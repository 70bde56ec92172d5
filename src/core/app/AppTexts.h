// The program's own texts of the application shell: titles, the about line,
// the messages of the commands and the help texts of the menu "Hjälp".
#pragma once

#include "KvistoranVersion.h"
#include "interaction/AppState.h"
#include "interaction/CommandId.h"

#include <exception>
#include <optional>
#include <string>

namespace kv {

inline constexpr const char* kAppTitle = "Kvistoran";
inline constexpr const char* kMainWindowTitle = "  Kvistoran";
// A company that another program writes: opened only to be read.
inline constexpr const char* kSkrivskyddatTitel = " (skrivskyddat)";
inline constexpr const char* kOppnaSkrivskyddat = "Öppna skrivskyddat";
inline constexpr const char* kMsgOppnaSkrivskyddat =
    "Du kan öppna det skrivskyddat: då kan du visa och skriva ut rapporterna, men ingenting registreras "
    "eller sparas.";
// A save that found another program's company file in its place.
inline constexpr const char* kSparaSomKnapp = "Spara som...";
inline constexpr const char* kMsgSparaUnderAnnatNamn =
    "Vill du spara företaget under ett annat namn, så att både det och det andra programmets version finns "
    "kvar?";
inline constexpr const char* kAboutTitle = "Om Kvistoran";
inline constexpr const char* kAboutLine = "Kvistoran version " KVISTORAN_VERSION "  (dec 2012)";
inline constexpr const char* kCalendarTitle = "Kalender";
inline constexpr const char* kPrintTitle = "Skriv ut";
inline constexpr const char* kPrintPreviewTitle = "Förhandsgranska";
inline constexpr const char* kPrintSetupTitle = "Skrivarinställningar";

// The save question when a modified company is closed.
std::string saveQuestion(const std::string& title);

// The help text of a command of the menu "Hjälp", or nothing for another
// command. The template folder named is the one this computer uses.
std::optional<std::string> helpText(CommandId id, const std::string& templateFolder);

// What the user is told when a command fails halfway: what failed, and that
// the change it was making has been taken back (each change of the company
// is whole or not at all).
std::string commandFailureMessage(const std::exception& failure);
inline constexpr const char* kMsgOutOfMemory =
    "Minnet räckte inte till för kommandot. Det avbröts, och ändringen som pågick har tagits tillbaka.";

// The title of a company window.
std::string windowTitle(WindowKind kind);
// The title a printed file carries: the report and the company, as
// "Grundbok (verifikat) - Bygdeföreningen".
std::string printedDocumentTitle(WindowKind kind, const std::string& companyTitle);

} // namespace kv
