#include "reports/ReportFormView.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace kv::ui {

namespace {

// The widest of the first lines decides the width; a long ledger's rows are all alike.
constexpr std::size_t kLinesMeasured = 400;
constexpr int kMargin = 16;

QColor colorOf(const FormCell& cell) {
    if (!cell.color) {
        return Qt::black;
    }
    const Rgb rgb = *cell.color;
    return {static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
            static_cast<int>(rgb & 0xFF)};
}

} // namespace

ReportFormView::ReportFormView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setFont(panelFont());
}

QFont ReportFormView::panelFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

int ReportFormView::textHeight() const {
    return QFontMetrics(font()).height();
}

ScreenMeasures ReportFormView::screenMeasures() const {
    ScreenMeasures measures;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        measures.width = screen->geometry().width();
        measures.dpiY = static_cast<std::int32_t>(std::lround(screen->logicalDotsPerInchY()));
    }
    return measures;
}

void ReportFormView::setForm(ReportForm form, RowSource rows) {
    m_form = std::move(form);
    m_rows = std::move(rows);
    m_byY.resize(m_form.lines.size());
    for (std::size_t i = 0; i < m_byY.size(); ++i) {
        m_byY[i] = i;
    }
    std::stable_sort(m_byY.begin(), m_byY.end(),
                     [this](std::size_t a, std::size_t b) { return m_form.lines[a].y < m_form.lines[b].y; });
    const QFontMetrics metrics(font());
    int width = 0;
    std::vector<const FormLine*> measured;
    for (std::size_t i = 0; i < std::min(kLinesMeasured, m_form.lines.size()); ++i) {
        measured.push_back(&m_form.lines[i]);
    }
    const std::vector<FormLine> firstRows = m_rows ? m_rows(0, 1000) : std::vector<FormLine>{};
    for (const FormLine& line : firstRows) {
        measured.push_back(&line);
    }
    for (const FormLine* line : measured) {
        const std::vector<int> starts = textStarts(*line, metrics);
        for (std::size_t i = 0; i < line->cells.size(); ++i) {
            const FormCell& cell = line->cells[i];
            const int start = starts[i] >= 0 ? starts[i] : cell.x;
            width = std::max(width, start + metrics.horizontalAdvance(QString::fromStdString(cell.text)));
        }
    }
    m_width = width + kMargin;
    const int height = std::max(m_form.height, m_form.lines.empty() ? 0 : m_form.lines[m_byY.back()].y) +
                       metrics.height() + kMargin;
    setMinimumSize(m_width, height);
    updateGeometry();
    update();
}

QSize ReportFormView::sizeHint() const {
    return minimumSize();
}

std::vector<int> ReportFormView::textStarts(const FormLine& line, const QFontMetrics& metrics) {
    std::vector<int> starts(line.cells.size(), -1);
    // The texts in the order they stand, left to right.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < line.cells.size(); ++i) {
        const FormCell& cell = line.cells[i];
        if (cell.rule || cell.text.empty()) {
            continue;
        }
        const QString text = QString::fromStdString(cell.text);
        starts[i] = cell.align == TextAlign::Right ? cell.x - metrics.horizontalAdvance(text) : cell.x;
        order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&starts](std::size_t a, std::size_t b) { return starts[a] < starts[b]; });
    const int gap = metrics.horizontalAdvance(QLatin1Char(' '));
    int end = std::numeric_limits<int>::min();
    for (const std::size_t i : order) {
        if (line.cells[i].align != TextAlign::Right && starts[i] < end + gap) {
            starts[i] = end + gap;
        }
        end =
            std::max(end, starts[i] + metrics.horizontalAdvance(QString::fromStdString(line.cells[i].text)));
    }
    return starts;
}

void ReportFormView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    const QRect area = event->rect();
    // The first line that reaches into the area.
    const auto first =
        std::lower_bound(m_byY.begin(), m_byY.end(), area.top() - lineHeight,
                         [this](std::size_t index, int y) { return m_form.lines[index].y < y; });
    painter.setBackground(palette().base());
    std::vector<const FormLine*> shown;
    for (auto it = first; it != m_byY.end() && m_form.lines[*it].y <= area.bottom(); ++it) {
        shown.push_back(&m_form.lines[*it]);
    }
    const std::vector<FormLine> rows =
        m_rows ? m_rows(area.top() - lineHeight, area.bottom()) : std::vector<FormLine>{};
    for (const FormLine& row : rows) {
        shown.push_back(&row);
    }
    for (const FormLine* shownLine : shown) {
        const FormLine& line = *shownLine;
        const bool ruled =
            std::any_of(line.cells.begin(), line.cells.end(), [](const FormCell& cell) { return cell.rule; });
        const std::vector<int> starts = textStarts(line, metrics);
        // Rules first; a text over a rule hides it where the text stands.
        for (const bool rules : {true, false}) {
            for (std::size_t i = 0; i < line.cells.size(); ++i) {
                const FormCell& cell = line.cells[i];
                if (cell.rule != rules || cell.text.empty()) {
                    continue;
                }
                const QString text = QString::fromStdString(cell.text);
                const int x =
                    rules
                        ? (cell.align == TextAlign::Right ? cell.x - metrics.horizontalAdvance(text) : cell.x)
                        : starts[i];
                painter.setBackgroundMode(ruled && !rules ? Qt::OpaqueMode : Qt::TransparentMode);
                painter.setPen(colorOf(cell));
                painter.drawText(x, line.y + metrics.ascent(), text);
            }
        }
    }
}

} // namespace kv::ui
