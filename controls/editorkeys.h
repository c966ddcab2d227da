#pragma once
// The editor's own keys, looked up before Qt's text control sees a key: the
// formatting keys users bring from word processors, and a veto on those of
// Qt's built-in bindings that change text in a way the key does not suggest
// (on X11 Ctrl+K is Emacs's "delete to the end of the line", while a German
// user presses it for kursiv).

class QKeyEvent;

namespace controls {

enum class TEditorKey {
    None,      // not the editor's own: Qt's text control handles it
    Bold,
    Italic,
    Underline,
    AlignLeft,
    AlignCenter,
    AlignRight,
    Redo,
    Refused,   // a built-in binding that would change the text unasked: nothing happens
};

// What the editor does with the key. Shift, Ctrl, Alt and Meta must match
// exactly; the keypad and group switch modifiers make no difference.
TEditorKey EditorKeyOf(const QKeyEvent &event);

} // namespace controls
