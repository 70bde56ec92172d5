// The texts of the report windows, their listings and dialogs.
#pragma once

namespace kv {

// Window titles.
inline constexpr const char* kJournalTitle = "Grundbok (verifikat)";
inline constexpr const char* kLedgerTitle = "  Huvudbok (konton)";
inline constexpr const char* kTrialBalanceTitle = "  Alla konton / Råbalans";

// Shared by the panels.
inline constexpr const char* kPeriodLead = "Period  :  ";
inline constexpr const char* kDelperiodLead = "Delperiod:";

// The journal.
inline constexpr const char* kAntalVerifikat = "Antal verifikat :";
inline constexpr const char* kNyttVerifikatTangent = "Nytt verifikat :  Tangenten  +";
inline constexpr const char* kLetaVerifikatTangent = "Leta verifikat :  Tangenten  -";
inline constexpr const char* kSenasteBokforingsdagPanel = "Senaste bokföringsdag :  ";
inline constexpr const char* kSenasteTransaktionsdag = "Senaste transaktionsdag :  ";
inline constexpr const char* kSenasteBokforingsdag = "Senaste bokföringsdag : ";
inline constexpr const char* kSeFleraVerifikat = "Se flera verifikat samtidigt";
inline constexpr const char* kTaFramEttVerifikat = "Ta fram ett verifikat";
inline constexpr const char* kDetFinnsIngaVerifikat = "Det finns inga verifikat";
inline constexpr const char* kListsNotApproved =
    "Balansräkning,  Resultaträkning o. momssatser skall vara godkända.";

// The ledger.
inline constexpr const char* kHuvudbok = "Huvudbok";
inline constexpr const char* kHuvudbokPrinted = "Huvudbok (konton)";
inline constexpr const char* kSeFleraKonton = "Se flera konton samtidigt";
inline constexpr const char* kTaFramEttKonto = "Ta fram ett konto";
inline constexpr const char* kIngaKonton = "Inga konton är registrerade";
inline constexpr const char* kValjEttKonto = "Välj ett konto";
inline constexpr const char* kTaFramKonto = "Ta fram konto";
inline constexpr const char* kTillHuvudbok = "Till huvudbok";
inline constexpr const char* kDelarssaldo = "Delårssaldo   ";
inline constexpr const char* kTransaktionerSaknas = "Transaktioner saknas i perioden: ";
inline constexpr const char* kVinstForlustIPerioden = "Vinst / Förlust i perioden: ";
inline constexpr const char* kDelperiodensDebKre = ":    Delperiodens Deb - Kre  =   ";
inline constexpr const char* kSumma = "Summa";
inline constexpr const char* kDebMinusKre = "Deb - Kre";

// The trial balance.
inline constexpr const char* kSaldoRabalans = "Saldo råbalans";
inline constexpr const char* kVerifikatMedDifferens = "Verifikat med differens:";
inline constexpr const char* kRabalansPrinted = "RÅBALANS";
inline constexpr const char* kAllaKontonPrinted = "Alla konton / råbalans";

// The statements.
inline constexpr const char* kResultatrakning = "Resultaträkning";
inline constexpr const char* kBalansrakning = "Balansräkning";
inline constexpr const char* kVisarEndastAnvandaIncome = "Visar endast använda konton   ";
inline constexpr const char* kVisarEndastAnvandaBalance = "Visar endast använda konton  ";
inline constexpr const char* kVisarAllaKonton = "Visar alla konton   ";
inline constexpr const char* kDelperiodTom = "Delperiod t.o.m. ";
inline constexpr const char* kRegistreraResultatkontot = "Gå till kontoplan och registrera resultatkontot";
inline constexpr const char* kRegistreraBalanskontot = "Gå till kontoplan och registrera balanskontot";
inline constexpr const char* kVinstkontoSaknas =
    "Vinstkonto för vinst/förlust saknas antingen i resultat- eller balansräkningen.";

// The month range.
inline constexpr const char* kManadsbokslutTitle = "Månadsbokslut, en eller flera månader i perioden  ";
inline constexpr const char* kBorjaMedManad = "Börja med månad";
inline constexpr const char* kSlutaMedManad = "Sluta med månad";
inline constexpr const char* kPeriodCaption = "Period";
inline constexpr const char* kTom = "t.o.m.";
inline constexpr const char* kVisaHelaPerioden = "Visa resultat för hela perioden";
inline constexpr const char* kSlutdatumetFel = "Slutdatumet är inte korrekt ifyllt";

// The voucher range.
inline constexpr const char* kTaFramVerifikat = "Ta fram verifikat";
inline constexpr const char* kVisaFoljandeVerifikat = "Visa följande verifikat :";
inline constexpr const char* kFromVerifikatNr = "Fr. o. m. verifikat nr :";
inline constexpr const char* kTomVerifikatNr = "T. o. m. verifikat nr :";
inline constexpr const char* kFelaktigtVerifikatnummer = "Felaktigt verifikatnummer";

// Printing.
inline constexpr const char* kSparaSomPdf = "Spara som PDF...";
inline constexpr const char* kExporteraRapport = "Exportera rapport...";

} // namespace kv
