// kvistoran-cli: looks into and converts company files from the command line.
#include "AddVoucherCommand.h"
#include "ArchiveCli.h"     // Year archive
#include "AttachCommand.h"  // Receipts
#include "BackupCommands.h" // Backups
#include "BankCli.h"        // Bank
#include "BudgetCommand.h"  // Budget
#include "CliCompany.h"
#include "CliMessages.h"
#include "DumpJson.h"
#include "KvistoranVersion.h"
#include "PeriodCommands.h" // Periods
#include "ReportCommand.h"
#include "SieCli.h" // SIE
#include "app/NewCompany.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kv::cli::failWith;

constexpr const char* kHelpCommands =
    R"(Användning:
  kvistoran-cli dump FIL
      Skriver FIL som JSON på standard ut. FIL är en företagsfil (.bok), en
      periodfil (.per) eller en mallfil (.mal); filändelsen avgör vilken.
  kvistoran-cli resave IN.bok UT.bok
      Läser företaget i IN.bok och sparar det som UT.bok så som programmet
      sparar: företagsfilen och den öppna periodens fil i UT:s periodmapp.
  kvistoran-cli new --template MALL --from ÅÅÅÅ-MM --to ÅÅÅÅ-MM UT.bok
      Skapar ett nytt företag i UT.bok så som programmet gör när alla
      förslag godtas: den första perioden från och med månaden --from till
      och med månaden --to, kontoplanen från MALL (ett av de inbyggda namnen,
      t.ex. "FÖRENINGSMALL 22 ST KONTON", eller namnet på en egen mall i
      mallfilen) med båda kontoplanerna och momsreglerna godkända.
      UT.bok får inte finnas sedan tidigare.
  kvistoran-cli export-sie FÖRETAG.bok UT.se
      Skriver den öppna perioden i FÖRETAG.bok som SIE-fil av typ 4E
      (teckentabell PC8, med kontrollsumma) till UT.se.
  kvistoran-cli import-sie IN.se UT.bok [--template MALL] [--allow-difference]
                [--yes]
      Läser SIE-filen IN.se (typ 4E eller 4I) och visar vad ett nytt företag
      byggt av den skulle få: konton som läggs till i mallens kontoplan,
      verifikat, summor och saldon som inte stämmer med filen. En fil utan
      räkenskapsår (#RAR 0) får verifikatens månader som period. Med --yes
      sparas företaget i UT.bok; varken UT.bok eller periodfilen får finnas
      sedan tidigare, och antingen skrivs allt eller ingenting. Utan --yes
      skrivs ingenting. Saldon som inte stämmer hindrar företaget, utom med
      --allow-difference: då tas filens ingående balanser och verifikat som
      de står. MALL är kontoplanmallen (förval
      "RIKSSVENSK BASKONTOMALL 247 ST KONTON").
  kvistoran-cli add-sie FÖRETAG.bok IN.si [--yes]
      Läser verifikaten i SIE-filen IN.si (typ 4I eller 4E) och visar vad som
      läggs till i den öppna perioden i FÖRETAG.bok: verifikaten med filens
      serier och nummer och numren de får här, summor, konton som läggs till
      i kontoplanen och vad som vägras. Med --yes läggs verifikaten till och
      företaget sparas (med säkerhetskopia); utan --yes skrivs ingenting.
      Ett verifikat utanför perioden, på resultatkontot eller som redan finns
      i bokföringen gör att ingenting läggs till.
)";

constexpr const char* kHelpEnd = R"(  kvistoran-cli --help
      Visar den här texten.
  kvistoran-cli --version
      Visar programmets version.

En felaktig fil eller ett felaktigt argument ger en rad på standard fel och
slutstatus 1; då skrivs ingenting.
)";

// The help: the tool's own commands, then each subsystem's.
std::string helpText() {
    return std::string(kHelpCommands) + kv::cli::kAddVoucherHelp + kv::cli::kAttachHelp +
           kv::cli::kPeriodCommandsHelp + kv::cli::kReportHelp + kv::cli::kBudgetHelp +
           kv::cli::kBackupCommandsHelp + kv::cli::kBankCommandsHelp + kv::cli::kArchiveHelp + kHelpEnd;
}

std::string joined(const std::vector<std::string>& messages) {
    std::string out;
    for (const auto& message : messages) {
        out += (out.empty() ? "" : ": ") + message;
    }
    return out;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

int dump(const std::string& path) {
    kv::Json json;
    std::string error;
    if (endsWith(path, ".bok")) {
        error = kv::readArchiveAt(
            path, [&json](kv::ArchiveReader& in) { json = kv::companyToJson(kv::readCompanyArchive(in)); });
    } else if (endsWith(path, ".per")) {
        error = kv::readArchiveAt(path, [&json](kv::ArchiveReader& in) {
            const std::string owner = kv::readPeriodArchiveOwner(in);
            json = kv::periodToJson(owner, kv::readPeriodArchiveBody(in));
        });
    } else if (endsWith(path, ".mal")) {
        error = kv::readArchiveAt(path, [&json](kv::ArchiveReader& in) {
            json = kv::templatesToJson(kv::readTemplateArchive(in));
        });
    } else {
        return failWith("okänd filtyp: " + path + " (väntade .bok, .per eller .mal)");
    }
    if (!error.empty()) {
        return failWith(path + ": " + error);
    }
    std::cout << json.dump(2) << '\n';
    return 0;
}

int resave(const std::string& in, const std::string& out) {
    if (kv::fullPath(in) != kv::fullPath(out)) {
        kv::cli::settleBeforeReading(in);
    }
    const auto lock = kv::cli::lockCompany(out, "resave");
    if (!lock) {
        return 1;
    }
    kv::CTallvingeDoc doc;
    const kv::FileReport opened = kv::openCompany(doc, in);
    if (!opened.ok) {
        return failWith(joined(opened.messages));
    }
    // The company's database and its receipts go with it, copied whole
    // before the files are written; a database already at the new name,
    // another company's, is never mixed in.
    const std::string fromDatabase = kv::companyDatabasePath(kv::fullPath(in));
    const std::string toDatabase = kv::companyDatabasePath(kv::fullPath(out));
    const bool carry = fromDatabase != toDatabase && kv::fileExists(fromDatabase);
    if (carry) {
        if (kv::fileExists(toDatabase)) {
            return failWith(toDatabase +
                            " finns redan: flytta den åt sidan först, så att två databaser inte blandas");
        }
        try {
            kv::copyDatabase(fromDatabase, toDatabase);
            kv::linkAttachmentFolder(kv::attachmentFolderPath(kv::fullPath(in)),
                                     kv::attachmentFolderPath(kv::fullPath(out)));
        } catch (const kv::DatabaseError& error) {
            return failWith(error.what());
        } catch (const kv::FileError& error) {
            kv::removeDatabase(toDatabase);
            return failWith(kv::fileFailureMessage("Underlagen kunde inte kopieras till det nya företaget",
                                                   kv::attachmentFolderPath(kv::fullPath(out)),
                                                   error.reason()));
        }
    }
    // The company keeps its full path, as the window program does.
    const kv::FileReport saved = kv::saveCompany(doc, kv::fullPath(out));
    if (!saved.ok) {
        if (carry) {
            kv::removeDatabase(toDatabase);
        }
        return failWith(joined(saved.messages));
    }
    kv::cli::printNotes(saved.messages); // Backups: a backup that could not be made
    return 0;
}

// "2012-01" as a year and a month.
std::optional<std::pair<std::int32_t, std::int32_t>> readYearMonth(const std::string& text) {
    const auto dash = text.find('-');
    if (dash != 4 || text.size() < 6 || text.size() > 7) {
        return std::nullopt;
    }
    const std::string year = text.substr(0, 4);
    const std::string month = text.substr(5);
    const auto digits = [](const std::string& part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(year) || !digits(month)) {
        return std::nullopt;
    }
    const int monthNumber = std::stoi(month);
    if (monthNumber < 1 || monthNumber > 12) {
        return std::nullopt;
    }
    return std::pair{static_cast<std::int32_t>(std::stoi(year)), static_cast<std::int32_t>(monthNumber)};
}

int newCompany(const std::vector<std::string>& args) {
    std::optional<std::string> templateName;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> out;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string>* option = arg == "--template" ? &templateName
                                             : arg == "--from"   ? &from
                                             : arg == "--to"     ? &to
                                                                 : nullptr;
        if (option != nullptr) {
            if (i + 1 >= args.size() || option->has_value()) {
                return failWith("felaktiga argument till new; se kvistoran-cli --help");
            }
            *option = args[++i];
        } else if (!out && !arg.starts_with("--")) {
            out = arg;
        } else {
            return failWith("felaktiga argument till new; se kvistoran-cli --help");
        }
    }
    if (!templateName || !from || !to || !out) {
        return failWith("new behöver --template, --from, --to och en utfil; se kvistoran-cli --help");
    }
    const auto start = readYearMonth(*from);
    const auto end = readYearMonth(*to);
    if (!start || !end) {
        return failWith("perioden skrivs ÅÅÅÅ-MM, t.ex. 2012-01: " + (!start ? *from : *to));
    }
    if (!endsWith(*out, ".bok")) {
        return failWith("företagsfilen måste sluta på .bok: " + *out);
    }
    if (kv::fileExists(*out)) {
        return failWith("filen finns redan och skrivs inte över: " + *out);
    }
    const auto lock = kv::cli::lockCompany(*out, "new");
    if (!lock) {
        return 1;
    }
    kv::CTallvingeDoc doc;
    const kv::NewCompanyResult made = kv::createDefaultCompany(
        doc, {*templateName, start->second, start->first, end->second, end->first,
              kv::defaultTemplateFolder(std::getenv("KVISTORAN_MALLAR"), std::getenv("XDG_DATA_HOME"),
                                        std::getenv("HOME"))});
    if (!made.ok) {
        return failWith(made.error);
    }
    const kv::FileReport saved = kv::saveCompany(doc, kv::fullPath(*out));
    if (!saved.ok) {
        return failWith(joined(saved.messages));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << helpText();
        return 1;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << helpText();
        return 0;
    }
    if (args[0] == "--version" || args[0] == "-v") {
        std::cout << "kvistoran-cli (Kvistoran) " KVISTORAN_VERSION "\n";
        return 0;
    }
    try {
        if (args[0] == "dump" && args.size() == 2) {
            return dump(args[1]);
        }
        if (args[0] == "resave" && args.size() == 3) {
            return resave(args[1], args[2]);
        }
        if (args[0] == "new") {
            return newCompany(args);
        }
        if (const auto status = kv::cli::runPeriodCommand(args)) { // Periods
            return *status;
        }
        if (args[0] == "add-voucher") { // Vouchers
            return kv::cli::addVoucher(args);
        }
        if (const auto status = kv::cli::runAttachCommand(args)) { // Receipts
            return *status;
        }
        if (const auto status = kv::cli::runBudgetCommand(args)) { // Budget
            return *status;
        }
        if (args[0] == "report") {
            return kv::cli::reportCommand(args); // Reports
        }
        if (kv::cli::isSieCommand(args)) { // SIE
            return kv::cli::runSieCommand(args, failWith);
        }
        if (const auto status = kv::cli::runBackupCommand(args)) { // Backups
            return *status;
        }
        if (const auto status = kv::cli::runBankCommand(args)) { // Bank
            return *status;
        }
        if (const auto status = kv::cli::runArchiveCommand(args)) { // Year archive
            return *status;
        }
    } catch (const std::exception& error) {
        return failWith(error.what());
    }
    return failWith("felaktiga argument; se kvistoran-cli --help");
}
