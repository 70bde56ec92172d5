#include "sie/SieFlows.h"

#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "sie/SieAddVouchers.h"
#include "sie/SieFiles.h"
#include "sie/SieImport.h"
#include "sie/SieWriter.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <new>
#include <optional>

namespace kv {

namespace {

constexpr const char* kMsgKanEjLasas = "SIE-filen kan inte läsas in";
constexpr const char* kMsgKanEjSkrivas = "Det gick inte att skriva SIE-filen";
constexpr const char* kMsgExporterat = "Företaget är exporterat till SIE-filen";
constexpr const char* kMsgForLitetMinne = "Filen är för stor för datorns minne.";

// What failed, the file and why, as the file messages of the program read.
std::string failure(const char* what, const std::string& path, const std::string& reason) {
    return std::string(what) + "\n" + path + "\n\n" + reason;
}

std::optional<SieBooks> readBooks(Prompter& prompter, const std::string& path) {
    try {
        return readSieBooks(readSieFile(path));
    } catch (const FileError& error) {
        prompter.message(failure(kMsgKanEjLasas, path, error.reason()));
    } catch (const SieReadError& error) {
        prompter.message(failure(kMsgKanEjLasas, path, error.what()));
    } catch (const std::bad_alloc&) {
        prompter.message(failure(kMsgKanEjLasas, path, kMsgForLitetMinne));
    }
    return std::nullopt;
}

// A SIE file the user chooses, read; its full path and books, or nothing when
// the user cancels or the file is refused (which the user has been told).
struct ChosenBooks {
    std::string path;
    SieBooks books;
};

std::optional<ChosenBooks> chooseBooks(Prompter& prompter, const char* title) {
    const auto chosen = prompter.chooseSieFileToOpen(title);
    if (!chosen || chosen->empty()) {
        return std::nullopt;
    }
    std::string path = fullPath(*chosen);
    std::optional<SieBooks> books = readBooks(prompter, path);
    if (!books) {
        return std::nullopt;
    }
    return ChosenBooks{std::move(path), std::move(*books)};
}

// The template chooser of a new company, with the 247-account template chosen.
std::optional<std::string> chooseImportTemplate(Prompter& prompter, TemplateStore& templates) {
    tellFileReport(prompter, templates.read());
    prompter.message(kMsgValjImportmall);
    CTallvingeDoc scratch; // what OK chooses lands here; only the name is taken
    TemplateChooserModel chooser(scratch, templates);
    chooser.selectName(kSieDefaultTemplate);
    if (prompter.show(chooser) != Answer::Ok) {
        return std::nullopt;
    }
    return chooser.entries()[static_cast<std::size_t>(chooser.selected())];
}

std::optional<SieImportResult> buildCompany(Prompter& prompter, const SieBooks& books,
                                            const std::string& path, const SieImportRequest& request) {
    try {
        return buildSieCompany(books, request);
    } catch (const SieReadError& error) {
        prompter.message(failure(kMsgKanEjLasas, path, error.what()));
    } catch (const std::bad_alloc&) {
        prompter.message(failure(kMsgKanEjLasas, path, kMsgForLitetMinne));
    }
    return std::nullopt;
}

} // namespace

std::string withExtension(const std::string& path, const char* extension) {
    return fileNameOf(path).find('.') == std::string::npos ? path + extension : path;
}

std::string fileNameFor(const std::string& companyName, const char* extension) {
    std::string name;
    for (const char c : companyName) {
        const bool unfit = c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
        name.push_back(unfit ? '-' : c);
    }
    const auto first = name.find_first_not_of(" .");
    name = first == std::string::npos ? std::string() : name.substr(first);
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    return (name.empty() ? std::string("Namnlös") : name) + extension;
}

void runSieExport(const CTallvingeDoc& doc, Prompter& prompter) {
    SieExport exported;
    try {
        exported = writeSie(doc, sieToday());
    } catch (const DocumentRefusal& refusal) {
        prompter.message(refusal.what());
        return;
    }
    const auto chosen = prompter.chooseSieSaveName(fileNameFor(sieCompanyName(doc), kSieFileExtension));
    if (!chosen || chosen->empty()) {
        return;
    }
    const std::string path = withExtension(fullPath(*chosen), kSieFileExtension);
    try {
        writeSieFile(path, exported.bytes);
    } catch (const FileError& error) {
        prompter.message(failure(kMsgKanEjSkrivas, path, error.reason()));
        return;
    }
    std::string told = failure(kMsgExporterat, path,
                               std::to_string(exported.accounts) + " konton och " +
                                   std::to_string(exported.vouchers) + " verifikat.");
    for (const std::string& note : exported.notes) {
        told += "\n\n" + note;
    }
    prompter.say(MessageKind::Information, told);
}

void runSieAdd(CTallvingeDoc& doc, Prompter& prompter) {
    const std::optional<ChosenBooks> chosen = chooseBooks(prompter, kSieAddOpenTitle);
    if (!chosen) {
        return;
    }
    const std::string& path = chosen->path;
    const SieBooks& books = chosen->books;
    SieAddSummary summary = planSieVouchers(doc, books, fileNameOf(path));
    if (prompter.show(summary) != Answer::Yes || !summary.canAdd()) {
        return;
    }
    try {
        addSieVouchers(doc, books, fileNameOf(path));
    } catch (const DocumentRefusal& refusal) {
        prompter.message(failure(kMsgKanEjLasas, path, refusal.what()));
        return;
    }
    const std::int32_t first = summary.numbers.front().here;
    const std::int32_t last = summary.numbers.back().here;
    prompter.say(MessageKind::Information, std::to_string(summary.numbers.size()) +
                                               " verifikat lades till som nr " + std::to_string(first) +
                                               (last != first ? "–" + std::to_string(last) : std::string()) +
                                               ". De sparas med företaget nästa gång det sparas.");
}

void runSieImport(Prompter& prompter, TemplateStore& templates,
                  const std::function<bool(const std::string&)>& openCompany) {
    const std::optional<ChosenBooks> chosen = chooseBooks(prompter, kSieOpenTitle);
    if (!chosen) {
        return;
    }
    const std::string& path = chosen->path;
    const SieBooks& books = chosen->books;
    const auto templateName = chooseImportTemplate(prompter, templates);
    if (!templateName) {
        return;
    }
    std::optional<SieImportResult> result =
        buildCompany(prompter, books, path, {*templateName, templates.folder(), fileNameOf(path)});
    if (!result) {
        return;
    }
    if (prompter.show(result->summary) != Answer::Yes || !result->summary.canImport()) {
        return;
    }
    const auto saveName = prompter.chooseCompanySaveName(fileNameFor(result->summary.companyName, ".bok"));
    if (!saveName || saveName->empty()) {
        return;
    }
    const std::string target = withExtension(fullPath(*saveName), kCompanyFileExtension);
    const FileReport saved = saveNewCompany(*result->company, target);
    tellFileReport(prompter, saved);
    if (saved.ok) {
        openCompany(target);
    }
}

} // namespace kv
