// The find and replace window of a grid: stays open while the user searches.
#pragma once

#include "grid/Grid.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kv::ui {

class GridFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit GridFindDialog(QWidget* parent);

    // "Sök" only finds; "Ersätt" also replaces.
    void setReplacing(bool replacing);
    [[nodiscard]] bool isReplacing() const { return m_replacing; }
    [[nodiscard]] FindOptions options() const;
    void setOptions(const FindOptions& options);
    [[nodiscard]] std::string replacement() const;

signals:
    void findNextRequested();
    void replaceRequested();
    void replaceAllRequested();

private:
    void updateButtons();

    bool m_replacing = false;
    QLineEdit* m_findText = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QLineEdit* m_replaceText = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_wholeCell = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAll = nullptr;
};

} // namespace kv::ui
