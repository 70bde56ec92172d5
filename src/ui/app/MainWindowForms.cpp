// Modeless forms beside the company's windows: which widget shows each kind
// of form model, and opening, closing and activating their windows.
#include "app/MainWindow.h"

#include "common/FormWindow.h"
#include "voucher/VoucherForm.h"
#include "voucher/VoucherFormModel.h"

namespace kv::ui {

void MainWindow::registerFormContents() {
    // Vouchers: the voucher dialog shows its model.
    registerFormContent(FormKind::Voucher, [](FormModel& model, AppController& app) {
        return new VoucherForm(static_cast<VoucherFormModel&>(model), app);
    });
}

void MainWindow::registerFormContent(FormKind kind, FormContentFactory factory) {
    m_formContents[kind] = std::move(factory);
}

FormWindow* MainWindow::formWindow(const FormModel& form) const {
    for (FormWindow* window : findChildren<FormWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (window->model() == &form) {
            return window;
        }
    }
    return nullptr;
}

void MainWindow::openForm(FormModel& form) {
    const auto factory = m_formContents.find(form.kind());
    if (factory == m_formContents.end()) {
        return; // no subsystem shows this kind of form in this program
    }
    auto* window = new FormWindow(form, factory->second(form, m_controller), m_controller, this);
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::closeForm(FormModel& form) {
    if (FormWindow* window = formWindow(form)) {
        window->closeByProgram();
    }
}

void MainWindow::activateForm(FormModel& form) {
    if (FormWindow* window = formWindow(form)) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

} // namespace kv::ui
