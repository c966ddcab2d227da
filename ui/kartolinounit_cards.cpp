// The card handlers of the main window: tab switching and the editor's
// change event.

#include "ui/kartolinounit.h"

#include "cards/cardstore.h"

namespace ui {

void TfrmMain::TabControl1Changing(QObject *, bool &)
{
    m_cards->Leaving();
}

void TfrmMain::TabControl1Change(QObject *)
{
    m_cards->Arriving();
}

void TfrmMain::EditorChange(QObject *)
{
    m_cards->SetCardModified(true);
}

} // namespace ui
