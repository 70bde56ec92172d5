#include "attachments/AttachmentPages.h"

#include "attachments/AttachmentStore.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPdfDocument>

#include <cmath>

namespace kv::ui {

namespace {

// Enough of a file to tell its kind.
constexpr qint64 kHeadBytes = 16;

QString quoted(const QString& title) {
    return QStringLiteral("\u201d%1\u201d").arg(title);
}

QSize fitted(QSizeF size, QSize bound) {
    if (size.width() <= 0 || size.height() <= 0 || bound.width() <= 0 || bound.height() <= 0) {
        return {};
    }
    const double scale = std::min(bound.width() / size.width(), bound.height() / size.height());
    return {std::max(1, static_cast<int>(std::floor(size.width() * scale))),
            std::max(1, static_cast<int>(std::floor(size.height() * scale)))};
}

} // namespace

enum class PageSource { Pdf, Image, Unreadable };

struct AttachmentPages::Source {
    PageSource kind = PageSource::Unreadable;
    std::unique_ptr<QPdfDocument> pdf;
    QImage decoded; // an image's pixels while it is the one shown
};

AttachmentPages::AttachmentPages(std::vector<AttachmentSource> sources) : m_sources(std::move(sources)) {
    for (std::size_t index = 0; index < m_sources.size(); ++index) {
        addSource(index);
    }
}

AttachmentPages::~AttachmentPages() = default;

void AttachmentPages::addSource(std::size_t index) {
    const AttachmentSource& shown = m_sources[index];
    auto loaded = std::make_unique<Source>();
    const auto unreadable = [&](const QString& message) {
        m_pages.push_back({index, 0, 1, message});
        m_loaded.push_back(std::move(loaded));
    };

    if (!shown.failure.isEmpty()) {
        unreadable(shown.failure);
        return;
    }
    QFile file(shown.path);
    if (!QFileInfo(shown.path).isFile()) {
        unreadable(QStringLiteral("Filen %1 finns inte längre i företagets underlag (%2).")
                       .arg(quoted(shown.title), shown.path));
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable(
            QStringLiteral("Filen %1 kan inte läsas: %2").arg(quoted(shown.title), file.errorString()));
        return;
    }
    const QByteArray head = file.read(kHeadBytes);
    file.close();
    const std::optional<AttachmentKind> kind =
        attachmentKindOf(std::string_view(head.constData(), head.size()));
    loaded->kind = !kind                          ? PageSource::Unreadable
                   : *kind == AttachmentKind::Pdf ? PageSource::Pdf
                                                  : PageSource::Image;

    switch (loaded->kind) {
    case PageSource::Unreadable:
        unreadable(QStringLiteral("Filen %1 är varken en PDF-fil eller en JPEG- eller PNG-bild och kan inte "
                                  "visas.")
                       .arg(quoted(shown.title)));
        return;
    case PageSource::Image: {
        QImageReader reader(shown.path);
        if (!reader.canRead() || !reader.size().isValid()) {
            loaded->kind = PageSource::Unreadable;
            unreadable(QStringLiteral("Bilden %1 är skadad och kan inte visas.").arg(quoted(shown.title)));
            return;
        }
        m_pages.push_back({index, 0, 1, {}});
        m_loaded.push_back(std::move(loaded));
        return;
    }
    case PageSource::Pdf: {
        loaded->pdf = std::make_unique<QPdfDocument>();
        const QPdfDocument::Error error = loaded->pdf->load(shown.path);
        const int pages = error == QPdfDocument::Error::None ? loaded->pdf->pageCount() : 0;
        if (pages <= 0) {
            loaded->pdf.reset();
            loaded->kind = PageSource::Unreadable;
            unreadable(
                error == QPdfDocument::Error::IncorrectPassword
                    ? QStringLiteral("PDF-filen %1 är skyddad med lösenord och kan inte visas.")
                          .arg(quoted(shown.title))
                    : QStringLiteral("PDF-filen %1 är skadad och kan inte visas.").arg(quoted(shown.title)));
            return;
        }
        for (int page = 0; page < pages; ++page) {
            m_pages.push_back({index, page, pages, {}});
        }
        m_loaded.push_back(std::move(loaded));
        return;
    }
    }
}

QImage AttachmentPages::render(std::size_t index, QSize bound) {
    Page& shown = m_pages.at(index);
    if (!shown.message.isEmpty()) {
        return {};
    }
    const AttachmentSource& source = m_sources[shown.source];
    Source& loaded = *m_loaded[shown.source];
    if (loaded.kind == PageSource::Pdf) {
        QImage image;
        const QSize size = fitted(loaded.pdf->pagePointSize(shown.pageInFile), bound);
        if (!size.isEmpty()) {
            image = loaded.pdf->render(shown.pageInFile, size);
        }
        if (image.isNull()) {
            shown.message = QStringLiteral("Sidan %1 i PDF-filen %2 kan inte visas.")
                                .arg(shown.pageInFile + 1)
                                .arg(quoted(source.title));
        }
        return image;
    }
    if (loaded.decoded.isNull()) {
        // Only the image shown keeps its pixels: a photo of a receipt may take 50 MB.
        for (const auto& other : m_loaded) {
            other->decoded = QImage();
        }
        QImageReader reader(source.path);
        reader.setAutoTransform(true); // a photo taken on its side is shown upright
        if (!reader.read(&loaded.decoded) || loaded.decoded.isNull()) {
            loaded.decoded = QImage();
            shown.message =
                QStringLiteral("Bilden %1 är skadad och kan inte visas.").arg(quoted(source.title));
            return {};
        }
    }
    const QSize size = fitted(loaded.decoded.size(), bound);
    return size.isEmpty() ? QImage()
                          : loaded.decoded.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace kv::ui
