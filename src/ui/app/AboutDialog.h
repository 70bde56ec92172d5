// "Om Kvistoran": the program icon, the version line and OK.
#pragma once

#include <QDialog>

namespace kv::ui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

// "Kalender": a month calendar to look at; it changes nothing.
class CalendarDialog : public QDialog {
    Q_OBJECT
public:
    explicit CalendarDialog(QWidget* parent = nullptr);
};

} // namespace kv::ui
