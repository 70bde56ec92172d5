// The texts of the voucher commands, the voucher dialog and the voucher list,
// character for character as the user meets them.
#pragma once

#include <cstddef>
#include <string>

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

// ---- the voucher dialog ----
inline constexpr const char* kVoucherTitle = "Verifikat";
inline constexpr const char* kVoucherTitleRegistered = "Registrerat verifikat. Rosa rader kan ej ändras.";
inline constexpr const char* kLabelVerifikatNr = "Verifikat nr";
inline constexpr const char* kLabelTransdatum = "Transdatum";
inline constexpr const char* kHintDatum = "dag    +   månad    +   år  (året med 4 siffror)";
inline constexpr const char* kLabelVertext = "Vertext";
inline constexpr const char* kLabelSumDeb = "Sum deb";
inline constexpr const char* kLabelSumKre = "Sum kre";
inline constexpr const char* kLabelDifferens = "Differens";
inline constexpr const char* kSignMinus = "_";
inline constexpr const char* kSignEquals = "=";
inline constexpr const char* kLabelKontosaldo = "Kontosaldo deb-kre";
inline constexpr const char* kHintKontosaldo = "Klicka på kontot";
inline constexpr const char* kLabelBokfDag = "Bokf.dag";
inline constexpr const char* kLabelBokforingsdatum = "Bokföringsdatum";
inline constexpr const char* kButtonVoucherOk = "OK";
inline constexpr const char* kButtonAvbryt = "Avbryt";
inline constexpr const char* kButtonMoms = "Moms    Alt + / ";
inline constexpr const char* kButtonKlistraInMall = "Klistra in transaktionsmall  F12";
inline constexpr const char* kButtonInfoMall = "INFO trans.mall";
inline constexpr const char* kButtonVoucherAngra = "Ångra";

// Cell checks.
inline constexpr const char* kMsgGeEttHeltal = "Ge ett heltal";
inline constexpr const char* kMsgKontotFinnsInte = "Kontot finns inte";
inline constexpr const char* kMsgKreditkontotIfyllt = "Kreditkontot är redan ifyllt";
inline constexpr const char* kMsgGeEttSiffervarde = "Ge ett siffervärde. ";
inline constexpr const char* kMsgFyllForst = "Fyll först i kontonummer, namn och radtext ";
inline constexpr const char* kMsgDebetkontotIfyllt = "Debetkontot är redan ifyllt ";
inline constexpr const char* kMsgKontonummerSaknas = "Kontonummer saknas";
inline constexpr const char* kMsgStorstaTal = "Största möjliga tal är 999 999 999";
inline constexpr const char* kMsgResultatEjAnnuGodkand =
    "Resultaträkningen är ej ännu godkänd. Gå till Kontoplan-Resultaträkning!";
inline constexpr const char* kMsgBalansEjAnnuGodkand =
    "Balansräkningen är ej ännu godkänd. Gå till Kontoplan-Balansräkning!";
inline constexpr const char* kMsgVinstkontoCell = "Vinstkonto kan ej användas";
inline constexpr const char* kMsgOvanligKredit = "Ovanlig kreditkontering";
inline constexpr const char* kMsgOvanligDebet = "Ovanlig debetkontering";

// Row change and final checks.
inline constexpr const char* kMsgMellanrum = "Lämna ej mellanrum mellan raderna";
inline constexpr const char* kMsgBorjaForstaRaden = "Börja med första raden";
inline constexpr const char* kMsgLineKontonamnSaknas = "Kontonamn saknas !";
inline constexpr const char* kMsgDebetKreditEjIfyllt = "Debet / Kredit  ej ifyllt";
inline constexpr const char* kMsgLineKontonrKontonamnSaknas = "Kontonr/Kontonamn saknas";
inline constexpr const char* kMsgKontonrSaknas = "Kontonr saknas";
inline constexpr const char* kMsgKontonrSaknasMoms = "Kontonr saknasxxxxx";
inline constexpr const char* kMsgDebetNoll = "Debet kan ej anges till 0";
inline constexpr const char* kMsgKreditNoll = "Kredit kan ej anges till 0";
inline constexpr const char* kMsgFelaktigtKontonummer = "Felaktigt kontonummer";
inline constexpr const char* kMsgVinstkontotFinal = "Vinstkontot kan ej användas";
inline constexpr const char* kMsgEjIfyllt = "Verifikatet är ej ifyllt";

// Date rules.
inline constexpr const char* kMsgFelaktigTransdag = "Felaktig transaktionsdag";
inline constexpr const char* kMsgFelaktigTransmanad = "Felaktig transaktionsmånad";
inline constexpr const char* kMsgFelaktigtTransar = "Felaktigt transaktionsår";
inline constexpr const char* kMsgFelaktigBokfdag = "Felaktig bokföringsdag";
inline constexpr const char* kMsgFelaktigBokfmanad = "Felaktig bokföringsmånad";
inline constexpr const char* kMsgFelaktigtBokfar = "Felaktigt bokföringsår";

// The questions of "OK".
inline constexpr const char* kAskDifferens = "Registrera verifikatet trots differens ?";
inline constexpr const char* kAskDifferensRegistrerat =
    "Registrerat verifikat. Skall eventuella ändringar registreras trots differens?";
inline constexpr const char* kAskDifferensIgen =
    "Det är alltså ok att registrera verifikatet trots differensen ?";
inline constexpr const char* kAskDifferensIgenRegistrerat =
    "Det är alltså ok att registrera eventuella förändringar i det redan registrerade verifikatet trots "
    "differensen?";
inline constexpr const char* kTailVerifikattextSaknas = " Verifikattext saknas";
inline constexpr const char* kAskRegistrera = "Vill du registrera verifikatet? Transaktionsdatum :  ";
inline constexpr const char* kAskSparaAndringar =
    "Vill du spara eventuella ändringar i det registrerade verifikatet med transaktionsdatum :  ";
inline constexpr const char* kTailVerifikattext = ".  Verifikattext : ";
inline constexpr const char* kTailTextSaknas = ". Verifikattexten saknas ";
inline constexpr const char* kTailTextSaknasRegistrerat =
    ". Verifikattexten saknas och kan inte fyllas i eftersom verifikatet redan är registrerat ";
inline constexpr const char* kAskOkUtanText =
    "Det är alltså ok att registrera verifikatet trots att verifikattexten saknas?";
inline constexpr const char* kAskOkMedText =
    "Det är alltså ok att registrera verifikatet med transaktionsdatumet, verifikattexten och "
    "kontonoteringarna?";
// Closing a voucher with lines typed and not registered, by the close box or Escape.
inline constexpr const char* kAskStangOregistrerat =
    "Verifikatet är inte registrerat. Vill du stänga det och förlora det som är inskrivet?";

// VAT line.
inline constexpr const char* kMsgMomskolumnenEjIfylld =
    "Momskolumnen är ej ifylld. Gå till en rad med ifylld momskolumn.";
inline constexpr const char* kMsgRadenEjKorrekt = "Raden är ej korrekt ifylld. ";
inline constexpr const char* kMsgRosaRaderKanEjAndras = "Rosa rader kan ej ändras";
inline constexpr const char* kMsgRad75 = "Rad 75 måste vara tom då raderna flyttas neråt";

// Transaction templates.
inline constexpr const char* kMsgRosaRaderKopieras = "Rosa rader kan ej kopieras";
inline constexpr const char* kMsgGaNedanforRosa = "Gå till en rad nedanför de rosa raderna";
inline constexpr const char* kInfoTransaktionsmall =
    "Fyll i Kontonummer, Kontonamn, Radtext och sätt Debet eller Kredit till 0,00. Markera / 'Måla' "
    "cellerna och kopiera med tangenterna Ctrl+C. Cellerna är nu kopierade och du kan använda knappen '   "
    "Klistra in transaktionsmall   ' för att klistra in kopian på första lediga rad.  Du kan även "
    "dubbelklicka på ett av kontona i listan till höger för att sätta in det på första lediga rad.";

// ---- the voucher list and the lookup ----
inline constexpr const char* kVoucherListTitle = "  Verifikat / Sök verifikat";
inline constexpr const char* kEjInomDelperioden = "ej inom delperioden";
inline constexpr const char* kCaptionVantor = "Vantor";
inline constexpr const char* kMsgMarkeraKlicka =
    "Markera verifikatnumret och tryck return eller klicka på numret.";
inline constexpr const char* kMsgMarkeraDubbelklicka =
    "Markera verifikatnumret och tryck return eller dubbelklicka.";
inline constexpr const char* kMsgDialogenOppenVisas =
    "Verifikatdialogen är öppen. Den måste stängas före verifikatet kan visas";
inline constexpr const char* kLookupTitle = "Ta fram verifikat";
inline constexpr const char* kLookupLabel = "Ge verifikatnummer";
inline constexpr const char* kLookupAccept = "Ta fram verifikatet";
inline constexpr const char* kLookupLeave = "Gå till verifikatlista";

// A registered voucher of more lines than the dialog holds (a payroll
// voucher read from a SIE file): shown, never amended in the dialog.
inline std::string tooManyLinesMessage(std::size_t lines) {
    return "Verifikatet har " + std::to_string(lines) +
           " rader, fler än verifikatdialogen rymmer. Dialogen visar de 75 första och verifikatet kan inte "
           "ändras här; alla rader finns i grundboken och huvudboken.";
}

} // namespace kv
