#include "storage/CompanyFiles.h"

#include "storage/CompanyArchive.h"
#include "storage/CompanyBackups.h"
#include "storage/CompanyDatabase.h"
#include "storage/FileIo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

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

// Writes one archive file atomically; reports failures with the period and
// template file messages. beforeReplace runs once the new file is whole,
// before it takes the old one's place.
template <typename Write>
void writeArchiveFile(const std::string& path, FileReport& report, Write write,
                      const std::function<void(const AtomicFileWriter&)>& beforeReplace = {}) {
    std::unique_ptr<AtomicFileWriter> file;
    try {
        file = std::make_unique<AtomicFileWriter>(path);
    } catch (const FileError& error) {
        report.fail(fileFailureMessage(kMsgKanEjSparaPerioden, path, error.reason()));
        return;
    }
    try {
        ArchiveWriter out(*file);
        write(out);
        if (beforeReplace) {
            beforeReplace(*file);
        }
        file->commit();
    } catch (const FileError& error) {
        report.fail(fileFailureMessage(kMsgKanEjSkriva, path, error.reason()));
    } catch (const ArchiveError& error) {
        report.fail(fileFailureMessage(kMsgKanEjSkriva, path, error.what()));
    }
}

// Why a file could not be read: the message that heads it and the reason.
struct ReadFailure {
    const char* what = kMsgKanEjLasa;
    std::string reason;
};

// Reads one archive file under its lock; read fills what it reads, and
// stamp, when given, the stamp of the file read.
template <typename Read>
std::optional<ReadFailure> readArchiveFile(const std::string& path, Read read, FileStamp* stamp = nullptr) {
    FileHandle handle;
    try {
        handle = openLockedForReading(path);
    } catch (const FileError& error) {
        return ReadFailure{kMsgKanEjOppna, error.reason()};
    }
    if (stamp != nullptr) {
        *stamp = fileStampOf(handle).value_or(FileStamp{});
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

// The open period's file beside the company file at companyPath, owned by the
// company file named owner.
void writePeriodFileAt(const CTallvingeDoc& doc, const std::string& companyPath, const std::string& owner,
                       FileReport& report,
                       const std::function<void(const AtomicFileWriter&)>& beforeReplace = {}) {
    makeFolder(periodFolderPath(companyPath)); // a failure shows when the file is created
    writeArchiveFile(
        periodFilePath(companyPath, doc.state().m_nAktuellPeriod), report,
        [&doc, &owner](ArchiveWriter& out) { writePeriodArchive(out, doc.state(), owner); }, beforeReplace);
}

} // namespace

std::string fileFailureMessage(const char* what, const std::string& path, const std::string& reason) {
    return std::string(what) + "\n" + path + "\n\n" + reason;
}

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

std::string companyTitleOf(const std::string& path) {
    return dropLast(fileNameOf(path), 4);
}

std::string periodFolderPath(const std::string& companyPath) {
    return folderPart(companyPath) + companyTitleOf(companyPath) + "_perioder/";
}

std::string attachmentFolderPath(const std::string& companyPath) {
    return folderPart(companyPath) + companyTitleOf(companyPath) + kAttachmentFolderSuffix + "/";
}

bool isAttachmentStoredName(std::string_view name) {
    if (name.size() != 68) {
        return false;
    }
    for (const char c : name.substr(0, 64)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    const std::string_view extension = name.substr(64);
    return extension == ".pdf" || extension == ".jpg" || extension == ".png";
}

void linkAttachmentFolder(const std::string& from, const std::string& to) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(from, error)) {
        return;
    }
    if (!makeFolder(to)) {
        throw FileError("mkdir " + to, errno);
    }
    fs::directory_iterator entries(from, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        std::error_code kindError;
        if (!isAttachmentStoredName(name) || !entries->is_regular_file(kindError) ||
            entries->is_symlink(kindError)) {
            continue;
        }
        const std::string target = (fs::path(to) / name).string();
        if (fileExists(target)) {
            continue;
        }
        const std::string source = entries->path().string();
        struct stat info {};
        if (::stat(source.c_str(), &info) == 0 && (info.st_mode & 0222) == 0) {
            linkOrCopyFile(source, target);
        } else {
            copyFileReadOnly(source, target);
        }
    }
    if (error) {
        throw FileError("read " + from, error.value());
    }
}

std::optional<std::string> attachmentStoredNameOf(const std::string& sha256, const std::string& kind) {
    const char* extension = kind == "pdf"    ? ".pdf"
                            : kind == "jpeg" ? ".jpg"
                            : kind == "png"  ? ".png"
                                             : nullptr;
    if (extension == nullptr || !isAttachmentStoredName(sha256 + extension)) {
        return std::nullopt;
    }
    return sha256 + extension;
}

std::string periodFilePath(const std::string& companyPath, int index) {
    return periodFolderPath(companyPath) + companyTitleOf(companyPath) + std::to_string(index) + ".per";
}

std::string periodFilePathForOpening(const std::string& companyPath, const std::string& storedFileName,
                                     int index) {
    return dropLast(companyPath, 4) + "_perioder/" + dropLast(storedFileName, 4) + std::to_string(index) +
           ".per";
}

std::string defaultTemplateFolder(const char* chosen, const char* dataHome, const char* home) {
    const auto given = [](const char* value) { return value != nullptr && *value != '\0'; };
    if (given(chosen)) {
        return chosen;
    }
    const std::string data =
        given(dataHome) ? std::string(dataHome) : std::string(given(home) ? home : ".") + "/.local/share";
    return data + "/kvistoran/" + kTemplateFolderName;
}

std::string templateFilePath(const std::string& folder) {
    return folder + "/" + kTemplateFileName;
}

std::string templateFileMessage(const std::string& folder) {
    return "Kontoplanmallarna sparas i / läses från filen  -" + templateFilePath(folder) +
           "- . Tryck OK och fortsätt. ";
}

FileReport saveNewCompany(CTallvingeDoc& doc, const std::string& path) {
    FileReport report;
    const std::string periodFolder = periodFolderPath(path);
    const std::string periodFile = periodFilePath(path, doc.state().m_nAktuellPeriod);
    const std::string database = companyDatabasePath(path);
    for (const std::string* existing : {&path, &periodFile, &database}) {
        if (fileExists(*existing)) {
            report.fail(fileFailureMessage(kMsgKanEjSparaForetaget, *existing,
                                           "Filen finns redan och skrivs inte över av ett nytt företag."));
            return report;
        }
    }
    const bool folderWasThere = fileExists(periodFolder);
    report = saveCompany(doc, path);
    if (!report.ok) {
        // Nothing is left half made: a company file without its period file
        // would stand in the way of the next try.
        ::unlink(path.c_str());
        ::unlink(periodFile.c_str());
        if (!folderWasThere) {
            ::rmdir(periodFolder.c_str());
        }
        doc.filesRemoved();
    }
    return report;
}

FileReport openCompany(CTallvingeDoc& doc, const std::string& path) {
    FileReport report;
    CompanyState state;
    FileStamp stamp;
    const auto failure = readArchiveFile(
        path, [&state](ArchiveReader& in) { state = readCompanyArchive(in); }, &stamp);
    if (failure) {
        doc.startAfresh();
        const auto other = failure->what == kMsgKanEjLasa ? otherFileKind(path) : std::nullopt;
        report.fail(fileFailureMessage("Det gick inte att öppna företaget i filen", path,
                                       other.value_or(failure->reason)));
        return report;
    }
    doc.loadCompany(std::move(state));
    doc.openedFrom(path, stamp);
    return report;
}

std::optional<std::string> otherFileKind(const std::string& path) {
    std::string owner;
    if (!readArchiveFile(path, [&owner](ArchiveReader& in) {
            owner = readPeriodArchiveOwner(in);
            static_cast<void>(readPeriodArchiveBody(in));
        })) {
        std::string told = "Filen är en periodfil (.per), inte ett företag. Den hör till företaget " +
                           companyTitleOf(owner) +
                           ". En period öppnar du inifrån företaget: öppna företagets fil (.bok) med "
                           "Arkiv - Öppna ett företag... och välj sedan Period - Öppna period.";
        // Period files lie in the folder NAME_perioder beside the company file.
        const std::filesystem::path company = std::filesystem::path(path).parent_path().parent_path() / owner;
        std::error_code error;
        if (std::filesystem::is_regular_file(company, error)) {
            told += "\n\nFöretagets fil är:\n" + company.string();
        }
        return told;
    }
    if (!readArchiveFile(path, [](ArchiveReader& in) { static_cast<void>(readTemplateArchive(in)); })) {
        return std::string("Filen är en fil med kontoplanmallar (.mal), inte ett företag. Mallarna i den "
                           "erbjuds när du skapar ett nytt företag med Arkiv - Nytt företag. Öppna en "
                           "företagsfil (.bok) i stället.");
    }
    std::ifstream file(path, std::ios::binary);
    std::string start(16, '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(file.gcount()));
    if (start.empty()) {
        return std::string("Filen är tom. Den innehåller inget företag.");
    }
    if (start.rfind("#FLAGGA", 0) == 0 || start.rfind("#PROGRAM", 0) == 0 || start.rfind("#FORMAT", 0) == 0) {
        return std::string("Filen är en SIE-fil, inte ett företag. Ett företag gör du av den med "
                           "Arkiv - Importera SIE-fil...");
    }
    if (start.rfind("%PDF", 0) == 0) {
        return std::string("Filen är en PDF-fil (en utskrift), inte ett företag. Öppna en företagsfil "
                           "(.bok) i stället.");
    }
    return std::nullopt;
}

FileReport writeOpenPeriodFile(CTallvingeDoc& doc) {
    FileReport report;
    writePeriodFileAt(doc, doc.pathName(), doc.state().m_strFilnamn, report);
    if (report.ok) {
        doc.markPeriodFileWritten();
    }
    return report;
}

FileReport readPeriodFile(CTallvingeDoc& doc, int index) {
    PeriodFileContents read = loadPeriodFile(doc, index);
    if (read.report.ok) {
        // Everything the period file holds replaces the document's; the list of
        // periods, the company texts and the run-time fields stay.
        doc.loadPeriod(std::move(read.period));
    }
    return read.report;
}

PeriodFileContents loadPeriodFile(const CTallvingeDoc& doc, int index) {
    PeriodFileContents read;
    const std::string path = periodFilePathForOpening(doc.pathName(), doc.state().m_strFilnamn, index);
    std::string owner;
    const auto failure = readArchiveFile(path, [&](ArchiveReader& in) {
        owner = readPeriodArchiveOwner(in);
        if (owner == doc.state().m_strFilnamn) {
            read.period = readPeriodArchiveBody(in);
        }
    });
    if (failure) {
        read.report.fail(fileFailureMessage(failure->what, path, failure->reason));
    } else if (owner != doc.state().m_strFilnamn) {
        read.report.fail(fileFailureMessage(kMsgKanEjLasa, path, kMsgAnnatForetag + owner));
    } else if (read.period.m_nAktuellPeriod != index) {
        read.report.fail(fileFailureMessage(kMsgKanEjLasa, path, kMsgAnnanPeriod));
    }
    return read;
}

TemplateFileContents readTemplateFile(const std::string& folder) {
    TemplateFileContents read;
    FileReport& report = read.report;
    const std::string path = templateFilePath(folder);
    const bool exists = fileExists(path);
    std::optional<ReadFailure> failure;
    if (exists) {
        failure =
            readArchiveFile(path, [&read](ArchiveReader& in) { read.templates = readTemplateArchive(in); });
    }
    const bool whole = exists && !failure;
    if (!whole) {
        read.templates.clear();
        // No file yet is how every computer starts: where it will be is news, not a fault.
        if (failure) {
            report.fail(templateFileMessage(folder));
        } else {
            report.ok = false;
            report.inform(templateFileMessage(folder));
        }
        if (failure) {
            report.note(fileFailureMessage(failure->what, path, failure->reason));
        }
    }
    read.unreadable = !whole && exists;
    return read;
}

FileReport writeTemplateFile(const std::string& folder, const TemplateList& templates) {
    FileReport report;
    makeFolder(folder);
    const std::string path = templateFilePath(folder);
    writeArchiveFile(
        path, report, [&templates](ArchiveWriter& out) { writeTemplateArchive(out, templates); },
        [&report, &path](const AtomicFileWriter& file) {
            if (!file.replacesExisting()) {
                return;
            }
            if (const auto reason = keepPreviousVersion(file.replacedPath(), templateBackupPath(path))) {
                report.note(fileFailureMessage(kMsgTemplateBackupFailed, templateBackupPath(path), *reason));
            }
        });
    return report;
}

} // namespace kv
