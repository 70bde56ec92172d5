#include "common/DialogViews.h"

#include <QDialog>

namespace kv::ui {

Answer answerOf(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted ? Answer::Ok : Answer::Cancel;
}

} // namespace kv::ui
