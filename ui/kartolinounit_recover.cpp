// Keeping every typed word: other programs' writes to the current card's
// file, and the recovery of text typed after the last save point.

#include "kartolinounit.h"
#include "findbar.h"

#include "cardnames.h"
#include "cardstore.h"
#include "cardwatcher.h"
#include "recovery.h"
#include "guarded.h"
#include "dialogs.h"
#include "exception.h"
#include "files.h"
#include "richedit.h"
#include "tabcontrol.h"
#include "rtfwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace ui {

void TfrmMain::wireCardCompanions()
{
    m_watcher = std::make_unique<cards::TCardWatcher>();
    m_watcher->OnChanged = [this] { cardChangedOnDisk(); };
    m_recovery = std::make_unique<cards::TRecovery>(
        cards::RecoveryFolder(), [this] { return CurrentCardFile(); },
        [this] { return rtf::RtfWriter(m_editor->document()).write(); });
    m_cards->OnLoaded = [this](const QString &path) {
        m_watcher->Watch(path);
        m_findBar->Index().FileTouched(path);
    };
    m_cards->OnWritten = [this](const QString &path) {
        m_watcher->Watch(path);
        m_recovery->CardWritten(path);
        m_findBar->Index().FileTouched(path);
    };
    m_cards->OnBeforeWrite = [this](const QString &path) { return !keepOtherProgramsEdit(path); };
}

QString TfrmMain::CurrentCardFile() const
{
    const int index = m_tabControl1->TabIndex();
    if (index < 0 || m_cards->EditorCard() != index)
        return {};
    return m_cards->CardPath(index);
}

QString TfrmMain::freeCopyName(const QString &name) const
{
    QString copy = name + QStringLiteral(" (Kopie)");
    for (int n = 2; cards::CardExists(m_tabControl1->Tabs(), copy) || QFileInfo::exists(m_cards->CardFileName(copy)); ++n)
        copy = name + QStringLiteral(" (Kopie %1)").arg(n);
    return copy;
}

void TfrmMain::informLater(const QString &text)
{
    // After the event at hand, so no modal loop runs inside a show event.
    QTimer::singleShot(0, this, [this, text] {
        platform::MessageDlg(text, platform::MsgDlgType::Information, platform::mbOK, this);
    });
}

bool TfrmMain::keepOtherProgramsEdit(const QString &path)
{
    if (!m_watcher->ChangedOnDisk(path)) {
        // A card folder removed meanwhile is made again, so the text has a place.
        if (!platform::DirectoryExists(m_cards->CardDir()))
            m_cards->EnsureCardFolder();
        return false;
    }
    // Both changed: the other program's file stays, the editor's text becomes
    // a card of its own, and that card is the current one from now on.
    const QString name = m_tabControl1->Tab(m_tabControl1->TabIndex());
    const QString copy = freeCopyName(name);
    const QString copyPath = m_cards->CardFileName(copy);
    m_editor->SaveDocument(copyPath);
    const int index = m_cards->InsertCard(copy);
    m_tabControl1->SetTabIndex(index);
    m_cards->SetEditorCard(index);
    m_watcher->Watch(copyPath);
    m_recovery->CardWritten(path);
    platform::MessageDlg(QStringLiteral("Die Karte \"%1\" wurde inzwischen von einem anderen Programm geändert. "
                                        "Ihr Text wurde als neue Karte \"%2\" gespeichert.")
                             .arg(name, copy),
                         platform::MsgDlgType::Information, platform::mbOK, this);
    return true;
}

void TfrmMain::cardChangedOnDisk()
{
    // With changes of its own the editor keeps them; the next save point
    // then keeps both texts.
    if (m_cards->CardModified() || m_watcher->Path() != CurrentCardFile())
        return;
    platform::Guarded([this] { m_cards->LoadCurrentCard(); });
}

void TfrmMain::restoreRecoveries()
{
    const QList<cards::TRecovery::Entry> entries = m_recovery->EntriesIn(m_cards->CardDir());
    bool selected = false;
    for (const cards::TRecovery::Entry &entry : entries) {
        int listed = -1;
        for (int i = 0; i < m_tabControl1->TabCount() && listed < 0; ++i)
            if (m_cards->CardPath(i) == entry.cardFile)
                listed = i;
        if (listed >= 0) {
            // The first card with text to recover is the one shown; the
            // others get theirs when they are picked.
            if (!selected && entry.written > QFileInfo(entry.cardFile).lastModified()) {
                m_tabControl1->SetTabIndex(listed);
                selected = true;
            }
            continue;
        }
        // The card is gone: its text becomes a new card.
        QString name = QFileInfo(entry.cardFile).fileName();
        name.chop(4);
        if (cards::CardExists(m_tabControl1->Tabs(), name) || QFileInfo::exists(m_cards->CardFileName(name)))
            name = freeCopyName(name);
        const QString path = m_cards->CardFileName(name);
        if (platform::ReplaceFileContents(path, cards::TRecovery::ContentOf(entry.recoveryFile)) != platform::ReplaceResult::Ok)
            throw platform::Exception(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
        m_cards->InsertCard(name);
        QFile::remove(entry.recoveryFile);
        informLater(QStringLiteral("Nicht gespeicherter Text wurde als Karte \"%1\" wiederhergestellt.").arg(name));
    }
}

void TfrmMain::applyRecoveryOfCurrentCard()
{
    const QString cardFile = CurrentCardFile();
    if (cardFile.isEmpty())
        return;
    const QString file = m_recovery->FileFor(cardFile);
    const QFileInfo recovery(file);
    if (!recovery.exists() || recovery.lastModified() <= QFileInfo(cardFile).lastModified())
        return;
    m_editor->LoadDocument(file);
    // Not yet in the card's file: the next save point writes it there.
    m_cards->SetCardModified(true);
    informLater(QStringLiteral("Die Karte \"%1\" enthält wiederhergestellten Text, der beim letzten Mal nicht mehr "
                               "gespeichert wurde.")
                    .arg(m_tabControl1->Tab(m_tabControl1->TabIndex())));
}

} // namespace ui
