#include "app/FileDialogs.h"

#include <QHeaderView>
#include <QScreen>
#include <QSplitter>
#include <QTreeView>

namespace kv::ui {

namespace {

// Qt's dialog opens at a size that cuts the dates, the sizes and the
// places on the left; the names take what the other columns leave.
void fitToRead(QFileDialog& dialog) {
    QSize size(880, 540);
    if (const QScreen* screen = dialog.screen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    }
    dialog.resize(size);
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
    if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"))) {
        const int places = size.width() / 5;
        splitter->setSizes({places, size.width() - places});
    }
}

} // namespace

QString chooseFile(QWidget* parent, const FileChoice& choice) {
    QFileDialog dialog(parent, choice.title, choice.folder, choice.filter);
    dialog.setAcceptMode(choice.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!choice.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(choice.defaultSuffix);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !choice.confirmOverwrite);
    if (!choice.suggestedFile.isEmpty()) {
        dialog.selectFile(choice.suggestedFile);
    }
    fitToRead(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    if (choice.chosenFilter != nullptr) {
        *choice.chosenFilter = dialog.selectedNameFilter();
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace kv::ui
