// The one way the books talk to the user: messages, questions and the modal
// dialogs that a flow needs. The window program answers with real message
// boxes and dialogs; tests answer from a script and record what was said.
#pragma once

#include "interaction/DialogModel.h"

#include <optional>
#include <string>

namespace kv {

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
// Bank statements: the files the banks give, as the file dialog offers them.
inline constexpr const char* kBankFileFilter =
    "Kontoutdrag (*.csv *.txt *.xml *.CSV *.TXT *.XML);;Alla filer (*)";
inline constexpr const char* kBankOpenTitle = "Läs in kontoutdrag";
// The year's archive: one zip of the period's reports, SIE file and receipts.
inline constexpr const char* kArchiveFileFilter = "Zip-arkiv (*.zip)";
inline constexpr const char* kArchiveFileExtension = ".zip";
inline constexpr const char* kArchiveSaveTitle = "Skapa årsarkiv";

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
    // A question whose OK button says what it does (okText) beside Cancel;
    // returns Answer::Ok or Answer::Cancel, byDefault for Return. A prompter
    // without such buttons asks it as askOkCancel.
    virtual Answer askToProceed(const std::string& text, const std::string& okText,
                                Answer byDefault = Answer::Cancel) {
        static_cast<void>(okText);
        return askOkCancel(text, byDefault);
    }
    // A question with Yes, No and Cancel (the save question when closing).
    virtual Answer askYesNoCancel(const std::string& text) = 0;

    // The company file to open ("Öppna ett företag..."); nothing on Cancel.
    virtual std::optional<std::string> chooseCompanyToOpen() = 0;
    // Where to save the company ("Spara företaget som"), offering
    // suggestedName; nothing on Cancel. The answer may lack the extension.
    virtual std::optional<std::string> chooseCompanySaveName(const std::string& suggestedName) = 0;

    // A modal dialog: shows the model, which the caller has made and opened,
    // and forwards the user's actions to it until the dialog closes. OK calls
    // the model's accept() or approve(); the dialog closes with Answer::Ok
    // only when that said yes, and stays open otherwise. Anything else that
    // closes the dialog is Answer::Cancel and leaves the model unaccepted. (A
    // summary that asks whether to go on closes with Answer::Yes for that.)
    // A prompter shows each model type through the handler registered for it
    // (DialogRegistry); a model nobody registered is a fault of the program.
    virtual Answer show(DialogModel& dialog) = 0;

    // Periods: a question with Yes and No, returning Answer::Yes or Answer::No.
    virtual Answer askYesNo(const std::string& text) = 0;
    // Vouchers: a message with its own caption and the information icon.
    virtual void information(const std::string& caption, const std::string& text) = 0;
    // SIE: the file to import a company from ("Importera SIE-fil..."), and
    // where to export one, offering suggestedName; nothing on Cancel.
    // title names what the file is for; every prompter repeats the default.
    virtual std::optional<std::string> chooseSieFileToOpen(const char* title = kSieOpenTitle) = 0;
    virtual std::optional<std::string> chooseSieSaveName(const std::string& suggestedName) = 0;
    // Backups: where to write a backup as a company of its own, offering
    // suggestedPath (nothing on Cancel; the answer may lack the extension).
    virtual std::optional<std::string> chooseBackupCopyName(const std::string& suggestedPath) = 0;
    // Bank statements: the bank's file to read ("Läs in kontoutdrag..."); nothing on Cancel.
    virtual std::optional<std::string> chooseBankFileToOpen() = 0;
    // The year's archive: where to write it, offering suggestedPath (nothing
    // on Cancel; the answer may lack the extension).
    virtual std::optional<std::string> chooseArchiveSaveName(const std::string& suggestedPath) = 0;
};

} // namespace kv
