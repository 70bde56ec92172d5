// The menu bar's items as a user reaches them: each menu opened from the bar
// (it fills itself as it shows) and its items looked at.
#pragma once

#include "app/MainWindow.h"
#include "interaction/CommandId.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace kv::test {

// The item of the command, its menu left open in holder (or closed when no
// holder is asked for); nullptr, every menu closed, when no menu shows it.
inline QAction* menuItemOf(ui::MainWindow& window, CommandId id, QMenu** holder = nullptr) {
    for (QAction* entry : window.menuBar()->actions()) {
        QMenu* menu = entry->menu();
        if (menu == nullptr) {
            continue;
        }
        window.menuBar()->setActiveAction(entry);
        for (QAction* item : menu->actions()) {
            if (item->data().isValid() && item->data().toInt() == static_cast<int>(id)) {
                if (holder != nullptr) {
                    *holder = menu;
                } else {
                    menu->hide();
                }
                return item;
            }
        }
        menu->hide();
    }
    return nullptr;
}

// Opens the menu that holds the command and presses Return on its item, as
// the keyboard does; false when no menu shows it enabled.
inline bool chooseFromMenu(ui::MainWindow& window, CommandId id) {
    QMenu* menu = nullptr;
    QAction* item = menuItemOf(window, id, &menu);
    if (item == nullptr) {
        return false;
    }
    if (!item->isEnabled()) {
        menu->hide();
        return false;
    }
    menu->setActiveAction(item);
    QTest::keyClick(menu, Qt::Key_Return);
    return true;
}

} // namespace kv::test
