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

} // namespace

FileReport saveCompany(CTallvingeDoc& doc, const std::string& path) {
    return saveCompany(doc, path, localTimeNow);
}

FileReport saveCompany(CTallvingeDoc& doc, const std::string& path, const LocalClock& clock) {
    FileReport report;
    std::optional<CompanyLock> lock; // for this save, when the program holds none
    if (const auto refused = saveRefusal(doc, path, lock, report.changedElsewhere)) {
        report.fail(*refused);
        return report;
    }
    // The company file stores the first characters of its own path and its
    // name; the company takes them once the file is in place.
    const CompanyFileName name{path, utf8Prefix(fullPath(path), 3), fileNameOf(path)};
    const bool withRecords = !doc.pendingRecords().empty();
    if (withRecords) {
        // A save that a killed program left pending is settled before this one.
        const FileReport settled = settleInterruptedSaves(path);
        report.messages = settled.messages;
        report.informing = settled.informing;
    }
    SaveFile company;
    company.relative = fileNameOf(path);
    try {
        company.writer = std::make_unique<AtomicFileWriter>(path);
    } catch (const FileError& error) {
        report.fail(fileFailureMessage(kMsgKanEjSparaForetaget, path, error.reason()));
        return report;
    }
    // Before anything is replaced: the company file is locked now, so no
    // other save changes it meanwhile.
    std::optional<CompanyBackup> backup;
    if (company.writer->replacesExisting()) {
        backup.emplace(path, company.writer->replacedPath(), doc.state().m_nAktuellPeriod, clock);
        const std::vector<std::string>& notes = backup->notes();
        for (const std::string& note : notes) {
            report.note(note);
        }
    }
    const auto keepBackup = [&backup] {
        if (backup) {
            backup->keep();
        }
    };

    // Both files whole under their temporary names; nothing is replaced yet.
    const std::string periodPath = periodFilePath(path, doc.state().m_nAktuellPeriod);
    SaveFile period;
    period.relative = companyTitleOf(path) + "_perioder/" + fileNameOf(periodPath);
    FileReport periodReport;
    makeFolder(periodFolderPath(path)); // a failure shows when the file is created
    try {
        period.writer = std::make_unique<AtomicFileWriter>(periodPath);
        if (withRecords) {
            period.writer->takeDigest();
        }
        ArchiveWriter out(*period.writer);
        writePeriodArchive(out, doc.state(), name.filnamn);
        period.writer->finish();
    } catch (const FileError& error) {
        periodReport.fail(fileFailureMessage(period.writer ? kMsgKanEjSkriva : kMsgKanEjSparaPerioden,
                                             periodPath, error.reason()));
        period.writer.reset();
    } catch (const ArchiveError& error) {
        periodReport.fail(fileFailureMessage(kMsgKanEjSkriva, periodPath, error.what()));
        period.writer.reset();
    }
    const auto withPeriodReport = [&](bool ok) {
        report.messages.insert(report.messages.end(), periodReport.messages.begin(),
                               periodReport.messages.end());
        report.informing.resize(report.messages.size(), false);
        report.ok = ok && periodReport.ok;
        return report;
    };
    if (withRecords && !periodReport.ok) {
        // The records belong with the books of the period: none of it is saved.
        withPeriodReport(false);
        report.fail(fileFailureMessage(kMsgKanEjSparaForetaget, path,
                                       "Periodfilen kunde inte sparas, och företagets databas sparas bara "
                                       "tillsammans med den."));
        return report;
    }

    std::unique_ptr<DatabaseSave> database;
    std::vector<SaveFile*> placed; // in the order they are put in place
    try {
        if (withRecords) {
            company.writer->takeDigest();
        }
        {
            ArchiveWriter out(*company.writer);
            writeCompanyArchive(out, doc.state(), name.enhet, name.filnamn, {});
        }
        company.writer->finish();
        if (withRecords) {
            reachStep(SaveStep::FilesWritten);
            keepReplaced(period);
            keepReplaced(company);
            database = std::make_unique<DatabaseSave>(
                companyDatabasePath(path), doc.pendingRecords(),
                std::vector<SaveFileRecord>{recordOf(period), recordOf(company)}, timeText(clock()),
                [] { reachStep(SaveStep::RecordsCommitting); });
            reachStep(SaveStep::RecordsWritten);
            database->commit();
            reachStep(SaveStep::RecordsCommitted);
        }
        // Only a save with records takes its files back: without, a period
        // file in place stays, as the company file's next save expects.
        if (period.writer) {
            if (withRecords) {
                placed.push_back(&period);
            }
            period.writer->commit();
            period.inPlace = true;
            if (!withRecords) {
                keepBackup(); // the period file is replaced, whatever becomes of the company file
            }
            reachStep(SaveStep::PeriodFileInPlace);
        }
        if (withRecords) {
            placed.push_back(&company);
        }
        company.writer->commit();
        company.inPlace = true;
        reachStep(SaveStep::CompanyFileInPlace);
        if (database) {
            database->finish();
        }
    } catch (const std::exception& error) {
        // Whatever got in place goes back; committed records are taken out
        // again, or else by the next opening, which finds the files as they were.
        std::vector<std::string> stuck = putBack(placed);
        dropKept(period);
        dropKept(company);
        if (database && stuck.empty()) { // else the next opening sees which files are in place
            try {
                database->rollBack();
            } catch (const DatabaseError&) {
                // Still pending in the database: settled when the company is next opened.
            }
        }
        const auto* fileError = dynamic_cast<const FileError*>(&error);
        const auto* databaseError = dynamic_cast<const DatabaseError*>(&error);
        withPeriodReport(false);
        if (databaseError != nullptr) {
            report.fail(std::string(databaseError->what()) + kMsgNothingSaved);
        } else if (fileError != nullptr) {
            report.fail(fileFailureMessage(kMsgKanEjSparaForetaget, path, fileError->reason()));
        } else if (dynamic_cast<const ArchiveError*>(&error) != nullptr) {
            report.fail(fileFailureMessage(kMsgKanEjSparaForetaget, path, error.what()));
        } else {
            throw;
        }
        for (const std::string& note : stuck) {
            report.note(note);
        }
        if (period.inPlace && !withRecords) {
            keepBackup();
        }
        return report;
    }
    if (withRecords) {
        reachStep(SaveStep::SaveDone);
    }
    dropKept(period);
    dropKept(company);
    keepBackup();
    if (withRecords) {
        doc.pendingRecordsSaved();
    }
    withPeriodReport(true);
    // The company file is whole; a period file that did not get through is
    // tried again at the next save, so the document stays modified.
    doc.savedAs(name, periodReport.ok, company.writer->stamp());
    return report;
}

void setSaveStepHook(SaveStepHook hook) {
    saveStepHook() = std::move(hook);
}

} // namespace kv
