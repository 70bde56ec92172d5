// A button that chooses a colour for the cell-format dialog: "Standard" (no
// colour of its own), one of a set of swatches, or any colour.
#pragma once

#include <QColor>
#include <QToolButton>

#include <optional>

namespace kv::ui {

class GridColorButton : public QToolButton {
    Q_OBJECT
public:
    explicit GridColorButton(QWidget* parent = nullptr);

    [[nodiscard]] std::optional<QColor> colour() const { return m_colour; }
    void setColour(std::optional<QColor> colour);

signals:
    void colourChanged();

private:
    void choose(std::optional<QColor> colour);
    void chooseOther();

    std::optional<QColor> m_colour;
};

} // namespace kv::ui
