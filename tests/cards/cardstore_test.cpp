#include "cardstore.h"
#include "guarded.h"
#include "exception.h"
#include "files.h"
#include "richedit.h"
#include "tabcontrol.h"
#include "tempfolder.h"

#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

using namespace cards;
using testing_support::TempFolder;

namespace {

// The card store wired to a tab row and an editor the way the main window does.
struct CardsFixture : ::testing::Test {
    TempFolder program;
    controls::TTabControl tabs;
    controls::TRichEdit *editor = new controls::TRichEdit;
    TCardStore store{&tabs, editor};
    QStringList errors;

    void SetUp() override
    {
        tabs.resize(400, 300);
        tabs.SetDisplayWidget(editor);
        tabs.OnChanging = [this](QObject *, bool &) { store.Leaving(); };
        tabs.OnChange = [this](QObject *) { store.Arriving(); };
        editor->OnChange = [this](QObject *) {
            store.SetCardModified(true);
            store.SetUnwritten(true);
        };
        store.SetCardDir(CardFolderIn(program.path()));
        platform::SetErrorPresenter([this](const QString &m) { errors << m; });
    }
    void TearDown() override { platform::SetErrorPresenter(nullptr); }

    QString card(const QString &name) const { return "KRT/" + name + ".rtf"; }
    void writeCard(const QString &name, const QByteArray &text) { program.write(card(name), text); }
    void firstShow()
    {
        ASSERT_TRUE(store.EnsureCardFolder());
        store.BuildCardList();
        if (tabs.TabIndex() >= 0)
            store.LoadCurrentCard();
        store.SetCardModified(false);
    }
    void type(const QString &text)
    {
        QTextCursor c = editor->textCursor();
        c.movePosition(QTextCursor::End);
        editor->setTextCursor(c);
        QTest::keyClicks(editor, text);
    }
    void protect(const QString &name) { ::chmod(QFile::encodeName(program.file(card(name))).constData(), 0444); }
};

} // namespace

TEST_F(CardsFixture, CardFileNameIsFolderNameAndExtension)
{
    EXPECT_EQ(store.CardDir(), program.path() + "KRT/");
    EXPECT_EQ(store.CardFileName("Einkauf"), program.path() + "KRT/Einkauf.rtf");
    EXPECT_EQ(store.CardFileName(""), program.path() + "KRT/.rtf");
}

TEST_F(CardsFixture, EnsureCardFolderMakesOneLevel)
{
    EXPECT_FALSE(platform::DirectoryExists(store.CardDir()));
    EXPECT_TRUE(store.EnsureCardFolder());
    EXPECT_TRUE(platform::DirectoryExists(store.CardDir()));
    EXPECT_TRUE(store.EnsureCardFolder());
    store.SetCardDir(program.path() + "fehlt/KRT/");
    int code = 0;
    EXPECT_FALSE(store.EnsureCardFolder(&code));
    EXPECT_EQ(code, platform::kErrorFileNotFound);
}

TEST_F(CardsFixture, CardListHoldsEveryMatchingEntry)
{
    program.mkdir("KRT");
    writeCard("Einkauf", "e");
    writeCard("a.b", "ab");
    writeCard(".versteckt", "v");
    program.mkdir("KRT/x.rtf");
    program.write("KRT/notiz.txt", "nein");
    store.BuildCardList();
    QStringList tabsSorted = tabs.Tabs();
    tabsSorted.sort();
    EXPECT_EQ(tabsSorted, QStringList({"", "Einkauf", "a.b", "x"}).replaceInStrings(QRegularExpression("^$"), ".versteckt"));
    EXPECT_EQ(tabs.TabIndex(), 0);
}

TEST_F(CardsFixture, EmptyOrMissingFolderGivesNoCards)
{
    store.BuildCardList();
    EXPECT_EQ(tabs.TabCount(), 0);
    EXPECT_EQ(tabs.TabIndex(), -1);
    firstShow();
    EXPECT_EQ(tabs.TabIndex(), -1);
    type("lose");
    store.Leaving();
    EXPECT_EQ(QDir(store.CardDir()).entryList(QDir::Files).size(), 0);
}

TEST_F(CardsFixture, SwitchingWithoutTypingWritesNothing)
{
    program.mkdir("KRT");
    writeCard("A", "alpha");
    writeCard("B", "beta");
    firstShow();
    const QStringList order = tabs.Tabs();
    ASSERT_TRUE(tabs.SelectByUser(1));
    ASSERT_TRUE(tabs.SelectByUser(0));
    EXPECT_EQ(program.read(card("A")), "alpha");
    EXPECT_EQ(program.read(card("B")), "beta");
    EXPECT_FALSE(store.CardModified());
    EXPECT_EQ(editor->toPlainText(), program.read(card(order[0])));
}

TEST_F(CardsFixture, TypingThenSwitchingWritesTheLeavingCard)
{
    program.mkdir("KRT");
    writeCard("A", "alpha");
    writeCard("B", "beta");
    firstShow();
    const QString first = tabs.Tab(0), second = tabs.Tab(1);
    type(" neu");
    EXPECT_TRUE(store.CardModified());
    ASSERT_TRUE(tabs.SelectByUser(1));
    EXPECT_FALSE(store.CardModified());
    EXPECT_EQ(editor->toPlainText(), program.read(card(second)));
    controls::TRichEdit check;
    check.LoadDocument(store.CardFileName(first));
    EXPECT_TRUE(check.toPlainText().endsWith(" neu"));
}

TEST_F(CardsFixture, SavingDoesNotClearTheFlag)
{
    program.mkdir("KRT");
    writeCard("A", "alpha");
    firstShow();
    type("x");
    store.Leaving();
    EXPECT_TRUE(store.CardModified());
    EXPECT_TRUE(program.read(card("A")).startsWith("{\\rtf1"));
}

TEST_F(CardsFixture, FailedWriteRefusesTheSwitchAndKeepsTheText)
{
    program.mkdir("KRT");
    writeCard("A", "alpha");
    writeCard("B", "beta");
    firstShow();
    const QString first = tabs.Tab(0);
    protect(first);
    type(" getippt");
    const QString typed = editor->toPlainText();
    EXPECT_FALSE(tabs.SelectByUser(1));
    EXPECT_EQ(tabs.TabIndex(), 0);
    EXPECT_EQ(editor->toPlainText(), typed);
    EXPECT_TRUE(store.CardModified());
    EXPECT_EQ(errors, QStringList{QString("Datei %1 kann nicht erstellt werden (Fehler 5: Zugriff verweigert)").arg(store.CardFileName(first))});
    EXPECT_EQ(program.read(card(first)), first == "A" ? "alpha" : "beta");
}

TEST_F(CardsFixture, FailedLoadAtSwitchGoesBackToTheHeldCard)
{
    program.mkdir("KRT");
    writeCard("A", "alpha");
    program.mkdir("KRT/kaputt.rtf"); // a folder: listed as a card, cannot be read
    store.BuildCardList();
    const int good = tabs.Tabs().indexOf("A");
    const int bad = tabs.Tabs().indexOf("kaputt");
    tabs.SetTabIndex(good);
    store.LoadCurrentCard();
    type(" mehr");
    const QString typed = editor->toPlainText();
    EXPECT_TRUE(tabs.SelectByUser(bad));
    EXPECT_EQ(tabs.TabIndex(), good);
    EXPECT_EQ(editor->toPlainText(), typed);
    EXPECT_TRUE(store.CardModified());
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.value(0).startsWith("Datei "));
    // The text is written under its own card's name, and only there.
    store.Leaving();
    EXPECT_TRUE(QFileInfo(store.CardFileName("kaputt")).isDir());
    controls::TRichEdit check;
    check.LoadDocument(store.CardFileName("A"));
    EXPECT_EQ(check.toPlainText(), typed);
}

TEST_F(CardsFixture, FailedFirstLoadWritesNothingForThatCard)
{
    program.mkdir("KRT");
    program.mkdir("KRT/kaputt.rtf");
    store.BuildCardList();
    ASSERT_EQ(tabs.TabCount(), 1);
    EXPECT_THROW(store.LoadCurrentCard(), platform::Exception);
    EXPECT_TRUE(editor->toPlainText().isEmpty());
    EXPECT_TRUE(editor->isReadOnly());
    store.SetCardModified(true);
    store.Leaving();
    EXPECT_TRUE(QFileInfo(store.CardFileName("kaputt")).isDir());
}

TEST_F(CardsFixture, PlainTextCardIsWrittenBackAsRtf)
{
    program.mkdir("KRT");
    writeCard("P", "eins\nzwei");
    firstShow();
    EXPECT_EQ(editor->toPlainText(), "eins\nzwei");
    type("!");
    store.Leaving();
    EXPECT_TRUE(program.read(card("P")).startsWith("{\\rtf1"));
    controls::TRichEdit check;
    check.LoadDocument(store.CardFileName("P"));
    EXPECT_EQ(check.toPlainText(), "eins\nzwei!");
}

TEST_F(CardsFixture, ListedCardsAreReadAndWrittenInTheirOwnFiles)
{
    program.mkdir("KRT");
    program.write("KRT/Notiz.RTF", "{\\rtf1\\ansi Gross}");
    const QByteArray latin = QFile::encodeName(program.path()) + "KRT/K\xF6ln.rtf";
    ASSERT_EQ(platform::ReplaceFileContents(platform::DecodeFileName(latin), "{\\rtf1\\ansi Koeln}"), platform::ReplaceResult::Ok);
    firstShow();
    QStringList captions = tabs.Tabs();
    captions.sort();
    EXPECT_EQ(captions, QStringList({QString::fromUtf8("Köln"), "Notiz"}));
    for (int i = 0; i < 2; ++i) {
        tabs.SelectByUser(i);
        ASSERT_TRUE(errors.isEmpty()) << errors.join(' ').toStdString();
        type("Z");
        store.SaveCurrentCard();
    }
    const QByteArray notizText = program.read("KRT/Notiz.RTF");
    EXPECT_TRUE(notizText.contains("Z") && notizText.contains("Gross")) << notizText.toStdString();
    char koeln[256] = {};
    if (FILE *f = std::fopen(latin.constData(), "r")) {
        std::fread(koeln, 1, sizeof koeln - 1, f);
        std::fclose(f);
    }
    EXPECT_TRUE(QByteArray(koeln).contains("Z") && QByteArray(koeln).contains("Koeln")) << koeln;
    QStringList found;
    platform::FindEntries(store.CardDir(), "*", found);
    EXPECT_EQ(found.size(), 2) << found.join(' ').toStdString();
    // A renamed caption no longer names the listed file.
    const int notiz = tabs.Tabs().indexOf("Notiz");
    tabs.PutTab(notiz, "Neu");
    EXPECT_EQ(store.CardPath(notiz), store.CardFileName("Neu"));
}

TEST_F(CardsFixture, OnlyOtherBytesCountAsAChangeOnDisk)
{
    program.mkdir("KRT");
    writeCard("Brief", "{\\rtf1\\ansi Alt}");
    firstShow();
    const QByteArray path = QFile::encodeName(store.CardPath(0));
    using State = TCardStore::DiskState;
    EXPECT_EQ(store.CompareWithDisk(), State::Same);
    // A touched time, a permission change, the same bytes written anew by rename.
    const struct timespec times[2] = {{1000, 0}, {1000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
    EXPECT_EQ(store.CompareWithDisk(), State::Same);
    ::chmod(path.constData(), 0600);
    EXPECT_EQ(store.CompareWithDisk(), State::Same);
    writeCard("neu", "{\\rtf1\\ansi Alt}");
    ASSERT_EQ(::rename(QFile::encodeName(program.file(card("neu"))).constData(), path.constData()), 0);
    EXPECT_EQ(store.CompareWithDisk(), State::Same);
    writeCard("Brief", "{\\rtf1\\ansi Anders}");
    EXPECT_EQ(store.CompareWithDisk(), State::Changed);
    ::unlink(path.constData());
    EXPECT_EQ(store.CompareWithDisk(), State::Gone);
}

TEST_F(CardsFixture, ASavePointKeepsAWriteThatLandedAfterTheLastLook)
{
    program.mkdir("KRT");
    writeCard("Brief", "{\\rtf1\\ansi Alt}");
    firstShow();
    QStringList kept;
    store.OnReplacedOther = [&](const QString &path, const QByteArray &bytes) { kept << path << bytes; };
    type("Meins");
    EXPECT_TRUE(store.Unwritten());
    store.SaveCurrentCard();
    EXPECT_TRUE(kept.isEmpty()) << "the program's own content handed on as another's";
    EXPECT_FALSE(store.Unwritten());
    EXPECT_TRUE(store.CardModified());

    // Another program's version lands after the check that runs before the write.
    store.OnBeforeWrite = [&](const QString &) {
        writeCard("Brief", "{\\rtf1\\ansi Fremd}");
        return true;
    };
    type(" mehr");
    store.SaveCurrentCard();
    EXPECT_EQ(kept, (QStringList{store.CardPath(0), "{\\rtf1\\ansi Fremd}"}));
    EXPECT_TRUE(program.read(card("Brief")).contains("Meins mehr"));
}

TEST_F(CardsFixture, ANameWithAFileButNoTabIsTakenAndNeverReplaced)
{
    program.mkdir("KRT");
    writeCard("Eins", "{\\rtf1\\ansi Eins}");
    firstShow();
    writeCard("Angekommen", "{\\rtf1\\ansi Fremd}"); // delivered after the list was built
    EXPECT_TRUE(store.NameTaken("angekommen"));
    EXPECT_TRUE(store.NameTaken("EINS"));
    EXPECT_FALSE(store.NameTaken("Frei"));
    EXPECT_FALSE(store.CreateCardFile("Angekommen", "{\\rtf1 leer}"));
    EXPECT_EQ(program.read(card("Angekommen")), "{\\rtf1\\ansi Fremd}");
    EXPECT_TRUE(store.CreateCardFile("Frei", "{\\rtf1 leer}"));
    EXPECT_EQ(program.read(card("Frei")), "{\\rtf1 leer}");
}

TEST_F(CardsFixture, ArrivingCardsGetATabOnceTheyHaveSettled)
{
    program.mkdir("KRT");
    writeCard("Eins", "{\\rtf1\\ansi Eins}");
    firstShow();
    FolderChanges changes;
    for (const char *name : {"Neu", ".versteckt", ".syncthing.Neu.rtf.tmp", "~syncthing~Neu"})
        writeCard(name, "{\\rtf1\\ansi Angekommen}");
    EXPECT_TRUE(store.FollowFolder(changes)) << "a file just seen was not held back";
    EXPECT_EQ(tabs.Tabs(), QStringList{"Eins"});
    // Still being written: a changed stamp waits once more.
    writeCard("Neu", "{\\rtf1\\ansi Angekommen und mehr}");
    EXPECT_TRUE(store.FollowFolder(changes));
    EXPECT_EQ(tabs.Tabs(), QStringList{"Eins"});
    EXPECT_FALSE(store.FollowFolder(changes));
    EXPECT_EQ(tabs.Tabs(), (QStringList{"Eins", "Neu"}));
    EXPECT_EQ(store.CardPath(1), store.CardFileName("Neu"));
    EXPECT_FALSE(store.FollowFolder(changes));
    EXPECT_EQ(tabs.TabCount(), 2);
}

TEST_F(CardsFixture, CardsStandInNameOrderAndNewOrRenamedOnesGoWhereTheNameSorts)
{
    program.mkdir("KRT");
    for (const char *name : {"karte 5", "Karte 1", "Grüße an alle", "einkauf"})
        writeCard(QString::fromUtf8(name), "{\\rtf1\\ansi x}");
    program.write("KRT/Notiz.RTF", "{\\rtf1\\ansi Gross}");
    const QByteArray latin = QFile::encodeName(program.path()) + "KRT/K\xF6ln.rtf";
    ASSERT_EQ(platform::ReplaceFileContents(platform::DecodeFileName(latin), "{\\rtf1\\ansi Koeln}"), platform::ReplaceResult::Ok);
    firstShow();
    const QString koeln = QString::fromUtf8("Köln");
    EXPECT_EQ(tabs.Tabs(), QStringList({"einkauf", QString::fromUtf8("Grüße an alle"), "Karte 1", "karte 5", koeln, "Notiz"}));

    tabs.SelectByUser(4);
    ASSERT_EQ(store.EditorCard(), 4);
    EXPECT_EQ(store.InsertCard("Apfel"), 0);
    EXPECT_EQ(store.InsertCard("Karte 2"), 4);
    // The selection, the editor's card and the listed files stay with their cards.
    EXPECT_EQ(tabs.Tab(tabs.TabIndex()), koeln);
    EXPECT_EQ(store.EditorCard(), tabs.TabIndex());
    EXPECT_EQ(platform::EncodeFileName(store.CardPath(tabs.TabIndex())), latin);
    EXPECT_EQ(store.CardPath(tabs.Tabs().indexOf("Notiz")), store.CardDir() + "Notiz.RTF");

    tabs.PutTab(0, "Zebra");
    EXPECT_EQ(store.CardRenamed(0), 7);
    tabs.PutTab(tabs.Tabs().indexOf("karte 5"), "Aal");
    EXPECT_EQ(store.CardRenamed(4), 0);
    EXPECT_EQ(tabs.Tabs(), QStringList({"Aal", "einkauf", QString::fromUtf8("Grüße an alle"), "Karte 1", "Karte 2", koeln, "Notiz",
                                        "Zebra"}));
    EXPECT_EQ(tabs.Tab(tabs.TabIndex()), koeln);
    EXPECT_EQ(store.EditorCard(), tabs.TabIndex());
    EXPECT_EQ(platform::EncodeFileName(store.CardPath(tabs.TabIndex())), latin);
    EXPECT_EQ(store.CardPath(tabs.Tabs().indexOf("Notiz")), store.CardDir() + "Notiz.RTF");
    EXPECT_TRUE(errors.isEmpty()) << errors.join(' ').toStdString();
}

namespace {

// Cards changed by other programs, seen by the looks the folder watch starts.
struct FollowFixture : CardsFixture {
    FolderChanges changes;
    void SetUp() override
    {
        CardsFixture::SetUp();
        program.mkdir("KRT");
        for (const char *name : {"Apfel", "Birne", "Dattel", "Feige"})
            writeCard(name, QByteArray("{\\rtf1\\ansi ") + name + "}");
        firstShow();
    }
    bool look()
    {
        changes = {};
        return store.FollowFolder(changes);
    }
    void move(const QString &from, const QString &to) { ASSERT_TRUE(QFile::rename(program.file(card(from)), program.file(card(to)))); }
    void remove(const QString &name) { ASSERT_TRUE(QFile::remove(program.file(card(name)))); }
};

} // namespace

TEST_F(FollowFixture, OtherCardsRemovedOrRenamedLeaveOrFollowAtTheSecondLook)
{
    move("Birne", "Zitrone");
    remove("Dattel");
    remove("Feige");
    writeCard("Feige", "{\\rtf1\\ansi Feige neu}"); // saved by delete and create
    EXPECT_TRUE(look()) << "a missing file was taken as gone at first sight";
    EXPECT_EQ(tabs.TabCount(), 4);
    EXPECT_FALSE(look());
    EXPECT_EQ(tabs.Tabs(), (QStringList{"Apfel", "Feige", "Zitrone"}));
    ASSERT_EQ(changes.renamed.size(), 1);
    EXPECT_EQ(changes.renamed.at(0).oldPath, store.CardFileName("Birne"));
    EXPECT_EQ(changes.renamed.at(0).newPath, store.CardFileName("Zitrone"));
    EXPECT_FALSE(changes.renamed.at(0).current);
    EXPECT_EQ(changes.removed, QStringList{store.CardFileName("Dattel")});
    EXPECT_TRUE(changes.currentRemoved.isEmpty());
    EXPECT_EQ(store.CardPath(2), store.CardFileName("Zitrone"));
    EXPECT_EQ(program.read(card("Zitrone")), "{\\rtf1\\ansi Birne}");
    EXPECT_EQ(tabs.TabIndex(), 0);
    EXPECT_EQ(store.EditorCard(), 0);

    // Every card file gone is the folder gone: the tabs stay.
    for (const char *name : {"Apfel", "Feige", "Zitrone"})
        remove(name);
    look();
    look();
    EXPECT_EQ(tabs.TabCount(), 3);
    EXPECT_FALSE(changes.Any());
}

TEST_F(FollowFixture, TheCurrentCardRenamedWithTextTypedIsWrittenUnderItsNewName)
{
    for (const bool lookFirst : {true, false}) {
        const QString from = tabs.Tab(tabs.TabIndex()), to = from + " neu";
        type(" mehr");
        move(from, to);
        if (lookFirst) {
            look();
            ASSERT_EQ(changes.renamed.size(), 1);
            EXPECT_TRUE(changes.renamed.at(0).current);
        }
        store.SaveCurrentCard();
        EXPECT_TRUE(program.read(card(to)).contains("mehr")) << lookFirst;
        EXPECT_FALSE(program.exists(card(from))) << lookFirst;
        EXPECT_EQ(tabs.Tab(tabs.TabIndex()), to);
        EXPECT_EQ(store.Known().path, store.CardFileName(to));
        look();
        EXPECT_EQ(store.EditorCard(), tabs.TabIndex());
        EXPECT_EQ(tabs.TabCount(), 4);
    }
}

TEST_F(FollowFixture, TheCurrentCardRemovedLeavesUnlessTextWasTypedInIt)
{
    type(" getippt");
    remove("Apfel");
    look();
    look();
    EXPECT_EQ(changes.currentKept, "Apfel");
    EXPECT_EQ(tabs.TabCount(), 4);
    look();
    EXPECT_TRUE(changes.currentKept.isEmpty()) << "said more than once";
    store.SaveCurrentCard();
    EXPECT_TRUE(program.read(card("Apfel")).contains("getippt"));

    remove("Apfel");
    look();
    look();
    EXPECT_EQ(changes.currentRemoved, "Apfel");
    EXPECT_EQ(tabs.Tabs(), (QStringList{"Birne", "Dattel", "Feige"}));
    EXPECT_EQ(store.EditorCard(), -1);
}

TEST_F(FollowFixture, ArrivalsWaitForTheEndOfTheirRtfAndConflictCopiesStandBehindTheirCard)
{
    EXPECT_FALSE(IsUnclosedRtf("{\\rtf1 x}\r\n"));
    EXPECT_FALSE(IsUnclosedRtf("Einkauf: Brot"));
    EXPECT_TRUE(IsUnclosedRtf("{\\rtf1\\ansi Anfang \\par"));

    writeCard("Birne.sync-conflict-20261210-101000-ABCDEFG", "{\\rtf1\\ansi Birne dort}");
    writeCard("Halb", "{\\rtf1\\ansi Anfang \\par");
    look();
    EXPECT_TRUE(look()) << "an unclosed card was not waited for";
    EXPECT_EQ(tabs.Tabs(), (QStringList{"Apfel", "Birne", "Birne (Konflikt 10.12.2026 10:10)", "Dattel", "Feige"}));
    EXPECT_TRUE(look());
    EXPECT_EQ(tabs.TabCount(), 5);
    writeCard("Halb", "{\\rtf1\\ansi Anfang \\par Ende}");
    look();
    EXPECT_FALSE(look());
    EXPECT_EQ(tabs.Tab(5), "Halb");

    // The current card's file written over by halves waits in the same way.
    writeCard("Apfel", "{\\rtf1\\ansi Apfel halb");
    EXPECT_TRUE(store.CurrentFileUnfinished());
    writeCard("Apfel", "{\\rtf1\\ansi Apfel ganz}\n");
    EXPECT_FALSE(store.CurrentFileUnfinished());

    // Never hidden for ever: after the bound, taken as it is.
    store.SetSettleGiveUp(0);
    writeCard("Kaputt", "{\\rtf1\\ansi abgebrochen");
    look();
    look();
    EXPECT_TRUE(tabs.Tabs().contains("Kaputt"));
    writeCard("Apfel", "{\\rtf1\\ansi Apfel halb");
    EXPECT_FALSE(store.CurrentFileUnfinished());
}
