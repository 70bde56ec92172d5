#include "app/RecentFilesStore.h"

#include <QSettings>

namespace kv::ui {

namespace {

const QString kGroup = QStringLiteral("Recent File List");

QString key(std::size_t index) {
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

RecentFiles loadRecentFiles() {
    QSettings settings;
    settings.beginGroup(kGroup);
    std::vector<std::string> stored;
    for (std::size_t i = 0; i < RecentFiles::kMaxFiles; ++i) {
        stored.push_back(settings.value(key(i)).toString().toStdString());
    }
    return RecentFiles(stored);
}

void storeRecentFiles(const RecentFiles& files) {
    QSettings settings;
    settings.remove(kGroup);
    settings.beginGroup(kGroup);
    for (std::size_t i = 0; i < files.size(); ++i) {
        settings.setValue(key(i), QString::fromStdString(files.files()[i]));
    }
}

} // namespace kv::ui
