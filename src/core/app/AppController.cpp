#include "app/AppController.h"

#include "app/AppCommands.h"
#include "app/AppTexts.h"
#include "app/SetupFlow.h"
#include "attachments/Attachments.h"
#include "backup/BackupFlow.h" // Backups
#include "interaction/Prompter.h"
#include "interaction/WindowHost.h"
#include "model/DocumentTexts.h"
#include "periods/FirstPeriod.h"
#include "storage/CompanyFiles.h"
#include "storage/SaveRecovery.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <stdexcept>

namespace kv {

namespace {

std::int32_t currentYear() {
    const std::chrono::year_month_day today{
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    return static_cast<std::int32_t>(static_cast<int>(today.year()));
}

} // namespace

std::string withCompanyExtension(const std::string& path) {
    if (fileNameOf(path).find('.') == std::string::npos) {
        return path + kCompanyFileExtension;
    }
    return path;
}

AppController::AppController(Prompter& prompter, std::string templateFolder)
    : m_prompter(prompter), m_templates(std::move(templateFolder)) {
    registerFileCommands();
    registerSubsystemCommands(m_commands, *this);
}

AppController::~AppController() {
    // The forms let go of the company before it goes.
    m_forms.clear();
    m_finishedForms.clear();
}

AppState AppController::state() const {
    AppState s;
    s.companyOpen = m_doc != nullptr;
    if (m_doc) {
        const CompanyState& company = m_doc->state();
        s.incomeChartApproved = m_doc->incomeChartApproved();
        s.balanceChartApproved = m_doc->balanceChartApproved();
        s.hasChartRows = !company.m_allaKonton.empty();
        s.voucherDialogOpen = isFormOpen(FormKind::Voucher);
        s.periodHasVouchers = !company.m_verifikat.empty();
        s.periodCount = static_cast<int>(company.m_perioder.size());
        s.currentPeriod = company.m_nAktuellPeriod;
        s.periodOpen = m_doc->hasOpenPeriod();
        s.modified = m_doc->isModified();
        s.neverSaved = m_doc->neverSaved();
        s.readOnly = m_doc->isReadOnly();
        s.onlyUsedAccounts = company.m_nEndastAnvanda == 1;
    }
    for (const WindowKind kind : m_windows.openWindows()) {
        s.setOpen(kind, true);
    }
    s.activeWindow = m_windows.active();
    s.recentFileCount = static_cast<int>(m_recent.size());
    if (m_host != nullptr) {
        m_host->describe(s);
    }
    return s;
}

MenuBarId AppController::menuBar() const {
    return menuBarFor(state());
}

std::string AppController::mainWindowTitle() const {
    if (!m_doc) {
        return kMainWindowTitle;
    }
    return std::string(kMainWindowTitle) + " - " + m_doc->title() +
           (m_doc->isReadOnly() ? kSkrivskyddatTitel : "");
}

void AppController::execute(CommandId id) {
    m_finishedForms.clear();
    contained([this, id] { m_commands.run(id, state()); });
    shellChanged();
}

// A command that throws has had its changes rolled back by its change
// scopes on the way out; here it is told, and the program goes on.
void AppController::contained(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::bad_alloc&) {
        m_prompter.say(MessageKind::Failure, kMsgOutOfMemory);
    } catch (const std::exception& failure) {
        m_prompter.say(MessageKind::Failure, commandFailureMessage(failure));
    }
}

bool AppController::openAtStartUp(const std::string& path) {
    if (m_doc) {
        return false;
    }
    const bool opened = openCompanyAt(path, false);
    shellChanged();
    return opened;
}

void AppController::runChartGuidance() {
    if (m_doc) {
        contained([this] { kv::runChartGuidance(*this); });
        shellChanged();
    }
}

CTallvingeDoc& AppController::document() {
    if (!m_doc) {
        throw std::logic_error("a command of the company ran without a company");
    }
    return *m_doc;
}

// ---- files ----

void AppController::registerFileCommands() {
    using C = CommandId;
    const auto noCompany = [](const AppState& s) { return enabledIf(!s.companyOpen); };
    const auto withCompany = [](const AppState& s) { return enabledIf(s.companyOpen); };
    m_commands.add(C::NewCompany, {noCompany, [this] { newCompany(); }});
    m_commands.add(C::OpenCompany, {noCompany, [this] { openChosenCompany(); }});
    m_commands.add(C::CloseCompany, {withCompany, [this] { closeCompany(); }});
    const auto exit = [this] {
        if (closeCompany() && m_host != nullptr) {
            m_host->closeMainWindow();
        }
    };
    m_commands.add(C::Exit, {withCompany, exit});
    m_commands.add(C::AppExit, {[](const AppState&) { return enabledIf(true); }, exit});
    m_commands.add(C::Save, writing([](const AppState& s) { return enabledIf(s.companyOpen && s.modified); },
                                    [this] { save(); }));
    m_commands.add(C::SaveAs,
                   writing([](const AppState& s) { return enabledIf(s.companyOpen && s.neverSaved); },
                           [this] { saveAs(); }));
    // Backups: the chosen backup, written as a company of its own, opens in
    // the company's place once the company has closed (with its save question).
    m_commands.add(C::Backups, {[](const AppState& s) { return enabledIf(s.companyOpen && !s.neverSaved); },
                                [this] {
                                    const auto copy = restoreChosenBackup(*m_doc, m_prompter);
                                    if (!copy) {
                                        return;
                                    }
                                    if (closeCompany()) {
                                        openCompanyAt(*copy, false);
                                    } else {
                                        m_prompter.say(MessageKind::Information, backupKeptMessage(*copy));
                                    }
                                }});
    for (int index = 0; index < 4; ++index) {
        m_commands.add(
            recentFileCommand(index),
            {[index](const AppState& s) { return enabledIf(!s.companyOpen && index < s.recentFileCount); },
             [this, index] {
                 const std::string path = m_recent.files()[static_cast<std::size_t>(index)];
                 openCompanyAt(path, true);
             }});
    }
}

void AppController::takeCompany(std::unique_ptr<CTallvingeDoc> doc) {
    m_windows.clear();
    m_doc = std::move(doc);
    m_reportSettings = {};
    m_subscription = m_doc->subscribe(*this);
    openWindow(WindowKind::Journal);
    askFirstPeriod();
}

void AppController::askFirstPeriod() {
    // A new company's first question, asked once its journal shows.
    if (m_doc) {
        runFirstPeriodPrompt(*m_doc, m_prompter, currentYear());
    }
}

void AppController::newCompany() {
    takeCompany(std::make_unique<CTallvingeDoc>());
}

void AppController::openChosenCompany() {
    if (const auto path = m_prompter.chooseCompanyToOpen()) {
        openCompanyAt(*path, false);
    }
}

bool AppController::openCompanyAt(const std::string& path, bool fromRecentList) {
    const std::string full = fullPath(path);
    auto doc = std::make_unique<CTallvingeDoc>();
    // One program writes a company at a time: the lock is taken before the
    // files are read, and what a killed save left is settled under it.
    std::optional<CompanyLock> lock;
    auto taken = CompanyLock::take(full, kWindowProgramName);
    if (const auto* holder = std::get_if<LockHolder>(&taken)) {
        if (m_prompter.askToProceed(companyInUseMessage(*holder) + "\n\n" + kMsgOppnaSkrivskyddat,
                                    kOppnaSkrivskyddat) != Answer::Ok) {
            return false;
        }
        doc->openedReadOnly();
    } else {
        lock.emplace(std::move(std::get<CompanyLock>(taken)));
        const FileReport recovered = recoverCompany(full);
        for (std::size_t i = 0; i < recovered.messages.size(); ++i) {
            m_prompter.say(recovered.informs(i) ? MessageKind::Information : MessageKind::Refusal,
                           recovered.messages[i]);
        }
    }
    const FileReport report = kv::openCompany(*doc, full);
    for (const std::string& text : report.messages) {
        m_prompter.message(text);
    }
    if (!report.ok) {
        // A recent file that cannot be opened leaves the list, as it would be offered in vain.
        if (fromRecentList) {
            m_recent.remove(path);
        }
        return false;
    }
    m_recent.add(full);
    takeCompany(std::move(doc));
    m_lock = std::move(lock);
    return true;
}

std::optional<CompanyLock> AppController::lockFor(const std::string& path) {
    auto taken = CompanyLock::take(path, kWindowProgramName);
    if (const auto* holder = std::get_if<LockHolder>(&taken)) {
        m_prompter.message(fileFailureMessage(kMsgKanEjSparaForetaget, path, companyInUseMessage(*holder)));
        return std::nullopt;
    }
    return std::move(std::get<CompanyLock>(taken));
}

// SIE: the company that an import has just saved.
bool AppController::openCompanyFile(const std::string& path) {
    return !m_doc && openCompanyAt(path, false);
}

bool AppController::save() {
    if (!m_doc) {
        return false;
    }
    if (m_doc->pathName().empty()) {
        return saveAs();
    }
    return saveTo(m_doc->pathName());
}

bool AppController::saveAs() {
    const auto chosen = m_prompter.chooseCompanySaveName(m_doc->title() + kCompanyFileExtension);
    if (!chosen || chosen->empty()) {
        return false;
    }
    return saveTo(withCompanyExtension(fullPath(*chosen)));
}

bool AppController::saveTo(const std::string& path) {
    // A new name is locked before it is written, and the old one let go once it is.
    std::optional<CompanyLock> lock;
    if (!m_lock || m_lock->companyPath() != fullPath(path)) {
        lock = lockFor(fullPath(path));
        if (!lock) {
            return false;
        }
    }
    const FileReport report = saveCompany(*m_doc, path);
    for (const std::string& text : report.messages) {
        m_prompter.message(text);
    }
    if (m_doc->pathName() == path) {
        m_recent.add(path); // the company file itself got through
        if (lock) {
            m_lock = std::move(lock);
        }
    }
    if (report.changedElsewhere &&
        m_prompter.askToProceed(kMsgSparaUnderAnnatNamn, kSparaSomKnapp, Answer::Ok) == Answer::Ok) {
        return saveAs();
    }
    return report.ok;
}

bool AppController::saveModified() {
    if (!m_doc || !m_doc->isModified() || m_doc->isReadOnly()) {
        return true; // a company open read-only has nothing that could be saved
    }
    switch (m_prompter.askYesNoCancel(saveQuestion(m_doc->title()))) {
    case Answer::Yes:
        return save();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

bool AppController::closeCompany() {
    if (!m_doc) {
        return true;
    }
    if (!formsMayGo() || !saveModified()) {
        return false;
    }
    discardCompany();
    return true;
}

void AppController::discardCompany() {
    closeAllForms();
    const std::vector<WindowKind> open = m_windows.openWindows();
    m_windows.clear();
    // The windows let go of the document before it goes.
    for (const WindowKind kind : open) {
        if (m_host != nullptr) {
            m_host->closeCompanyWindow(kind);
        }
    }
    m_subscription.reset();
    m_finishedForms.clear();
    // Receipts attached since the last save are no voucher's now.
    if (m_doc) {
        removeUnsavedAttachmentFiles(*m_doc);
    }
    m_doc.reset();
    m_lock.reset();
    m_reportSettings = {};
}

// ---- windows ----

void AppController::openWindow(WindowKind kind) {
    if (!m_doc) {
        return;
    }
    if (m_windows.isOpen(kind)) {
        if (m_host != nullptr) {
            m_host->activateCompanyWindow(kind);
        }
        m_windows.setActive(kind);
        return;
    }
    m_windows.open(kind);
    if (m_host != nullptr) {
        m_host->openCompanyWindow(kind);
    }
    m_windows.setActive(kind);
}

void AppController::reopenWindow(WindowKind kind) {
    if (m_windows.isOpen(kind)) {
        closeWindowByProgram(kind);
    }
    openWindow(kind);
}

void AppController::closeWindowByProgram(WindowKind kind) {
    m_windows.close(kind);
    if (m_host != nullptr) {
        m_host->closeCompanyWindow(kind);
    }
}

void AppController::markVoucherInList(std::size_t row) {
    if (m_host != nullptr) {
        m_host->markVoucherInList(row);
    }
}

void AppController::performWindowCommand(CommandId id) {
    if (m_host != nullptr) {
        m_host->performWindowCommand(id);
    }
}

void AppController::windowActivated(std::optional<WindowKind> kind) {
    m_windows.setActive(kind);
    shellChanged();
}

bool AppController::mayCloseWindow(WindowKind kind) {
    if (m_windows.count() == 1 && m_windows.isOpen(kind)) {
        return formsMayGo() && saveModified();
    }
    return true;
}

void AppController::windowClosed(WindowKind kind) {
    if (!m_windows.close(kind)) {
        return; // closed by the program, which already knows
    }
    // Closing the last window of the company closes the company.
    if (m_windows.empty() && m_doc) {
        discardCompany();
    }
    shellChanged();
}

bool AppController::mayQuit() {
    const bool closed = closeCompany();
    shellChanged();
    return closed;
}

// ---- forms ----

void AppController::showForm(std::unique_ptr<FormModel> form) {
    m_finishedForms.clear();
    FormModel& shown = *form;
    shown.setCloser([this, &shown] { closeForm(shown); });
    m_forms.push_back(std::move(form));
    if (m_host != nullptr) {
        m_host->openForm(shown);
    }
}

FormModel* AppController::openForm(FormKind kind) {
    const auto found = std::find_if(m_forms.begin(), m_forms.end(),
                                    [kind](const auto& form) { return form->kind() == kind; });
    return found == m_forms.end() ? nullptr : found->get();
}

bool AppController::isFormOpen(FormKind kind) const {
    return std::any_of(m_forms.begin(), m_forms.end(),
                       [kind](const auto& form) { return form->kind() == kind; });
}

// Vouchers
void AppController::activateForm(FormModel& form) {
    if (m_host != nullptr) {
        m_host->activateForm(form);
    }
}

void AppController::closeForm(FormModel& form) {
    const auto found = std::find_if(m_forms.begin(), m_forms.end(),
                                    [&form](const auto& owned) { return owned.get() == &form; });
    if (found == m_forms.end()) {
        return;
    }
    if (m_host != nullptr) {
        m_host->closeForm(form);
    }
    form.setListener(nullptr);
    // The form may be in one of its own calls right now: it goes at the next event.
    m_finishedForms.push_back(std::move(*found));
    m_forms.erase(found);
    shellChanged();
}

void AppController::closeAllForms() {
    while (!m_forms.empty()) {
        closeForm(*m_forms.back());
    }
}

bool AppController::formsMayGo() {
    for (const auto& form : m_forms) {
        // The user sees the form that asks.
        activateForm(*form);
        if (!form->mayDiscard()) {
            return false;
        }
    }
    return true;
}

bool AppController::closeFormByUser(FormModel& form) {
    m_finishedForms.clear();
    if (!form.mayClose()) {
        return false;
    }
    closeForm(form);
    return true;
}

void AppController::onDocumentUpdated() {
    shellChanged();
}

void AppController::shellChanged() const {
    if (m_host != nullptr) {
        m_host->shellChanged();
    }
}

} // namespace kv
