#include "cardstore.h"

#include "cardnames.h"
#include "errorreason.h"
#include "exception.h"
#include "conflictcopies.h"
#include "cardorder.h"
#include "mybib.h"
#include "files.h"
#include "programfolders.h"
#include "richedit.h"
#include "rtfwriter.h"
#include "tabcontrol.h"

#include <QCryptographicHash>
#include <QSet>

#include <numeric>

namespace cards {

const QString kNoCardHint = QStringLiteral("Noch keine Karte vorhanden. Legen Sie mit \u201EKarte \u2192 Neu\u201C die erste Karte an, dann können Sie schreiben.");

QString CardFolderIn(const QString &programFolder) { return programFolder + QStringLiteral("KRT/"); }

QByteArray ContentHash(const QByteArray &bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1); }

namespace {

// The editor's own messages for a failed write, with the reason.
[[noreturn]] void throwWriteFailure(platform::ReplaceResult result, const QString &path, int code)
{
    QString message = result == platform::ReplaceResult::WriteFailed
                          ? QStringLiteral("Das Speichern des Streams ist mißlungen")
                          : QStringLiteral("Datei %1 kann nicht erstellt werden").arg(platform::ReadableFileName(path));
    if (code)
        message += QStringLiteral(" (%1)").arg(platform::ErrorCodeText(code));
    throw platform::Exception(message);
}

} // namespace

TCardStore::TCardStore(controls::TTabControl *tabs, controls::TRichEdit *editor) : m_tabs(tabs), m_editor(editor) {}

QString TCardStore::CardFileName(const QString &name) const { return m_cardDir + name + QStringLiteral(".rtf"); }

bool TCardStore::EnsureCardFolder(int *errorCode) const
{
    if (platform::DirectoryExists(m_cardDir))
        return true;
    // In the per-user data folder the folders above KRT/ are ours to make.
    platform::MakeParentFolders(m_cardDir);
    return platform::CreateDirectory(m_cardDir, errorCode);
}

QString TCardStore::CardPath(int index) const
{
    if (index < 0 || index >= m_tabs->TabCount())
        return QString();
    const QString caption = m_tabs->Tab(index);
    if (index < m_listed.size() && m_listed.at(index).caption == caption)
        return m_cardDir + m_listed.at(index).fileName;
    return CardFileName(caption);
}

void TCardStore::BuildCardList()
{
    QStringList files;
    ListFiles(m_cardDir, QStringLiteral("*.rtf"), files, 0);
    QStringList captions;
    m_listed.clear();
    for (const int i : CardListOrder(files)) {
        captions.append(CardCaption(files.at(i)));
        m_listed.append({captions.last(), files.at(i), platform::StampOf(m_cardDir + files.at(i))});
    }
    m_tabs->AssignTabs(captions);
    SetEditorCard(m_editorCard);
    m_arriving.clear();
    m_missing.clear();
    WatchFolder();
}

QString TCardStore::fileNameOf(int index) const
{
    const QString caption = m_tabs->Tab(index);
    if (index < m_listed.size() && m_listed.at(index).caption == caption)
        return m_listed.at(index).fileName;
    return caption + QStringLiteral(".rtf");
}

QStringList TCardStore::fileNames() const
{
    QStringList names;
    for (int i = 0; i < m_tabs->TabCount(); ++i)
        names.append(fileNameOf(i));
    return names;
}

QVector<TCardStore::ListedCard> TCardStore::listedTabs() const
{
    QVector<ListedCard> listed;
    listed.reserve(m_tabs->TabCount());
    for (int i = 0; i < m_tabs->TabCount(); ++i) {
        if (i < m_listed.size() && m_listed.at(i).caption == m_tabs->Tab(i))
            listed.append(m_listed.at(i));
        else
            listed.append({m_tabs->Tab(i), fileNameOf(i)});
    }
    return listed;
}

int TCardStore::InsertCard(const QString &name) { return insertListed({name, name + QStringLiteral(".rtf")}); }

int TCardStore::insertListed(const ListedCard &card)
{
    // Every tab gets its entry first, so the entries stay beside their tabs.
    m_listed = listedTabs();
    const int at = m_tabs->TabCount();
    m_tabs->InsertTab(at, card.caption);
    m_listed.append(card);
    return putInCardOrder(at);
}

int TCardStore::CardRenamed(int index) { return putInCardOrder(index); }

int TCardStore::putInCardOrder(int follow)
{
    m_listed = listedTabs();
    const QList<int> order = CardListOrder(fileNames());
    // row: which of the tabs as they were stands at each place now.
    QList<int> row(order.size());
    std::iota(row.begin(), row.end(), 0);
    for (int to = 0; to < order.size(); ++to) {
        if (row.at(to) == order.at(to))
            continue;
        const int from = int(row.indexOf(order.at(to), to));
        row.move(from, to);
        m_listed.move(from, to);
        m_tabs->MoveTab(from, to);
        m_editorCard = controls::IndexAfterMove(m_editorCard, from, to);
        follow = controls::IndexAfterMove(follow, from, to);
    }
    m_orderStale = false;
    return follow;
}

void TCardStore::rememberKnown()
{
    // Read or written just now: there, whatever an earlier look missed.
    m_missing.remove(m_known.path);
    m_listed = listedTabs();
    if (m_editorCard >= 0 && m_editorCard < m_listed.size() && CardPath(m_editorCard) == m_known.path) {
        m_listed[m_editorCard].stamp = m_known.stamp;
        m_listed[m_editorCard].hash = m_known.hash;
    }
}

void TCardStore::SetEditorCard(int index)
{
    m_editorCard = index;
    // Text typed without a card, or into a selected card whose text is not
    // in the editor, could never be written anywhere.
    const bool noCard = m_tabs->TabIndex() < 0;
    m_editor->setReadOnly(noCard || m_editorCard != m_tabs->TabIndex());
    m_editor->setPlaceholderText(noCard ? kNoCardHint : QString());
}

void TCardStore::TabDeleted(int index)
{
    if (index >= 0 && index < m_listed.size())
        m_listed.remove(index);
    if (m_editorCard == index)
        m_editorCard = -1;
    else if (m_editorCard > index)
        --m_editorCard;
}

void TCardStore::LoadCurrentCard()
{
    const int index = m_tabs->TabIndex();
    if (index < 0) {
        // No card: nothing to load, and the editor says how to make one.
        SetEditorCard(-1);
        return;
    }
    const QString path = CardPath(index);
    // Read once more for what the editor's text is based on; a file that
    // cannot be read fails in the load, with its message.
    QByteArray bytes;
    platform::FileStamp stamp;
    platform::ReadRegularFile(path, bytes, &stamp);
    m_editor->LoadDocument(path);
    m_known = {path, stamp, ContentHash(bytes)};
    m_unwritten = false;
    SetEditorCard(index);
    rememberKnown();
    if (OnLoaded)
        OnLoaded(path);
}

void TCardStore::SaveCurrentCard()
{
    const int index = m_tabs->TabIndex();
    if (index < 0 || m_editorCard != index)
        return;
    if (m_known.path == CardPath(index) && !platform::StampOf(m_known.path).exists) {
        // Renamed outside a moment ago, before a look followed it: the text
        // goes under the new name, never back under the old one. Inside a tab
        // switch the row must not move under the switch; the next look sorts it.
        FolderChanges changes;
        if (followCurrentRename(changes, false))
            tellFollowed(changes);
    }
    const QString path = CardPath(index);
    if (OnBeforeWrite && !OnBeforeWrite(path))
        return;
    writeCurrentCard(path);
}

void TCardStore::writeCurrentCard(const QString &path)
{
    const QByteArray bytes = EditorBytes();
    platform::Replaced replaced;
    int code = 0;
    const platform::ReplaceResult result = platform::ExchangeFileContents(path, bytes, replaced, &code);
    if (result != platform::ReplaceResult::Ok)
        throwWriteFailure(result, path, code);
    // Another program's version that landed after the last look: the
    // program never read it, so it must not vanish.
    const bool other = replaced.existed && replaced.bytes != bytes
                       && (m_known.path != path || ContentHash(replaced.bytes) != m_known.hash);
    m_known = {path, replaced.written, ContentHash(bytes)};
    m_unwritten = false;
    rememberKnown();
    if (OnWritten)
        OnWritten(path);
    if (other && OnReplacedOther)
        OnReplacedOther(path, replaced.bytes);
}

bool TCardStore::CreateCardFile(const QString &name, const QByteArray &bytes) const
{
    const QString path = CardFileName(name);
    int code = 0;
    const platform::ReplaceResult result = platform::CreateFileContents(path, bytes, &code);
    if (result == platform::ReplaceResult::Ok)
        return true;
    if (code == platform::kErrorAlreadyExists)
        return false;
    throwWriteFailure(result, path, code);
}

bool TCardStore::CreateCurrentCard()
{
    const int index = m_tabs->TabIndex();
    const QString path = CardPath(index);
    const QByteArray bytes = EditorBytes();
    if (!CreateCardFile(m_tabs->Tab(index), bytes))
        return false;
    KnowWritten(path, bytes);
    return true;
}

void TCardStore::KnowWritten(const QString &path, const QByteArray &bytes)
{
    m_known = {path, platform::StampOf(path), ContentHash(bytes)};
    m_unwritten = false;
    rememberKnown();
    if (OnWritten)
        OnWritten(path);
}

QByteArray TCardStore::EditorBytes() const { return rtf::RtfWriter(m_editor->document()).write(); }

bool TCardStore::NameTaken(const QString &name) const
{
    if (CardExists(m_tabs->Tabs(), name))
        return true;
    QStringList files;
    ListFiles(m_cardDir, QStringLiteral("*.rtf"), files, 0);
    QStringList captions;
    for (const QString &file : std::as_const(files))
        captions.append(ExtractBaseName(platform::ReadableFileName(file)));
    return CardExists(captions, name);
}

void TCardStore::FileRenamed(const QString &oldPath, const QString &newPath)
{
    if (m_known.path == oldPath)
        m_known.path = newPath;
}

TCardStore::DiskState TCardStore::CompareWithDisk()
{
    const platform::FileStamp now = platform::StampOf(m_known.path);
    if (!now.exists)
        return DiskState::Gone;
    if (now == m_known.stamp)
        return DiskState::Same;
    QByteArray bytes;
    platform::FileStamp read;
    if (!platform::ReadRegularFile(m_known.path, bytes, &read) || ContentHash(bytes) != m_known.hash)
        return DiskState::Changed;
    m_known.stamp = read;
    return DiskState::Same;
}

void TCardStore::Leaving()
{
    if (m_cardModified && m_tabs->TabIndex() >= 0)
        SaveCurrentCard();
}

void TCardStore::Arriving()
{
    try {
        LoadCurrentCard();
    } catch (...) {
        // Go back to the card whose text is still on screen, so that text can
        // never be written under the picked card's name.
        m_tabs->SetTabIndex(m_editorCard);
        SetEditorCard(m_editorCard);
        throw;
    }
    m_cardModified = false;
}

} // namespace cards
