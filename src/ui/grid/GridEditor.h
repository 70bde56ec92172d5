// The line editor over the cell being edited. Its text is the grid's edit
// text, so that the program's hooks read what is being typed; the keys go to
// the grid first, which ends the edit (and may refuse) or moves on.
#pragma once

#include "grid/Grid.h"

#include <QLineEdit>

namespace kv::ui {

class GridEditor : public QLineEdit {
    Q_OBJECT
public:
    GridEditor(Grid& grid, QWidget* parent);

    // Shows the grid's edit text without disturbing the cursor when it is already shown.
    void showEditText();

signals:
    // The grid handled a key.
    void keyHandled();

protected:
    bool event(QEvent* event) override;

private:
    Grid& m_grid;
};

} // namespace kv::ui
