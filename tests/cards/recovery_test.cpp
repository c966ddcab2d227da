#include "recovery.h"
#include "documentsnapshot.h"
#include "exception.h"
#include "richedit.h"
#include "tempfolder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using cards::TRecovery;
using testing_support::TempFolder;

namespace {

struct RecoveryFixture : ::testing::Test {
    TempFolder home;
    QString current;          // the card the editor holds
    controls::TRichEdit editor;
    // Runs where the copy of the text is made RTF, as the program makes it.
    std::function<void()> duringWrite = [] {};
    TRecovery recovery{home.file(QStringLiteral("state/Kartolino")), [this] { return current; },
                       [this]() -> TRecovery::Content {
                           return [this, copy = std::make_shared<const controls::TDocumentSnapshot>(*editor.document())] {
                               duringWrite();
                               return copy->Rtf();
                           };
                       }};

    QString cardFile(const QString &name) const { return home.file(QStringLiteral("KRT/") + name + QStringLiteral(".rtf")); }
    void type(const QString &text)
    {
        editor.setPlainText(text);
        recovery.ContentChanged();
    }
    // Types, and waits until the pause has handed the write to its thread.
    void typeAndPause(const QString &text)
    {
        recovery.SetDelay(1);
        type(text);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !recovery.Pending(); }));
    }
    QString textOf(const QString &recoveryFile)
    {
        controls::TRichEdit reader;
        reader.LoadDocument(recoveryFile);
        return reader.toPlainText();
    }
};

TEST_F(RecoveryFixture, WrittenAfterThePauseOnePerCardNeverSeenAsCard)
{
    recovery.SetDelay(20);
    current = cardFile(QStringLiteral("Einkauf"));
    type(QStringLiteral("Milch"));
    EXPECT_FALSE(QFileInfo::exists(recovery.FileFor(current))) << "written before typing paused";
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(recovery.FileFor(current)); }));
    EXPECT_EQ(QFileInfo(recovery.Folder()).permissions() & 0x0077, 0) << "recovery folder readable by others";

    // A second card, and the same name in another card folder, keep their own files.
    current = cardFile(QStringLiteral("einkauf"));
    type(QStringLiteral("Brot"));
    recovery.WriteNow();
    const QString elsewhere = home.file(QStringLiteral("other/KRT/Einkauf.rtf"));
    current = elsewhere;
    type(QStringLiteral("Fremd"));
    recovery.WriteNow();

    QMap<QString, QString> found;
    for (const TRecovery::Entry &e : recovery.EntriesIn(home.file(QStringLiteral("KRT"))))
        found[e.cardFile] = textOf(e.recoveryFile);
    EXPECT_EQ(found, (QMap<QString, QString>{{cardFile(QStringLiteral("Einkauf")), QStringLiteral("Milch")},
                                             {cardFile(QStringLiteral("einkauf")), QStringLiteral("Brot")}}));
    EXPECT_TRUE(TRecovery::ContentOf(recovery.FileFor(elsewhere)).startsWith("{\\rtf1"));
}

TEST_F(RecoveryFixture, DroppedWhenWrittenRenamedOrAtANormalEnd)
{
    recovery.SetDelay(60000);
    current = cardFile(QStringLiteral("Alt"));
    type(QStringLiteral("eins"));
    recovery.WriteNow();
    type(QStringLiteral("zwei"));
    ASSERT_TRUE(recovery.Pending());
    recovery.CardWritten(current);
    EXPECT_FALSE(recovery.Pending()) << "a save point left a recovery pending";
    EXPECT_FALSE(QFileInfo::exists(recovery.FileFor(current)));

    type(QStringLiteral("drei"));
    recovery.WriteNow();
    const QString old = current;
    current = cardFile(QStringLiteral("Neu"));
    recovery.Renamed(old, current);
    EXPECT_FALSE(QFileInfo::exists(recovery.FileFor(old)));
    EXPECT_EQ(textOf(recovery.FileFor(current)), QStringLiteral("drei"));

    // A recovery of an earlier run that this run never touched survives the end.
    home.write(QStringLiteral("state/Kartolino/keep.rtf"), "{\\rtf1 x}");
    recovery.EndOfRun();
    EXPECT_FALSE(QFileInfo::exists(recovery.FileFor(current)));
    EXPECT_TRUE(home.exists(QStringLiteral("state/Kartolino/keep.rtf")));
}

TEST_F(RecoveryFixture, SteadyTypingIsWrittenWithoutAPause)
{
    // No pause in typing ever comes: the longest delay writes all the same.
    recovery.SetDelay(60000);
    recovery.SetLongestDelay(30);
    current = cardFile(QStringLiteral("Diktat"));
    QString text;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            type(text += QLatin1Char('x'));
            return QFileInfo::exists(recovery.FileFor(current));
        },
        10000));
    EXPECT_TRUE(recovery.Pending()) << "typing after the write waits for no further write";
}

TEST_F(RecoveryFixture, RemembersTheCardContentItGrewFrom)
{
    current = cardFile(QStringLiteral("Brief"));
    recovery.BasisOf = [this](const QString &cardFile) { return cardFile == current ? QByteArray("\x01\xfe}") : QByteArray(); };
    type(QStringLiteral("Entwurf"));
    recovery.WriteNow();
    const QString file = recovery.FileFor(current);
    EXPECT_EQ(TRecovery::BasedOn(file), QByteArray("\x01\xfe}"));
    const QList<TRecovery::Entry> entries = recovery.EntriesIn(home.file(QStringLiteral("KRT")));
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.first().basis, QByteArray("\x01\xfe}"));
    EXPECT_FALSE(TRecovery::ContentOf(file).contains("kartolino"));
    EXPECT_EQ(textOf(file), QStringLiteral("Entwurf"));
}

TEST_F(RecoveryFixture, AWriteOnItsWayNeverBringsBackADroppedRecovery)
{
    const std::vector<std::pair<QString, std::function<void()>>> drops = {
        {QStringLiteral("Gespeichert"), [this] { recovery.CardWritten(current); }},
        {QStringLiteral("Ende"), [this] { recovery.EndOfRun(); }},
    };
    for (const auto &[name, drop] : drops) {
        current = cardFile(name);
        type(QStringLiteral("eins"));
        recovery.WriteNow();
        // The next write is under way when the recovery is dropped, and lands after.
        const QString file = recovery.FileFor(current);
        duringWrite = [file] {
            QElapsedTimer waited;
            waited.start();
            while (QFileInfo::exists(file) && waited.elapsed() < 10000)
                QThread::msleep(1);
        };
        typeAndPause(QStringLiteral("zwei"));
        drop();
        recovery.WaitForWrites();
        duringWrite = [] {};
        EXPECT_FALSE(QFileInfo::exists(file)) << name.toStdString();
    }
}

TEST_F(RecoveryFixture, AnEarlierWriteNeverLandsOverALaterOne)
{
    current = cardFile(QStringLiteral("Reihe"));
    // The first write on the writing thread is slow; without its turn kept,
    // it would land after the one made at once.
    std::atomic<bool> slow = true;
    duringWrite = [&slow] {
        if (QThread::currentThread() != QCoreApplication::instance()->thread() && slow.exchange(false))
            QThread::msleep(200);
    };
    typeAndPause(QStringLiteral("früher"));
    type(QStringLiteral("später"));
    recovery.WriteNow();
    recovery.WaitForWrites();
    EXPECT_EQ(textOf(recovery.FileFor(current)), QStringLiteral("später"));
}

TEST_F(RecoveryFixture, ABackgroundFailureIsSaidOnceAndWriteNowThrows)
{
    home.write(QStringLiteral("state"), "a file where the state folder should be");
    QStringList said;
    recovery.OnFailure = [&said](const QString &message) { said.append(message); };
    current = cardFile(QStringLiteral("Brief"));
    for (const QString &text : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
        typeAndPause(text);
        recovery.WaitForWrites();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !said.isEmpty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(said.size(), 1) << said.join(QLatin1Char('\n')).toStdString();
    EXPECT_THROW(recovery.WriteNow(), platform::Exception);
}

} // namespace

// A save point while the copy is still being taken in slices: the copy is of
// the text just written (or more), and must not come back as a recovery.
TEST_F(RecoveryFixture, ACopyTakenInSlicesGoesWithASavePoint)
{
    current = cardFile(QStringLiteral("Lang"));
    bool started = false;
    recovery.CopyLater = [&](TRecovery::Ready ready) -> std::unique_ptr<QObject> {
        started = true;
        QTimer::singleShot(0, &editor, [&] { recovery.CardWritten(current); });
        return std::make_unique<controls::TDocumentCopier>(
            editor.document(), [ready](auto copy) { ready([copy] { return copy->Rtf(); }); }, 0);
    };
    typeAndPause(QString(QStringLiteral("Zeile\n")).repeated(2000));
    ASSERT_TRUE(started);
    recovery.WaitForWrites();
    EXPECT_FALSE(QFileInfo::exists(recovery.FileFor(current))) << "a save point's text came back as a recovery";

    // Without a save point the copy lands, with what was typed before it.
    recovery.CopyLater = [&](TRecovery::Ready ready) -> std::unique_ptr<QObject> {
        return std::make_unique<controls::TDocumentCopier>(
            editor.document(), [ready](auto copy) { ready([copy] { return copy->Rtf(); }); }, 0);
    };
    typeAndPause(QStringLiteral("Ganz neu"));
    recovery.WaitForWrites();
    EXPECT_EQ(textOf(recovery.FileFor(current)), QStringLiteral("Ganz neu"));

    // A rename while the copy is being taken: the text is kept under the new name.
    recovery.CardWritten(current);
    const QString renamed = cardFile(QStringLiteral("Umbenannt"));
    bool copying = false;
    recovery.CopyLater = [&](TRecovery::Ready ready) -> std::unique_ptr<QObject> {
        copying = true;
        QTimer::singleShot(0, &editor, [&, old = current] {
            current = renamed;
            recovery.Renamed(old, renamed);
        });
        return std::make_unique<controls::TDocumentCopier>(
            editor.document(), [ready](auto copy) { ready([copy] { return copy->Rtf(); }); }, 0);
    };
    typeAndPause(QStringLiteral("Umbenannt getippt"));
    ASSERT_TRUE(copying);
    recovery.WaitForWrites();
    EXPECT_EQ(textOf(recovery.FileFor(renamed)), QStringLiteral("Umbenannt getippt")) << "typed text kept under no name";
}
