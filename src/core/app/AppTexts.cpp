#include "app/AppTexts.h"

#include "model/TallvingeDoc.h"
#include "storage/CompanyFiles.h"

namespace kv {

namespace {

// The help texts name the template folder as it is on the system the program
// was first written for; the real folder is put in its place.
constexpr const char* kWrittenTemplateFolder = "c:/bokforingsmallar";

std::string withRealTemplateFolder(std::string text, const std::string& folder) {
    const std::string written = kWrittenTemplateFolder;
    if (const auto at = text.find(written); at != std::string::npos) {
        text.replace(at, written.size(), folder);
    }
    return text;
}

} // namespace

std::string saveQuestion(const std::string& title) {
    return "Vill du spara ändringarna i " + title + "?";
}

std::optional<std::string> helpText(CommandId id, const std::string& templateFolder) {
    switch (id) {
    case CommandId::HelpTemplates:
        return withRealTemplateFolder(
            "Alla kontoplaner som du väljer att spara som mall finns i mappen  c:/bokforingsmallar.  Välj  "
            "Kontoplan-Spara i kontoplanmallar.  Mappen öppnas automatiskt då du skapar ett nytt företag.",
            templateFolder);
    case CommandId::HelpPeriods:
        return "Bokföringsperioderna sparas i en mapp som ligger i samma mapp som företaget är sparat i.  "
               "Flyttar "
               "du företaget till en annan mapp måste även mappen med bokföringsperioder flyttas. Tex. "
               "sparas "
               "periodfilerna till MittföretagAB.bok i en mapp som heter MittföretagAB_perioder. Endast "
               "filer av "
               "typen  '.bok'   går att öppna. Det går således inte att öppna en fil av typen  '.per'  i "
               "periodmappen";
    case CommandId::HelpOpening:
        return "Endast filer av typen  '.bok'   går att öppna. Det går således inte att öppna en fil av "
               "typen  "
               "'.per'  i periodmappen";
    case CommandId::HelpAccounts:
        return "I Kontoplan - Kontoplan för Resultaträkning / Kontoplan för Balansräkning kan konton som ej "
               "är i "
               "användning tas bort.  I balansräkningen måste dessutom ingående balansen vara 0. Anpassa "
               "utgående balansen för respektive konto i föregående period för detta. ENDAST KONTON I DEN "
               "SISTA "
               "PERIODEN KAN LÄGGAS TILL / TAS BORT";
    case CommandId::HelpRename:
        return "Företagets namn kan ändras i     Arkiv - Byt företagets namn...   . Den gamla företagsfilen "
               "+ "
               "periodmappen kopieras till en ny fil + periodmapp med det nya namnet. Den gamla filen / "
               "mappen "
               "kan tas bort manuellt i tex. 'Uforskaren'. Detta är ENDA sättet att byta namn på ett företg. "
               "Det "
               "går alltså INTE att gå till tex. 'Utforaskaren' och där ändra namn på filen.";
    case CommandId::HelpMoving:
        return "Flyttar du företaget till en annan mapp måste även mappen med bokföringsperioder flyttas. "
               "Tex. "
               "sparas periodfilerna till MittföretagAB.bok i en mapp som heter MittföretagAB_perioder. "
               "Firmafilen och periodmappen måste alltid finnas i samma mapp.";
    case CommandId::HelpVat:
        return "Då verifikatdialogen är öppen kan momsen beräknas genom att markören placeras på samma rad "
               "som "
               "momssatsen i momskolumnen. Tryck på momsknappen eller tangenterna ALT och divisionstangenten "
               "(höger tangentgrupp)";
    case CommandId::HelpMonthRange:
        return "Klicka    Visa  eller   Visa/Inställningar - Månadsbokslut. Här kan du välja att visa "
               "bokslut/transaktioner för en eller flera månader.";
    default:
        return std::nullopt;
    }
}

std::string windowTitle(WindowKind kind) {
    switch (kind) {
    case WindowKind::Journal:
        return "Grundbok (verifikat)";
    case WindowKind::Ledger:
        return "  Huvudbok (konton)";
    case WindowKind::TrialBalance:
        return "  Alla konton / Råbalans";
    case WindowKind::IncomeStatement:
        return "Resultaträkning";
    case WindowKind::BalanceSheet:
        return "Balansräkning";
    case WindowKind::VatReport:
        return "Momsrapport";
    case WindowKind::BudgetReport:
        return "Budget och utfall";
    case WindowKind::VoucherList:
        break;
    }
    return "  Verifikat / Sök verifikat";
}

std::string printedDocumentTitle(WindowKind kind, const std::string& companyTitle) {
    std::string report = windowTitle(kind);
    report.erase(0, report.find_first_not_of(' '));
    return report + " - " + companyTitle;
}

std::string commandFailureMessage(const std::exception& failure) {
    // A refusal of the books is already the user's text.
    if (dynamic_cast<const DocumentRefusal*>(&failure) != nullptr) {
        return failure.what();
    }
    return std::string("Kommandot kunde inte slutföras (") + failure.what() +
           ").\nÄndringen som pågick när felet inträffade har tagits tillbaka.";
}

} // namespace kv
