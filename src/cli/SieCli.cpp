#include "SieCli.h"

#include "CliCompany.h"

#include "sie/SieAddVouchers.h"
#include "sie/SieFiles.h"
#include "sie/SieImport.h"
#include "sie/SieWriter.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "storage/OutputPaths.h"

#include <cstdlib>
#include <iostream>
#include <optional>

namespace kv::cli {

namespace {

std::string templateFolder() {
    return defaultTemplateFolder(std::getenv("KVISTORAN_MALLAR"), std::getenv("XDG_DATA_HOME"),
                                 std::getenv("HOME"));
}

std::string joined(const std::vector<std::string>& messages) {
    std::string out;
    for (const auto& message : messages) {
        out += (out.empty() ? "" : ": ") + message;
    }
    return out;
}

int exportSie(const std::string& companyPath, const std::string& outPath,
              const std::function<int(const std::string&)>& fail) {
    if (const auto refused = outputRefusal(fullPath(outPath), OutputKind::Text)) {
        return fail(*refused);
    }
    settleBeforeReading(companyPath);
    CTallvingeDoc doc;
    const FileReport opened = openCompany(doc, fullPath(companyPath));
    if (!opened.ok) {
        return fail(joined(opened.messages));
    }
    SieExport exported;
    try {
        exported = writeSie(doc, sieToday());
        writeSieFile(fullPath(outPath), exported.bytes);
    } catch (const DocumentRefusal& refusal) {
        return fail(refusal.what());
    } catch (const FileError& error) {
        return fail(outPath + ": " + error.reason());
    }
    std::cout << "Skrev " << exported.accounts << " konton och " << exported.vouchers << " verifikat till "
              << outPath << ".\n";
    for (const std::string& note : exported.notes) {
        std::cout << note << '\n';
    }
    return 0;
}

struct ImportArguments {
    std::string in;
    std::string out;
    std::string templateName = kSieDefaultTemplate;
    bool yes = false;
    bool allowDifference = false;
};

std::optional<ImportArguments> importArguments(const std::vector<std::string>& args) {
    ImportArguments parsed;
    std::vector<std::string> files;
    bool templateGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--yes" && !parsed.yes) {
            parsed.yes = true;
        } else if (args[i] == "--allow-difference" && !parsed.allowDifference) {
            parsed.allowDifference = true;
        } else if (args[i] == "--template" && !templateGiven && i + 1 < args.size()) {
            parsed.templateName = args[++i];
            templateGiven = true;
        } else if (!args[i].starts_with("--")) {
            files.push_back(args[i]);
        } else {
            return std::nullopt;
        }
    }
    if (files.size() != 2) {
        return std::nullopt;
    }
    parsed.in = files[0];
    parsed.out = files[1];
    return parsed;
}

int importSie(const std::vector<std::string>& args, const std::function<int(const std::string&)>& fail) {
    const auto parsed = importArguments(args);
    if (!parsed) {
        return fail("felaktiga argument till import-sie; se kvistoran-cli --help");
    }
    if (!parsed->out.ends_with(".bok")) {
        return fail("företagsfilen måste sluta på .bok: " + parsed->out);
    }
    if (fileExists(parsed->out)) {
        return fail("filen finns redan och skrivs inte över: " + parsed->out);
    }
    SieImportResult result;
    try {
        const std::string path = fullPath(parsed->in);
        const SieBooks books = readSieBooks(readSieFile(path));
        result = buildSieCompany(
            books, {parsed->templateName, templateFolder(), fileNameOf(path), parsed->allowDifference});
    } catch (const FileError& error) {
        return fail(parsed->in + ": " + error.reason());
    } catch (const SieReadError& error) {
        return fail(parsed->in + ": " + error.what());
    }
    std::cout << result.summary.text();
    if (!result.summary.canImport()) {
        return fail(result.summary.conclusion());
    }
    if (!parsed->yes) {
        std::cout << "\nInget har skrivits. Kör igen med --yes för att skapa företaget i " << parsed->out
                  << ".\n";
        return 0;
    }
    const auto lock = lockCompany(parsed->out, "import-sie");
    if (!lock) {
        return 1;
    }
    const FileReport saved = saveNewCompany(*result.company, fullPath(parsed->out));
    if (!saved.ok) {
        return fail(joined(saved.messages));
    }
    std::cout << "\nFöretaget sparades i " << parsed->out << ".\n";
    return 0;
}

// add-sie FÖRETAG.bok IN.si [--yes]: the file's vouchers into the open period.
int addSie(const std::vector<std::string>& args, const std::function<int(const std::string&)>& fail) {
    std::vector<std::string> files;
    bool yes = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--yes" && !yes) {
            yes = true;
        } else if (args[i].starts_with("--")) {
            return fail("felaktiga argument till add-sie; se kvistoran-cli --help");
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        return fail("add-sie behöver en företagsfil och en SIE-fil; se kvistoran-cli --help");
    }
    const std::string companyPath = fullPath(files[0]);
    std::optional<CompanyLock> lock;
    if (!prepareCompany(companyPath, "add-sie", yes, lock)) {
        return 1;
    }
    CTallvingeDoc doc;
    const FileReport opened = openCompany(doc, companyPath);
    if (!opened.ok) {
        return fail(joined(opened.messages));
    }
    SieBooks books;
    try {
        books = readSieBooks(readSieFile(fullPath(files[1])));
    } catch (const FileError& error) {
        return fail(files[1] + ": " + error.reason());
    } catch (const SieReadError& error) {
        return fail(files[1] + ": " + error.what());
    }
    const std::string name = fileNameOf(files[1]);
    const SieAddSummary summary = planSieVouchers(doc, books, name);
    std::cout << summary.text();
    if (!summary.canAdd()) {
        return fail(summary.conclusion());
    }
    if (!yes) {
        std::cout << "\nInget har skrivits. Kör igen med --yes för att lägga till verifikaten i " << files[0]
                  << ".\n";
        return 0;
    }
    try {
        addSieVouchers(doc, books, name);
    } catch (const DocumentRefusal& refusal) {
        return fail(refusal.what());
    }
    const FileReport saved = saveCompany(doc, companyPath);
    if (!saved.ok) {
        return fail(joined(saved.messages));
    }
    const std::int32_t first = summary.numbers.front().here;
    const std::int32_t last = summary.numbers.back().here;
    std::cout << "\n"
              << summary.numbers.size() << " verifikat lades till (nr " << first
              << (last != first ? "–" + std::to_string(last) : std::string()) << ") och företaget sparades i "
              << files[0] << ".\n";
    return 0;
}

} // namespace

bool isSieCommand(const std::vector<std::string>& args) {
    return !args.empty() && (args[0] == "export-sie" || args[0] == "import-sie" || args[0] == "add-sie");
}

int runSieCommand(const std::vector<std::string>& args, const std::function<int(const std::string&)>& fail) {
    if (args[0] == "export-sie") {
        if (args.size() != 3) {
            return fail("export-sie behöver en företagsfil och en utfil; se kvistoran-cli --help");
        }
        return exportSie(args[1], args[2], fail);
    }
    if (args[0] == "add-sie") {
        return addSie(args, fail);
    }
    return importSie(args, fail);
}

} // namespace kv::cli
