#include "grid/GridFormatDialog.h"

#include "grid/GridCellLook.h"
#include "grid/GridColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

QComboBox* faceChooser(const std::string& current, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->addItem(QStringLiteral("Standard"), QString());
    // The faces the program itself uses come first.
    QStringList faces{QStringLiteral("Arial"), QStringLiteral("Times New Roman")};
    for (const QString& family : QFontDatabase::families()) {
        if (!faces.contains(family) && !QFontDatabase::isPrivateFamily(family)) {
            faces.append(family);
        }
    }
    const QString wanted = QString::fromStdString(current);
    if (!wanted.isEmpty() && !faces.contains(wanted)) {
        faces.insert(0, wanted);
    }
    for (const QString& face : faces) {
        combo->addItem(face, face);
    }
    combo->setCurrentIndex(std::max(0, combo->findData(wanted)));
    return combo;
}

} // namespace

GridFormatDialog::GridFormatDialog(const CellStyle& style, const QFont& gridFont, QWidget* parent)
    : QDialog(parent), m_gridFont(gridFont) {
    // Every widget below is owned by this dialog through its Qt parent.
    setWindowTitle(QStringLiteral("Formatera celler"));
    setObjectName(QStringLiteral("gridFormatDialog"));

    m_face = faceChooser(style.fontFace, this);
    m_face->setObjectName(QStringLiteral("face"));
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("size"));
    m_size->setRange(0, 96);
    m_size->setSpecialValueText(QStringLiteral("Standard"));
    m_size->setSuffix(QStringLiteral(" punkter"));
    m_size->setValue(style.fontSize);
    m_bold = new QCheckBox(QStringLiteral("Fet"), this);
    m_bold->setObjectName(QStringLiteral("bold"));
    m_bold->setChecked(style.bold);
    m_italic = new QCheckBox(QStringLiteral("Kursiv"), this);
    m_italic->setObjectName(QStringLiteral("italic"));
    m_italic->setChecked(style.italic);
    m_underline = new QCheckBox(QStringLiteral("Understruken"), this);
    m_underline->setObjectName(QStringLiteral("underline"));
    m_underline->setChecked(style.underline);
    auto* emphasis = new QHBoxLayout;
    emphasis->addWidget(m_bold);
    emphasis->addWidget(m_italic);
    emphasis->addWidget(m_underline);
    emphasis->addStretch(1);

    auto* characters = new QGroupBox(QStringLiteral("Tecken"), this);
    auto* characterForm = new QFormLayout(characters);
    characterForm->addRow(QStringLiteral("Teckensnitt:"), m_face);
    characterForm->addRow(QStringLiteral("Storlek:"), m_size);
    characterForm->addRow(QString(), emphasis);

    m_align = new QComboBox(this);
    m_align->setObjectName(QStringLiteral("align"));
    m_align->addItem(QStringLiteral("Standard"), static_cast<int>(HAlign::Default));
    m_align->addItem(QStringLiteral("Vänster"), static_cast<int>(HAlign::Left));
    m_align->addItem(QStringLiteral("Center"), static_cast<int>(HAlign::Center));
    m_align->addItem(QStringLiteral("Höger"), static_cast<int>(HAlign::Right));
    m_align->setCurrentIndex(std::max(0, m_align->findData(static_cast<int>(style.align))));
    m_textColour = new GridColorButton(this);
    m_textColour->setObjectName(QStringLiteral("textColour"));
    if (style.textColor) {
        m_textColour->setColour(toQColor(*style.textColor));
    }
    m_background = new GridColorButton(this);
    m_background->setObjectName(QStringLiteral("background"));
    if (style.background) {
        m_background->setColour(toQColor(*style.background));
    }
    auto* look = new QGroupBox(QStringLiteral("Justering och färger"), this);
    auto* lookForm = new QFormLayout(look);
    lookForm->addRow(QStringLiteral("Justering:"), m_align);
    lookForm->addRow(QStringLiteral("Textfärg:"), m_textColour);
    lookForm->addRow(QStringLiteral("Bakgrundsfärg:"), m_background);

    m_preview = new QLabel(QStringLiteral("AaBbÅåÄäÖö 1 234.56"), this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setMinimumHeight(56);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_preview->setAutoFillBackground(true);
    m_preview->setMargin(6);
    auto* example = new QGroupBox(QStringLiteral("Exempel"), this);
    auto* exampleLayout = new QVBoxLayout(example);
    exampleLayout->addWidget(m_preview);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Avbryt"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(characters);
    layout->addWidget(look);
    layout->addWidget(example);
    layout->addWidget(buttons);

    connect(m_face, &QComboBox::currentIndexChanged, this, &GridFormatDialog::updatePreview);
    connect(m_size, &QSpinBox::valueChanged, this, &GridFormatDialog::updatePreview);
    connect(m_align, &QComboBox::currentIndexChanged, this, &GridFormatDialog::updatePreview);
    for (QCheckBox* box : {m_bold, m_italic, m_underline}) {
        connect(box, &QCheckBox::toggled, this, &GridFormatDialog::updatePreview);
    }
    connect(m_textColour, &GridColorButton::colourChanged, this, &GridFormatDialog::updatePreview);
    connect(m_background, &GridColorButton::colourChanged, this, &GridFormatDialog::updatePreview);
    updatePreview();
}

CellStyle GridFormatDialog::style() const {
    CellStyle style;
    style.fontFace = m_face->currentData().toString().toStdString();
    style.fontSize = m_size->value();
    style.bold = m_bold->isChecked();
    style.italic = m_italic->isChecked();
    style.underline = m_underline->isChecked();
    style.align = static_cast<HAlign>(m_align->currentData().toInt());
    if (const auto colour = m_textColour->colour()) {
        style.textColor = toRgb(*colour);
    }
    if (const auto colour = m_background->colour()) {
        style.background = toRgb(*colour);
    }
    return style;
}

void GridFormatDialog::updatePreview() {
    const CellStyle chosen = style();
    m_preview->setFont(cellFont(m_gridFont, chosen));
    m_preview->setAlignment(toQtAlignment(chosen.align) | Qt::AlignVCenter);
    QPalette palette = m_preview->palette();
    palette.setColor(QPalette::Window, chosen.background ? toQColor(*chosen.background) : QColor(Qt::white));
    palette.setColor(QPalette::WindowText,
                     chosen.textColor ? toQColor(*chosen.textColor) : QColor(Qt::black));
    m_preview->setPalette(palette);
}

} // namespace kv::ui
