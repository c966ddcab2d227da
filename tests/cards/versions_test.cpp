#include "versions.h"
#include "exception.h"
#include "profile.h"
#include "tempfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

using cards::TVersions;
using testing_support::TempFolder;

namespace {

constexpr qint64 kMinute = 60 * 1000;
constexpr qint64 kHour = 60 * kMinute;
constexpr qint64 kDay = 24 * kHour;

struct VersionsFixture : ::testing::Test {
    TempFolder home;
    // Midnight UTC, so no stretch below straddles an hour or a day.
    qint64 nowMs = QDateTime(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    TVersions versions{home.file(QStringLiteral("state/Fassungen")),
                       [this] { return QDateTime::fromMSecsSinceEpoch(nowMs, Qt::UTC); }};

    QString card(const QString &name) const { return home.file(QStringLiteral("KRT/") + name + QStringLiteral(".rtf")); }
    void keepAt(qint64 at, const QString &cardFile, const QByteArray &bytes)
    {
        nowMs = at;
        versions.Keep(cardFile, bytes);
    }
    // Minutes before the final "now" of each version still listed, oldest first.
    QList<qint64> minutesBefore(qint64 end, const QString &cardFile)
    {
        QList<qint64> ages;
        for (const TVersions::Version &v : versions.List(cardFile))
            ages.prepend((end - v.taken.toMSecsSinceEpoch()) / kMinute);
        return ages;
    }
    qint64 folderBytes() const
    {
        qint64 total = 0;
        QDirIterator it(versions.Folder(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            total += QFileInfo(it.next()).size();
        return total;
    }
};

TEST_F(VersionsFixture, ThinnedByAgeNewestOfEachStretchAndACardsNewestAlwaysStays)
{
    const QString a = card(QStringLiteral("A"));
    const qint64 end = nowMs + 200 * kDay;
    // Two versions in one week 120 days back, in one day 10 days back, in one
    // hour 5 hours back, and three in the last hour.
    const qint64 at[] = {end - 120 * kDay - 3 * kDay, end - 120 * kDay - 2 * kDay, end - 10 * kDay - 3 * kHour,
                         end - 10 * kDay - 2 * kHour, end - 5 * kHour - 40 * kMinute, end - 5 * kHour - 30 * kMinute,
                         end - 50 * kMinute,          end - 20 * kMinute,          end - 10 * kMinute};
    for (qint64 t : at)
        keepAt(t, a, "v" + QByteArray::number(t));
    nowMs = end;
    versions.Thin();
    EXPECT_EQ(minutesBefore(end, a),
              (QList<qint64>{(120 * kDay + 2 * kDay) / kMinute, (10 * kDay + 2 * kHour) / kMinute, 5 * 60 + 30, 50, 20, 10}));

    // A card whose only versions are old keeps its newest whatever happens.
    const QString b = card(QStringLiteral("B"));
    keepAt(end - 400 * kDay + kHour, b, "alt1");
    keepAt(end - 400 * kDay + 2 * kHour, b, "alt2");
    nowMs = end;
    versions.SetCap(1);
    versions.Thin();
    EXPECT_EQ(versions.List(b).size(), 1);
    EXPECT_EQ(TVersions::Read(versions.List(b).value(0).file), "alt2");
    EXPECT_EQ(versions.List(a).size(), 1) << "the cap left more than the newest";
}

TEST_F(VersionsFixture, TwoHundredSavesOfAOneMegabyteCardStayUnderTheCap)
{
    const QString big = card(QStringLiteral("Groß"));
    const QString other = card(QStringLiteral("Klein"));
    keepAt(nowMs, other, "die einzige Fassung");
    QByteArray bytes(1024 * 1024, 'x');
    qint64 largest = 0;
    for (int save = 0; save < 200; ++save) {
        bytes[save] = 'y';
        keepAt(nowMs + kMinute, big, bytes);
        largest = qMax(largest, folderBytes());
    }
    EXPECT_LE(largest, TVersions::kDefaultCapBytes);
    const QList<TVersions::Version> kept = versions.List(big);
    // The cap, not the age rule, decided: the newest 49 and the small card.
    EXPECT_EQ(kept.size(), 49);
    EXPECT_EQ(TVersions::Read(kept.first().file), bytes);
    EXPECT_EQ(versions.List(other).size(), 1) << "another card's only version went for the cap";

    // The cap comes from the settings file, in megabytes.
    home.write(QStringLiteral("Kartolino.ini"), "[Fassungen]\r\nMaxMB=3\r\n");
    EXPECT_EQ(cards::VersionCapFrom(platform::TIniFile(home.file(QStringLiteral("Kartolino.ini")))), 3 * 1024 * 1024);
    home.write(QStringLiteral("Kartolino.ini"), "[Fassungen]\r\nMaxMB=-1\r\n");
    EXPECT_EQ(cards::VersionCapFrom(platform::TIniFile(home.file(QStringLiteral("Kartolino.ini")))), TVersions::kDefaultCapBytes);
}

TEST_F(VersionsFixture, DamagedOrUnreadableVersionsAreSkippedNeverFatal)
{
    const QString a = card(QStringLiteral("A"));
    keepAt(nowMs, a, "eins");
    keepAt(nowMs + kMinute, a, "zwei");
    keepAt(nowMs + 2 * kMinute, a, "drei");
    const QList<TVersions::Version> all = versions.List(a);
    ASSERT_EQ(all.size(), 3);
    {
        QFile damaged(all[0].file); // "drei", changed on disk
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("drex");
    }
    ASSERT_EQ(::chmod(QFile::encodeName(all[1].file).constData(), 0), 0);
    const bool rootReads = QFile(all[1].file).open(QIODevice::ReadOnly);
    // A FIFO under a version's name must not block the listing.
    const QString fifo = QFileInfo(all[2].file).path() + QStringLiteral("/0000000000001-")
                       + QString(64, QLatin1Char('0')) + QStringLiteral(".fassung");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    QStringList left;
    for (const TVersions::Version &v : versions.List(a))
        left << QString::fromUtf8(TVersions::Read(v.file));
    EXPECT_EQ(left, rootReads ? QStringList({QStringLiteral("zwei"), QStringLiteral("eins")})
                              : QStringList({QStringLiteral("eins")}));
    EXPECT_TRUE(TVersions::Read(all[0].file).isNull());
    EXPECT_NO_THROW(keepAt(nowMs + 3 * kMinute, a, "vier"));
    EXPECT_EQ(TVersions::Read(versions.List(a).value(0).file), "vier");
}

TEST_F(VersionsFixture, ASavePointKeepsWhatItReplacedOnlyWhenTheContentChangedAndRenamesTakeThemAlong)
{
    home.mkdir(QStringLiteral("KRT"));
    const QString a = card(QStringLiteral("A"));
    auto savePoint = [&](const QByteArray &bytes) {
        versions.WaitForWrites(); // the clock is turned on this thread only
        nowMs += kMinute;
        versions.Replacing(a);
        home.write(QStringLiteral("KRT/A.rtf"), bytes);
        versions.Replaced(a);
    };
    savePoint("erste");  // nothing replaced
    savePoint("zweite");
    savePoint("zweite"); // same bytes again: no version
    savePoint("dritte");
    QList<QByteArray> kept;
    for (const TVersions::Version &v : versions.List(a))
        kept << TVersions::Read(v.file);
    EXPECT_EQ(kept, (QList<QByteArray>{"zweite", "erste"}));

    // A renamed card keeps its versions, also where the new name had some.
    const QString b = card(QStringLiteral("B"));
    keepAt(nowMs + kMinute, b, "von B");
    versions.Renamed(a, b);
    EXPECT_TRUE(versions.List(a).isEmpty());
    EXPECT_EQ(versions.List(b).size(), 3);
}

} // namespace
