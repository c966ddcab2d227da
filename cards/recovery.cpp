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
constexpr char kCardTag[] = "{\\*\\kartolinokarte ";
constexpr char kRtfHeader[] = "{\\rtf1";

QByteArray tagged(const QString &cardFile, QByteArray rtf)
{
    const QByteArray tag = kCardTag + cardFile.toUtf8().toHex() + '}';
    const qsizetype at = rtf.startsWith(kRtfHeader) ? qsizetype(sizeof kRtfHeader - 1) : 0;
    return rtf.insert(at, tag);
}

// The card file named in a recovery's bytes, and where the tag is.
QString cardFileIn(const QByteArray &bytes, qsizetype *tagStart = nullptr, qsizetype *tagEnd = nullptr)
{
    const qsizetype start = bytes.indexOf(kCardTag);
    if (start < 0 || start > qsizetype(sizeof kRtfHeader))
        return {};
    const qsizetype hexStart = start + qsizetype(sizeof kCardTag - 1);
    const qsizetype end = bytes.indexOf('}', hexStart);
    if (end < 0)
        return {};
    if (tagStart)
        *tagStart = start;
    if (tagEnd)
        *tagEnd = end + 1;
    return QString::fromUtf8(QByteArray::fromHex(bytes.mid(hexStart, end - hexStart)));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
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
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
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
    });
}

void TRecovery::ContentChanged()
{
    if (!m_currentCardFile().isEmpty())
        m_timer.start();
}

QString TRecovery::FileFor(const QString &cardFile) const
{
    return m_folder + QString::fromLatin1(QCryptographicHash::hash(cardFile.toUtf8(), QCryptographicHash::Sha1).toHex())
         + QStringLiteral(".rtf");
}

void TRecovery::WriteNow()
{
    m_timer.stop();
    const QString cardFile = m_currentCardFile();
    if (cardFile.isEmpty())
        return;
    // Typed text is private: the folder is the user's alone.
    if (!QDir().mkpath(m_folder)
        || !QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        throw platform::Exception(QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(m_folder));
    const QString file = FileFor(cardFile);
    if (platform::ReplaceFileContents(file, tagged(cardFile, m_content())) != platform::ReplaceResult::Ok)
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
    if (cardFile == m_currentCardFile())
        m_timer.stop();
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
    const QSet<QString> written = m_writtenThisRun;
    for (const QString &cardFile : written)
        drop(cardFile);
}

QList<TRecovery::Entry> TRecovery::EntriesIn(const QString &cardDir) const
{
    QList<Entry> entries;
    const QFileInfoList files = QDir(m_folder).entryInfoList({QStringLiteral("*.rtf")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &info : files) {
        const QString cardFile = cardFileIn(readAll(info.filePath()));
        // A file whose name is not its card's own key is none of ours.
        if (cardFile.isEmpty() || FileFor(cardFile) != info.filePath())
            continue;
        const QFileInfo card(cardFile);
        if (QDir::cleanPath(card.path()) == QDir::cleanPath(cardDir))
            entries.append({cardFile, info.filePath(), info.lastModified()});
    }
    return entries;
}

QByteArray TRecovery::ContentOf(const QString &recoveryFile)
{
    QByteArray bytes = readAll(recoveryFile);
    qsizetype start = 0, end = 0;
    if (cardFileIn(bytes, &start, &end).isEmpty())
        return {};
    return bytes.remove(start, end - start);
}

} // namespace cards
