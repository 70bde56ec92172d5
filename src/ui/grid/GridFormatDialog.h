// The cell-format dialog: font face and size, bold, italic, underline,
// alignment, text and background colour of the selected cells.
#pragma once

#include "grid/GridState.h"

#include <QDialog>
#include <QFont>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace kv::ui {

class GridColorButton;

class GridFormatDialog : public QDialog {
    Q_OBJECT
public:
    // Starts from the style of one cell (the first selected); gridFont is what
    // "Standard" face and size mean.
    GridFormatDialog(const CellStyle& style, const QFont& gridFont, QWidget* parent = nullptr);

    // The chosen style; read-only is the program's business and stays off here.
    [[nodiscard]] CellStyle style() const;

private:
    void updatePreview();

    QFont m_gridFont;
    QComboBox* m_face = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    QComboBox* m_align = nullptr;
    GridColorButton* m_textColour = nullptr;
    GridColorButton* m_background = nullptr;
    QLabel* m_preview = nullptr;
};

} // namespace kv::ui
