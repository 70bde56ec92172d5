#include "grid/GridColorButton.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QWidgetAction>

#include <array>

namespace kv::ui {

namespace {

struct Swatch {
    const char* name;
    QRgb rgb;
};

constexpr std::array<Swatch, 18> kSwatches{{
    {"Svart", 0x000000},
    {"Mörkgrå", 0x595959},
    {"Grå", 0x9E9E9E},
    {"Ljusgrå", 0xE3E3E3},
    {"Vit", 0xFFFFFF},
    {"Mörkröd", 0x9B1C1C},
    {"Röd", 0xE02424},
    {"Orange", 0xF08C00},
    {"Gul", 0xFFE066},
    {"Grön", 0x2F9E44},
    {"Ljusgrön", 0xD3F9D8},
    {"Blå", 0x1C64F2},
    {"Mörkblå", 0x1E3A8A},
    {"Ljusblå", 0xDBEAFE},
    {"Lila", 0x7E22CE},
    {"Rosa", 0xFFC0CB},
    {"Ljusrosa", 0xFFEBF0},
    {"Ljusgul", 0xFFF9DB},
}};

QIcon swatchIcon(std::optional<QColor> colour, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRect box(0, 0, size.width() - 1, size.height() - 1);
    if (colour) {
        painter.fillRect(box, *colour);
    } else {
        // No colour of its own: a white box with a diagonal.
        painter.fillRect(box, Qt::white);
        painter.setPen(QColor(0xC0, 0x39, 0x2B));
        painter.drawLine(box.bottomLeft(), box.topRight());
    }
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(box);
    return QIcon(pixmap);
}

} // namespace

GridColorButton::GridColorButton(QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(28, 14));
    setMinimumWidth(140);

    // The menu and its contents are owned by this button through their Qt parents.
    auto* menu = new QMenu(this);
    menu->addAction(swatchIcon(std::nullopt, QSize(14, 14)), QStringLiteral("Standard"), this,
                    [this] { choose(std::nullopt); });
    auto* grid = new QWidget(menu);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(3);
    for (std::size_t i = 0; i < kSwatches.size(); ++i) {
        const QColor colour = QColor::fromRgb(kSwatches[i].rgb);
        auto* swatch = new QToolButton(grid);
        swatch->setAutoRaise(true);
        swatch->setIcon(swatchIcon(colour, QSize(16, 16)));
        swatch->setIconSize(QSize(16, 16));
        swatch->setToolTip(QString::fromUtf8(kSwatches[i].name));
        connect(swatch, &QToolButton::clicked, this, [this, menu, colour] {
            menu->close();
            choose(colour);
        });
        layout->addWidget(swatch, static_cast<int>(i / 6), static_cast<int>(i % 6));
    }
    auto* swatches = new QWidgetAction(menu);
    swatches->setDefaultWidget(grid);
    menu->addAction(swatches);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Fler färger..."), this, &GridColorButton::chooseOther);
    setMenu(menu);
    setColour(std::nullopt);
}

void GridColorButton::setColour(std::optional<QColor> colour) {
    m_colour = colour;
    setIcon(swatchIcon(colour, iconSize()));
    setText(colour ? colour.value().name().toUpper() : QStringLiteral("Standard"));
}

void GridColorButton::choose(std::optional<QColor> colour) {
    setColour(colour);
    emit colourChanged();
}

void GridColorButton::chooseOther() {
    const QColor chosen =
        QColorDialog::getColor(m_colour.value_or(Qt::white), this, QStringLiteral("Välj färg"));
    if (chosen.isValid()) {
        choose(chosen);
    }
}

} // namespace kv::ui
