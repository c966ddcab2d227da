// Keeping every typed word: other programs' writes to the current card's
// file, and the recovery of text typed after the last save point.

#include "kartolinounit.h"
#include "findbar.h"

#include "cardnames.h"
#include "cardstore.h"
#include "cardwatcher.h"
#include "recovery.h"
#include "versions.h"
#include "guarded.h"
#include "dialogs.h"
#include "exception.h"
#include "files.h"
#include "richedit.h"
#include "tabcontrol.h"
#include "documentsnapshot.h"
#include "rtfwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTimer>

#include <memory>

namespace ui {

namespace {

// The messages of this file, in one place: each tells what became of text
// that the user did not see being kept apart.
QString restoredNotice(const QString &card)
{
    return QStringLiteral("Die Karte \"%1\" enthält wiederhergestellten Text, der beim letzten Mal nicht mehr "
                          "gespeichert wurde.")
        .arg(card);
}
QString recoveredAsCardNotice(const QString &name)
{
    return QStringLiteral("Nicht gespeicherter Text wurde als Karte \"%1\" wiederhergestellt.").arg(name);
}
QString keptBesideChangedCardNotice(const QString &card, const QString &name)
{
    return QStringLiteral("Die Karte \"%1\" wurde geändert, nachdem beim letzten Mal Text darin nicht mehr gespeichert "
                          "wurde. Beides ist erhalten: der nicht gespeicherte Text steht in der neuen Karte \"%2\".")
        .arg(card, name);
}
QString copyOfOwnTextNotice(const QString &card, const QString &copy)
{
    return QStringLiteral("Die Karte \"%1\" wurde inzwischen von einem anderen Programm geändert. "
                          "Ihr Text wurde als neue Karte \"%2\" gespeichert.")
        .arg(card, copy);
}
QString copyOfOtherTextNotice(const QString &card, const QString &copy)
{
    return QStringLiteral("Die Karte \"%1\" wurde im selben Augenblick von einem anderen Programm geändert. "
                          "Dessen Text wurde als neue Karte \"%2\" gespeichert.")
        .arg(card, copy);
}

// Names for a card kept beside name: "Name (Kopie)", "Name (Kopie 2)", ...
std::function<QString(int)> numbered(const QString &name, const QString &what)
{
    return [name, what](int n) {
        return n == 1 ? QStringLiteral("%1 (%2)").arg(name, what) : QStringLiteral("%1 (%2 %3)").arg(name, what).arg(n);
    };
}

} // namespace

void TfrmMain::wireCardCompanions()
{
    m_watcher = std::make_unique<cards::TCardWatcher>();
    m_watcher->OnChanged = [this] { cardChangedOnDisk(); };
    // A copy of the text taken here, made RTF on the recovery's own thread:
    // making RTF of a big card here would hold up the typing.
    m_recovery = std::make_unique<cards::TRecovery>(
        cards::RecoveryFolder(), [this] { return CurrentCardFile(); },
        [this]() -> cards::TRecovery::Content {
            return [copy = std::make_shared<const controls::TDocumentSnapshot>(*m_editor->document())] {
                return copy->Rtf();
            };
        });
    // Taken in slices of a few milliseconds, so that not even the copy of a
    // big card is felt in the typing.
    m_recovery->CopyLater = [this](cards::TRecovery::Ready ready) -> std::unique_ptr<QObject> {
        return std::make_unique<controls::TDocumentCopier>(
            m_editor->document(), [ready](std::shared_ptr<const controls::TDocumentSnapshot> copy) {
                ready(copy ? cards::TRecovery::Content([copy] { return copy->Rtf(); }) : cards::TRecovery::Content());
            });
    };
    // The writes that wait (session end, folder gone, rename) hold the GUI
    // thread anyway: made from the editor itself they hold it shortest.
    m_recovery->ContentNow = [this] { return rtf::RtfWriter(m_editor->document()).write(); };
    m_recovery->BasisOf = [this](const QString &cardFile) {
        return m_cards->Known().path == cardFile ? m_cards->Known().hash : QByteArray();
    };
    // Written in the background: a failure must not open a box over the typing.
    m_recovery->OnFailure = [this](const QString &message) { ShowProblem(message); };
    wireVersions();
    m_cards->OnLoaded = [this](const QString &path) {
        m_watcher->Watch(path, m_cards->Known().stamp);
        m_findBar->Index().FileTouched(path);
    };
    m_cards->OnWritten = [this](const QString &path) {
        m_watcher->Watch(path, m_cards->Known().stamp);
        m_recovery->CardWritten(path);
        m_findBar->Index().FileTouched(path);
        m_versions->Replaced(path);
    };
    m_cards->OnBeforeWrite = [this](const QString &path) {
        if (!cardFolderThere() || keepOtherProgramsEdit(path))
            return false;
        m_versions->Replacing(path);
        return true;
    };
    m_cards->OnReplacedOther = [this](const QString &path, const QByteArray &bytes) { keepSwappedOut(path, bytes); };
    m_cards->OnFollowed = [this](const cards::FolderChanges &changes) { cardsFollowed(changes); };
    m_reloadRetry = std::make_unique<QTimer>();
    m_reloadRetry->setSingleShot(true);
    m_reloadRetry->setInterval(500);
    connect(m_reloadRetry.get(), &QTimer::timeout, this, [this] { platform::Guarded([this] { cardChangedOnDisk(); }); });
}

QString TfrmMain::CurrentCardFile() const
{
    const int index = m_tabControl1->TabIndex();
    if (index < 0 || m_cards->EditorCard() != index)
        return {};
    return m_cards->CardPath(index);
}

QString TfrmMain::addCardWith(const QByteArray &bytes, const std::function<QString(int)> &candidate, int *index)
{
    // The folder may hold files that have no tab, and one may appear between
    // the look and the write: the write itself refuses a taken name.
    constexpr int kMostCandidates = 1000;
    for (int n = 1; n <= kMostCandidates; ++n) {
        const QString name = candidate(n);
        if (m_cards->NameTaken(name) || !m_cards->CreateCardFile(name, bytes))
            continue;
        const int at = m_cards->InsertCard(name);
        if (index)
            *index = at;
        return name;
    }
    throw platform::Exception(QStringLiteral("Datei %1 kann nicht erstellt werden")
                                  .arg(platform::ReadableFileName(m_cards->CardFileName(candidate(kMostCandidates)))));
}

void TfrmMain::informLater(const QString &text) { ShowNotice(text); }

bool TfrmMain::keepOtherProgramsEdit(const QString &path)
{
    if (m_cards->Known().path != path)
        return false;
    switch (m_cards->CompareWithDisk()) {
    case cards::TCardStore::DiskState::Gone:
        // A card removed from a folder that is still there is written again;
        // a gone folder never gets this far (cardFolderThere).
        return false;
    case cards::TCardStore::DiskState::Same:
        return false;
    case cards::TCardStore::DiskState::Changed:
        break;
    }
    if (!m_cards->Unwritten()) {
        // Nothing typed since the program's last read or write: the other
        // program's text is the newer one, and the editor takes it.
        QTimer::singleShot(0, this, [this] { cardChangedOnDisk(); });
        return true;
    }
    // Both changed: the other program's file stays, the editor's text becomes
    // a card of its own, and that card is the current one from now on.
    const QString name = m_tabControl1->Tab(m_tabControl1->TabIndex());
    const QByteArray bytes = m_cards->EditorBytes();
    int index = -1;
    const QString copy = addCardWith(bytes, numbered(name, QStringLiteral("Kopie")), &index);
    m_tabControl1->SetTabIndex(index);
    m_cards->SetEditorCard(index);
    m_recovery->CardWritten(path);
    m_cards->KnowWritten(m_cards->CardPath(index), bytes);
    informLater(copyOfOwnTextNotice(name, copy));
    return true;
}

void TfrmMain::keepSwappedOut(const QString &path, const QByteArray &bytes)
{
    // The save point's text is in the card; the other program's version,
    // which landed just before it, becomes a card beside it.
    int index = -1;
    for (int i = 0; i < m_tabControl1->TabCount() && index < 0; ++i)
        if (m_cards->CardPath(i) == path)
            index = i;
    const QString name = index >= 0 ? m_tabControl1->Tab(index) : QFileInfo(path).fileName().chopped(4);
    informLater(copyOfOtherTextNotice(name, addCardWith(bytes, numbered(name, QStringLiteral("Kopie")))));
}

void TfrmMain::cardChangedOnDisk()
{
    const QString path = CurrentCardFile();
    if (path.isEmpty() || m_watcher->Path() != path || m_cards->Known().path != path)
        return;
    // Identical bytes (a touched time, a same-content rewrite) change nothing;
    // with typing of its own since, the editor keeps its text and the next
    // save point keeps both.
    if (m_cards->CompareWithDisk() != cards::TCardStore::DiskState::Changed || m_cards->Unwritten())
        return;
    // RTF still being written is looked at again, never loaded cut off.
    if (m_cards->CurrentFileUnfinished()) {
        m_reloadRetry->start();
        return;
    }
    GuardedNotice([this] { reloadKeepingView(); });
}

void TfrmMain::reloadKeepingView()
{
    const QTextCursor before = m_editor->textCursor();
    const int anchor = before.anchor(), position = before.position();
    const int vertical = m_editor->verticalScrollBar()->value();
    const int horizontal = m_editor->horizontalScrollBar()->value();
    m_cards->LoadCurrentCard();
    QTextCursor cursor(m_editor->document());
    const int end = m_editor->document()->characterCount() - 1;
    cursor.setPosition(qBound(0, anchor, end));
    cursor.setPosition(qBound(0, position, end), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    m_editor->verticalScrollBar()->setValue(vertical);
    m_editor->horizontalScrollBar()->setValue(horizontal);
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
            QByteArray card;
            const bool unchanged = !entry.basis.isEmpty() && platform::ReadRegularFile(entry.cardFile, card)
                                   && cards::ContentHash(card) == entry.basis;
            if (!unchanged) {
                keepRecoveryBeside(m_tabControl1->Tab(listed), entry.recoveryFile);
                continue;
            }
            // The first card with text to recover is the one shown; the
            // others get theirs when they are picked.
            if (!selected) {
                m_tabControl1->SetTabIndex(listed);
                selected = true;
            }
            continue;
        }
        // The card is gone: its text becomes a new card.
        QString name = QFileInfo(entry.cardFile).fileName();
        name.chop(4);
        const auto copies = numbered(name, QStringLiteral("Kopie"));
        const QString made = addCardWith(cards::TRecovery::ContentOf(entry.recoveryFile),
                                         [&](int n) { return n == 1 ? name : copies(n - 1); });
        QFile::remove(entry.recoveryFile);
        informLater(recoveredAsCardNotice(made));
    }
}

void TfrmMain::keepRecoveryBeside(const QString &card, const QString &recoveryFile)
{
    // The card changed after the text was typed (a sync tool delivered
    // another machine's edit, say): neither may overwrite the other.
    const QString made = addCardWith(cards::TRecovery::ContentOf(recoveryFile), numbered(card, QStringLiteral("wiederhergestellt")));
    QFile::remove(recoveryFile);
    informLater(keptBesideChangedCardNotice(card, made));
}

void TfrmMain::applyRecoveryOfCurrentCard()
{
    const QString cardFile = CurrentCardFile();
    if (cardFile.isEmpty())
        return;
    const QString file = m_recovery->FileFor(cardFile);
    if (!QFileInfo::exists(file))
        return;
    const QString card = m_tabControl1->Tab(m_tabControl1->TabIndex());
    const QByteArray basis = cards::TRecovery::BasedOn(file);
    if (basis.isEmpty() || basis != m_cards->Known().hash) {
        keepRecoveryBeside(card, file);
        return;
    }
    m_editor->LoadDocument(file);
    // Not yet in the card's file: the next save point writes it there.
    m_cards->SetCardModified(true);
    m_cards->SetUnwritten(true);
    informLater(restoredNotice(card));
}

} // namespace ui
