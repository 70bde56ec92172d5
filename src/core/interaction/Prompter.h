// The one way the books talk to the user: messages, questions and the modal
// dialogs that a flow needs. The window program answers with real message
// boxes and dialogs; tests answer from a script and record what was said.
#pragma once

#include <optional>
#include <string>

namespace kv {

class BackupListModel; // Backups
class ChartEditorModel;
class DeleteTemplateModel;
class PeriodDialogModel;
class PeriodListModel;   // Periods
class RenameDialogModel; // Periods
class TemplateChooserModel;
class VatRulesModel;
class VoucherLookupModel; // Vouchers
// Reports
class AccountChoiceModel;
class MonthRangeModel;
class VoucherRangeModel;
struct SieImportSummary; // SIE
struct SieAddSummary;    // SIE

enum class Answer { Ok, Cancel, Yes, No };
// What a message is, which decides its icon: a refusal (the warning icon),
// information or help (the information icon), or a failure that lost
// something (the critical icon). Questions carry the question icon.
enum class MessageKind { Refusal, Information, Failure };

// The company file type, as the file dialogs offer it.
inline constexpr const char* kCompanyFileFilter = "Kvistoran fil (*.bok)";
inline constexpr const char* kCompanyFileExtension = ".bok";
// The titles of the file dialogs.
inline constexpr const char* kOpenCompanyTitle = "Öppna ett företag";
inline constexpr const char* kSaveCompanyTitle = "Spara företaget som";
// SIE: the exchange files, as the file dialogs offer them.
inline constexpr const char* kSieFileFilter = "SIE-fil (*.se *.si *.sie *.SE *.SI *.SIE);;Alla filer (*)";
inline constexpr const char* kSieFileExtension = ".se";
inline constexpr const char* kSieOpenTitle = "Importera SIE-fil";
inline constexpr const char* kSieSaveTitle = "Exportera SIE-fil";
inline constexpr const char* kSieAddOpenTitle = "Läs in verifikat från SIE-fil";

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message with an OK button: a refusal.
    virtual void message(const std::string& text) = 0;
    // A message of a kind; a prompter without icons says it as any message.
    virtual void say(MessageKind /*kind*/, const std::string& text) { message(text); }
    // A question with OK and Cancel; returns Answer::Ok or Answer::Cancel.
    // byDefault is what Return answers: Answer::Cancel where OK would throw
    // something away or let a fault through, so that habit never does.
    // Every prompter repeats this default.
    virtual Answer askOkCancel(const std::string& text, Answer byDefault = Answer::Ok) = 0;
    // A question with Yes, No and Cancel (the save question when closing).
    virtual Answer askYesNoCancel(const std::string& text) = 0;

    // The company file to open ("Öppna ett företag..."); nothing on Cancel.
    virtual std::optional<std::string> chooseCompanyToOpen() = 0;
    // Where to save the company ("Spara företaget som"), offering
    // suggestedName; nothing on Cancel. The answer may lack the extension.
    virtual std::optional<std::string> chooseCompanySaveName(const std::string& suggestedName) = 0;

    // The modal dialogs. Each shows the model, which the caller has opened,
    // and forwards the user's actions to it until the dialog closes. OK calls
    // the model's accept() or approve(); the dialog closes with Answer::Ok
    // only when that said yes, and stays open otherwise. Anything else that
    // closes the dialog is Answer::Cancel and leaves the model unaccepted.
    virtual Answer runPeriodDialog(PeriodDialogModel& dialog) = 0;
    virtual Answer runTemplateChooser(TemplateChooserModel& chooser) = 0;
    virtual Answer runChartEditor(ChartEditorModel& editor) = 0;
    virtual Answer runVatRules(VatRulesModel& rules) = 0;
    virtual Answer runDeleteTemplate(DeleteTemplateModel& dialog) = 0;

    // Periods: a question with Yes and No, returning Answer::Yes or
    // Answer::No; the period list "Öppna period" (Ok once the model accepted
    // its selection); the rename dialog (Ok once the model accepted the name).
    virtual Answer askYesNo(const std::string& text) = 0;
    virtual Answer runPeriodList(PeriodListModel& list) = 0;
    virtual Answer runRenameDialog(RenameDialogModel& dialog) = 0;
    // Vouchers: a message with its own caption and the information icon.
    virtual void information(const std::string& caption, const std::string& text) = 0;
    // Vouchers: the lookup "Ta fram verifikat" of the voucher list; Ok once the model accepted.
    virtual Answer runVoucherLookup(VoucherLookupModel& lookup) = 0;
    // Reports: "Månadsbokslut", the journal's voucher range "Ta fram
    // verifikat" and the ledger's "Välj ett konto".
    virtual Answer runMonthRange(MonthRangeModel& dialog) = 0;
    virtual Answer runVoucherRange(VoucherRangeModel& dialog) = 0;
    virtual Answer runAccountChoice(AccountChoiceModel& dialog) = 0;
    // SIE: the file to import a company from ("Importera SIE-fil..."), and
    // where to export one, offering suggestedName; nothing on Cancel.
    // title names what the file is for; every prompter repeats the default.
    virtual std::optional<std::string> chooseSieFileToOpen(const char* title = kSieOpenTitle) = 0;
    virtual std::optional<std::string> chooseSieSaveName(const std::string& suggestedName) = 0;
    // The summary of an import before the company is made: Answer::Yes to
    // make it (only offered when summary.canImport()), anything else not.
    // Where its balances disagree, the user may take the books as they
    // stand, which sets summary.allowDifference.
    virtual Answer showSieImportSummary(SieImportSummary& summary) = 0;
    // The summary of a file's vouchers before they are added to the open
    // period: Answer::Yes to add them (only offered when summary.canAdd()).
    virtual Answer showSieAddSummary(const SieAddSummary& summary) = 0;

    // Backups: the list of the company's backups ("Säkerhetskopior"), which
    // closes with Answer::Ok when the model accepted a backup to open; and
    // where to write that backup as a company of its own, offering
    // suggestedPath (nothing on Cancel; the answer may lack the extension).
    virtual Answer runBackupList(BackupListModel& list) = 0;
    virtual std::optional<std::string> chooseBackupCopyName(const std::string& suggestedPath) = 0;
};

} // namespace kv
