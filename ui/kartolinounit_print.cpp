// Printing the current card.

#include "kartolinounit.h"

#include "richedit.h"

namespace ui {

namespace {
const QString kJobTitle = QStringLiteral("Kartolino");
}

void TfrmMain::mnuDruckenClick(QObject *)
{
    if (m_printSession.ExecPrintDialog(this))
        m_editor->PrintDocument(m_printSession, kJobTitle);
}

void TfrmMain::spDruckenClick(QObject *) { m_editor->PrintDocument(m_printSession, kJobTitle); }

} // namespace ui
