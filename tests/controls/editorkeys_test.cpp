// The editor's keys: the formatting keys of its table act on the selection
// and leave the text alone, and no other key of any modifier combination
// changes the card unless the key names that change. The sweep runs under
// whichever key scheme the platform theme brings (Windows offscreen; X11,
// KDE and GNOME in the e2e runs under a real X server).

#include "editorkeys.h"
#include "richedit.h"
#include "textattributes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <vector>

using namespace controls;

namespace {

constexpr auto kText = "Alpha Beta\nGamma Delta";

struct KeyFixture : ::testing::Test {
    TRichEdit editor;

    void SetUp() override
    {
        editor.resize(400, 300);
        editor.show();
        editor.setFocus();
        // A key that opens the context menu must not wait for a user here.
        editor.setContextMenuPolicy(Qt::NoContextMenu);
    }
    // Fresh text without undo history; "Beta" selected or the caret after "Al".
    void reset(bool selection)
    {
        editor.setPlainText(QString::fromLatin1(kText));
        QTextCursor c(editor.document());
        c.setPosition(selection ? 6 : 2);
        if (selection)
            c.setPosition(10, QTextCursor::KeepAnchor);
        editor.setTextCursor(c);
    }
    TFontStyles styleOfBeta() const
    {
        QTextCursor c(editor.document());
        c.setPosition(8);
        return StyleOfFormat(c.charFormat());
    }
};

QString keyName(int key, Qt::KeyboardModifiers mods)
{
    return QKeySequence(QKeyCombination(mods, Qt::Key(key))).toString();
}

} // namespace

TEST_F(KeyFixture, FormattingKeysToggleTheSelectionsStyleAndKeepItsText)
{
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        TFontStyles style;
    } rows[] = {
        {Qt::Key_B, Qt::ControlModifier, fsBold},
        {Qt::Key_I, Qt::ControlModifier, fsItalic},
        {Qt::Key_U, Qt::ControlModifier, fsUnderline},
        {Qt::Key_K, Qt::ControlModifier, fsItalic},
        {Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier, fsBold},
        {Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier, fsItalic},
        {Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier, fsUnderline},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(keyName(row.key, row.mods).toStdString());
        reset(true);
        QTest::keyClick(&editor, row.key, row.mods);
        EXPECT_EQ(editor.toPlainText(), QString::fromLatin1(kText));
        EXPECT_EQ(editor.textCursor().selectedText(), QStringLiteral("Beta"));
        EXPECT_EQ(styleOfBeta(), row.style);
        QTest::keyClick(&editor, row.key, row.mods);
        EXPECT_EQ(styleOfBeta(), 0u);
    }
}

TEST_F(KeyFixture, NoKeyChangesTheCardUnlessItSaysSo)
{
    // Keys whose name says that they delete, insert, cut, paste, undo or
    // redo, in any modifier combination; and the table's formatting keys.
    const auto allowed = [](int key, Qt::KeyboardModifiers mods, TEditorKey own) -> bool {
        if (own != TEditorKey::None && own != TEditorKey::Refused)
            return true;
        switch (key) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F18: // paste, cut and undo of Sun keyboards
        case Qt::Key_F20:
        case Qt::Key_F14:
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Space: // text wherever it is typed as text (Alt, AltGr)
            return !mods.testFlag(Qt::ControlModifier) || mods.testFlag(Qt::AltModifier);
        case Qt::Key_Insert: return mods.testFlag(Qt::ShiftModifier); // paste
        case Qt::Key_X:
        case Qt::Key_V:
        case Qt::Key_Z: return mods.testFlag(Qt::ControlModifier);
        default: return false;
        }
    };
    std::vector<int> keys{Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp,
                          Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Tab,
                          Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space};
    for (int k = Qt::Key_F1; k <= Qt::Key_F24; ++k)
        keys.push_back(k);
    const std::vector<int> specialKeys = keys;
    for (int k = Qt::Key_0; k <= Qt::Key_9; ++k)
        keys.push_back(k);
    for (int k = Qt::Key_A; k <= Qt::Key_Z; ++k)
        keys.push_back(k);
    const Qt::KeyboardModifiers command[] = {Qt::ControlModifier, Qt::ControlModifier | Qt::ShiftModifier};
    // With these a letter or digit is text (Ctrl+Alt is AltGr).
    const Qt::KeyboardModifiers typing[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::AltModifier, Qt::AltModifier | Qt::ShiftModifier,
                                            Qt::ControlModifier | Qt::AltModifier,
                                            Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier};
    QStringList changedUnasked;
    const auto tryKey = [&](int key, Qt::KeyboardModifiers mods) {
        for (const bool selection : {true, false}) {
            reset(selection);
            QGuiApplication::clipboard()->setText(QStringLiteral("Zwischenablage"));
            const QString before = editor.document()->toHtml();
            const QKeyEvent probe(QEvent::KeyPress, key, mods);
            QTest::keyClick(&editor, Qt::Key(key), mods);
            if (editor.document()->toHtml() != before && !allowed(key, mods, EditorKeyOf(probe)))
                changedUnasked << keyName(key, mods) + (selection ? QStringLiteral(" (Auswahl)") : QString());
        }
    };
    for (const int key : keys)
        for (const Qt::KeyboardModifiers mods : command)
            tryKey(key, mods);
    for (const int key : specialKeys)
        for (const Qt::KeyboardModifiers mods : typing)
            tryKey(key, mods);
    EXPECT_TRUE(changedUnasked.isEmpty()) << changedUnasked.join(QStringLiteral(", ")).toStdString();
}
