#include "bank/BankFlows.h"

#include "bank/BankDialogs.h"
#include "bank/BankFile.h"
#include "bank/BankImport.h"
#include "bank/BankReviewDialogModel.h"
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

// A statement read, with the columns it was read by when the user gave them
// or a remembered layout did, and the book account remembered with them.
struct ReadStatement {
    BankStatement statement;
    std::optional<CsvLayout> layout;
    std::int32_t rememberedBook = 0;
};

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

// The first layout remembered for an account that reads this file: lines
// and more of them than rows it cannot read.
std::optional<ReadStatement> rememberedLayout(std::string_view bytes,
                                              const std::vector<BankAccountSetting>& settings) {
    for (const BankAccountSetting& setting : settings) {
        if (setting.csvColumns.empty()) {
            continue;
        }
        const CsvLayoutParse parsed = parseCsvLayoutText(setting.csvColumns);
        if (!parsed.layout) {
            continue;
        }
        try {
            BankStatement statement = readBankFile(bytes, parsed.layout);
            if (!statement.lines.empty() && statement.problems.size() < statement.lines.size()) {
                return ReadStatement{std::move(statement), parsed.layout, setting.bookAccount};
            }
        } catch (const BankFileError&) {
            // Another account's layout: try the next.
        }
    }
    return std::nullopt;
}

// The file read with columns the user gives.
std::optional<ReadStatement> askedLayout(Prompter& prompter, const std::string& path, std::string_view bytes,
                                         const CsvDetection& detection) {
    CsvColumnsModel columns(detection, fileNameOf(path));
    if (prompter.show(columns) != Answer::Ok || !columns.accepted()) {
        return std::nullopt;
    }
    try {
        return ReadStatement{readBankFile(bytes, columns.layout()), columns.layout(), 0};
    } catch (const BankFileError& error) {
        prompter.message(failure(kMsgBankKanEjLasas, path, error.what()));
    }
    return std::nullopt;
}

std::optional<ReadStatement> readStatement(Prompter& prompter, const std::string& path,
                                           const std::vector<BankAccountSetting>& settings) {
    std::string bytes;
    try {
        bytes = readBankFileBytes(path);
        return ReadStatement{readBankFile(bytes, std::nullopt), std::nullopt, 0};
    } catch (const CsvLayoutUnknown& unknown) {
        if (auto remembered = rememberedLayout(bytes, settings)) {
            return remembered;
        }
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
        list += "\nrad " + std::to_string(problem.lineNumber) + ": " + problem.reason;
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
void remember(const CTallvingeDoc& doc, Prompter& prompter, const ReadStatement& read, std::int32_t book,
              const std::vector<BankAccountSetting>& settings) {
    if (doc.pathName().empty()) {
        return;
    }
    BankAccountSetting setting{bankAccountKey(read.statement, book), book, {}};
    const auto old = std::find_if(settings.begin(), settings.end(), [&setting](const BankAccountSetting& s) {
        return s.bankAccount == setting.bankAccount;
    });
    if (read.layout) {
        setting.csvColumns = csvLayoutText(*read.layout);
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

} // namespace

void runBankImport(CTallvingeDoc& doc, Prompter& prompter, const LocalClock& clock) {
    const auto chosen = prompter.chooseBankFileToOpen();
    if (!chosen || chosen->empty()) {
        return;
    }
    const std::string path = fullPath(*chosen);
    const std::vector<BankAccountSetting> settings = accountSettings(doc, prompter);
    std::optional<ReadStatement> read = readStatement(prompter, path, settings);
    if (!read || !mayGoOn(prompter, path, read->statement)) {
        return;
    }
    BankAccountChoiceModel account(doc, read->statement,
                                   offeredBookAccount(doc, read->statement, settings, read->rememberedBook));
    if (prompter.show(account) != Answer::Ok || account.chosen() == 0) {
        return;
    }
    remember(doc, prompter, *read, account.chosen(), settings);
    try {
        BankReviewDialogModel review(doc, std::move(read->statement), {account.chosen(), std::nullopt},
                                     clock);
        prompter.show(review);
    } catch (const DatabaseError& error) {
        prompter.message(error.what());
    }
}

} // namespace kv
