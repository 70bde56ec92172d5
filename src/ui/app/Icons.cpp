#include "app/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

// The resources live in a static library: make sure they are registered.
static void initResources() {
    Q_INIT_RESOURCE(kvistoran);
}

namespace kv::ui {

namespace {

const QColor kGreen(0x2f, 0x6d, 0x44);
const QColor kDarkGreen(0x1f, 0x4a, 0x2e);
const QColor kPaper(0xfb, 0xf8, 0xef);
const QColor kInk(0x44, 0x4c, 0x56);
const QColor kAccent(0xc8, 0x8a, 0x2c);

// Draws on a 16 x 16 canvas, scaled to the pixmap's size.
template <typename Draw> QPixmap paintIcon(int size, Draw draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    return pixmap;
}

void sheet(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kPaper);
    p.drawRect(r);
}

void lines(QPainter& p, qreal x1, qreal x2, qreal y, int count, qreal step) {
    p.setPen(QPen(kInk, 0.8));
    for (int i = 0; i < count; ++i) {
        p.drawLine(QPointF(x1, y + i * step), QPointF(x2, y + i * step));
    }
}

void drawJournal(QPainter& p) {
    p.setPen(QPen(kDarkGreen, 0.8));
    p.setBrush(kGreen);
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
    p.fillRect(QRectF(2.5, 1.5, 2, 13), kDarkGreen);
    p.fillRect(QRectF(6, 4, 6, 3), kPaper);
    p.setPen(QPen(kAccent, 1));
    p.drawLine(QPointF(6, 10.5), QPointF(12, 10.5));
}

void drawLedger(QPainter& p) {
    sheet(p, QRectF(1.5, 2.5, 6.5, 11));
    sheet(p, QRectF(8, 2.5, 6.5, 11));
    lines(p, 3, 6.5, 5, 4, 2);
    lines(p, 9.5, 13, 5, 4, 2);
    p.setPen(QPen(kGreen, 1.2));
    p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
}

void drawTrialBalance(QPainter& p) {
    p.setPen(QPen(kInk, 1.1));
    p.drawLine(QPointF(8, 2), QPointF(8, 13));
    p.drawLine(QPointF(3, 4), QPointF(13, 4));
    p.drawLine(QPointF(5, 14), QPointF(11, 14));
    p.setBrush(kAccent);
    p.setPen(QPen(kInk, 0.8));
    for (const qreal x : {3.0, 13.0}) {
        p.drawLine(QPointF(x, 4), QPointF(x - 2, 9));
        p.drawLine(QPointF(x, 4), QPointF(x + 2, 9));
        p.drawChord(QRectF(x - 2.5, 7, 5, 4), 180 * 16, 180 * 16);
    }
}

void drawIncomeStatement(QPainter& p) {
    sheet(p, QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawRect(QRectF(3.5, 9, 2.5, 4));
    p.drawRect(QRectF(7, 6.5, 2.5, 6.5));
    p.setBrush(kAccent);
    p.drawRect(QRectF(10.5, 4, 2.5, 9));
}

void drawBalanceSheet(QPainter& p) {
    sheet(p, QRectF(1.5, 1.5, 13, 13));
    p.fillRect(QRectF(2, 2, 12, 2.5), kGreen);
    p.setPen(QPen(kInk, 0.8));
    p.drawLine(QPointF(8, 4.5), QPointF(8, 14));
    lines(p, 3, 7, 6.5, 3, 2);
    lines(p, 9, 13, 6.5, 3, 2);
    p.setPen(QPen(kAccent, 1.1));
    p.drawLine(QPointF(3, 13), QPointF(7, 13));
    p.drawLine(QPointF(9, 13), QPointF(13, 13));
}

void drawVoucherList(QPainter& p) {
    sheet(p, QRectF(4.5, 1.5, 9, 11));
    sheet(p, QRectF(2.5, 3.5, 9, 11));
    lines(p, 4, 10, 6.5, 4, 2);
    p.setPen(QPen(kGreen, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(11.5, 11.5), 2.3, 2.3);
    p.drawLine(QPointF(13.2, 13.2), QPointF(15, 15));
}

} // namespace

QIcon programIcon() {
    static const bool registered = (initResources(), true);
    static_cast<void>(registered);
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/kvistoran/kvistoran-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QIcon windowIcon(WindowKind kind) {
    void (*draw)(QPainter&) = drawJournal;
    switch (kind) {
    case WindowKind::Journal:
        break;
    case WindowKind::Ledger:
        draw = drawLedger;
        break;
    case WindowKind::TrialBalance:
        draw = drawTrialBalance;
        break;
    case WindowKind::IncomeStatement:
        draw = drawIncomeStatement;
        break;
    case WindowKind::BalanceSheet:
        draw = drawBalanceSheet;
        break;
    case WindowKind::VoucherList:
        draw = drawVoucherList;
        break;
    case WindowKind::VatReport:
        draw = drawTrialBalance;
        break;
    case WindowKind::BudgetReport:
        draw = drawIncomeStatement;
        break;
    }
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        icon.addPixmap(paintIcon(size, draw));
    }
    return icon;
}

} // namespace kv::ui
