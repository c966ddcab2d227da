#include "editorkeys.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace controls {

namespace {

struct KeyEntry {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    TEditorKey action;
};

constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

// The rich edit control's own keys, then the German word processors'
// (Strg+K kursiv, Strg+Umsch+F/K/U fett, kursiv, unterstrichen).
const KeyEntry kEditorKeys[] = {
    {Qt::Key_B, kCtrl, TEditorKey::Bold},
    {Qt::Key_I, kCtrl, TEditorKey::Italic},
    {Qt::Key_U, kCtrl, TEditorKey::Underline},
    {Qt::Key_L, kCtrl, TEditorKey::AlignLeft},
    {Qt::Key_E, kCtrl, TEditorKey::AlignCenter},
    {Qt::Key_R, kCtrl, TEditorKey::AlignRight},
    {Qt::Key_Y, kCtrl, TEditorKey::Redo},
    {Qt::Key_K, kCtrl, TEditorKey::Italic},
    {Qt::Key_F, kCtrlShift, TEditorKey::Bold},
    {Qt::Key_K, kCtrlShift, TEditorKey::Italic},
    {Qt::Key_U, kCtrlShift, TEditorKey::Underline},
};

// Built-in bindings of the platform's key scheme whose key names no deletion:
// wherever the scheme puts them, they do nothing in a card.
const QKeySequence::StandardKey kRefusedBindings[] = {
    QKeySequence::DeleteEndOfLine,
    QKeySequence::DeleteCompleteLine,
};

// Deleting bindings that are kept on the keys named for deleting only
// (X11's scheme also puts "delete" on Emacs's Ctrl+D).
const QKeySequence::StandardKey kDeletingBindings[] = {
    QKeySequence::Delete,
    QKeySequence::Backspace,
    QKeySequence::DeleteStartOfWord,
    QKeySequence::DeleteEndOfWord,
};

bool namesDeletion(int key) { return key == Qt::Key_Delete || key == Qt::Key_Backspace; }

} // namespace

TEditorKey EditorKeyOf(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    for (const KeyEntry &entry : kEditorKeys)
        if (event.key() == entry.key && modifiers == entry.modifiers)
            return entry.action;
    for (const QKeySequence::StandardKey binding : kRefusedBindings)
        if (event.matches(binding))
            return TEditorKey::Refused;
    if (!namesDeletion(event.key()))
        for (const QKeySequence::StandardKey binding : kDeletingBindings)
            if (event.matches(binding))
                return TEditorKey::Refused;
    return TEditorKey::None;
}

} // namespace controls
