// Undo and the clipboard, the time stamp, the hand-off and the help windows.

#include "kartolinounit.h"

#include "cardstore.h"
#include "exception.h"
#include "regional.h"
#include "richedit.h"
#include "shell.h"
#include "tabcontrol.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QMimeData>

namespace ui {

// The commands that change the text do nothing while the editor holds no
// card to type into (it is read-only then): what they changed could never be
// written anywhere.
void TfrmMain::mnuUnDOClick(QObject *)
{
    if (!m_editor->isReadOnly())
        m_editor->UndoLastEdit();
}
void TfrmMain::ppAusschneidenClick(QObject *)
{
    if (!m_editor->isReadOnly())
        m_editor->CutSelection();
}
void TfrmMain::ppKopierenClick(QObject *) { m_editor->CopySelection(); }
void TfrmMain::ppEinfuegenClick(QObject *)
{
    if (!m_editor->isReadOnly())
        m_editor->PasteClipboard();
}

namespace {

// The clipboard afterwards holds the text alone: whatever it held before,
// in every format, is gone.
void putTextOnClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw platform::Exception(QStringLiteral("Zwischenablage kann nicht geöffnet werden"));
    clipboard->clear();
    auto *data = new QMimeData;
    data->setText(text);
    clipboard->setMimeData(data);
    const QMimeData *now = clipboard->mimeData();
    if (!now || now->text() != text)
        throw platform::Exception(QStringLiteral("Zwischenablage kann nicht geöffnet werden"));
}

} // namespace

void TfrmMain::spZeitStempelClick(QObject *)
{
    // Without a card there is nothing to stamp, and nowhere to keep it.
    if (m_editor->isReadOnly())
        return;
    const QString text = platform::DateTimeText(QDateTime::currentDateTime());
    if (m_cardSettings.timeStampMode == QLatin1String("Cursor")) {
        putTextOnClipboard(text);
        m_editor->PasteClipboard();
    } else {
        m_editor->InsertLine(0, text);
    }
}

void TfrmMain::mnuTextverarbeitungClick(QObject *)
{
    // Without a card there is no file to hand over.
    const int index = m_tabControl1->TabIndex();
    if (index >= 0)
        platform::ShellOpen(this, m_cards->CardPath(index));
}


} // namespace ui
