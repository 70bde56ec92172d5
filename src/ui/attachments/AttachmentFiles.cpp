#include "attachments/AttachmentFiles.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

namespace kv::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

std::vector<AttachmentSource> storedAttachmentSources(const std::string& companyPath,
                                                      const std::vector<AttachmentRecord>& records) {
    std::vector<AttachmentSource> sources;
    sources.reserve(records.size());
    for (const AttachmentRecord& record : records) {
        AttachmentSource source{qs(record.fileName), {}, {}};
        try {
            source.path = qs(attachmentStoredPath(companyPath, record));
            // The bytes shown are those that were attached, or the page says why not.
            static_cast<void>(readStoredAttachment(companyPath, record));
        } catch (const AttachmentError& error) {
            source.failure = qs(error.what());
        }
        sources.push_back(std::move(source));
    }
    return sources;
}

std::vector<AttachmentSource> chosenAttachmentSources(const std::vector<CheckedAttachment>& chosen) {
    std::vector<AttachmentSource> sources;
    sources.reserve(chosen.size());
    for (const CheckedAttachment& file : chosen) {
        sources.push_back({qs(file.fileName), qs(file.sourcePath), {}});
    }
    return sources;
}

QStringList chooseAttachmentFiles(QWidget* parent) {
    static QString lastFolder;
    if (lastFolder.isEmpty() || !QDir(lastFolder).exists()) {
        // The user's documents, or home when there is no such folder.
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        lastFolder = QDir(documents).exists() ? documents : QDir::homePath();
    }
    QFileDialog dialog(
        parent, QStringLiteral("Bifoga underlag"), lastFolder,
        QStringLiteral("Underlag (*.pdf *.PDF *.jpg *.JPG *.jpeg *.JPEG *.png *.PNG);;"
                       "PDF-filer (*.pdf *.PDF);;Bilder (*.jpg *.JPG *.jpeg *.JPEG *.png *.PNG);;"
                       "Alla filer (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    QSize size(880, 540);
    if (const QScreen* screen = dialog.screen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    }
    dialog.resize(size);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty()) {
        lastFolder = QFileInfo(chosen.constFirst()).absolutePath();
    }
    return chosen;
}

QStringList droppedFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files << QDir::toNativeSeparators(url.toLocalFile());
        }
    }
    return files;
}

QIcon attachmentMarkIcon() {
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        // One wire bent into the two loops of a clip, drawn on a 16-unit square.
        QPainterPath wire;
        wire.moveTo(9, 5);
        wire.lineTo(9, 11);
        wire.arcTo(QRectF(6, 9.5, 3, 3), 0, -180);
        wire.lineTo(6, 3.5);
        wire.arcTo(QRectF(6, 1, 5, 5), 180, -180);
        wire.lineTo(11, 12.5);
        wire.arcTo(QRectF(5, 9.5, 6, 6), 0, -180);
        wire.lineTo(5, 6);
        painter.setPen(QPen(QColor(0x3c, 0x4a, 0x5c), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(wire);
        painter.end();
        icon.addPixmap(picture);
    }
    return icon;
}

QString attachmentCountText(std::size_t count) {
    if (count == 0) {
        return QStringLiteral("Underlag: inga filer");
    }
    return count == 1 ? QStringLiteral("Underlag: 1 fil") : QStringLiteral("Underlag: %1 filer").arg(count);
}

} // namespace kv::ui
