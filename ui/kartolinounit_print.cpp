// Printing the current card.

#include "kartolinounit.h"

#include "richedit.h"
#include "tabcontrol.h"

namespace ui {

namespace {
const QString kJobTitle = QStringLiteral("Kartolino");
}

// Without a card there is nothing to print.
void TfrmMain::mnuDruckenClick(QObject *)
{
    if (m_tabControl1->TabIndex() >= 0 && m_printSession.ExecPrintDialog(this))
        m_editor->PrintDocument(m_printSession, kJobTitle);
}

void TfrmMain::spDruckenClick(QObject *)
{
    if (m_tabControl1->TabIndex() >= 0)
        m_editor->PrintDocument(m_printSession, kJobTitle);
}

} // namespace ui
