// The program's keys as Qt key sequences.
#pragma once

#include "app/Menus.h"

#include <QKeySequence>
#include <QList>

namespace kv::ui {

QKeySequence toKeySequence(const KeyChord& chord);
QList<QKeySequence> keySequencesOf(CommandId id);
// True for the keys of the numeric keypad.
[[nodiscard]] bool onNumericKeypad(const KeyChord& chord);

} // namespace kv::ui
