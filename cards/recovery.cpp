#include "recovery.h"

#include "guarded.h"
#include "exception.h"
#include "files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

TRecovery::TRecovery(QString folder, std::function<QString()> currentCardFile, std::function<QByteArray()> content)
    : m_folder(std::move(folder)), m_currentCardFile(std::move(currentCardFile)), m_content(std::move(content))
{
    if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDefaultDelayMs);
    m_longest.setSingleShot(true);
    m_longest.setInterval(kDefaultLongestDelayMs);
    const auto write = [this] {
        try {
            WriteNow();
            m_failureShown = false;
        } catch (const platform::Exception &e) {
            // Said once; repeating it at every pause in typing would bury
            // the user in boxes while the save points still work.
            if (m_failureShown)
                return;
            m_failureShown = true;
            if (OnFailure)
                OnFailure(e.message());
            else
                platform::HandleException(e);
        }
    };
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, write);
    QObject::connect(&m_longest, &QTimer::timeout, &m_longest, write);
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

void TRecovery::WriteNow()
{
    m_timer.stop();
    m_longest.stop();
    const QString cardFile = m_currentCardFile();
    if (cardFile.isEmpty())
        return;
    // Typed text is private: the folder is the user's alone.
    if (!QDir().mkpath(m_folder)
        || !QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        throw platform::Exception(QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(m_folder));
    const QString file = FileFor(cardFile);
    const QByteArray basis = BasisOf ? BasisOf(cardFile) : QByteArray();
    if (platform::ReplaceFileContents(file, tagged(cardFile, basis, m_content())) != platform::ReplaceResult::Ok)
        throw platform::Exception(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(file));
    m_writtenThisRun.insert(cardFile);
}

void TRecovery::drop(const QString &cardFile)
{
    const QString file = FileFor(cardFile);
    if (QFileInfo::exists(file) && !QFile::remove(file))
        throw platform::Exception(QStringLiteral("Datei %1 kann nicht gelöscht werden").arg(file));
    m_writtenThisRun.remove(cardFile);
}

void TRecovery::CardWritten(const QString &cardFile)
{
    if (cardFile == m_currentCardFile()) {
        m_timer.stop();
        m_longest.stop();
    }
    drop(cardFile);
}

void TRecovery::Renamed(const QString &oldCardFile, const QString &newCardFile)
{
    if (!QFileInfo::exists(FileFor(oldCardFile)))
        return;
    if (m_currentCardFile() == newCardFile)
        WriteNow();
    drop(oldCardFile);
}

void TRecovery::EndOfRun()
{
    m_timer.stop();
    m_longest.stop();
    const QSet<QString> written = m_writtenThisRun;
    for (const QString &cardFile : written)
        drop(cardFile);
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
