// A window host for the application tests: it records what the controller
// asks of the windows and reports back as the window program does.
#pragma once

#include "app/AppController.h"
#include "interaction/Prompter.h"
#include "interaction/WindowHost.h"
#include "periods/PeriodDialogModel.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::test {

inline std::string kindName(WindowKind kind) {
    switch (kind) {
    case WindowKind::Journal:
        return "grundbok";
    case WindowKind::Ledger:
        return "huvudbok";
    case WindowKind::TrialBalance:
        return "råbalans";
    case WindowKind::IncomeStatement:
        return "resultat";
    case WindowKind::BalanceSheet:
        return "balans";
    case WindowKind::VatReport:
        return "momsrapport";
    case WindowKind::BudgetReport:
        return "budget";
    case WindowKind::VoucherList:
        break;
    }
    return "verifikatlista";
}

class FakeHost : public WindowHost {
public:
    explicit FakeHost(AppController& controller) : m_controller(controller) { controller.setHost(this); }
    ~FakeHost() override { m_controller.setHost(nullptr); }

    void openCompanyWindow(WindowKind kind) override {
        log.push_back("öppna " + kindName(kind));
        shown.push_back(kind);
        m_controller.windowActivated(kind);
    }
    void closeCompanyWindow(WindowKind kind) override {
        log.push_back("stäng " + kindName(kind));
        std::erase(shown, kind);
        m_controller.windowClosed(kind); // the window program reports every close
    }
    void activateCompanyWindow(WindowKind kind) override {
        log.push_back("aktivera " + kindName(kind));
        m_controller.windowActivated(kind);
    }
    void openForm(FormModel& form) override {
        log.push_back("öppna formulär " + form.title());
        forms.push_back(&form);
    }
    void closeForm(FormModel& form) override {
        log.push_back("stäng formulär " + form.title());
        std::erase(forms, &form);
    }
    void markVoucherInList(std::size_t row) override {
        log.push_back("markera verifikat på rad " + std::to_string(row + 1));
        markedVoucher = row;
    }
    void activateForm(FormModel& form) override { log.push_back("aktivera formulär " + form.title()); }
    void describe(AppState& state) const override { state.view = view; }
    void performWindowCommand(CommandId id) override { performed.push_back(id); }
    void shellChanged() override { ++shellChanges; }
    void closeMainWindow() override { mainWindowClosed = true; }

    // The user closes a window with its close box; false when it stays.
    bool userCloses(WindowKind kind) {
        if (!m_controller.mayCloseWindow(kind)) {
            return false;
        }
        std::erase(shown, kind);
        m_controller.windowClosed(kind);
        return true;
    }
    [[nodiscard]] bool isShown(WindowKind kind) const {
        return std::find(shown.begin(), shown.end(), kind) != shown.end();
    }

    ViewCapabilities view;
    std::vector<std::string> log;
    std::vector<WindowKind> shown;
    std::vector<FormModel*> forms;
    std::vector<CommandId> performed;
    std::optional<std::size_t> markedVoucher;
    int shellChanges = 0;
    bool mainWindowClosed = false;

private:
    AppController& m_controller;
};

// "Nytt företag" with the first-period question answered Cancel: a company
// that tests then build themselves.
template <typename Prompter> void newCompanyWithoutPeriod(AppController& controller, Prompter& prompter) {
    prompter.template on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
    controller.execute(CommandId::NewCompany);
    prompter.said.clear();
    prompter.dialogs.clear();
}

// "Nytt verifikat" as the user chooses it: the voucher dialog that the
// application now shows. The company must take vouchers (charts, an open
// period and VAT rules).
inline FormModel& openVoucherForm(AppController& controller) {
    controller.execute(CommandId::NewVoucher);
    FormModel* form = controller.openForm(FormKind::Voucher);
    if (form == nullptr) {
        throw std::logic_error("the voucher dialog did not open");
    }
    return *form;
}

} // namespace kv::test
