#include "cardstore.h"

#include "cardnames.h"
#include "errorreason.h"
#include "exception.h"
#include "guarded.h"
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
    SortCardFiles(files);
    QStringList names;
    for (const QString &file : std::as_const(files))
        names.append(ExtractBaseName(platform::ReadableFileName(file)));
    QStringList captions;
    m_listed.clear();
    for (const int i : OrderWithConflictCopies(names)) {
        const std::optional<ConflictCopy> copy = ParseConflictCopy(names.at(i));
        captions.append(copy ? ConflictCaption(*copy) : names.at(i));
        m_listed.append({captions.last(), files.at(i)});
    }
    m_tabs->AssignTabs(captions);
    SetEditorCard(m_editorCard);
    m_arriving.clear();
    watchFolder();
}

void TCardStore::watchFolder()
{
    if (!m_arrivalLook) {
        // A second apart: a file must keep its stamp from one look to the next.
        m_arrivalLook = std::make_unique<QTimer>();
        m_arrivalLook->setSingleShot(true);
        m_arrivalLook->setInterval(1000);
        QObject::connect(m_arrivalLook.get(), &QTimer::timeout, m_arrivalLook.get(), [this] {
            platform::Guarded([this] {
                const int before = m_tabs->TabCount();
                if (AddArrivals())
                    m_arrivalLook->start();
                if (m_tabs->TabCount() != before && OnArrived)
                    OnArrived();
            });
        });
    }
    m_folderWatch = std::make_unique<QFileSystemWatcher>();
    QObject::connect(m_folderWatch.get(), &QFileSystemWatcher::directoryChanged, m_arrivalLook.get(),
                     [this] { m_arrivalLook->start(); });
    if (platform::DirectoryExists(m_cardDir))
        m_folderWatch->addPath(m_cardDir);
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
    for (int i = 0; i < m_tabs->TabCount(); ++i)
        listed.append({m_tabs->Tab(i), fileNameOf(i)});
    return listed;
}

int TCardStore::InsertCard(const QString &name) { return insertListed(name, name + QStringLiteral(".rtf")); }

int TCardStore::insertListed(const QString &caption, const QString &fileName)
{
    // Every tab gets its entry first, so the entries stay beside their tabs.
    m_listed = listedTabs();
    const int index = CardOrderPosition(fileNames(), fileName);
    m_tabs->InsertTab(index, caption);
    m_listed.insert(index, ListedCard{caption, fileName});
    if (m_editorCard >= index)
        ++m_editorCard;
    return index;
}

int TCardStore::CardRenamed(int index)
{
    // Out of the row first: the others stay sorted, and the renamed card
    // goes where its new name sorts among them.
    m_listed = listedTabs();
    QStringList names = fileNames();
    const QString renamed = names.takeAt(index);
    const int to = CardOrderPosition(names, renamed);
    m_listed.move(index, to);
    m_tabs->MoveTab(index, to);
    m_editorCard = controls::IndexAfterMove(m_editorCard, index, to);
    return to;
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
    if (OnLoaded)
        OnLoaded(path);
}

void TCardStore::SaveCurrentCard()
{
    const int index = m_tabs->TabIndex();
    if (index < 0 || m_editorCard != index)
        return;
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

bool TCardStore::IsArrivingCardName(const QString &fileName)
{
    // Dot files (Syncthing's ".syncthing.*.tmp", office locks ".~lock.*#",
    // editor locks) and the temporary names of other engines.
    return !fileName.startsWith(QLatin1Char('.')) && !fileName.startsWith(QStringLiteral("~syncthing~"))
           && !fileName.endsWith(QStringLiteral(".part"), Qt::CaseInsensitive)
           && fileName.endsWith(QStringLiteral(".rtf"), Qt::CaseInsensitive);
}

bool TCardStore::AddArrivals()
{
    QStringList files;
    ListFiles(m_cardDir, QStringLiteral("*.rtf"), files, 0);
    QSet<QString> known;
    for (int i = 0; i < m_tabs->TabCount(); ++i)
        known.insert(CardPath(i));
    QHash<QString, platform::FileStamp> seen;
    for (const QString &file : std::as_const(files)) {
        const QString path = m_cardDir + file;
        if (known.contains(path) || !IsArrivingCardName(file))
            continue;
        const platform::FileStamp now = platform::StampOf(path);
        if (!now.exists)
            continue;
        if (m_arriving.value(path) != now) {
            seen.insert(path, now); // new, or still changing
            continue;
        }
        insertListed(ExtractBaseName(platform::ReadableFileName(file)), file);
    }
    m_arriving = seen;
    SetEditorCard(m_editorCard);
    return !m_arriving.isEmpty();
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
