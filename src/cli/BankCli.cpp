#include "BankCli.h"

#include "CliCompany.h"
#include "CliMessages.h"

#include "bank/BankFile.h"
#include "bank/BankFlows.h"
#include "bank/BankImport.h"
#include "bank/BankRules.h"
#include "bank/CsvLayout.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "voucher/VoucherRules.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <stdexcept>

namespace kv::cli {

const char* const kBankCommandsHelp =
    R"(Bank:
  kvistoran-cli import-bank FÖRETAG.bok FIL [--account [BANKKONTO=]KONTO ...]
                [--unmatched KONTO] [--columns datum=N,text=N,belopp=N[,referens=N]]
                [--skip-unreadable] [--yes]
      Läser kontoutdraget i FIL (camt.053, camt.054 eller CSV) och visar
      förslagen till verifikat i den öppna perioden, i datumordning: datum,
      belopp, motkonto, momsregel, text och status, raderna utan konto, de
      rader som redan är bokförda eller troligen redan är inskrivna för hand,
      det ingående saldot jämfört med bankkontots saldo i bokföringen och om
      kontoutdragets saldon stämmer med raderna. KONTO är bankkontot i
      bokföringen (t.ex. 1930); det kommer ihåg för bankkontot och kan sedan
      utelämnas. En fil med flera bankkonton bokförs konto för konto, vart
      och ett på sitt konto: BANKKONTO=KONTO anger det för ett bankkonto
      (IBAN eller kontonummer). Rader utan konto följer inte med, utom med
      --unmatched, som bokför dem på det kontot. --columns anger CSV-filens
      kolumner (räknade från 1) och kommer ihåg för bankkontot; en fil vars
      rubrikrad namnger kolumnerna läses efter den. Med --yes bokförs
      förslagen och företaget sparas (med säkerhetskopia och databasen);
      rader som inte kunde läsas gör att ingenting bokförs, utom med
      --skip-unreadable. Utan --yes skrivs ingenting.
  kvistoran-cli bank-rules FÖRETAG.bok [--add "TEXT=KONTO[:MOMSREGEL]"
                [--equals] [--in | --out] [--min BELOPP] [--max BELOPP]]
                [--remove N]
      Visar reglerna för bankrader, numrerade i den ordning de prövas. Med
      --add läggs en regel sist: rader vars motpart och text innehåller TEXT
      (med --equals: är lika med TEXT) bokförs på KONTO, med momsregeln
      MOMSREGEL (numret i Automatisk momsberäkning) när den anges; --in och
      --out begränsar till insättningar eller uttag, --min och --max till
      belopp (utan tecken) inom gränserna. --remove tar bort regel N.
)";

namespace {

// The one place that reads a bank file: the readers of bank/BankFile.h.
BankFileRead readStatementFile(const std::string& path, const std::optional<CsvLayout>& given,
                               const std::vector<RememberedLayout>& remembered) {
    return readBankFileWith(readBankFileBytes(path), given, remembered);
}

std::string joined(const std::vector<std::string>& messages) {
    std::string out;
    for (const auto& message : messages) {
        out += (out.empty() ? "" : ": ") + message;
    }
    return out;
}

std::optional<std::int32_t> accountNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const auto number = static_cast<std::int32_t>(std::stol(text));
    return number > 0 ? std::optional(number) : std::nullopt;
}

struct ImportArguments {
    std::string company;
    std::string file;
    std::optional<std::int32_t> account;                // for a file of one bank account
    std::map<std::string, std::int32_t> accountsByBank; // BANKKONTO=KONTO, by bankAccountKey
    std::optional<std::int32_t> unmatched;
    std::optional<std::string> columns;
    bool skipUnreadable = false;
    bool yes = false;
};

// "--account 1930" or "--account SE45 5000 0000 0583 9825 7466=1930".
std::optional<std::string> readAccountOption(const std::string& text, ImportArguments& parsed) {
    const auto equals = text.rfind('=');
    const std::string number = equals == std::string::npos ? text : text.substr(equals + 1);
    const auto account = accountNumber(number);
    if (!account) {
        return "kontot skrivs med siffror, t.ex. 1930 eller SE4550000000058398257466=1930: " + text;
    }
    if (equals == std::string::npos) {
        if (parsed.account) {
            return std::string("--account utan bankkonto anges en gång; ange BANKKONTO=KONTO för fler");
        }
        parsed.account = account;
        return std::nullopt;
    }
    BankStatement named;
    named.account = text.substr(0, equals);
    parsed.accountsByBank[bankAccountKey(named, 0)] = *account;
    return std::nullopt;
}

std::optional<std::string> parseImport(const std::vector<std::string>& args, ImportArguments& parsed) {
    std::vector<std::string> files;
    const std::string wrong = "felaktiga argument till import-bank; se kvistoran-cli --help";
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool valued = arg == "--account" || arg == "--unmatched" || arg == "--columns";
        if (valued && i + 1 >= args.size()) {
            return wrong;
        }
        if (arg == "--yes" && !parsed.yes) {
            parsed.yes = true;
        } else if (arg == "--skip-unreadable" && !parsed.skipUnreadable) {
            parsed.skipUnreadable = true;
        } else if (arg == "--account") {
            if (auto refusal = readAccountOption(args[++i], parsed)) {
                return refusal;
            }
        } else if (arg == "--unmatched" && !parsed.unmatched) {
            const auto number = accountNumber(args[++i]);
            if (!number) {
                return "kontot skrivs med siffror, t.ex. 1930: " + args[i];
            }
            parsed.unmatched = number;
        } else if (arg == "--columns" && !parsed.columns) {
            parsed.columns = checkedColumns(args[++i]);
            if (!parsed.columns) {
                return parseCsvColumns(args[i]).error;
            }
        } else if (!arg.starts_with("--")) {
            files.push_back(arg);
        } else {
            return wrong;
        }
    }
    if (files.size() != 2) {
        return std::string("import-bank behöver en företagsfil och en bankfil; se kvistoran-cli --help");
    }
    parsed.company = files[0];
    parsed.file = files[1];
    return std::nullopt;
}

void printLines(std::ostream& out, const CTallvingeDoc& doc, const char* title,
                const std::vector<const BankProposal*>& proposals, bool withStatus) {
    if (proposals.empty()) {
        return;
    }
    out << '\n' << title << '\n';
    for (const BankProposal* proposal : proposals) {
        out << "  " << proposal->line.bookingDate.text() << "  " << bankAmountText(proposal->line.amount);
        if (proposal->account != 0) {
            out << "  " << proposal->account;
        }
        if (const std::string vat = vatRuleText(doc, proposal->vatRule); !vat.empty()) {
            out << "  " << vat;
        }
        out << "  " << proposal->text;
        if (withStatus) {
            out << "  (" << proposalStatusText(*proposal) << ")";
        }
        out << '\n';
    }
}

void printPlan(std::ostream& out, const CTallvingeDoc& doc, const BankStatement& statement,
               const BankImportPlan& plan) {
    std::map<ProposalStatus, std::vector<const BankProposal*>> byStatus;
    for (const BankProposal& proposal : plan.proposals) {
        byStatus[proposal.status].push_back(&proposal);
    }
    printLines(out, doc, "Förslag:", byStatus[ProposalStatus::Proposed], true);
    printLines(out, doc, "Bokförda:", byStatus[ProposalStatus::Booked], true);
    printLines(out, doc, "Utan konto (följer inte med; ange --unmatched KONTO för att bokföra dem):",
               byStatus[ProposalStatus::Unmatched], false);
    printLines(out, doc, "Troligen redan inskrivna för hand (följer inte med):",
               byStatus[ProposalStatus::PossiblyBooked], true);
    printLines(out, doc, "Redan bokförda:", byStatus[ProposalStatus::AlreadyBooked], true);
    printLines(out, doc, "Kan inte bokföras:", byStatus[ProposalStatus::Failed], true);
    if (!statement.headingRows.empty()) {
        out << "\nRader som lästes som filens rubrik:";
        for (const std::size_t row : statement.headingRows) {
            out << ' ' << row;
        }
        out << '\n';
    }
    if (!statement.problems.empty()) {
        out << "\nRader som inte kunde läsas:\n";
        for (const BankLineProblem& problem : statement.problems) {
            out << "  " << bankProblemText(problem) << '\n';
        }
    }
}

std::string bookedNumbers(const BankImportPlan& plan) {
    std::int32_t first = 0;
    std::int32_t last = 0;
    for (const BankProposal& proposal : plan.proposals) {
        if (proposal.status == ProposalStatus::Booked) {
            first = first == 0 ? proposal.voucher : first;
            last = proposal.voucher;
        }
    }
    return first == last ? "nr " + std::to_string(first)
                         : "nr " + std::to_string(first) + "–" + std::to_string(last);
}

// The remembered setting of the bank account.
std::optional<BankAccountSetting> settingFor(const std::vector<BankAccountSetting>& settings,
                                             const std::string& bankAccount) {
    for (const BankAccountSetting& setting : settings) {
        if (setting.bankAccount == bankAccount) {
            return setting;
        }
    }
    return std::nullopt;
}

// The account of the books a statement is booked on: as given for its bank
// account, as given for a file of one, as remembered for its bank account or
// with the layout that read it, or the company's one bank account.
std::optional<std::int32_t> bookAccountFor(const BankStatement& statement, std::size_t statements,
                                           const ImportArguments& parsed, const BankFileRead& read,
                                           const std::vector<BankAccountSetting>& settings) {
    const std::string key = bankAccountKey(statement, 0);
    if (const auto given = parsed.accountsByBank.find(key); given != parsed.accountsByBank.end()) {
        return given->second;
    }
    if (parsed.account && statements == 1) {
        return parsed.account;
    }
    if (!statement.account.empty()) {
        if (const auto remembered = settingFor(settings, key)) {
            return remembered->bookAccount;
        }
    }
    if (read.rememberedBook != 0) {
        return read.rememberedBook;
    }
    if (statement.account.empty() && settings.size() == 1) {
        return settings.front().bookAccount; // the one bank account the company has
    }
    return std::nullopt;
}

// One statement of the file, planned.
struct PlannedStatement {
    BankStatement statement;
    BankImportPlan plan;
};

// Books every statement's proposals, saves the company once and remembers
// each bank account's book account (and the columns that read the file).
int bookPlanned(CTallvingeDoc& doc, std::vector<PlannedStatement>& planned, const ImportArguments& parsed,
                const BankFileRead& file, std::ostream& out, const Fail& fail) {
    BankBookingResult total;
    for (PlannedStatement& each : planned) {
        const BankBookingResult result = bookBankImport(doc, each.plan);
        total.booked += result.booked;
        total.failed += result.failed;
    }
    if (total.booked == 0) {
        out << "\nInget bokfördes";
        out << (total.failed > 0
                    ? ": " + std::to_string(total.failed) + " rader kunde inte bokföras (se ovan)"
                    : ": inga förslag att bokföra");
        out << ". Företaget är oförändrat.\n";
        if (total.failed > 0) {
            for (const PlannedStatement& each : planned) {
                printPlan(out, doc, each.statement, each.plan);
            }
        }
        return total.failed > 0 ? 1 : 0;
    }
    const std::string companyPath = fullPath(parsed.company);
    const FileReport saved = saveCompany(doc, companyPath);
    if (!saved.ok) {
        return fail(joined(saved.messages));
    }
    out << '\n';
    if (planned.size() == 1) {
        out << total.booked << " verifikat bokfördes (" << bookedNumbers(planned.front().plan)
            << ") och företaget sparades i " << parsed.company << ".\n";
    }
    for (const PlannedStatement& each : planned) {
        const std::size_t booked = static_cast<std::size_t>(
            std::count_if(each.plan.proposals.begin(), each.plan.proposals.end(),
                          [](const BankProposal& p) { return p.status == ProposalStatus::Booked; }));
        if (booked > 0 && planned.size() > 1) {
            out << booked << " verifikat bokfördes från " << each.plan.bankAccount << " ("
                << bookedNumbers(each.plan) << ").\n";
        }
        std::vector<const BankProposal*> failed;
        for (const BankProposal& proposal : each.plan.proposals) {
            if (proposal.status == ProposalStatus::Failed) {
                failed.push_back(&proposal);
            }
        }
        printLines(out, doc, "Kunde inte bokföras:", failed, true);
    }
    if (planned.size() > 1) {
        out << "Företaget sparades i " << parsed.company << ".\n";
    }
    for (const PlannedStatement& each : planned) {
        try {
            const std::string columns = file.layout ? csvLayoutText(*file.layout) : std::string();
            writeBankAccount(companyPath, {each.plan.bankAccount, each.plan.options.bookAccount, columns});
        } catch (const DatabaseError& error) {
            out << "Bankkontots inställningar kunde inte sparas: " << oneLine(error.what()) << '\n';
        }
    }
    return 0;
}

std::size_t unreadableRows(const std::vector<PlannedStatement>& planned) {
    std::size_t count = 0;
    for (const PlannedStatement& each : planned) {
        count += each.statement.problems.size();
    }
    return count;
}

} // namespace

std::optional<std::string> checkedColumns(const std::string& text) {
    const CsvLayoutParse parsed = parseCsvColumns(text);
    if (!parsed.layout) {
        return std::nullopt;
    }
    return csvLayoutText(*parsed.layout);
}

int importBank(const std::vector<std::string>& args, const BankFileReader& read, std::ostream& out,
               const Fail& fail) {
    ImportArguments parsed;
    if (const auto wrong = parseImport(args, parsed)) {
        return fail(*wrong);
    }
    const std::string companyPath = fullPath(parsed.company);
    std::optional<CompanyLock> lock;
    if (!prepareCompany(companyPath, "import-bank", parsed.yes, lock, fail)) {
        return 1;
    }
    CTallvingeDoc doc;
    const FileReport opened = openCompany(doc, companyPath);
    if (!opened.ok) {
        return fail(joined(opened.messages));
    }
    std::vector<BankAccountSetting> settings;
    std::vector<BankRule> rules;
    try {
        settings = readBankAccounts(companyPath);
        rules = readBankRules(companyPath);
    } catch (const DatabaseError& error) {
        return fail(error.what());
    }
    std::optional<CsvLayout> given;
    if (parsed.columns) {
        given = parseCsvLayoutText(*parsed.columns).layout;
    }
    BankFileRead file;
    try {
        file = read(fullPath(parsed.file), given, rememberedLayouts(settings));
    } catch (const std::exception& error) {
        return fail(error.what());
    }
    if (file.statements.empty()) {
        return fail(parsed.file + ": filen har inget kontoutdrag");
    }
    std::vector<PlannedStatement> planned;
    for (BankStatement& statement : file.statements) {
        const auto book = bookAccountFor(statement, file.statements.size(), parsed, file, settings);
        if (!book) {
            return fail(statement.account.empty() || file.statements.size() == 1
                            ? "ange bankkontot i bokföringen med --account, t.ex. --account 1930"
                            : "ange bankkontot i bokföringen för " + statement.account + " med --account " +
                                  bankAccountKey(statement, 0) + "=KONTO");
        }
        BankImportOptions options;
        options.bookAccount = *book;
        options.unmatchedAccount = parsed.unmatched;
        const std::string bankAccount = bankAccountKey(statement, options.bookAccount);
        try {
            BankImportPlan plan = planBankImport(doc, statement, options, rules,
                                                 importedBankLines(doc, bankAccount, options.bookAccount));
            planned.push_back({std::move(statement), std::move(plan)});
        } catch (const DatabaseError& error) {
            return fail(error.what());
        }
    }
    for (const PlannedStatement& each : planned) {
        const BankImportPlan& plan = each.plan;
        out << (planned.front().plan.bankAccount == plan.bankAccount ? "" : "\n")
            << "Kontoutdrag: " << parsed.file << '\n';
        out << "Bankkonto: " << plan.bankAccount << " (bokförs på konto " << plan.options.bookAccount
            << ")\n";
        for (const std::string& refusal : plan.refusals) {
            out << "Vägras: " << refusal << '\n';
        }
        out << "Saldo: " << balanceComparisonText(plan) << '\n';
        for (const std::string& problem : statementBalanceProblems(plan)) {
            out << "Saldona stämmer inte: " << problem << ".\n";
        }
        printPlan(out, doc, each.statement, plan);
    }
    for (const PlannedStatement& each : planned) {
        if (!each.plan.refusals.empty()) {
            return fail("ingenting kan bokföras: " + each.plan.refusals.front());
        }
    }
    if (!parsed.yes) {
        out << "\nInget har skrivits. Kör igen med --yes för att bokföra förslagen i " << parsed.company
            << ".\n";
        return 0;
    }
    if (const std::size_t unreadable = unreadableRows(planned); unreadable > 0 && !parsed.skipUnreadable) {
        return fail(
            std::to_string(unreadable) + (unreadable == 1 ? " rad" : " rader") +
            " i filen kunde inte läsas (se ovan); ingenting bokfördes. Ange --skip-unreadable för att "
            "bokföra de övriga.");
    }
    return bookPlanned(doc, planned, parsed, file, out, fail);
}

namespace {

// "TEXT=KONTO[:MOMSREGEL]" into the rule's fields, or why not.
std::optional<std::string> splitRule(const std::string& text, BankRuleFields& fields) {
    const std::size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0) {
        return "en regel skrivs TEXT=KONTO eller TEXT=KONTO:MOMSREGEL: " + text;
    }
    fields.pattern = text.substr(0, equals);
    fields.account = text.substr(equals + 1);
    if (const std::size_t colon = fields.account.find(':'); colon != std::string::npos) {
        fields.vatRule = fields.account.substr(colon + 1);
        fields.account.resize(colon);
    }
    return std::nullopt;
}

} // namespace

int bankRules(const std::vector<std::string>& args, std::ostream& out, const Fail& fail) {
    const std::string wrong = "felaktiga argument till bank-rules; se kvistoran-cli --help";
    std::optional<std::string> company;
    std::optional<std::string> add;
    std::optional<std::string> remove;
    BankRuleFields fields;
    bool flagsGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool valued = arg == "--add" || arg == "--remove" || arg == "--min" || arg == "--max";
        if (valued && i + 1 >= args.size()) {
            return fail(wrong);
        }
        if (arg == "--add" && !add) {
            add = args[++i];
        } else if (arg == "--remove" && !remove) {
            remove = args[++i];
        } else if (arg == "--equals") {
            fields.equals = true;
            flagsGiven = true;
        } else if ((arg == "--in" || arg == "--out") && fields.sign == BankAmountSign::Any) {
            fields.sign = arg == "--in" ? BankAmountSign::In : BankAmountSign::Out;
            flagsGiven = true;
        } else if ((arg == "--min" && fields.minAmount.empty()) ||
                   (arg == "--max" && fields.maxAmount.empty())) {
            (arg == "--min" ? fields.minAmount : fields.maxAmount) = args[++i];
            flagsGiven = true;
        } else if (!arg.starts_with("--") && !company) {
            company = arg;
        } else {
            return fail(wrong);
        }
    }
    if (!company || (flagsGiven && !add)) {
        return fail(wrong);
    }
    if (add) {
        if (auto refusal = splitRule(*add, fields)) {
            return fail(*refusal);
        }
    }
    const std::string companyPath = fullPath(*company);
    std::optional<CompanyLock> lock;
    if (!prepareCompany(companyPath, "bank-rules", add || remove, lock, fail)) {
        return 1;
    }
    CTallvingeDoc doc;
    const FileReport opened = openCompany(doc, companyPath);
    if (!opened.ok) {
        return fail(joined(opened.messages));
    }
    try {
        std::vector<BankRule> rules = readBankRules(companyPath);
        if (remove) {
            const auto number = accountNumber(*remove);
            if (!number || static_cast<std::size_t>(*number) > rules.size()) {
                return fail("det finns ingen regel nummer " + *remove);
            }
            rules.erase(rules.begin() + (*number - 1));
        }
        if (add) {
            auto made = bankRuleFrom(doc, fields, bankBookAccounts(readBankAccounts(companyPath)));
            if (const auto* refusal = std::get_if<std::string>(&made)) {
                return fail(*refusal);
            }
            rules.push_back(std::get<BankRule>(std::move(made)));
        }
        if (add || remove) {
            writeBankRules(companyPath, rules);
        }
        if (rules.empty()) {
            out << "Inga regler för bankrader.\n";
        }
        for (std::size_t i = 0; i < rules.size(); ++i) {
            out << (i + 1) << ". " << bankRuleText(doc, rules[i]) << '\n';
        }
    } catch (const DatabaseError& error) {
        return fail(error.what());
    }
    return 0;
}

std::optional<int> runBankCommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        return std::nullopt;
    }
    if (args[0] == "import-bank") {
        return importBank(args, readStatementFile, std::cout, failWith);
    }
    if (args[0] == "bank-rules") {
        return bankRules(args, std::cout, failWith);
    }
    return std::nullopt;
}

} // namespace kv::cli
