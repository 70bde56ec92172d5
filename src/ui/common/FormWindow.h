// A modeless form beside the company's windows, over a core form model: it
// shows the content that the form's subsystem made for the model, keeps its
// title in step with the model, and hands the user's close to the controller,
// which asks the model.
#pragma once

#include "interaction/FormModel.h"

#include <QDialog>

namespace kv {
class AppController;
}

namespace kv::ui {

class FormWindow : public QDialog, private FormListener {
    Q_OBJECT
public:
    FormWindow(FormModel& model, QWidget* content, AppController& controller, QWidget* parent);
    ~FormWindow() override;

    [[nodiscard]] FormModel* model() const { return m_model; }
    [[nodiscard]] QWidget* content() const { return m_content; }
    // The model is about to go: let go of it and leave the screen, without asking.
    void closeByProgram();

signals:
    // The model changed these aspects; the content shows them.
    void modelChanged(kv::FormAspects aspects);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Escape

private:
    void formChanged(FormAspects aspects) override;

    FormModel* m_model;
    QWidget* m_content;
    AppController& m_controller;
};

} // namespace kv::ui
