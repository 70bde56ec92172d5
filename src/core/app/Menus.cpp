#include "app/Menus.h"

#include <map>

namespace kv {

namespace {

using Kind = MenuItem::Kind;
using C = CommandId;

MenuItem item(CommandId id, std::string text) {
    return {Kind::Command, id, std::move(text)};
}
MenuItem separator() {
    return {Kind::Separator, {}, {}};
}

Menu arkiv() {
    return {
        "&Arkiv",
        {item(C::NewCompany, "&Nytt företag"), item(C::OpenCompany, "&Öppna ett företag..."),
         item(C::CloseCompany, "&Stäng"), item(C::Save, "&Spara"),
         item(C::SaveAs, "&Spara företaget som ( företagsnamn )..."),
         item(C::RenameCompany, "Byt företagets namn..."), item(C::Backups, "Säkerhetskopior..."), // Backups
         separator(),
         // SIE
         item(C::ImportSie, "&Importera SIE-fil..."), item(C::AddSie, "&Läs in verifikat från SIE-fil..."),
         item(C::ImportBank, "Läs in k&ontoutdrag..."),
         item(C::BankRules, "Bankre&gler..."), // Bank statements
         item(C::ExportSie, "&Exportera SIE-fil..."), separator(), item(C::Print, "Skriv ut..."),
         item(C::PrintPreview, "Förhandsgranska"), item(C::SaveAsPdf, "Spara som PDF..."), // Reports
         item(C::ExportReport, "Exportera rapport..."), item(C::PrintSetup, "S&krivarinställningar..."),
         separator(), item(C::YearArchive, "Skapa å&rsarkiv..."), // The year's archive
         separator(), item(C::Exit, "&Avsluta")}};
}

Menu verifikat() {
    return {"V&erifikat",
            {item(C::NewVoucher, "Nytt verifikat      +"),
             item(C::VoucherList, "Leta verifikat / verifikatlista      *"),
             item(C::FindVoucher, "Ta fram önskat verifikat     -"), separator(),
             item(C::SeveralVouchers, "Se flera verifikat samtidigt"), separator(),
             item(C::ShowAttachments, "Visa underlag...")}};
}

Menu kontoplan() {
    return {"&Kontoplan",
            {item(C::IncomeChart, "Kontoplan för Resultaträkning"),
             item(C::BalanceChart, "Kontoplan för Balansräkning"), separator(),
             item(C::FindAccount, "Ta fram konto"), separator(), item(C::Budget, "Budget..."), separator(),
             item(C::SaveChartTemplate, "Spara i kontoplanmallar"),
             item(C::DeleteChartTemplate, "Ta bort från kontoplanmallar")}};
}

Menu moms() {
    return {"&Moms",
            {item(C::VatRules, "Sätt moms"), separator(), item(C::VatReportWindow, "Momsrapport"),
             item(C::VatSettlement, "Bokför momsavräkning")}};
}

Menu period() {
    return {"&Period",
            {item(C::OpenPeriod, "Öppna period"), item(C::NewPeriod, "Skapa ny period"),
             item(C::ChangeEndDate, "Ändra periodslutsdatum")}};
}

Menu fonster() {
    return {"&Fönster",
            {item(C::JournalWindow, "&Grundbok (verifikat)"),
             item(C::VoucherList, "&Verifikat  / Sök verifikat       *"),
             item(C::LedgerWindow, "&Huvudbok (konton)"),
             item(C::TrialBalanceWindow, "&Alla konton / Råbalans"),
             item(C::IncomeStatementWindow, "Resultaträkning"),
             item(C::BudgetReportWindow, "Budget och utfall"), item(C::BalanceSheetWindow, "Balans"),
             separator(), item(C::Cascade, "&Överlappande"), item(C::TileHorizontally, "&Ordna vågrätt"),
             item(C::ArrangeIcons, "&Ordna ikoner"), MenuItem{Kind::WindowList, {}, {}}}};
}

Menu hjalp() {
    return {"&Hjälp",
            {item(C::About, "&Om Kvistoran..."), separator(), item(C::HelpVat, "Automatisk momsberäkning..."),
             item(C::HelpPeriods, "Bokföringsperioder..."),
             item(C::HelpAccounts, "Lägga till / Ta bort konton..."),
             item(C::HelpRename, "Byte av firmanamn..."), item(C::HelpMoving, "Fyttande av filer..."),
             item(C::HelpTemplates, "Kontoplanmallar..."), item(C::HelpMonthRange, "Månadsbokslut..."),
             item(C::HelpOpening, "Öppnandet av filer..."), separator(), item(C::Calendar, "&Kalender")}};
}

MenuBar noCompanyMenu() {
    return {MenuBarId::NoCompany,
            {{"&Arkiv",
              {item(C::NewCompany, "&Nytt företag"), item(C::OpenCompany, "&Öppna ett företag..."),
               item(C::ImportSie, "&Importera SIE-fil..."), separator(), // SIE
               MenuItem{Kind::RecentFiles, {}, {}}, separator(), item(C::AppExit, "&Avsluta")}},
             {"&Visa", {item(C::ViewToolbar, "&Verktygsrad"), item(C::ViewStatusBar, "&Statusrad")}},
             {"&Hjälp", {item(C::About, "&Om Kvistoran...")}}}};
}

MenuBar companyMenu() {
    return {MenuBarId::Company,
            {arkiv(),
             {"&Redigera",
              {item(C::Undo, "&Ångra"), separator(), item(C::Cut, "&Klipp ut"), item(C::Copy, "&Kopiera"),
               item(C::Paste, "&Klistra in")}},
             {"&Visa",
              {item(C::ViewToolbar, "&Verktygsrad"), item(C::ViewStatusBar, "&Statusrad"), separator(),
               item(C::MonthRange, "Månadsbokslut..."), item(C::BudgetReportWindow, "Budget och utfall")}},
             verifikat(),
             kontoplan(),
             moms(),
             period(),
             fonster(),
             hjalp()}};
}

MenuBar reportMenu() {
    return {MenuBarId::Report,
            {arkiv(),
             {"&Redigera",
              {item(C::Undo, "&Ångra"), item(C::Redo, "&Gör om"), separator(), item(C::Cut, "&Klipp ut"),
               item(C::Copy, "&Kopiera"), item(C::Paste, "&Klistra in"), separator(),
               item(C::Find, "&Sök..."), item(C::Replace, "&Ersätt..."), item(C::FindAgain, "Sök &igen"),
               separator(), item(C::InsertRows, "Sätt in rad(er)"), item(C::InsertColumns, "Sätt in kolumn"),
               item(C::RemoveRows, "Ta bort rader"), item(C::RemoveColumns, "Ta bort kolumner")}},
             {"&Visa / Inställningar",
              {item(C::ViewToolbar, "&Verktygsrad"), item(C::ViewStatusBar, "&Statusrad"), separator(),
               item(C::MonthRange, "Månadsbokslut..."), item(C::BudgetReportWindow, "Budget och utfall"),
               item(C::OnlyUsedAccounts, "Visa endast anv. konton"), separator(), item(C::ZoomIn, "Zooma In"),
               item(C::ZoomOut, "Zooma ut"), item(C::Zoom100, "100%"), separator(),
               item(C::ReadOnly, "Skrivskydd"), item(C::PrintLike, "WysiWyg")}},
             {"F&ormatera",
              {item(C::AlignLeft, "Vänster"), item(C::AlignCenter, "Center"), item(C::AlignRight, "Höger"),
               separator(), item(C::Bold, "Bold"), item(C::Italic, "Italic"),
               item(C::Underline, "Understruken"), separator(), item(C::CellFormat, "&Cellformat...")}},
             verifikat(),
             kontoplan(),
             moms(),
             period(),
             fonster(),
             hjalp()}};
}

KeyChord ctrl(char letter) {
    return {KeyName::Letter, letter, true, false, false};
}
KeyChord plain(KeyName key) {
    return {key, 0, false, false, false};
}
KeyChord withShift(KeyName key) {
    return {key, 0, false, true, false};
}

const std::map<CommandId, std::vector<KeyChord>>& keyTable() {
    static const std::map<CommandId, std::vector<KeyChord>> table = {
        {C::NewCompany, {ctrl('N')}},
        {C::OpenCompany, {ctrl('O')}},
        {C::Save, {ctrl('S')}},
        {C::Print, {ctrl('P')}},
        {C::Undo, {ctrl('Z'), {KeyName::Backspace, 0, false, false, true}}},
        {C::Redo, {ctrl('Y')}},
        {C::Cut, {ctrl('X'), withShift(KeyName::Delete)}},
        {C::Copy, {ctrl('C'), {KeyName::Insert, 0, true, false, false}}},
        {C::Paste, {ctrl('V'), withShift(KeyName::Insert)}},
        {C::Find, {ctrl('F')}},
        {C::Replace, {ctrl('H')}},
        {C::FindAgain, {plain(KeyName::F3)}},
        {C::NewVoucher, {plain(KeyName::KeypadPlus)}},
        {C::VoucherList, {plain(KeyName::KeypadMultiply)}},
        {C::FindVoucher, {plain(KeyName::KeypadMinus)}},
        {C::NextWindow, {plain(KeyName::F6)}},
        {C::PreviousWindow, {withShift(KeyName::F6)}},
        {C::CloseWindow, {{KeyName::F4, 0, true, false, false}}},
    };
    return table;
}

const std::map<CommandId, std::string>& statusTable() {
    static const std::map<CommandId, std::string> table = {
        {C::NewCompany, "Nytt företag"},
        {C::OpenCompany, "Öppna ett företag"},
        {C::CloseCompany, "Stäng"},
        {C::Save, "Spara"},
        {C::SaveAs, "Spara företaget som ( företagsnamn )"},
        {C::RenameCompany, "Byter firmanamn och namnet på periodfilerna"}, // Periods
        {C::Print, "Skriv ut"},
        {C::PrintPreview, "Förhandsgranska"},
        {C::PrintSetup, "Skrivarinställningar"},
        {C::SaveAsPdf, "Spara utskriften som en PDF-fil"}, // Reports
        {C::ExportReport, "Spara rapporten som en CSV-fil eller en Excel-fil"},
        {C::Exit, "Avsluta"},
        {C::AppExit, "Avsluta"},
        {C::RecentFile1, "Öppna det här företaget"},
        {C::RecentFile2, "Öppna det här företaget"},
        {C::RecentFile3, "Öppna det här företaget"},
        {C::RecentFile4, "Öppna det här företaget"},
        {C::Undo, "Ångra"},
        {C::Redo, "Gör om"},
        {C::Cut, "Klipp ut"},
        {C::Copy, "Kopiera"},
        {C::Paste, "Klistra in"},
        {C::Find, "Sök"},
        {C::FindAgain, "Sök igen"},
        {C::Replace, "Ersätt"},
        {C::ViewToolbar, "Verktygsrad"},
        {C::ViewStatusBar, "Statusrad"},
        {C::MonthRange, "Månadsbokslut"},
        {C::OnlyUsedAccounts, "Visa endast anv. konton"},
        {C::NewVoucher, "Nytt verifikat"},
        {C::VoucherList, "Leta verifikat / verifikatlista"},
        {C::FindVoucher, "Ta fram önskat verifikat"},
        {C::SeveralVouchers, "Se flera verifikat samtidigt"},
        {C::ShowAttachments, "Visa underlaget (kvitton, fakturor) till verifikatet som är markerat i listan"},
        {C::IncomeChart, "Kontoplan för Resultaträkning"},
        {C::BalanceChart, "Kontoplan för Balansräkning"},
        {C::FindAccount, "Ta fram konto"},
        {C::SaveChartTemplate, "Spara i kontoplanmallar"},
        {C::DeleteChartTemplate, "Ta bort från kontoplanmallar"},
        {C::VatRules, "Sätt moms"},
        {C::VatReportWindow, "Momsrapport"},
        {C::VatSettlement, "Bokför momsavräkning"},
        {C::OpenPeriod, "Öppna period"},
        {C::NewPeriod, "Skapa ny period"},
        {C::ChangeEndDate, "Ändra periodslutsdatum"},
        {C::JournalWindow, "Grundbok (verifikat)"},
        {C::LedgerWindow, "Huvudbok (konton)"},
        {C::TrialBalanceWindow, "Alla konton / Råbalans"},
        {C::IncomeStatementWindow, "Resultaträkning"},
        {C::Budget, "Budget per konto och månad för den öppna perioden"},
        {C::BudgetReportWindow, "Utfall mot budget och föregående år"},
        {C::BalanceSheetWindow, "Balans"},
        {C::Cascade, "Överlappande"},
        {C::TileHorizontally, "Ordna vågrätt"},
        {C::ArrangeIcons, "Ordna ikoner"},
        {C::NextWindow, "Nästa fönster"},
        {C::PreviousWindow, "Föregående fönster"},
        {C::CloseWindow, "Stäng fönstret"},
        {C::About, "Om Kvistoran"},
        {C::HelpVat, "Automatisk momsberäkning"},
        {C::HelpPeriods, "Bokföringsperioder"},
        {C::HelpAccounts, "Lägga till / Ta bort konton"},
        {C::HelpRename, "Byte av firmanamn"},
        {C::HelpMoving, "Fyttande av filer"},
        {C::HelpTemplates, "Kontoplanmallar"},
        {C::HelpMonthRange, "Månadsbokslut"},
        {C::HelpOpening, "Öppnandet av filer"},
        {C::Calendar, "Almanacka"},
        {C::ZoomIn, "Zooma In"},
        {C::ZoomOut, "Zooma ut"},
        {C::Zoom100, "100%"},
        {C::ReadOnly, "Skrivskydd"},
        {C::PrintLike, "WysiWyg"},
        {C::RemoveColumns, "Ta bort kolumner"},
        {C::RemoveRows, "Ta bort rader"},
        {C::InsertColumns, "Sätt in kolumn"},
        {C::InsertRows, "Sätt in rad(er)"},
        {C::AlignLeft, "Vänster"},
        {C::AlignCenter, "Center"},
        {C::AlignRight, "Höger"},
        {C::Bold, "Bold"},
        {C::Italic, "Italic"},
        {C::Underline, "Understruken"},
        {C::CellFormat, "Cellformat"},
        // SIE
        {C::ImportSie, "Skapa ett nytt företag från en SIE-fil"},
        {C::ExportSie, "Exportera bokföringen som SIE-fil"},
        {C::AddSie, "Lägg till verifikaten i en SIE-fil i den öppna perioden"},
        {C::ImportBank, "Bokför bankens kontoutdrag i den öppna perioden"}, // Bank statements
        {C::BankRules, "Reglerna som föreslår konto för bankens rader"},
        {C::Backups, "Säkerhetskopior"}, // Backups
        {C::YearArchive, "Skriv periodens rapporter, SIE-fil och underlag till ett zip-arkiv"},
    };
    return table;
}

} // namespace

const MenuBar& menuBar(MenuBarId id) {
    static const MenuBar none = noCompanyMenu();
    static const MenuBar company = companyMenu();
    static const MenuBar report = reportMenu();
    switch (id) {
    case MenuBarId::NoCompany:
        return none;
    case MenuBarId::Company:
        return company;
    case MenuBarId::Report:
        break;
    }
    return report;
}

const std::vector<CommandId>& allCommands() {
    static const std::vector<CommandId> commands = [] {
        std::vector<CommandId> all;
        for (const auto& [id, text] : statusTable()) {
            all.push_back(id);
        }
        return all;
    }();
    return commands;
}

const std::vector<KeyChord>& commandKeys(CommandId id) {
    static const std::vector<KeyChord> none;
    const auto found = keyTable().find(id);
    return found == keyTable().end() ? none : found->second;
}

bool keyNamedInMenuText(CommandId id) {
    return id == C::NewVoucher || id == C::VoucherList || id == C::FindVoucher;
}

std::string statusText(CommandId id) {
    const auto found = statusTable().find(id);
    return found == statusTable().end() ? std::string() : found->second;
}

MenuBarId menuBarFor(const AppState& state) {
    if (!state.companyOpen) {
        return MenuBarId::NoCompany;
    }
    if (state.activeWindow && isReportWindow(*state.activeWindow)) {
        return MenuBarId::Report;
    }
    return MenuBarId::Company;
}

} // namespace kv
