#include "storage/CompanyFiles.h"

#include "storage/CompanyArchive.h"
#include "storage/FileIo.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace kv {

namespace {

std::string folderPart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Drops the last n characters, as far as there are any.
std::string dropLast(const std::string& text, std::size_t n) {
    return text.size() > n ? text.substr(0, text.size() - n) : std::string();
}

// The first count characters of a UTF-8 text.
std::string utf8Prefix(const std::string& text, int count) {
    std::size_t end = 0;
    for (int taken = 0; end < text.size() && taken < count; ++taken) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            ++end;
        }
    }
    return text.substr(0, end);
}

std::string envOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

// A failure as the user sees it: what failed, which file, and why.
std::string failureMessage(const char* what, const std::string& path, const std::string& reason) {
    return std::string(what) + "\n" + path + "\n\n" + reason;
}

// Writes one archive file atomically; reports failures with the period and
// template file messages.
template <typename Write> void writeArchiveFile(const std::string& path, FileReport& report, Write write) {
    std::unique_ptr<AtomicFileWriter> file;
    try {
        file = std::make_unique<AtomicFileWriter>(path);
    } catch (const FileError& error) {
        report.fail(failureMessage(kMsgKanEjSparaPerioden, path, error.reason()));
        return;
    }
    try {
        ArchiveWriter out(*file);
        write(out);
        file->commit();
    } catch (const FileError& error) {
        report.fail(failureMessage(kMsgKanEjSkriva, path, error.reason()));
    } catch (const ArchiveError& error) {
        report.fail(failureMessage(kMsgKanEjSkriva, path, error.what()));
    }
}

// Why a file could not be read: the message that heads it and the reason.
struct ReadFailure {
    const char* what = kMsgKanEjLasa;
    std::string reason;
};

// Reads one archive file under its lock; read fills what it reads.
template <typename Read> std::optional<ReadFailure> readArchiveFile(const std::string& path, Read read) {
    FileHandle handle;
    try {
        handle = openLockedForReading(path);
    } catch (const FileError& error) {
        return ReadFailure{kMsgKanEjOppna, error.reason()};
    }
    try {
        FileSource source(handle.fd());
        ArchiveReader in(source);
        read(in);
        return std::nullopt;
    } catch (const FileError& error) {
        return ReadFailure{kMsgKanEjLasa, error.reason()};
    } catch (const ArchiveError& error) {
        return ReadFailure{kMsgKanEjLasa, error.what()};
    } catch (const std::bad_alloc&) {
        return ReadFailure{kMsgKanEjLasa, "Filen är för stor för datorns minne."};
    }
}

void writePeriodFileAt(CTallvingeDoc& doc, const std::string& companyPath, FileReport& report) {
    makeFolder(periodFolderPath(companyPath)); // a failure shows when the file is created
    writeArchiveFile(periodFilePath(companyPath, doc.m_nAktuellPeriod), report,
                     [&doc](ArchiveWriter& out) { writePeriodArchive(out, doc, doc.m_strFilnamn); });
    if (report.ok) {
        doc.m_strPeriodfilnamn = doc.m_strFilnamn;
    }
}

} // namespace

std::string readArchiveAt(const std::string& path, const std::function<void(ArchiveReader&)>& read) {
    const auto failure = readArchiveFile(path, read);
    return failure ? failure->reason : std::string();
}

std::string fullPath(const std::string& path) {
    std::error_code error;
    const auto full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string companyTitleOf(const std::string& path) { return dropLast(fileNameOf(path), 4); }

std::string periodFolderPath(const std::string& companyPath) {
    return folderPart(companyPath) + companyTitleOf(companyPath) + "_perioder/";
}

std::string periodFilePath(const std::string& companyPath, int index) {
    return periodFolderPath(companyPath) + companyTitleOf(companyPath) + std::to_string(index) + ".per";
}

std::string periodFilePathForOpening(const std::string& companyPath, const std::string& storedFileName, int index) {
    return dropLast(companyPath, 4) + "_perioder/" + dropLast(storedFileName, 4) + std::to_string(index) + ".per";
}

std::string templateFolderPath() {
    if (const char* chosen = std::getenv("KVISTORAN_MALLAR"); chosen != nullptr && *chosen != '\0') {
        return chosen;
    }
    const std::string dataHome = envOr("XDG_DATA_HOME", envOr("HOME", ".") + "/.local/share");
    return dataHome + "/kvistoran/" + kTemplateFolderName;
}

std::string templateFilePath() { return templateFolderPath() + "/" + kTemplateFileName; }

std::string templateFileMessage() {
    return "Kontoplanmallarna sparas i / läses från filen  -" + templateFilePath() + "- . Tryck OK och fortsätt. ";
}

FileReport saveCompany(CTallvingeDoc& doc, const std::string& path) {
    FileReport report;
    const std::string oldEnhet = doc.m_strEnhet;
    const std::string oldFilnamn = doc.m_strFilnamn;
    const auto restoreTexts = [&] {
        doc.m_strEnhet = oldEnhet;
        doc.m_strFilnamn = oldFilnamn;
    };
    std::unique_ptr<AtomicFileWriter> file;
    try {
        file = std::make_unique<AtomicFileWriter>(path);
    } catch (const FileError& error) {
        report.fail(failureMessage(kMsgKanEjSparaForetaget, path, error.reason()));
        return report;
    }
    doc.m_strEnhet = utf8Prefix(fullPath(path), 3);
    doc.m_strFilnamn = fileNameOf(path);
    FileReport periodReport;
    try {
        ArchiveWriter out(*file);
        writeCompanyArchive(out, doc, [&] { writePeriodFileAt(doc, path, periodReport); });
        file->commit();
    } catch (const FileError& error) {
        restoreTexts();
        report.messages = periodReport.messages;
        report.fail(failureMessage(kMsgKanEjSparaForetaget, path, error.reason()));
        return report;
    } catch (const ArchiveError& error) {
        restoreTexts();
        report.messages = periodReport.messages;
        report.fail(failureMessage(kMsgKanEjSparaForetaget, path, error.what()));
        return report;
    }
    doc.setPathName(path);
    report.messages = periodReport.messages;
    report.ok = periodReport.ok;
    // The company file is whole; a period file that did not get through is
    // tried again at the next save, so the document stays modified.
    doc.setModified(!periodReport.ok);
    return report;
}

FileReport openCompany(CTallvingeDoc& doc, const std::string& path) {
    FileReport report;
    CompanyState state;
    const auto failure =
        readArchiveFile(path, [&state](ArchiveReader& in) { state = readCompanyArchive(in); });
    if (failure) {
        doc.clear();
        report.fail(failureMessage("Det gick inte att öppna företaget i filen", path, failure->reason));
        return report;
    }
    doc.replaceState(std::move(state));
    doc.setPathName(path);
    doc.setModified(false);
    return report;
}

FileReport writeOpenPeriodFile(CTallvingeDoc& doc) {
    FileReport report;
    writePeriodFileAt(doc, doc.pathName(), report);
    return report;
}

FileReport readPeriodFile(CTallvingeDoc& doc, int index) {
    FileReport report;
    const std::string path = periodFilePathForOpening(doc.pathName(), doc.m_strFilnamn, index);
    bool belongs = false;
    CompanyState state;
    const auto failure = readArchiveFile(path, [&](ArchiveReader& in) {
        belongs = readPeriodArchiveOwner(in) == doc.m_strFilnamn;
        if (belongs) {
            state = readPeriodArchiveBody(in);
        }
    });
    if (failure) {
        report.fail(failureMessage(failure->what, path, failure->reason));
        return report;
    }
    if (!belongs) {
        report.ok = false;
        return report;
    }
    // Everything the period file holds replaces the document's; the list of
    // periods, the company texts and the run-time fields stay.
    doc.m_nNastaVernr = state.m_nNastaVernr;
    doc.m_nUtskrift1 = state.m_nUtskrift1;
    doc.m_nUtskrift2 = state.m_nUtskrift2;
    doc.m_bNyttForetag = state.m_bNyttForetag;
    doc.m_pBalansGrid = std::move(state.m_pBalansGrid);
    doc.m_pResultatGrid = std::move(state.m_pResultatGrid);
    doc.m_nReserv1 = state.m_nReserv1;
    doc.m_nFranManad = state.m_nFranManad;
    doc.m_nFranAr = state.m_nFranAr;
    doc.m_nReserv2 = state.m_nReserv2;
    doc.m_nTillManad = state.m_nTillManad;
    doc.m_nTillAr = state.m_nTillAr;
    doc.m_nEndastAnvanda = state.m_nEndastAnvanda;
    doc.m_nAktuellPeriod = state.m_nAktuellPeriod;
    doc.m_nVinstrad = state.m_nVinstrad;
    doc.m_allaKonton = std::move(state.m_allaKonton);
    doc.m_resKonton = std::move(state.m_resKonton);
    doc.m_balKonton = std::move(state.m_balKonton);
    doc.m_balNummer = std::move(state.m_balNummer);
    doc.m_resNummer = std::move(state.m_resNummer);
    doc.m_momsregler = std::move(state.m_momsregler);
    doc.m_verifikat = std::move(state.m_verifikat);
    return report;
}

FileReport readTemplates(CTallvingeDoc& doc) {
    FileReport report;
    doc.m_mallar.clear();
    doc.m_bMallfilOlast = 0;
    const std::string path = templateFilePath();
    const bool exists = fileExists(path);
    TemplateList templates;
    std::optional<ReadFailure> failure;
    if (exists) {
        failure =
            readArchiveFile(path, [&templates](ArchiveReader& in) { templates = readTemplateArchive(in); });
    }
    if (exists && !failure) {
        doc.m_mallar = std::move(templates);
    } else {
        report.fail(templateFileMessage());
        if (failure) {
            doc.m_bMallfilOlast = 1;
            report.note(failureMessage(failure->what, path, failure->reason));
        }
    }
    doc.m_bMallarLasta = 1;
    return report;
}

FileReport writeTemplates(CTallvingeDoc& doc) {
    FileReport report;
    if (doc.m_bMallfilOlast != 0) {
        report.fail(kMsgKanEjSparaPerioden);
        report.note("Mallfilen " + templateFilePath() +
                    " kunde inte läsas och skrivs därför inte över. Flytta eller ta bort den och försök igen.");
        doc.m_bMallLage = 0;
        return report;
    }
    makeFolder(templateFolderPath());
    writeArchiveFile(templateFilePath(), report,
                     [&doc](ArchiveWriter& out) { writeTemplateArchive(out, doc.m_mallar); });
    doc.m_bMallLage = 0;
    return report;
}

} // namespace kv
