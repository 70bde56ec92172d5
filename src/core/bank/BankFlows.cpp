#include "bank/BankFlows.h"

#include "bank/BankDialogs.h"
#include "bank/BankFile.h"
#include "bank/BankImport.h"
#include "bank/BankReviewDialogModel.h"
#include "bank/BankRules.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>

namespace kv {

namespace {

constexpr const char* kMsgForLitetMinne = "Filen är för stor för datorns minne.";
constexpr std::int32_t kUsualBankAccount = 1930;

// What failed, the file and why, as the file messages of the program read.
std::string failure(const char* what, const std::string& path, const std::string& reason) {
    return std::string(what) + "\n" + path + "\n\n" + reason;
}

// The settings of the company's bank accounts; none for a company never
// saved. A database that cannot be read is told, and counts as none.
std::vector<BankAccountSetting> accountSettings(const CTallvingeDoc& doc, Prompter& prompter) {
    if (doc.pathName().empty()) {
        return {};
    }
    try {
        return readBankAccounts(doc.pathName());
    } catch (const DatabaseError& error) {
        prompter.message(error.what());
    }
    return {};
}

// The file read with columns the user gives.
std::optional<BankFileRead> askedLayout(Prompter& prompter, const std::string& path, std::string_view bytes,
                                        const CsvDetection& detection) {
    CsvColumnsModel columns(detection, fileNameOf(path));
    if (prompter.show(columns) != Answer::Ok || !columns.accepted()) {
        return std::nullopt;
    }
    try {
        return BankFileRead{readBankFile(bytes, columns.layout()), columns.layout(), 0};
    } catch (const BankFileError& error) {
        prompter.message(failure(kMsgBankKanEjLasas, path, error.what()));
    }
    return std::nullopt;
}

// The file's statements: a CSV file by the columns its heading names, else
// by a layout remembered for an account that reads it, else by the columns
// the user gives.
std::optional<BankFileRead> readStatements(Prompter& prompter, const std::string& path,
                                           const std::vector<BankAccountSetting>& settings) {
    std::string bytes;
    try {
        bytes = readBankFileBytes(path);
        return readBankFileWith(bytes, std::nullopt, rememberedLayouts(settings));
    } catch (const CsvLayoutUnknown& unknown) {
        return askedLayout(prompter, path, bytes, unknown.detection());
    } catch (const BankFileError& error) {
        prompter.message(failure(kMsgBankKanEjLasas, path, error.what()));
    } catch (const std::bad_alloc&) {
        prompter.message(failure(kMsgBankKanEjLasas, path, kMsgForLitetMinne));
    }
    return std::nullopt;
}

std::string problemList(const BankStatement& statement) {
    std::string list;
    const std::size_t shown = std::min(statement.problems.size(), kBankProblemsListed);
    for (std::size_t i = 0; i < shown; ++i) {
        const BankLineProblem& problem = statement.problems[i];
        list += "\n" + bankProblemText(problem);
    }
    if (statement.problems.size() > shown) {
        list += "\n… och " + std::to_string(statement.problems.size() - shown) + " till";
    }
    return list;
}

// Lines that could not be read: nothing is proposed unless the user takes
// the others.
bool mayGoOn(Prompter& prompter, const std::string& path, const BankStatement& statement) {
    if (statement.lines.empty()) {
        prompter.message(failure(kMsgBankKanEjLasas, path,
                                 statement.problems.empty()
                                     ? std::string("Filen har inga transaktioner.")
                                     : "Ingen rad i filen kunde läsas:" + problemList(statement)));
        return false;
    }
    if (statement.problems.empty()) {
        return true;
    }
    const std::size_t count = statement.problems.size();
    const std::string question =
        fileNameOf(path) + ": " + std::to_string(count) + (count == 1 ? " rad" : " rader") +
        " kunde inte läsas:" + problemList(statement) +
        "\n\nIngenting föreslås från filen om du inte tar de övriga. Vill du gå vidare med de " +
        std::to_string(statement.lines.size()) + " rader som kunde läsas?";
    return prompter.askOkCancel(question, Answer::Cancel) == Answer::Ok;
}

std::int32_t offeredBookAccount(const CTallvingeDoc& doc, const BankStatement& statement,
                                const std::vector<BankAccountSetting>& settings, std::int32_t remembered) {
    if (!statement.account.empty()) {
        const std::string key = bankAccountKey(statement, 0);
        const auto found = std::find_if(settings.begin(), settings.end(),
                                        [&key](const BankAccountSetting& s) { return s.bankAccount == key; });
        if (found != settings.end() && found->bookAccount != 0) {
            return found->bookAccount;
        }
    }
    if (remembered != 0) {
        return remembered;
    }
    return doc.hasAccount(kUsualBankAccount) ? kUsualBankAccount : 0;
}

// The account and the columns kept for the next statement of the account.
void remember(const CTallvingeDoc& doc, Prompter& prompter, const BankStatement& statement,
              const std::optional<CsvLayout>& layout, std::int32_t book,
              const std::vector<BankAccountSetting>& settings) {
    if (doc.pathName().empty()) {
        return;
    }
    BankAccountSetting setting{bankAccountKey(statement, book), book, {}};
    const auto old = std::find_if(settings.begin(), settings.end(), [&setting](const BankAccountSetting& s) {
        return s.bankAccount == setting.bankAccount;
    });
    if (layout) {
        setting.csvColumns = csvLayoutText(*layout);
    } else if (old != settings.end()) {
        setting.csvColumns = old->csvColumns;
    }
    if (old != settings.end() && *old == setting) {
        return;
    }
    try {
        writeBankAccount(doc.pathName(), setting);
    } catch (const DatabaseError& error) {
        prompter.message(error.what());
    }
}

// One statement of the file: its book account asked (the remembered one
// offered), then the review.
void importStatement(CTallvingeDoc& doc, Prompter& prompter, BankStatement statement,
                     const BankFileRead& read, const std::vector<BankAccountSetting>& settings,
                     const LocalClock& clock) {
    BankAccountChoiceModel account(doc, statement,
                                   offeredBookAccount(doc, statement, settings, read.rememberedBook));
    if (prompter.show(account) != Answer::Ok || account.chosen() == 0) {
        return;
    }
    remember(doc, prompter, statement, read.layout, account.chosen(), settings);
    try {
        BankReviewDialogModel review(doc, std::move(statement), {account.chosen(), std::nullopt}, clock);
        prompter.show(review);
    } catch (const DatabaseError& error) {
        prompter.message(error.what());
    }
}

} // namespace

std::vector<RememberedLayout> rememberedLayouts(const std::vector<BankAccountSetting>& settings) {
    std::vector<RememberedLayout> layouts;
    for (const BankAccountSetting& setting : settings) {
        if (setting.csvColumns.empty()) {
            continue;
        }
        if (CsvLayoutParse parsed = parseCsvLayoutText(setting.csvColumns); parsed.layout) {
            layouts.push_back({std::move(*parsed.layout), setting.bookAccount});
        }
    }
    return layouts;
}

void runBankRules(const CTallvingeDoc& doc, Prompter& prompter) {
    if (doc.pathName().empty()) {
        prompter.message(kMsgRulesNeedSavedCompany);
        return;
    }
    try {
        BankRulesModel rules(doc);
        prompter.show(rules);
    } catch (const DatabaseError& error) {
        prompter.message(error.what());
    }
}

void runBankImport(CTallvingeDoc& doc, Prompter& prompter, const LocalClock& clock) {
    const auto chosen = prompter.chooseBankFileToOpen();
    if (!chosen || chosen->empty()) {
        return;
    }
    const std::string path = fullPath(*chosen);
    const std::vector<BankAccountSetting> settings = accountSettings(doc, prompter);
    std::optional<BankFileRead> read = readStatements(prompter, path, settings);
    if (!read) {
        return;
    }
    // A file of several accounts: each account's statement in turn, on its own book account.
    for (BankStatement& statement : read->statements) {
        if (mayGoOn(prompter, path, statement)) {
            importStatement(doc, prompter, std::move(statement), *read, settings, clock);
        }
    }
}

} // namespace kv
