// What the two chart editors show besides the chart itself: the kind of
// chart, the column titles, the fixed texts and help lines, and their looks.
#pragma once

#include "grid/GridState.h"
#include "interaction/DialogButtons.h"

#include <array>
#include <cstdint>

namespace kv {

enum class ChartKind { Income, Balance };

// Chart grid columns.
inline constexpr std::int32_t kColKontonr = 1;
inline constexpr std::int32_t kColNamn = 2;
inline constexpr std::int32_t kColGrupp = 3;
inline constexpr std::int32_t kColDelsumma = 4;
inline constexpr std::int32_t kColTotalsumma = 5;
inline constexpr std::int32_t kColAnvands = 6;
inline constexpr std::int32_t kChartColumns = 6;

inline constexpr const char* kTitleResultatplan = "Konton i resultaträkningen";
inline constexpr const char* kTitleBalansplan = "Konton i balansräkningen";

inline constexpr std::array<const char*, kChartColumns> kIncomeColumnTitles{
    "Kontonr", "Kontonamn eller rubrik", "Gr-upp", "Delsumma", "Total-summa", "An-   vänds"};
inline constexpr std::array<const char*, kChartColumns> kBalanceColumnTitles{
    "Kontonr", "Kontonamn eller rubrik", "Gr-upp", "Del-    summa", "Total-  sum", "An-  vänds"};

// Row header and columns 1 to 6, in pixels; column 6 room for kVatRuleMark.
inline constexpr std::array<std::int32_t, kChartColumns + 1> kChartColumnWidths{22, 50, 200, 25, 58, 50, 90};

// The end-marker row stands here unless the stored chart is longer.
inline constexpr std::int32_t kIncomeEndMarkerRow = 236;
inline constexpr std::int32_t kIncomeStoredRowsAbove = 136;
inline constexpr std::int32_t kBalanceEndMarkerRow = 138;
inline constexpr std::int32_t kBalanceStoredRowsAbove = 63;

// Fixed texts of the chart rows.
inline constexpr const char* kDenHarPerioden = "DEN HÄR periodens resultat";
inline constexpr const char* kSattesIPassiva = "sättes i passiva in på  :";
inline constexpr const char* kResultMark = "v";
inline constexpr const char* kDefaultResultAccount = "2090";
inline constexpr const char* kAktivaHeading = "A K T I V A";
inline constexpr const char* kSaAktiva = "Sa AKTIVA";
inline constexpr const char* kSaPassiva = "Sa PASSIVA";
inline constexpr const char* kForraPerioden = "FÖRRA periodens";
inline constexpr const char* kVinstInsattPa = "vinst/förlust är insatt på  :";
inline constexpr const char* kDefaultCarriedAccount = "2040";
inline constexpr const char* kPassivaHeading = "P A S S I V A";
inline constexpr const char* kKontrollera = "Kontrollera :";
inline constexpr const char* kHelpGrupp = "Grupp:  kontot måste tillhöra en grupp";
inline constexpr const char* kHelpDelsumma = "Delsumma :  resultatet för respektive grupp(er) räknas fram";
inline constexpr const char* kHelpTotalIncome =
    "Totalsum : resultatet för alla konton ovanför   = - tecknet räknas ut";
inline constexpr const char* kHelpTotalBalance = "Totalsum : Aktiva  /  Passiva  summeras";
inline constexpr const char* kHelpAnvands = "Används : Visar vilka konton som är i användning";
inline constexpr const char* kInUseMark = "A";
inline constexpr const char* kVatRuleMark = "Autom momsber";

// Looks.
inline constexpr const char* kFixedTextFont = "Times New Roman";
inline constexpr Rgb kShadedRow = rgb(220, 220, 220);
inline constexpr Rgb kCarriedProfitHighlight = rgb(255, 250, 170);
inline constexpr Rgb kResultAccountHighlight = rgb(200, 230, 255);

// The dialog's controls.
inline constexpr const char* kButtonGodkannKontoplan = "Godkänn kontoplan";
inline constexpr const char* kButtonSattInRad = "Sätt in ny rad";
inline constexpr const char* kButtonTaBortRad = "Ta bort rad";
inline constexpr const char* kButtonAngra = "Ångra";
inline constexpr const char* kLabelEndastAnvanda1 = "Visa endast konton i";
inline constexpr const char* kLabelEndastAnvanda2 = "användning vid utskrift";

} // namespace kv
