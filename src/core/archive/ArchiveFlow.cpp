#include "archive/ArchiveFlow.h"

#include "archive/ArchivePlan.h"
#include "interaction/Prompter.h"
#include "sie/SieFlows.h"
#include "storage/CompanyFiles.h"

#include <sys/stat.h>

namespace kv {

namespace {

bool endsWithZip(const std::string& path) {
    const std::string name = fileNameOf(path);
    if (name.size() <= 4) {
        return false;
    }
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return tail == kArchiveFileExtension;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The company's name as a file name: the company file's own name without
// ".bok", else the title.
std::string companyFileName(const CTallvingeDoc& doc) {
    if (!doc.neverSaved() && !doc.pathName().empty()) {
        std::string name = fileNameOf(doc.pathName());
        if (name.size() > 4 && name.ends_with(kCompanyFileExtension)) {
            name.resize(name.size() - 4);
        }
        if (!name.empty()) {
            return name;
        }
    }
    return doc.title();
}

// The archive is the whole period's: a run of months the reports show now
// is set aside while it is drawn, and shown again after.
class WholePeriod {
public:
    explicit WholePeriod(CTallvingeDoc& doc) : m_doc(doc) {
        const CompanyState& company = doc.state();
        if (company.m_nDelperiod == 1) {
            m_range = MonthRange{{company.m_nDelFranAr, company.m_nDelFranManad},
                                 {company.m_nDelTillAr, company.m_nDelTillManad}};
            doc.setMonthRange(std::nullopt);
        }
    }
    WholePeriod(const WholePeriod&) = delete;
    WholePeriod& operator=(const WholePeriod&) = delete;
    ~WholePeriod() {
        if (m_range) {
            m_doc.setMonthRange(m_range);
        }
    }

private:
    CTallvingeDoc& m_doc;
    std::optional<MonthRange> m_range;
};

} // namespace

std::string suggestedArchivePath(const CTallvingeDoc& doc) {
    std::string years;
    if (doc.hasOpenPeriod()) {
        const std::int32_t from = doc.periodStart().year;
        const std::int32_t to = doc.periodEnd().year;
        years = "-" + std::to_string(from) + (to != from ? "-" + std::to_string(to) : std::string());
    }
    const std::string name = fileNameFor(companyFileName(doc) + years, kArchiveFileExtension);
    if (doc.neverSaved() || doc.pathName().empty()) {
        return name;
    }
    return folderOf(doc.pathName()) + "/" + name;
}

std::string archivePathOf(const std::string& chosen) {
    const std::string full = fullPath(chosen);
    return endsWithZip(full) ? full : full + kArchiveFileExtension;
}

std::optional<std::string> runYearArchive(AppServices& app, const YearArchiveWriter& write) {
    Prompter& prompter = app.prompter();
    if (const auto refusal = archiveRefusal(app.document())) {
        prompter.message(*refusal);
        return std::nullopt;
    }
    if (app.document().neverSaved() || app.document().isModified()) {
        if (prompter.askOkCancel(kMsgArkivSparaForst) != Answer::Ok || !app.save()) {
            return std::nullopt;
        }
    }
    // The save may have asked for a name: the suggestion follows it.
    const CTallvingeDoc& doc = app.document();
    const auto chosen = prompter.chooseArchiveSaveName(suggestedArchivePath(doc));
    if (!chosen || chosen->empty()) {
        return std::nullopt;
    }
    const std::string path = archivePathOf(*chosen);
    // The dialog asked about the name typed; a name the extension was added to is asked about here.
    if (path != fullPath(*chosen) && exists(path) &&
        prompter.askOkCancel("Filen " + path + " finns redan. Vill du ersätta den ?", Answer::Cancel) !=
            Answer::Ok) {
        return std::nullopt;
    }
    try {
        const WholePeriod whole(app.document());
        write(doc, path, archiveAttachments(doc));
    } catch (const YearArchiveError& error) {
        prompter.say(MessageKind::Failure, kMsgArkivKanEjSkapas + std::string(error.what()));
        return std::nullopt;
    } catch (const DocumentRefusal& refusal) {
        prompter.say(MessageKind::Failure, kMsgArkivKanEjSkapas + std::string(refusal.what()));
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        prompter.say(MessageKind::Failure, kMsgArkivKanEjSkapas + std::string("för lite minne."));
        return std::nullopt;
    }
    prompter.say(MessageKind::Information, kMsgArkivSkapat + path);
    return path;
}

void registerArchiveCommands(CommandRegistry& commands, AppServices& app) {
    commands.add(CommandId::YearArchive, {[](const AppState& s) { return enabledIf(s.hasBooks()); },
                                          [&app] { app.performWindowCommand(CommandId::YearArchive); }});
}

} // namespace kv
