// The program's file dialogs: Qt's own, opened big enough to read, with the
// columns of the file list fitted to what the folder holds.
#pragma once

#include <QFileDialog>
#include <QString>

namespace kv::ui {

// A file dialog that opens one existing file or names one to save.
struct FileChoice {
    QString title{};
    QString filter{};
    QString folder{};        // where the dialog starts (empty: Qt's choice)
    QString suggestedFile{}; // a save dialog's suggestion
    QString defaultSuffix{}; // added to a saved name without one
    bool save = false;
    bool confirmOverwrite = true;
    QString* chosenFilter = nullptr; // where the filter the user chose is told, if anywhere
};

// Shows the dialog over parent; the chosen file, or empty on Cancel.
[[nodiscard]] QString chooseFile(QWidget* parent, const FileChoice& choice);

} // namespace kv::ui
