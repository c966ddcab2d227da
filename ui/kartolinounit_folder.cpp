// The card folder shared with a sync engine: a folder that goes away while
// the program runs (an unmounted drive, a sync engine that emptied it) is
// said once, the tabs stay, and nothing is written into it until it is back;
// cards that other programs add, remove or rename are followed by the tab
// row; the engine's conflict copies are said once.

#include "kartolinounit.h"

#include "cardfolder.h"
#include "cardstore.h"
#include "conflictcopies.h"
#include "mybib.h"
#include "recovery.h"
#include "tabcontrol.h"
#include "findbar.h"

namespace ui {

void TfrmMain::watchCardFolder()
{
    m_folderWatch = std::make_unique<cards::TCardFolderWatch>();
    m_folderWatch->OnChanged = [this] { cardFolderThere(); };
    m_folderWatch->Watch(m_cards->CardDir());
    m_cardFolderHeldCards = cards::StateOfCardFolder(m_cards->CardDir()) == cards::CardFolderState::HoldsCards;
}

bool TfrmMain::cardFolderThere()
{
    if (!m_firstShowDone)
        return true;
    const cards::CardFolderState state = cards::StateOfCardFolder(m_cards->CardDir());
    if (state == cards::CardFolderState::HoldsCards || (state == cards::CardFolderState::Empty && !m_cardFolderHeldCards)) {
        // There (or back again): the next save point writes, and a later
        // loss is said anew. A folder that came back may be another one.
        if (m_cardFolderGone)
            m_cards->WatchFolder();
        m_cardFolderGone = false;
        m_cardFolderHeldCards = state == cards::CardFolderState::HoldsCards;
        return true;
    }
    if (!m_cardFolderGone)
        ShowProblem(QStringLiteral("Der Kartenordner %1 ist nicht mehr erreichbar oder leer. Die Karten bleiben offen; "
                                   "gespeichert wird erst wieder, wenn er zurück ist.")
                        .arg(m_cards->CardDir()));
    m_cardFolderGone = true;
    return false;
}

void TfrmMain::keepTextWhileFolderGone()
{
    // The text that could not be written waits in its recovery for the
    // folder's return; the end of the run must not drop it.
    if (m_cards->CardModified())
        m_recovery->WriteNow();
}

void TfrmMain::cardsFollowed(const cards::FolderChanges &changes)
{
    for (const cards::FolderChanges::Renamed &renamed : changes.renamed)
        cardFileRenamed(renamed.oldPath, renamed.newPath);
    for (const QString &path : changes.removed)
        m_findBar->Index().FileTouched(path);
    if (!changes.currentRemoved.isEmpty()) {
        showCardAfterRemoval();
        ShowNotice(QStringLiteral("Die Karte \u201E%1\u201C wurde außerhalb des Programms entfernt.").arg(changes.currentRemoved));
    }
    if (!changes.currentKept.isEmpty())
        ShowNotice(QStringLiteral("Die Datei der Karte \u201E%1\u201C wurde außerhalb des Programms entfernt. Ihr Text "
                                  "bleibt offen und wird beim nächsten Speichern wieder angelegt.")
                       .arg(changes.currentKept));
    if (changes.arrived) {
        // The first card into an empty row: the editor takes it, as at the start.
        if (m_tabControl1->TabIndex() >= 0 && m_cards->EditorCard() < 0 && !m_cards->CardModified())
            m_cards->LoadCurrentCard();
        noticeConflictCopies();
    }
}

void TfrmMain::noticeConflictCopies()
{
    QStringList fresh;
    for (int i = 0; i < m_tabControl1->TabCount(); ++i) {
        const QString file = m_cards->CardPath(i);
        if (!m_toldConflictCopies.contains(file) && cards::ParseConflictCopy(cards::ExtractBaseName(file))) {
            m_toldConflictCopies.insert(file);
            fresh.append(QStringLiteral("\u201E%1\u201C").arg(m_tabControl1->Tab(i)));
        }
    }
    if (!fresh.isEmpty())
        ShowNotice(QStringLiteral("Ein Sync-Programm hat Konfliktkopien hinterlassen: %1. Jede steht hinter ihrer Karte; "
                                  "nichts wurde zusammengeführt oder gelöscht.")
                       .arg(fresh.join(QStringLiteral(", "))));
}

} // namespace ui
