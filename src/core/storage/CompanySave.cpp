// Saving a company: the company file, the open period's file and the records
// of the company's database, all of it or none (see CompanyFiles.h).
#include "storage/CompanyArchive.h"
#include "storage/CompanyBackups.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/CompanyLock.h"
#include "storage/FileIo.h"
#include "storage/SaveRecovery.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>

namespace kv {

namespace {

constexpr const char* kMsgNothingSaved = "\n\nFöretaget sparades inte: filerna och databasen är som de var.";

SaveStepHook& saveStepHook() {
    static SaveStepHook hook;
    return hook;
}

void reachStep(SaveStep step) {
    if (saveStepHook()) {
        saveStepHook()(step);
    }
}

std::string folderPart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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

// "2026-12-10 14:03:25"
std::string timeText(const LocalTime& time) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return text.data();
}

// One file of the save: written whole under its temporary name first, put
// in place later.
struct SaveFile {
    std::unique_ptr<AtomicFileWriter> writer;
    std::string relative; // the target, from the company file's folder
    std::string kept;     // the replaced file's second name while the save runs, when it has one
    bool inPlace = false;
};

// The replaced files' second names, so that a save that fails once a file
// is in place puts the earlier one back. Returns the failure, if any.
void keepReplaced(SaveFile& file) {
    if (!file.writer->replacesExisting()) {
        return;
    }
    const std::string& target = file.writer->replacedPath();
    std::random_device random;
    const std::string kept = folderPart(target) + keptFileName(fileNameOf(target), random());
    linkOrCopyFile(target, kept);
    file.kept = kept;
}

SaveFileRecord recordOf(const SaveFile& file) {
    return {file.relative, fileNameOf(file.writer->temporaryPath()),
            file.kept.empty() ? std::string() : fileNameOf(file.kept), file.writer->size(),
            file.writer->digest()};
}

// Every file back as it was before the save, newest first: the second name
// taken back, or a file the save made removed. Returns what could not be
// put back, for the user.
std::vector<std::string> putBack(std::vector<SaveFile*> files) {
    std::vector<std::string> failed;
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        SaveFile& put = **file;
        const std::string& target = put.writer->replacedPath();
        if (put.inPlace && put.kept.empty()) {
            if (::unlink(target.c_str()) != 0 && errno != ENOENT) {
                failed.push_back(fileFailureMessage("Filen som sparandet gjorde kunde inte tas bort", target,
                                                    describeFileError(errno)));
            }
        } else if (put.inPlace && ::rename(put.kept.c_str(), target.c_str()) != 0) {
            failed.push_back(
                fileFailureMessage("Den tidigare versionen kunde inte läggas tillbaka", target,
                                   describeFileError(errno) + " Den finns kvar i filen " + put.kept + "."));
            continue; // left for the user, and for the next opening
        }
        if (!put.kept.empty()) {
            ::unlink(put.kept.c_str());
        }
        put.inPlace = false;
        put.kept.clear();
    }
    return failed;
}

void dropKept(SaveFile& file) {
    if (!file.kept.empty()) {
        ::unlink(file.kept.c_str());
        file.kept.clear();
    }
}

// Why the save may not write at path, if it may not: another program holds
// the company, or put another file where the company's own stood.
std::optional<std::string> saveRefusal(const CTallvingeDoc& doc, const std::string& path,
                                       std::optional<CompanyLock>& lock, bool& changedElsewhere) {
    if (doc.isReadOnly()) {
        return std::string(kMsgReadOnlyNotSaved);
    }
    if (!CompanyLock::heldHere(path)) {
        auto taken = CompanyLock::take(path, kWindowProgramName);
        if (const auto* holder = std::get_if<LockHolder>(&taken)) {
            return fileFailureMessage(kMsgKanEjSparaForetaget, path, companyInUseMessage(*holder));
        }
        lock.emplace(std::move(std::get<CompanyLock>(taken)));
    }
    const std::optional<FileStamp> read = doc.fileStampAt(path);
    const std::optional<FileStamp> now = fileStampOf(path);
    if (read && now && *read != *now) {
        changedElsewhere = true;
        return fileFailureMessage(kMsgKanEjSparaForetaget, path, kMsgChangedElsewhere);
    }
    return std::nullopt;
}

// One save of a company, step by step (see saveCompany in CompanyFiles.h).
class CompanySaving {
public:
    CompanySaving(CTallvingeDoc& doc, const std::string& path, const LocalClock& clock)
        : m_doc(doc), m_path(path),
          m_clock(clock), m_name{path, utf8Prefix(fullPath(path), 3), fileNameOf(path)},
          m_withRecords(!doc.pendingRecords().empty()) {}

    FileReport run() {
        if (const auto refused = saveRefusal(m_doc, m_path, m_lock, m_report.changedElsewhere)) {
            m_report.fail(*refused);
            return m_report;
        }
        if (m_withRecords) {
            // A save that a killed program left pending is settled before this one.
            m_report = settleInterruptedSaves(m_path);
        }
        if (!startCompanyFile()) {
            return m_report;
        }
        writePeriodFile();
        if (m_withRecords && !m_periodReport.ok) {
            // The records belong with the books of the period: none of it is saved.
            takePeriodReport(false);
            m_report.fail(fileFailureMessage(kMsgKanEjSparaForetaget, m_path,
                                             "Periodfilen kunde inte sparas, och företagets databas sparas "
                                             "bara tillsammans med den."));
            return m_report;
        }
        try {
            writeCompanyFile();
            if (m_withRecords) {
                recordSave();
            }
            placeFiles();
        } catch (const std::exception& error) {
            return failed(error);
        }
        return done();
    }

private:
    // The company file's writer, and the backup of what it replaces: the
    // company file is locked from now on, so no other save changes it.
    bool startCompanyFile() {
        m_company.relative = fileNameOf(m_path);
        try {
            m_company.writer = std::make_unique<AtomicFileWriter>(m_path);
        } catch (const FileError& error) {
            m_report.fail(fileFailureMessage(kMsgKanEjSparaForetaget, m_path, error.reason()));
            return false;
        }
        if (m_company.writer->replacesExisting()) {
            m_backup.emplace(m_path, m_company.writer->replacedPath(), m_doc.state().m_nAktuellPeriod,
                             m_clock);
            for (const std::string& note : m_backup->notes()) {
                m_report.note(note);
            }
        }
        return true;
    }

    // The open period's file, whole under its temporary name.
    void writePeriodFile() {
        const std::string periodPath = periodFilePath(m_path, m_doc.state().m_nAktuellPeriod);
        m_period.relative = companyTitleOf(m_path) + "_perioder/" + fileNameOf(periodPath);
        makeFolder(periodFolderPath(m_path)); // a failure shows when the file is created
        try {
            m_period.writer = std::make_unique<AtomicFileWriter>(periodPath);
            if (m_withRecords) {
                m_period.writer->takeDigest();
            }
            ArchiveWriter out(*m_period.writer);
            writePeriodArchive(out, m_doc.state(), m_name.filnamn);
            m_period.writer->finish();
        } catch (const FileError& error) {
            m_periodReport.fail(fileFailureMessage(m_period.writer ? kMsgKanEjSkriva : kMsgKanEjSparaPerioden,
                                                   periodPath, error.reason()));
            m_period.writer.reset();
        } catch (const ArchiveError& error) {
            m_periodReport.fail(fileFailureMessage(kMsgKanEjSkriva, periodPath, error.what()));
            m_period.writer.reset();
        }
    }

    // The company file, whole under its temporary name. Throws.
    void writeCompanyFile() {
        if (m_withRecords) {
            m_company.writer->takeDigest();
        }
        {
            ArchiveWriter out(*m_company.writer);
            writeCompanyArchive(out, m_doc.state(), m_name.enhet, m_name.filnamn, {});
        }
        m_company.writer->finish();
    }

    // The records, with what the files will be, committed as a pending save. Throws.
    void recordSave() {
        reachStep(SaveStep::FilesWritten);
        keepReplaced(m_period);
        keepReplaced(m_company);
        m_database = std::make_unique<DatabaseSave>(
            companyDatabasePath(m_path), m_doc.pendingRecords(),
            std::vector<SaveFileRecord>{recordOf(m_period), recordOf(m_company)}, timeText(m_clock()),
            [] { reachStep(SaveStep::RecordsCommitting); });
        reachStep(SaveStep::RecordsWritten);
        m_database->commit();
        reachStep(SaveStep::RecordsCommitted);
    }

    // The period file, then the company file, in place; the save marked done. Throws.
    void placeFiles() {
        if (m_period.writer) {
            // Only a save with records takes its files back: without, a period
            // file in place stays, as the company file's next save expects.
            if (m_withRecords) {
                m_placed.push_back(&m_period);
            }
            m_period.writer->commit();
            m_period.inPlace = true;
            if (!m_withRecords) {
                keepBackup(); // the period file is replaced, whatever becomes of the company file
            }
            reachStep(SaveStep::PeriodFileInPlace);
        }
        if (m_withRecords) {
            m_placed.push_back(&m_company);
        }
        m_company.writer->commit();
        m_company.inPlace = true;
        reachStep(SaveStep::CompanyFileInPlace);
        if (m_database) {
            m_database->finish();
        }
    }

    // Whatever got in place goes back, and committed records are taken out
    // again (or else by the next opening, which finds the files as they were).
    FileReport failed(const std::exception& error) {
        const std::vector<std::string> stuck = putBack(m_placed);
        dropKept(m_period);
        dropKept(m_company);
        if (m_database && stuck.empty()) {
            try {
                m_database->rollBack();
            } catch (const DatabaseError&) {
                // Still pending in the database: settled when the company is next opened.
            }
        }
        takePeriodReport(false);
        if (const auto* database = dynamic_cast<const DatabaseError*>(&error)) {
            m_report.fail(std::string(database->what()) + kMsgNothingSaved);
        } else if (const auto* file = dynamic_cast<const FileError*>(&error)) {
            m_report.fail(fileFailureMessage(kMsgKanEjSparaForetaget, m_path, file->reason()));
        } else if (dynamic_cast<const ArchiveError*>(&error) != nullptr) {
            m_report.fail(fileFailureMessage(kMsgKanEjSparaForetaget, m_path, error.what()));
        } else {
            throw; // out of memory: the files are back as they were
        }
        for (const std::string& note : stuck) {
            m_report.note(note);
        }
        return m_report;
    }

    FileReport done() {
        if (m_withRecords) {
            reachStep(SaveStep::SaveDone);
            m_doc.pendingRecordsSaved();
        }
        dropKept(m_period);
        dropKept(m_company);
        keepBackup();
        takePeriodReport(true);
        // The company file is whole; a period file that did not get through is
        // tried again at the next save, so the document stays modified.
        m_doc.savedAs(m_name, m_periodReport.ok, m_company.writer->stamp());
        return m_report;
    }

    void keepBackup() {
        if (m_backup) {
            m_backup->keep();
        }
    }

    // What the period file had to say goes after what was said before it.
    void takePeriodReport(bool ok) {
        for (std::size_t i = 0; i < m_periodReport.messages.size(); ++i) {
            m_report.note(m_periodReport.messages[i]);
        }
        m_report.ok = ok && m_periodReport.ok;
    }

    CTallvingeDoc& m_doc;
    const std::string& m_path;
    const LocalClock& m_clock;
    const CompanyFileName m_name;
    const bool m_withRecords;
    std::optional<CompanyLock> m_lock; // for this save, when the program holds none
    FileReport m_report;
    FileReport m_periodReport;
    SaveFile m_company;
    SaveFile m_period;
    std::optional<CompanyBackup> m_backup;
    std::unique_ptr<DatabaseSave> m_database;
    std::vector<SaveFile*> m_placed; // in the order they are put in place
};

} // namespace

FileReport saveCompany(CTallvingeDoc& doc, const std::string& path) {
    return saveCompany(doc, path, localTimeNow);
}

FileReport saveCompany(CTallvingeDoc& doc, const std::string& path, const LocalClock& clock) {
    return CompanySaving(doc, path, clock).run();
}

void setSaveStepHook(SaveStepHook hook) {
    saveStepHook() = std::move(hook);
}

} // namespace kv
