// The card handlers: tab switching, the editor's change event, and the
// commands new, delete and rename.

#include "kartolinounit.h"

#include "cardnames.h"
#include "findbar.h"
#include "cardstore.h"
#include "cardwatcher.h"
#include "recovery.h"
#include "versions.h"
#include "dialoglayout.h"
#include "dialogs.h"
#include "exception.h"
#include "files.h"
#include "richedit.h"
#include "tabcontrol.h"

namespace ui {

void TfrmMain::TabControl1Changing(QObject *, bool &allowChange)
{
    // Without the folder the next card could not be read: the text on
    // screen stays, and it is written once the folder is back.
    if (!cardFolderThere()) {
        allowChange = false;
        return;
    }
    rememberCardView();
    m_cards->Leaving();
}

void TfrmMain::TabControl1Change(QObject *)
{
    m_cards->Arriving();
    applyRecoveryOfCurrentCard();
    restoreCardView();
}

void TfrmMain::nameEditor()
{
    // The name as the tab shows it; without a card the editor takes no text.
    const int index = m_tabControl1->TabIndex();
    m_editor->setAccessibleName(index < 0 ? QStringLiteral("Keine Karte")
                                          : QStringLiteral("Karte: ") + platform::StripMnemonic(m_tabControl1->Tab(index)));
}

void TfrmMain::EditorChange(QObject *)
{
    m_cards->SetCardModified(true);
    m_cards->SetUnwritten(true);
    m_recovery->ContentChanged();
}

bool TfrmMain::askCardName(const QString &title, const QString &prompt, const QString &defaultText, QString &name)
{
    // Asks until the user cancels or gives a name that is free and valid.
    for (;;) {
        QString text = defaultText;
        if (!platform::InputQuery(title, prompt, text, this))
            return false;
        const QString trimmed = cards::TrimCardName(text);
        // A file without a tab counts too: one that arrived from elsewhere.
        if (m_cards->NameTaken(trimmed)) {
            platform::MessageDlg(cards::DuplicateNameMessage(trimmed), platform::MsgDlgType::Error, platform::mbOK, this);
        } else if (!cards::IsValidCardName(trimmed)) {
            platform::MessageDlg(cards::InvalidNameMessage(trimmed), platform::MsgDlgType::Error, platform::mbOK, this);
        } else if (!cards::FitsFileName(trimmed, platform::MaxFileNameLength(m_cards->CardDir()))) {
            platform::MessageDlg(cards::NameTooLongMessage(), platform::MsgDlgType::Error, platform::mbOK, this);
        } else {
            name = trimmed;
            return true;
        }
    }
}

void TfrmMain::mnuNeuClick(QObject *)
{
    bool allow = true;
    TabControl1Changing(this, allow);
    QString name;
    if (!askCardName(QStringLiteral("Neue Karte anlegen"), QStringLiteral("Geben Sie die Beschriftung ein"),
                     QStringLiteral("Neue Karte"), name))
        return;
    const int previous = m_tabControl1->TabIndex();
    const int index = m_cards->InsertCard(name);
    m_tabControl1->SetTabIndex(index);
    m_editor->ClearDocument();
    m_cards->SetEditorCard(index);
    // Setting up the empty card is no edit of it.
    const bool modified = m_cards->CardModified();
    m_editor->SetNumberingNone();
    m_editor->SetBaseFont(m_cardSettings.newCardFontName, m_cardSettings.newCardFontSize);
    m_cards->SetCardModified(modified);
    m_cards->SetUnwritten(false);
    // Written at once, empty: a card made and left without typing must load
    // again. Never over a file that appeared since the name was checked.
    if (!m_cards->CreateCurrentCard()) {
        m_tabControl1->DeleteTab(index);
        m_cards->TabDeleted(index);
        m_tabControl1->SetTabIndex(previous);
        m_cards->SetEditorCard(previous);
        if (previous >= 0)
            m_cards->LoadCurrentCard();
        platform::MessageDlg(cards::DuplicateNameMessage(name), platform::MsgDlgType::Error, platform::mbOK, this);
    }
}

void TfrmMain::mnuDeleteClick(QObject *)
{
    const int index = m_tabControl1->TabIndex();
    if (index < 0)
        return;
    if (m_tabControl1->TabCount() == 1) {
        platform::MessageDlg(QStringLiteral("Die letzte Karte kann nicht gelöscht werden!"), platform::MsgDlgType::Information,
                             platform::mbOK, this);
        return;
    }
    const QString caption = m_tabControl1->Tab(index);
    if (platform::MessageDlg(QStringLiteral("Soll die Karte  \"%1\"  gelöscht werden?").arg(caption),
                             platform::MsgDlgType::Confirmation, platform::mbYes | platform::mbNo, this)
        != platform::mrYes)
        return;
    // Into the trash where there is one, so a mistaken "Ja" can be undone. A
    // file that will not go comes back as a card at the next start; the tab
    // goes all the same.
    const QString path = m_cards->CardPath(index);
    if (!platform::MoveToTrash(path))
        platform::DeleteFile(path);
    // Its unsaved text goes with it, and must not come back after a crash.
    m_recovery->CardWritten(path);
    m_tabControl1->DeleteTab(index);
    m_cards->TabDeleted(index);
    showCardAfterRemoval();
}

void TfrmMain::showCardAfterRemoval()
{
    m_tabControl1->SetTabIndex(0);
    m_cards->SetEditorCard(m_cards->EditorCard());
    m_cards->LoadCurrentCard();
}

void TfrmMain::mnuRenameClick(QObject *)
{
    const int index = m_tabControl1->TabIndex();
    if (index < 0)
        return;
    const QString oldName = m_tabControl1->Tab(index);
    QString newName;
    if (!askCardName(QStringLiteral("Karte \"%1\" umbenennen").arg(oldName), QStringLiteral("Geben Sie die neue Beschriftung ein"),
                     oldName, newName))
        return;
    const QString oldPath = m_cards->CardPath(index);
    m_tabControl1->PutTab(index, newName);
    int code = 0;
    if (!platform::MoveFile(oldPath, m_cards->CardPath(index), &code)) {
        // Tab and file keep one name, or the next start would show a second card.
        m_tabControl1->PutTab(index, oldName);
        throw platform::EInOutError(cards::RenameErrorMessage(code), code);
    }
    m_cards->FileRenamed(oldPath, m_cards->CardPath(index));
    cardFileRenamed(oldPath, m_cards->CardPath(index));
    m_cards->CardRenamed(index);
}

void TfrmMain::cardFileRenamed(const QString &oldPath, const QString &newPath)
{
    if (m_cards->Known().path == newPath)
        m_watcher->Watch(newPath, m_cards->Known().stamp);
    m_recovery->Renamed(oldPath, newPath);
    m_versions->Renamed(oldPath, newPath);
    cardViewRenamed(oldPath, newPath);
    m_findBar->Index().FileTouched(oldPath);
    m_findBar->Index().FileTouched(newPath);
    m_findBar->CardFilesMoved();
}

} // namespace ui
