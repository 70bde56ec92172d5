// Small receipts made on the spot for the tests of attachments: a PDF of
// coloured pages written with QPdfWriter, and a PNG of one colour.
#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

#include <vector>

namespace kv::test {

// A4 pages, each filled with its colour and numbered.
inline QString writePdf(const QDir& folder, const QString& name, const std::vector<QColor>& pages) {
    const QString path = folder.filePath(name);
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    for (std::size_t index = 0; index < pages.size(); ++index) {
        if (index > 0) {
            writer.newPage();
        }
        const QRect page(0, 0, painter.device()->width(), painter.device()->height());
        painter.fillRect(page, pages[index]);
        painter.drawText(page, Qt::AlignCenter, QString::number(index + 1));
    }
    painter.end();
    return path;
}

inline QString writePng(const QDir& folder, const QString& name, QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = folder.filePath(name);
    image.save(path, "PNG");
    return path;
}

// The colour at the middle of an image, to tell which page is drawn.
inline QColor middleColour(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 3);
}

} // namespace kv::test
