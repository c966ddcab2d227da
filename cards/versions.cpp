#include "versions.h"

#include "recovery.h"
#include "exception.h"
#include "errorreason.h"
#include "files.h"
#include "profile.h"
#include "documentresources.h"
#include "rtfreader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <utility>

namespace cards {

namespace {

// A version file holds the card's bytes as they were, so it reads as the card
// did; the hash in its name tells a whole file from one damaged on disk.
const QString kSuffix = QStringLiteral(".fassung");

constexpr qint64 kHourMs = 3600LL * 1000;
constexpr qint64 kDayMs = 24 * kHourMs;
constexpr qint64 kWeekMs = 7 * kDayMs;

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray readAll(const QString &path, bool *ok = nullptr)
{
    QFile f(path);
    // Only a regular file: a FIFO put in place of a card would block the read.
    const bool regular = QFileInfo(path).isFile() && f.open(QIODevice::ReadOnly);
    if (ok)
        *ok = regular;
    return regular ? f.readAll() : QByteArray();
}

// What thinning needs of a version: known from its name and size alone, so
// thinning reads no file.
struct Stored {
    QString file;
    qint64 takenMs;
    qint64 diskSize;
};

// A version's name: when it was taken (milliseconds since 1970, UTC), "-",
// the SHA-256 of its bytes.
const QRegularExpression &namePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{13,})-([0-9a-f]{64})\\.fassung$"));
    return pattern;
}

QList<Stored> storedIn(const QString &folder)
{
    QList<Stored> found;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &info : files) {
        const QRegularExpressionMatch m = namePattern().match(info.fileName());
        if (m.hasMatch())
            found.append({info.filePath(), m.captured(1).toLongLong(), info.size()});
    }
    std::sort(found.begin(), found.end(), [](const Stored &a, const Stored &b) {
        return a.takenMs != b.takenMs ? a.takenMs > b.takenMs : a.file > b.file;
    });
    return found;
}

// The stretch of time whose versions one is kept for, none in the last
// hour. Stretches are fixed on the calendar, not ages, so what one thinning
// keeps the next keeps as well until the version moves on a step.
std::optional<std::pair<int, qint64>> stretchOf(qint64 takenMs, qint64 nowMs)
{
    const qint64 age = nowMs - takenMs;
    if (age >= 30 * kDayMs)
        return std::pair{3, takenMs / kWeekMs};
    if (age >= kDayMs)
        return std::pair{2, takenMs / kDayMs};
    if (age >= kHourMs)
        return std::pair{1, takenMs / kHourMs};
    return std::nullopt;
}

// Which versions of one card (newest first) the age rule keeps: the newest of
// each stretch, and the card's newest whatever its age.
QList<Stored> keptByAge(const QList<Stored> &versions, qint64 nowMs, QList<Stored> &dropped)
{
    QList<Stored> kept;
    QSet<std::pair<int, qint64>> taken;
    for (const Stored &v : versions) {
        const auto stretch = stretchOf(v.takenMs, nowMs);
        bool keep = true;
        if (stretch) {
            keep = !taken.contains(*stretch);
            taken.insert(*stretch);
        }
        if (keep || kept.isEmpty())
            kept.append(v);
        else
            dropped.append(v);
    }
    return kept;
}

// Whether a card's bytes hold no text and no picture: a card made and not
// yet typed into. Only small files are read; a large one holds something.
bool holdsNothing(const QByteArray &bytes)
{
    if (bytes.size() > 64 * 1024)
        return false;
    QTextDocument document(platform::ResourceGuard());
    if (!rtf::RtfReader(&document).read(bytes))
        return bytes.trimmed().isEmpty();
    return document.isEmpty();
}

void removeAll(const QList<Stored> &versions)
{
    // A version that will not go stays; the next thinning tries again.
    for (const Stored &v : versions)
        QFile::remove(v.file);
}

} // namespace

QString VersionFolder(const QString &settingsFolder, bool installed)
{
    return (installed ? RecoveryFolder() : settingsFolder) + QStringLiteral("Fassungen/");
}

qint64 VersionCapFrom(const platform::TIniFile &ini)
{
    const int mb = ini.ReadInteger(QStringLiteral("Fassungen"), QStringLiteral("MaxMB"), 50);
    return mb > 0 ? qint64(mb) * 1024 * 1024 : TVersions::kDefaultCapBytes;
}

TVersions::TVersions(QString folder, std::function<QDateTime()> clock) : m_clock(std::move(clock))
{
    SetFolder(std::move(folder));
}

TVersions::~TVersions() { WaitForWrites(); }

void TVersions::WaitForWrites() { m_writer.WaitForDone(); }

void TVersions::SetCap(qint64 bytes)
{
    WaitForWrites();
    m_capBytes = bytes;
}

void TVersions::SetFolder(QString folder)
{
    WaitForWrites();
    m_folder = std::move(folder);
    if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
}

QString TVersions::cardFolder(const QString &cardFile) const
{
    return m_folder
         + QString::fromLatin1(QCryptographicHash::hash(cardFile.toUtf8(), QCryptographicHash::Sha1).toHex())
         + QLatin1Char('/');
}

void TVersions::Replacing(const QString &cardFile)
{
    m_replacing = cardFile;
    m_replaced = readAll(cardFile, &m_haveReplaced);
}

void TVersions::Replaced(const QString &cardFile)
{
    if (!m_haveReplaced || cardFile != m_replacing)
        return;
    m_haveReplaced = false;
    const QByteArray before = std::exchange(m_replaced, {});
    bool ok = false;
    const QByteArray now = readAll(cardFile, &ok);
    // A save point with nothing typed since the last writes the same bytes;
    // an empty card has nothing to get back.
    if ((ok && now == before) || holdsNothing(before))
        return;
    const qint64 takenMs = m_clock().toMSecsSinceEpoch();
    m_writer.Run([this, cardFile, before, takenMs] { keep(cardFile, before, takenMs); },
                 [this](const QString &message) {
                     if (OnFailed)
                         OnFailed(message);
                 });
}

void TVersions::Keep(const QString &cardFile, const QByteArray &bytes)
{
    WaitForWrites();
    keep(cardFile, bytes, m_clock().toMSecsSinceEpoch());
}

void TVersions::keep(const QString &cardFile, const QByteArray &bytes, qint64 takenMs) const
{
    const QString folder = cardFolder(cardFile);
    // Earlier texts are as private as the cards: the folders are the user's alone.
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!QDir().mkpath(folder) || !QFile::setPermissions(m_folder, ownerOnly) || !QFile::setPermissions(folder, ownerOnly))
        throw platform::Exception(QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(folder));
    const QString file = folder + QStringLiteral("%1-").arg(takenMs, 13, 10, QLatin1Char('0'))
                       + QString::fromLatin1(hashOf(bytes)) + kSuffix;
    int code = 0;
    if (platform::ReplaceFileContents(file, bytes, &code) != platform::ReplaceResult::Ok)
        throw platform::Exception(QStringLiteral("Datei %1 kann nicht erstellt werden (%2)")
                                      .arg(file, platform::ErrorCodeText(code)));
    thin(takenMs);
}

void TVersions::Renamed(const QString &oldCardFile, const QString &newCardFile)
{
    WaitForWrites();
    const QString from = cardFolder(oldCardFile);
    const QString to = cardFolder(newCardFile);
    if (from == to || !QFileInfo::exists(from))
        return;
    if (QDir().rename(from, to))
        return;
    // The new name had versions of its own (a card of that name deleted
    // earlier): both sets live on in one folder.
    QDir().mkpath(to);
    // A name that is taken holds the same bytes from the same moment.
    for (const Stored &v : storedIn(from))
        if (!QFile::rename(v.file, to + QFileInfo(v.file).fileName()))
            QFile::remove(v.file);
    QDir().rmdir(from);
}

QList<TVersions::Version> TVersions::List(const QString &cardFile)
{
    WaitForWrites();
    QList<Version> versions;
    for (const Stored &v : storedIn(cardFolder(cardFile))) {
        const QByteArray bytes = Read(v.file);
        if (!bytes.isNull())
            versions.append({v.file, QDateTime::fromMSecsSinceEpoch(v.takenMs, Qt::UTC), bytes.size()});
    }
    return versions;
}

QByteArray TVersions::Read(const QString &versionFile)
{
    const QRegularExpressionMatch m = namePattern().match(QFileInfo(versionFile).fileName());
    bool ok = false;
    QByteArray bytes = m.hasMatch() ? readAll(versionFile, &ok) : QByteArray();
    if (!ok || hashOf(bytes) != m.captured(2).toLatin1())
        return {};
    // An empty card is a version too: empty, but not null.
    return bytes.isNull() ? QByteArray("") : bytes;
}

void TVersions::Thin()
{
    WaitForWrites();
    thin(m_clock().toMSecsSinceEpoch());
}

void TVersions::thin(qint64 nowMs) const
{
    QList<Stored> dropped;
    QList<Stored> candidates; // every kept version but the cards' newest
    qint64 total = 0;
    const QFileInfoList cards = QDir(m_folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &card : cards) {
        const QList<Stored> kept = keptByAge(storedIn(card.filePath()), nowMs, dropped);
        for (const Stored &v : kept)
            total += v.diskSize;
        candidates.append(kept.mid(1));
    }
    removeAll(dropped);
    std::sort(candidates.begin(), candidates.end(),
              [](const Stored &a, const Stored &b) { return a.takenMs < b.takenMs; });
    QList<Stored> overCap;
    for (const Stored &v : candidates) {
        if (total <= m_capBytes)
            break;
        overCap.append(v);
        total -= v.diskSize;
    }
    removeAll(overCap);
}

} // namespace cards
