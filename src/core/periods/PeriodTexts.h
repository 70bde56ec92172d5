// The messages, questions and dialog texts of the period commands: a new
// period, opening another period, a new end date and renaming the company.
#pragma once

#include "periods/PeriodDialogModel.h"

#include <cstdint>
#include <string>

namespace kv {

// Shared by the commands that save the open period before they go on.
inline constexpr const char* kMsgFilenSparas = "Den nu öppna filen kommer att sparas. Vill du fortsätta ?";

// "Skapa ny period".
inline constexpr const char* kMsgSparaForNyPeriod =
    "Du måste spara företaget för att ytterligare en ny period skall kunna registreras. Gå till Arkiv - "
    "Spara företaget som...";
inline std::string lastPeriodMustBeOpenMessage(std::int32_t tillManad, std::int32_t tillAr) {
    return "För att fortsätta måste den sista perioden med slutdatum " + std::to_string(tillManad) + "." +
           std::to_string(tillAr) + " öppnas. ";
}

// "Öppna period".
inline constexpr const char* kMsgStangRapporterForePeriod =
    "Både balansen och resultaträkningen måste vara stängda före du kan öppna en annan period. Stäng "
    "balans- / resultatfönstret.";
inline constexpr const char* kMsgSparaForOppnaPeriod =
    "Du måste spara företaget före öppnande av ny period. Gå till Arkiv - Spara företaget som...";
inline constexpr const char* kMsgVerifikatdialogenNyPeriod =
    "Verifikatdialogen måste stängas före registrering av ny period.";
inline constexpr const char* kMsgVerifikatdialogenOppnaPeriod =
    "Verifikatdialogen måste stängas före öppnande av ny period.";
inline constexpr const char* kPeriodListTitle = "Öppna period";
inline constexpr const char* kPeriodListLabel = "Perioder";
inline constexpr const char* kLockedPeriodSuffix = "   ( låst )";

// "Ändra periodslutsdatum".
inline constexpr const char* kMsgSparaForSlutdatum =
    "Du måste först spara företaget (ge det ett namn) för att kunna ändra slutdatum. Gå till Arkiv - Spara "
    "företaget som...";
inline constexpr const char* kMsgVerifikatdialogenSlutdatum =
    "Verifikatdialogen måste stängas före ändring av slutdatum.";
inline constexpr const char* kMsgSparasMedNyttDatum =
    "Den nu öppna filen kommer att sparas med det nya datumet. Vill du fortsätta ?";

// A month as the month lists name it (1 is "januari"); empty outside 1 to 12.
inline std::string monthName(std::int32_t month) {
    return month >= 1 && month <= 12 ? kMonthNames[static_cast<std::size_t>(month - 1)] : "";
}
inline std::string onlyLastEndDateMessage(std::int32_t tillManad, std::int32_t tillAr) {
    return "Endast den sista periodens slutdatum  ' " + monthName(tillManad) + " " + std::to_string(tillAr) +
           " '  kan ändras";
}
inline std::string openLastPeriodFirstMessage(std::int32_t tillManad, std::int32_t tillAr) {
    return "Öppna den sista perioden med slutdatum :  " + monthName(tillManad) + " " + std::to_string(tillAr);
}

// "Byt företagets namn...".
inline constexpr const char* kMsgStangRapporterForeNamnbyte =
    "Både balansen och resultaträkningen måste vara stängda före du kan byta namn. Stäng balans- / "
    "resultatfönstret.";
inline constexpr const char* kMsgVerifikatdialogenNamnbyte = "Verifikatdialogen måste stängas före namnbyte.";
inline constexpr const char* kMsgUnderlagEjMedINamnbyte =
    "Verifikatens underlag kunde inte ges det nya namnet";
inline constexpr const char* kMsgNamnbyteVarning =
    "Den gamla företagsfilen + periodmappen kopieras till en ny fil + periodmapp med det nya namnet. Den "
    "gamla filen / mappen kan tas bort manuellt i tex. 'Uforskaren'. Detta är ENDA sättet att byta namn på "
    "ett företg. Det går alltså INTE att gå till tex. 'Utforaskaren' och där ändra namn på filen.";
inline constexpr const char* kRenameTitle = "Byt företagets namn";
inline constexpr const char* kCurrentNameLabel = "Nuvarande firmanamn";
inline constexpr const char* kNewNameLabel = "Nytt firmanamn";
inline constexpr const char* kMsgGeNyttNamn = "Ge ett nytt företagsnamn";
inline std::string nameTakenMessage(const std::string& folder) {
    return "Det nya namnet är upptaget i mappen " + folder;
}
inline std::string overwriteCompanyQuestion(const std::string& path) {
    return "Det finns redan ett företag med filnamnet :  " + path + ". Vill du skriva över den filen?";
}
// A name that cannot become a file name beside the company, or cannot be
// stored in the company's files.
inline constexpr const char* kMsgNamnMedSnedstreck =
    "Ett företagsnamn kan inte innehålla tecknet  /  eftersom det skiljer mappar åt. Välj ett annat namn.";
inline constexpr const char* kMsgNamnMedStyrtecken =
    "Företagsnamnet innehåller ett tecken som inte kan stå i ett filnamn. Välj ett annat namn.";
inline constexpr const char* kMsgNamnForLangt = "Det nya företagsnamnet är för långt. Välj ett kortare namn.";
inline std::string unstorableNameMessage(const std::string& character) {
    return "Tecknet  " + character +
           "  kan inte sparas i företagets filer. Välj ett annat namn på företaget.";
}
// A rename stopped by a file that could not be copied ("perioden 01.2012  -
// 12.2012" or "företagsfilen"): nothing of the new company is left, and the
// company keeps its name.
inline constexpr const char* kRenamePeriodWord = "perioden ";
inline constexpr const char* kRenameCompanyFileWord = "företagsfilen";
inline std::string renameFailedMessage(const std::string& what, const std::string& newTitle,
                                       const std::string& oldTitle) {
    return "Namnbytet avbröts eftersom " + what +
           " inte kunde kopieras. Det som hunnit skrivas under namnet " + newTitle +
           " har tagits bort, och företaget heter fortfarande " + oldTitle + ".";
}

} // namespace kv
