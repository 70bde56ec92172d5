#include "app/AboutDialog.h"

#include "app/AppTexts.h"
#include "app/Icons.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

QDialogButtonBox* okButton(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    return buttons;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kAboutTitle));
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto* line = new QLabel(QString::fromUtf8(kAboutLine), this);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* row = new QHBoxLayout;
    row->setSpacing(18);
    row->addWidget(icon);
    row->addWidget(line, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addWidget(okButton(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CalendarDialog::CalendarDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kCalendarTitle));
    auto* calendar = new QCalendarWidget(this);
    calendar->setLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
    calendar->setFirstDayOfWeek(Qt::Monday);
    calendar->setGridVisible(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(calendar);
    layout->addWidget(okButton(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace kv::ui
