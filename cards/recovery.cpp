#include "recovery.h"

#include "guarded.h"
#include "exception.h"
#include "files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>

namespace cards {

namespace {

// The card a recovery belongs to travels inside it, as an ignorable RTF
// group right behind the header word, so the file stays plain RTF.
// The content of the card file it grew from follows as a second group.
constexpr char kCardTag[] = "{\\*\\kartolinokarte ";
constexpr char kBasisTag[] = "{\\*\\kartolinobasis ";
constexpr char kRtfHeader[] = "{\\rtf1";

QByteArray tagged(const QString &cardFile, const QByteArray &basis, QByteArray rtf)
{
    QByteArray tag = kCardTag + cardFile.toUtf8().toHex() + '}';
    if (!basis.isEmpty())
        tag += kBasisTag + basis.toHex() + '}';
    const qsizetype at = rtf.startsWith(kRtfHeader) ? qsizetype(sizeof kRtfHeader - 1) : 0;
    return rtf.insert(at, tag);
}

// The hex value of the group tag that starts at from; -1 when there is none.
qsizetype tagValue(const QByteArray &bytes, qsizetype from, const char *tag, qsizetype tagSize, QByteArray &value)
{
    if (from < 0 || !QByteArrayView(bytes).sliced(from).startsWith(QByteArrayView(tag, tagSize)))
        return -1;
    const qsizetype hexStart = from + tagSize;
    const qsizetype end = bytes.indexOf('}', hexStart);
    if (end < 0)
        return -1;
    value = QByteArray::fromHex(bytes.mid(hexStart, end - hexStart));
    return end + 1;
}

// The card file named in a recovery's bytes, its basis, and where the tags are.
QString cardFileIn(const QByteArray &bytes, QByteArray *basis = nullptr, qsizetype *tagStart = nullptr,
                   qsizetype *tagEnd = nullptr)
{
    const qsizetype start = bytes.indexOf(kCardTag);
    if (start < 0 || start > qsizetype(sizeof kRtfHeader))
        return {};
    QByteArray card, hash;
    qsizetype end = tagValue(bytes, start, kCardTag, qsizetype(sizeof kCardTag - 1), card);
    if (end < 0)
        return {};
    if (const qsizetype basisEnd = tagValue(bytes, end, kBasisTag, qsizetype(sizeof kBasisTag - 1), hash); basisEnd >= 0)
        end = basisEnd;
    if (basis)
        *basis = hash;
    if (tagStart)
        *tagStart = start;
    if (tagEnd)
        *tagEnd = end;
    return QString::fromUtf8(card);
}

QByteArray readAll(const QString &path)
{
    QByteArray bytes;
    platform::ReadRegularFile(path, bytes);
    return bytes;
}

} // namespace

QString RecoveryFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/Kartolino/");
}

TRecovery::TRecovery(QString folder, std::function<QString()> currentCardFile, std::function<Content()> content)
    : m_folder(std::move(folder)), m_currentCardFile(std::move(currentCardFile)), m_content(std::move(content))
{
    if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDefaultDelayMs);
    m_longest.setSingleShot(true);
    m_longest.setInterval(kDefaultLongestDelayMs);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { writeLater(); });
    QObject::connect(&m_longest, &QTimer::timeout, &m_longest, [this] { writeLater(); });
}

TRecovery::~TRecovery()
{
    abandonCopy();
    WaitForWrites();
}

void TRecovery::ContentChanged()
{
    if (m_currentCardFile().isEmpty())
        return;
    // Restarted by every key: alone it would wait for ever while typing goes on.
    m_timer.start();
    if (!m_longest.isActive())
        m_longest.start();
}

QString TRecovery::FileFor(const QString &cardFile) const
{
    return m_folder + QString::fromLatin1(QCryptographicHash::hash(cardFile.toUtf8(), QCryptographicHash::Sha1).toHex())
         + QStringLiteral(".rtf");
}

quint64 TRecovery::dropsOf(const QString &cardFile)
{
    const QMutexLocker lock(&m_landing);
    return m_drops.value(cardFile);
}

QString TRecovery::due()
{
    m_timer.stop();
    m_longest.stop();
    return m_currentCardFile();
}

void TRecovery::writeLater()
{
    const QString cardFile = due();
    if (cardFile.isEmpty())
        return;
    if (!CopyLater) {
        queue(cardFile, m_content());
        return;
    }
    // One copy at a time: the one under way takes in what was typed meanwhile.
    if (m_copying && m_copyingFor == cardFile)
        return;
    abandonCopy();
    m_copyingFor = cardFile;
    m_copying = CopyLater([this, cardFile](Content content) {
        // The copier is still on its way out of the call that brought this.
        if (m_copying)
            m_copying.release()->deleteLater();
        m_copyingFor.clear();
        // No copy, or one of another card's text, is no recovery of this card.
        if (content && m_currentCardFile() == cardFile)
            queue(cardFile, std::move(content));
    });
}

void TRecovery::abandonCopy()
{
    m_copying.reset();
    m_copyingFor.clear();
}

void TRecovery::queue(const QString &cardFile, Content content)
{
    const QByteArray basis = BasisOf ? BasisOf(cardFile) : QByteArray();
    const quint64 drops = dropsOf(cardFile);
    // Counted before it lands: a normal end must drop it even if it is still on its way.
    m_writtenThisRun.insert(cardFile);
    m_writer.Run(
        [this, cardFile, basis, content = std::move(content), drops] {
            try {
                write(cardFile, basis, content, drops);
                m_failureShown = false;
            } catch (const platform::Exception &) {
                // Said once; repeating it at every pause in typing would bury
                // the user in messages while the save points still work.
                if (!m_failureShown.exchange(true))
                    throw;
            }
        },
        [this](const QString &message) { failed(message); });
}

void TRecovery::failed(const QString &message)
{
    if (OnFailure)
        OnFailure(message);
    else
        platform::HandleException(platform::Exception(message));
}

void TRecovery::WaitForWrites() { m_writer.WaitForDone(); }

void TRecovery::WriteNow()
{
    abandonCopy();
    const QString cardFile = due();
    if (cardFile.isEmpty())
        return;
    WaitForWrites();
    const QByteArray basis = BasisOf ? BasisOf(cardFile) : QByteArray();
    write(cardFile, basis, ContentNow ? ContentNow : m_content(), dropsOf(cardFile));
    m_writtenThisRun.insert(cardFile);
}

void TRecovery::write(const QString &cardFile, const QByteArray &basis, const Content &content, quint64 drops)
{
    // Typed text is private: the folder is the user's alone.
    if (!QDir().mkpath(m_folder)
        || !QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        throw platform::Exception(QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(m_folder));
    const QString file = FileFor(cardFile);
    const auto cannotCreate = [&file] {
        return platform::Exception(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(file));
    };
    // The slow part, writing and flushing, happens before the lock.
    platform::PreparedReplacement replacement;
    if (replacement.Prepare(file, tagged(cardFile, basis, content())) != platform::ReplaceResult::Ok)
        throw cannotCreate();
    {
        const QMutexLocker lock(&m_landing);
        // Dropped since the copy was taken: the card's file holds the text,
        // or the card is gone, and the copy must not come back at the next start.
        if (m_drops.value(cardFile) != drops)
            return;
        if (replacement.Commit(nullptr, platform::FolderSync::Later) != platform::ReplaceResult::Ok)
            throw cannotCreate();
    }
    platform::SyncFolder(m_folder);
}

void TRecovery::drop(const QString &cardFile)
{
    const QMutexLocker lock(&m_landing);
    ++m_drops[cardFile];
    const QString file = FileFor(cardFile);
    if (QFileInfo::exists(file) && !QFile::remove(file))
        throw platform::Exception(QStringLiteral("Datei %1 kann nicht gelöscht werden").arg(file));
    m_writtenThisRun.remove(cardFile);
}

void TRecovery::CardWritten(const QString &cardFile)
{
    // A copy still being taken would be the text just written, or more typed
    // since, which the next pause writes anew.
    if (m_copyingFor == cardFile)
        abandonCopy();
    if (cardFile == m_currentCardFile()) {
        m_timer.stop();
        m_longest.stop();
    }
    drop(cardFile);
}

void TRecovery::Renamed(const QString &oldCardFile, const QString &newCardFile)
{
    // A copy still being taken under the old name would land nowhere: the
    // text is written under the new name now instead.
    const bool copying = m_copyingFor == oldCardFile;
    if (copying)
        abandonCopy();
    // A write of the old name still on its way has to land first, or it would be missed here.
    WaitForWrites();
    if (!copying && !QFileInfo::exists(FileFor(oldCardFile)))
        return;
    if (m_currentCardFile() == newCardFile)
        WriteNow();
    drop(oldCardFile);
}

void TRecovery::EndOfRun()
{
    abandonCopy();
    m_timer.stop();
    m_longest.stop();
    const QSet<QString> written = m_writtenThisRun;
    for (const QString &cardFile : written)
        drop(cardFile);
    // What is still queued lands no more; it only has to finish.
    WaitForWrites();
}

QList<TRecovery::Entry> TRecovery::EntriesIn(const QString &cardDir) const
{
    QList<Entry> entries;
    const QFileInfoList files = QDir(m_folder).entryInfoList({QStringLiteral("*.rtf")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &info : files) {
        QByteArray basis;
        const QString cardFile = cardFileIn(readAll(info.filePath()), &basis);
        // A file whose name is not its card's own key is none of ours.
        if (cardFile.isEmpty() || FileFor(cardFile) != info.filePath())
            continue;
        const QFileInfo card(cardFile);
        if (QDir::cleanPath(card.path()) == QDir::cleanPath(cardDir))
            entries.append({cardFile, info.filePath(), info.lastModified(), basis});
    }
    return entries;
}

QByteArray TRecovery::ContentOf(const QString &recoveryFile)
{
    QByteArray bytes = readAll(recoveryFile);
    qsizetype start = 0, end = 0;
    if (cardFileIn(bytes, nullptr, &start, &end).isEmpty())
        return {};
    return bytes.remove(start, end - start);
}

QByteArray TRecovery::BasedOn(const QString &recoveryFile)
{
    QByteArray basis;
    cardFileIn(readAll(recoveryFile), &basis);
    return basis;
}

} // namespace cards
