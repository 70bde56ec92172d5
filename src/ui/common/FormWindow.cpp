#include "common/FormWindow.h"

#include "app/AppController.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace kv::ui {

FormWindow::FormWindow(FormModel& model, QWidget* content, AppController& controller, QWidget* parent)
    : QDialog(parent), m_model(&model), m_content(content), m_controller(controller) {
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    setWindowTitle(QString::fromStdString(model.title()));
    model.setListener(this);
}

FormWindow::~FormWindow() {
    if (m_model != nullptr) {
        m_model->setListener(nullptr);
    }
}

void FormWindow::closeByProgram() {
    if (m_model != nullptr) {
        m_model->setListener(nullptr);
        m_model = nullptr;
    }
    hide();
    deleteLater();
}

void FormWindow::formChanged(FormAspects aspects) {
    if (aspects.has(FormAspect::Title) && m_model != nullptr) {
        setWindowTitle(QString::fromStdString(m_model->title()));
    }
    emit modelChanged(aspects);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The controller asks the model; when the form may go it closes it itself.
    event->ignore();
    if (m_model != nullptr) {
        m_controller.closeFormByUser(*m_model);
    }
}

void FormWindow::reject() {
    if (m_model != nullptr) {
        m_controller.closeFormByUser(*m_model);
    }
}

} // namespace kv::ui
