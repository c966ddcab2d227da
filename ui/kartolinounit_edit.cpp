// Editing, formatting, the time stamp, printing, the hand-off and the help
// windows.

#include "ui/kartolinounit.h"

#include "cards/cardstore.h"
#include "platform/richedit.h"
#include "platform/shell.h"
#include "platform/tabcontrol.h"

namespace ui {

void TfrmMain::mnuUnDOClick(QObject *) { m_editor->UndoLastEdit(); }
void TfrmMain::ppAusschneidenClick(QObject *) { m_editor->CutSelection(); }
void TfrmMain::ppKopierenClick(QObject *) { m_editor->CopySelection(); }
void TfrmMain::ppEinfuegenClick(QObject *) { m_editor->PasteClipboard(); }

void TfrmMain::mnuTextverarbeitungClick(QObject *)
{
    const int index = m_tabControl1->TabIndex();
    platform::ShellOpen(this, m_cards->CardFileName(m_tabControl1->Tab(index)));
}

// Commands that arrive with the formatting, printing and help windows.
void TfrmMain::mnuSchriftClick(QObject *) {}
void TfrmMain::spBoldClick(QObject *) {}
void TfrmMain::spItalicClick(QObject *) {}
void TfrmMain::spUnderlineClick(QObject *) {}
void TfrmMain::spLeftClick(QObject *) {}
void TfrmMain::spCenterClick(QObject *) {}
void TfrmMain::spRightClick(QObject *) {}
void TfrmMain::spBulletClick(QObject *) {}
void TfrmMain::spZeitStempelClick(QObject *) {}
void TfrmMain::mnuDruckenClick(QObject *) {}
void TfrmMain::spDruckenClick(QObject *) {}

} // namespace ui
