#include "app/AppController.h"

#include "app/AppTexts.h"
#include "app/NewVoucherCheck.h"
#include "app/Prompter.h"
#include "app/WindowHost.h"
#include "chart/SetupFlow.h"
#include "chart/UserTemplates.h"
#include "storage/CompanyFiles.h"

#include <filesystem>

namespace kv {

namespace {

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const auto full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

} // namespace

bool commandFlowMissing(CommandId id) {
    switch (id) {
    case CommandId::RenameCompany:
    case CommandId::OpenPeriod:
    case CommandId::NewPeriod:
    case CommandId::ChangeEndDate:
        return true;
    default:
        return false;
    }
}

std::string withCompanyExtension(const std::string& path) {
    if (fileNameOf(path).find('.') == std::string::npos) {
        return path + kCompanyFileExtension;
    }
    return path;
}

AppController::AppController(Prompter& prompter) : m_prompter(prompter) {}

AppController::~AppController() {
    if (m_doc) {
        m_doc->removeView(this);
    }
}

AppState AppController::state() const {
    AppState s;
    s.companyOpen = m_doc != nullptr;
    if (m_doc) {
        s.incomeChartApproved = m_doc->incomeChartApproved();
        s.balanceChartApproved = m_doc->balanceChartApproved();
        s.hasChartRows = !m_doc->m_allaKonton.empty();
        s.voucherDialogOpen = m_doc->m_bVerifikatOppen != 0;
        s.periodHasVouchers = !m_doc->m_verifikat.empty();
        s.periodCount = static_cast<int>(m_doc->m_perioder.size());
        s.currentPeriod = m_doc->m_nAktuellPeriod;
        s.periodOpen = m_doc->hasOpenPeriod();
        s.modified = m_doc->isModified();
        s.neverSaved = m_doc->neverSaved();
        s.onlyUsedAccounts = m_doc->m_nEndastAnvanda == 1;
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

CommandState AppController::commandState(CommandId id) const {
    CommandState result = kv::commandState(id, state());
    if (commandFlowMissing(id)) {
        result.enabled = false;
    }
    return result;
}

std::string AppController::mainWindowTitle() const {
    return m_doc ? std::string(kMainWindowTitle) + " - " + m_doc->title() : std::string(kMainWindowTitle);
}

void AppController::execute(CommandId id) {
    if (!commandState(id).enabled) {
        return;
    }
    if (const int recent = recentFileIndex(id); recent >= 0) {
        const std::string path = m_recent.files()[static_cast<std::size_t>(recent)];
        openCompanyAt(path, true);
    } else if (id == CommandId::NewCompany) {
        newCompany();
    } else if (id == CommandId::OpenCompany) {
        openChosenCompany();
    } else if (id == CommandId::CloseCompany) {
        closeCompany();
    } else if (id == CommandId::Exit || id == CommandId::AppExit) {
        if (closeCompany() && m_host != nullptr) {
            m_host->closeMainWindow();
        }
    } else if (id == CommandId::Save) {
        save();
    } else if (id == CommandId::SaveAs) {
        saveAs();
    } else if (const auto text = helpText(id)) {
        m_prompter.message(*text);
    } else if (!runCompanyCommand(id) && m_host != nullptr) {
        m_host->performWindowCommand(id);
    }
    changed();
}

bool AppController::runCompanyCommand(CommandId id) {
    WindowKind kind{};
    switch (id) {
    case CommandId::NewVoucher:
        newVoucher();
        return true;
    case CommandId::FindVoucher:
        findVoucher();
        return true;
    case CommandId::SeveralVouchers:
        showSeveralVouchers();
        return true;
    case CommandId::IncomeChart:
        // The trial-balance window runs the editor while it is created.
        requestIncomeChartEditor(*m_doc);
        reopenWindow(WindowKind::TrialBalance);
        return true;
    case CommandId::BalanceChart:
        requestBalanceChartEditor(*m_doc);
        reopenWindow(WindowKind::TrialBalance);
        return true;
    case CommandId::VatRules:
        if (requestVatRules(*m_doc, m_prompter)) {
            reopenWindow(WindowKind::TrialBalance);
        }
        return true;
    case CommandId::SaveChartTemplate:
        saveChartAsTemplate(*m_doc, m_prompter);
        return true;
    case CommandId::DeleteChartTemplate:
        deleteChartTemplate(*m_doc, m_prompter);
        return true;
    case CommandId::FindAccount:
        // The ledger asks for the account whenever it is created.
        reopenWindow(WindowKind::Ledger);
        return true;
    case CommandId::OnlyUsedAccounts:
        toggleOnlyUsedAccounts();
        return true;
    default:
        if (windowOfCommand(id, kind)) {
            openWindow(kind);
            return true;
        }
        return false;
    }
}

bool AppController::openAtStartUp(const std::string& path) {
    if (m_doc) {
        return false;
    }
    const bool opened = openCompanyAt(path, false);
    changed();
    return opened;
}

// ---- files ----

void AppController::takeCompany(std::unique_ptr<CTallvingeDoc> doc) {
    m_windows.clear();
    m_doc = std::move(doc);
    m_doc->addView(this);
    openWindow(WindowKind::Journal);
}

void AppController::newCompany() {
    auto doc = std::make_unique<CTallvingeDoc>();
    doc->setModified(false);
    takeCompany(std::move(doc));
}

void AppController::openChosenCompany() {
    if (const auto path = m_prompter.chooseCompanyToOpen()) {
        openCompanyAt(*path, false);
    }
}

bool AppController::openCompanyAt(const std::string& path, bool fromRecentList) {
    const std::string full = absolutePath(path);
    auto doc = std::make_unique<CTallvingeDoc>();
    const FileReport report = openCompany(*doc, full);
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
    return true;
}

bool AppController::save() {
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
    return saveTo(withCompanyExtension(absolutePath(*chosen)));
}

bool AppController::saveTo(const std::string& path) {
    const FileReport report = saveCompany(*m_doc, path);
    for (const std::string& text : report.messages) {
        m_prompter.message(text);
    }
    if (m_doc->pathName() == path) {
        m_recent.add(path); // the company file itself got through
    }
    return report.ok;
}

bool AppController::saveModified() {
    if (!m_doc || !m_doc->isModified()) {
        return true;
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
    if (!saveModified()) {
        return false;
    }
    discardCompany();
    return true;
}

void AppController::discardCompany() {
    const std::vector<WindowKind> open = m_windows.openWindows();
    m_windows.clear();
    // The windows let go of the document before it goes.
    for (const WindowKind kind : open) {
        if (m_host != nullptr) {
            m_host->closeCompanyWindow(kind);
        }
    }
    if (m_doc) {
        m_doc->removeView(this);
        m_doc.reset();
    }
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
    // The statement windows keep their grid state in the document, made on first opening.
    if (kind == WindowKind::IncomeStatement && !m_doc->m_pResultatGrid) {
        m_doc->m_pResultatGrid = std::make_unique<GridState>();
    }
    if (kind == WindowKind::BalanceSheet && !m_doc->m_pBalansGrid) {
        m_doc->m_pBalansGrid = std::make_unique<GridState>();
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

void AppController::windowActivated(std::optional<WindowKind> kind) {
    m_windows.setActive(kind);
    changed();
}

bool AppController::mayCloseWindow(WindowKind kind) {
    if (m_windows.count() == 1 && m_windows.isOpen(kind)) {
        return saveModified();
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
    changed();
}

bool AppController::mayQuit() {
    const bool closed = closeCompany();
    changed();
    return closed;
}

// ---- commands of the company ----

void AppController::newVoucher() {
    if (checkNewVoucher(*m_doc, m_prompter) == NewVoucherOutcome::Ready) {
        // Every check passed. The voucher dialog is not part of the program
        // yet, so nothing opens.
    }
}

void AppController::findVoucher() {
    if (m_doc->m_bVerifikatOppen != 0) {
        m_prompter.message(kMsgVerifikatdialogenOppen);
        return;
    }
    m_doc->m_bBegarVerifikatSok = 1;
    reopenWindow(WindowKind::VoucherList);
}

void AppController::showSeveralVouchers() {
    if (m_windows.isOpen(WindowKind::Journal)) {
        openWindow(WindowKind::Journal);
    }
}

void AppController::toggleOnlyUsedAccounts() {
    m_doc->m_nEndastAnvanda = m_doc->m_nEndastAnvanda == 1 ? 0 : 1;
    m_doc->changed();
}

void AppController::onDocumentUpdated() {
    changed();
}

void AppController::changed() const {
    if (m_host != nullptr) {
        m_host->shellChanged();
    }
}

} // namespace kv
