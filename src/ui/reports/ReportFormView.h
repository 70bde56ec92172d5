// Paints the screen form of a report (the journal's panel, the ledger, the
// trial balance): the texts where the core placed them, in the panels' font.
// Only the lines in view are painted, so a long ledger scrolls lightly.
#pragma once

#include "reports/ReportForm.h"

#include <QFontMetrics>
#include <QWidget>

#include <functional>
#include <vector>

namespace kv::ui {

class ReportFormView : public QWidget {
    Q_OBJECT
public:
    explicit ReportFormView(QWidget* parent = nullptr);

    // The lines to paint; rows, when given, makes the lines between two
    // heights that the form leaves to be made when shown (a long ledger's rows).
    using RowSource = std::function<std::vector<FormLine>(std::int32_t top, std::int32_t bottom)>;
    void setForm(ReportForm form, RowSource rows = {});
    [[nodiscard]] const ReportForm& form() const { return m_form; }
    // Height of one text line of the panels' font, in pixels.
    [[nodiscard]] int textHeight() const;
    [[nodiscard]] QSize sizeHint() const override;

    // The measures the core lays the forms out for: this screen.
    [[nodiscard]] ScreenMeasures screenMeasures() const;
    // The panels' font: Arial, bold, 14 pixels from the top of one line to the next.
    [[nodiscard]] static QFont panelFont();
    // Where each text of the line starts when drawn in this font: at its own
    // place, but a left-aligned text never runs into the text before it (the
    // fixed places were made for a narrower font); -1 for a cell not drawn.
    [[nodiscard]] static std::vector<int> textStarts(const FormLine& line, const QFontMetrics& metrics);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ReportForm m_form;
    RowSource m_rows;
    std::vector<std::size_t> m_byY; // line indexes, top to bottom
    int m_width = 0;
};

} // namespace kv::ui
