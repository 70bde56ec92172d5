// The numeric ids of the program's commands. The numbers are those of the
// menus and keys, so that a command keeps one id in every menu bar.
#pragma once

#include <cstdint>

namespace kv {

enum class CommandId : std::int32_t {
    // Arkiv
    NewCompany = 57600,
    OpenCompany = 57601,
    CloseCompany = 32792,
    Save = 57603,
    SaveAs = 57604,
    RenameCompany = 32846,
    Print = 57607,
    PrintPreview = 57609,
    PrintSetup = 57606,
    SaveAsPdf = 32860,    // Reports: "Spara som PDF..."
    ExportReport = 32861, // Reports: "Exportera rapport..."
    Exit = 32791,
    AppExit = 57665, // "Avsluta" of the menu without a company
    RecentFile1 = 57616,
    RecentFile2 = 57617,
    RecentFile3 = 57618,
    RecentFile4 = 57619,

    // Redigera
    Undo = 57643,
    Redo = 57644,
    Cut = 57635,
    Copy = 57634,
    Paste = 57637,
    Find = 57636,
    FindAgain = 57640,
    Replace = 57641,

    // Visa
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
    MonthRange = 32851,
    OnlyUsedAccounts = 32838,

    // Verifikat
    NewVoucher = 32780,
    VoucherList = 32784,
    FindVoucher = 32787,
    SeveralVouchers = 32841,
    ShowAttachments = 32873, // "Visa underlag..." of the marked voucher

    // Kontoplan, Moms, Period
    IncomeChart = 32789,
    BalanceChart = 32798,
    FindAccount = 32796,
    SaveChartTemplate = 32839,
    DeleteChartTemplate = 32840,
    VatRules = 32793,
    VatReportWindow = 32871, // Reports: "Momsrapport"
    VatSettlement = 32872,   // Reports: "Bokför momsavräkning"
    OpenPeriod = 32833,
    NewPeriod = 32835,
    ChangeEndDate = 32836,

    // Fönster
    JournalWindow = 57648,
    LedgerWindow = 32775,
    TrialBalanceWindow = 32779,
    IncomeStatementWindow = 32776,
    BalanceSheetWindow = 32778,
    Cascade = 57650,
    TileHorizontally = 57651,
    ArrangeIcons = 57649,
    NextWindow = 57680,
    PreviousWindow = 57681,
    CloseWindow = 57682, // Ctrl+F4: closes the active window

    // Hjälp
    About = 57664,
    HelpVat = 32850,
    HelpPeriods = 32843,
    HelpAccounts = 32845,
    HelpRename = 32848,
    HelpMoving = 32849,
    HelpTemplates = 32842,
    HelpMonthRange = 32852,
    HelpOpening = 32844,
    Calendar = 171,

    // The grid commands of the report windows
    ZoomIn = 42804,
    ZoomOut = 42805,
    Zoom100 = 42806,
    ReadOnly = 42784,
    PrintLike = 42811,
    RemoveColumns = 42777,
    RemoveRows = 42814,
    InsertColumns = 42808,
    InsertRows = 42807,
    AlignLeft = 42789,
    AlignCenter = 42790,
    AlignRight = 42791,
    Bold = 42795,
    Italic = 42796,
    Underline = 42798,
    CellFormat = 42800,

    // SIE: the exchange files of the menu "Arkiv"
    ImportSie = 32862,
    ExportSie = 32863,
    AddSie = 32864, // "Läs in verifikat från SIE-fil..."
    // Bank statements
    ImportBank = 32865, // "Läs in kontoutdrag..."
    BankRules = 32866,  // "Bankregler..."
    // Backups
    Backups = 33501,
    // Budget: "Kontoplan → Budget..." and the report "Budget och utfall"
    Budget = 33521,
    BudgetReportWindow = 33522,
    // The year's archive: "Arkiv → Skapa årsarkiv..."
    YearArchive = 33531,
};

// The recent-file command of position index (0 to 3).
inline constexpr CommandId recentFileCommand(int index) {
    return static_cast<CommandId>(static_cast<std::int32_t>(CommandId::RecentFile1) + index);
}

// The position of a recent-file command, or -1 for any other command.
inline constexpr int recentFileIndex(CommandId id) {
    const auto offset = static_cast<std::int32_t>(id) - static_cast<std::int32_t>(CommandId::RecentFile1);
    return offset >= 0 && offset < 4 ? offset : -1;
}

} // namespace kv
