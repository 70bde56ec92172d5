#include "periods/RenameCompany.h"

#include "chart/ResultRowCheck.h"
#include "chart/UserTemplates.h"
#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"
#include "periods/OpenPeriodFlow.h"
#include "periods/PeriodListModel.h"
#include "periods/PeriodTexts.h"
#include "periods/RenameDialogModel.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace kv {

namespace {

// Which file is at a path (device and inode), so that a file replaced by a
// save can be told from the one that was there before.
std::optional<std::pair<dev_t, ino_t>> fileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return std::pair{info.st_dev, info.st_ino};
}

// What the copy has written under the new name, so that a failed copy can
// take it away again.
class NewCompanyFiles {
public:
    explicit NewCompanyFiles(const std::string& path)
        : m_path(path), m_folder(periodFolderPath(path)), m_before(fileIdentity(path)),
          m_folderExisted(std::filesystem::exists(m_folder)) {}

    void periodWritten(std::int32_t index) { m_periods.push_back(periodFilePath(m_path, index)); }

    // The company's database under the new name: a copy made with SQLite's
    // backup, as the old name keeps its files. Tells the user and returns
    // false when it cannot be made; a database at the new name (the rename
    // dialog refuses a taken name, so only one that came meanwhile) is never
    // taken over.
    bool copyDatabaseFrom(const std::string& fromPath, Prompter& prompter) {
        const std::string source = companyDatabasePath(fromPath);
        if (!fileExists(source)) {
            return true;
        }
        try {
            copyDatabase(source, companyDatabasePath(m_path));
        } catch (const DatabaseError& error) {
            prompter.message(error.what());
            return false;
        }
        m_databaseCopied = true;
        return true;
    }

    // The receipts under the new name, as the database: the old name keeps
    // its folder, the new one gets a hard link of every stored receipt (a
    // copy where the disk has no links), those attached since the last save
    // too, whose records the save under the new name writes. Tells the user
    // and returns false when they cannot be given.
    bool linkAttachmentsFrom(const std::string& fromPath, Prompter& prompter) {
        const std::string source = attachmentFolderPath(fromPath);
        if (!fileExists(source)) {
            return true;
        }
        m_attachmentFolderMade = !fileExists(m_attachments);
        try {
            linkAttachmentFolder(source, m_attachments);
        } catch (const FileError& error) {
            prompter.message(fileFailureMessage(kMsgUnderlagEjMedINamnbyte, source, error.reason()));
            return false;
        }
        return true;
    }

    // Removes the period files written, the period folder if the copy made
    // it, the company file if the copy made or replaced it, the database
    // copied and the folder of receipts if the copy made it.
    void remove() const {
        if (m_attachmentFolderMade) {
            std::error_code ignored;
            std::filesystem::remove_all(m_attachments, ignored);
        }
        if (m_databaseCopied) {
            removeDatabase(companyDatabasePath(m_path));
        }
        std::error_code ignored;
        for (const std::string& file : m_periods) {
            std::filesystem::remove(file, ignored);
        }
        if (!m_folderExisted) {
            std::filesystem::remove(m_folder, ignored); // only when empty
        }
        const auto now = fileIdentity(m_path);
        if (now && now != m_before) {
            std::filesystem::remove(m_path, ignored);
        }
    }

private:
    std::string m_path;
    std::string m_folder;
    std::optional<std::pair<dev_t, ino_t>> m_before;
    bool m_folderExisted;
    std::vector<std::string> m_periods;
    bool m_databaseCopied = false;
    std::string m_attachments = attachmentFolderPath(m_path);
    bool m_attachmentFolderMade = false;
};

bool reportWindowOpen(const AppServices& app) {
    return app.isWindowOpen(WindowKind::IncomeStatement) || app.isWindowOpen(WindowKind::BalanceSheet);
}

// The refusals of step one: both are told before the command stops.
bool mayRename(const AppServices& app, Prompter& prompter) {
    bool told = false;
    if (reportWindowOpen(app)) {
        prompter.message(kMsgStangRapporterForeNamnbyte);
        told = true;
    }
    if (app.isFormOpen(FormKind::Voucher)) {
        prompter.message(kMsgVerifikatdialogenNamnbyte);
        told = true;
    }
    return !told;
}

// The new name the user settles on, or nothing.
std::optional<std::string> askNewName(const CTallvingeDoc& doc, Prompter& prompter) {
    RenameDialogModel dialog(doc);
    if (prompter.show(dialog) != Answer::Ok || !dialog.accepted()) {
        return std::nullopt;
    }
    const std::string path = dialog.folder() + dialog.newName() + kCompanyFileExtension;
    if (fileExists(path) && prompter.askYesNo(overwriteCompanyQuestion(path)) != Answer::Yes) {
        return std::nullopt;
    }
    return path;
}

// Copies every period from the last to the first: each is opened from the
// old folder, as the user would open it, and written to the new one. Returns
// the period that could not be copied, or nothing when all were.
std::optional<std::int32_t> copyPeriods(AppServices& app, const CompanyFileName& from,
                                        const CompanyFileName& to, NewCompanyFiles& written) {
    CTallvingeDoc& doc = app.document();
    for (auto index = static_cast<std::int32_t>(doc.state().m_perioder.size()) - 1; index >= 0; --index) {
        doc.renameTo(from);
        if (openAnotherPeriod(app, index) != OpenPeriodOutcome::Opened) {
            return index;
        }
        doc.renameTo(to);
        const FileReport report = writeOpenPeriodFile(doc);
        tellFileReport(app.prompter(), report);
        if (!report.ok) {
            return index;
        }
        written.periodWritten(index);
    }
    return std::nullopt;
}

} // namespace

bool renameCompany(AppServices& app) {
    CTallvingeDoc& doc = app.document();
    Prompter& prompter = app.prompter();
    if (!mayRename(app, prompter)) {
        return false;
    }
    // Every period is copied by opening it, which needs a sound result row: ask for it first.
    if (!doc.state().m_perioder.empty() && !checkResultRow(doc, prompter)) {
        return false;
    }
    prompter.message(kMsgNamnbyteVarning);
    const auto newPath = askNewName(doc, prompter);
    if (!newPath) {
        return false;
    }
    const CompanyFileName from{doc.pathName(), doc.state().m_strEnhet, doc.state().m_strFilnamn};
    // The company file, written last, stores the first characters of its own path.
    const CompanyFileName to{*newPath, from.enhet, fileNameOf(*newPath)};
    const std::int32_t wasOpen = doc.state().m_nAktuellPeriod;
    NewCompanyFiles written(*newPath);

    const std::optional<std::int32_t> failed = copyPeriods(app, from, to, written);
    if (!failed) {
        // The company file under the new name, with the first period open.
        doc.renameTo(to);
        if (written.copyDatabaseFrom(from.path, prompter) &&
            written.linkAttachmentsFrom(from.path, prompter) && app.save()) {
            return true;
        }
    }
    written.remove();
    doc.renameTo(from);
    const auto& periods = doc.state().m_perioder;
    const std::string what =
        failed ? kRenamePeriodWord + periodListEntry(periods[static_cast<std::size_t>(*failed)], false)
               : std::string(kRenameCompanyFileWord);
    prompter.message(renameFailedMessage(what, companyTitleOf(to.filnamn), companyTitleOf(from.filnamn)));
    if (doc.state().m_nAktuellPeriod != wasOpen) {
        openAnotherPeriod(app, wasOpen); // back where the user was
    }
    return false;
}

} // namespace kv
