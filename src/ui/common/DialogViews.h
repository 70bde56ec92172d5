// The Qt dialog of each presentation model's type, which the prompter shows:
// every subsystem registers the views of its own dialogs at start-up.
#pragma once

#include "interaction/DialogRegistry.h"
#include "interaction/Prompter.h"

class QDialog;
class QWidget;

namespace kv::ui {

// A view makes its dialog over the model, with parent as its parent and
// prompter for the questions of its buttons, runs it and answers as
// Prompter::show says.
using DialogViews = DialogRegistry<Prompter&, QWidget*>;

// Runs a dialog: Answer::Ok when it closed accepted, else Answer::Cancel.
[[nodiscard]] Answer answerOf(QDialog& dialog);

} // namespace kv::ui
