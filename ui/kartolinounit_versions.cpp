// Earlier versions of the current card: kept at each save point that changes
// the card's file, offered back through "Frühere Fassungen".

#include "kartolinounit.h"
#include "versionsdialog.h"

#include "cardstore.h"
#include "versions.h"
#include "dialogs.h"
#include "richedit.h"
#include "tabcontrol.h"

#include <QTextCursor>
#include <QTextDocumentFragment>

#include <utility>

namespace ui {

void TfrmMain::wireVersions()
{
    m_versions = std::make_unique<cards::TVersions>(QString()); // placed by SetFolders
    m_versions->OnFailed = [this](const QString &message) {
        // Said once: the card itself was written, and a box at every save
        // point would bury that. Never while the session ends.
        if (std::exchange(m_versionFailureShown, true) || m_sessionEnding)
            return;
        platform::ShowErrorBox(message, this);
    };
}

void TfrmMain::mnuFassungenClick(QObject *)
{
    const QString card = CurrentCardFile();
    if (card.isEmpty())
        return;
    const QString name = m_tabControl1->Tab(m_tabControl1->TabIndex());
    const QList<cards::TVersions::Version> versions = m_versions->List(card);
    if (versions.isEmpty()) {
        platform::MessageDlg(QStringLiteral("Von der Karte \"%1\" gibt es noch keine früheren Fassungen.").arg(name),
                             platform::MsgDlgType::Information, platform::mbOK, this);
        return;
    }
    TVersionsDialog dialog(name, versions, m_editor->document()->defaultFont(), this);
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen().isEmpty())
        return;
    RestoreVersion(dialog.Chosen());
}

void TfrmMain::RestoreVersion(const QString &versionFile)
{
    const std::unique_ptr<QTextDocument> version =
        controls::TRichEdit::ReadDocument(versionFile, m_editor->document()->defaultFont());
    // One edit, so one undo brings back what the editor held.
    QTextCursor cursor(m_editor->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertFragment(QTextDocumentFragment(version.get()));
    cursor.endEditBlock();
    m_editor->setTextCursor(QTextCursor(m_editor->document()));
    // The card's file does not hold it yet: the next save point writes it,
    // and what that replaces becomes a version in turn.
    m_cards->SetCardModified(true);
}

} // namespace ui
