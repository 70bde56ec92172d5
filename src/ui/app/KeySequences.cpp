#include "app/KeySequences.h"

namespace kv::ui {

namespace {

Qt::Key qtKey(const KeyChord& chord) {
    switch (chord.key) {
    case KeyName::Letter:
        return static_cast<Qt::Key>(Qt::Key_A + (chord.letter - 'A'));
    case KeyName::Insert:
        return Qt::Key_Insert;
    case KeyName::Delete:
        return Qt::Key_Delete;
    case KeyName::Backspace:
        return Qt::Key_Backspace;
    case KeyName::F3:
        return Qt::Key_F3;
    case KeyName::F4:
        return Qt::Key_F4;
    case KeyName::F6:
        return Qt::Key_F6;
    case KeyName::KeypadPlus:
        return Qt::Key_Plus;
    case KeyName::KeypadMultiply:
        return Qt::Key_Asterisk;
    case KeyName::KeypadMinus:
        break;
    }
    return Qt::Key_Minus;
}

} // namespace

bool onNumericKeypad(const KeyChord& chord) {
    return chord.key == KeyName::KeypadPlus || chord.key == KeyName::KeypadMultiply ||
           chord.key == KeyName::KeypadMinus;
}

QKeySequence toKeySequence(const KeyChord& chord) {
    Qt::KeyboardModifiers modifiers;
    if (chord.ctrl) {
        modifiers |= Qt::ControlModifier;
    }
    if (chord.shift) {
        modifiers |= Qt::ShiftModifier;
    }
    if (chord.alt) {
        modifiers |= Qt::AltModifier;
    }
    // Only the numeric keypad's keys: the same characters elsewhere are typed text.
    if (onNumericKeypad(chord)) {
        modifiers |= Qt::KeypadModifier;
    }
    return QKeySequence(QKeyCombination(modifiers, qtKey(chord)));
}

QList<QKeySequence> keySequencesOf(CommandId id) {
    QList<QKeySequence> sequences;
    for (const KeyChord& chord : commandKeys(id)) {
        sequences.append(toKeySequence(chord));
    }
    return sequences;
}

} // namespace kv::ui
