#include "settings.h"
#include "exception.h"
#include "profile.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace cards;
using testing_support::TempFolder;

namespace {
struct SettingsFixture : ::testing::Test {
    TempFolder dir;
    QString ini() const { return SettingsFileIn(dir.path()); }
    void store(const QByteArray &text) { dir.write("Kartolino.ini", text); }
    ViewSettings view() const { return ReadViewSettings(platform::TIniFile(ini())); }
};
} // namespace

TEST_F(SettingsFixture, MissingFileGivesTheDefaultsAndStaysMissing)
{
    const ViewSettings v = view();
    EXPECT_TRUE(v.multiLine);
    EXPECT_EQ(v.tabStyle, 2);
    EXPECT_EQ(v.width, 640);
    EXPECT_EQ(v.height, 480);
    EXPECT_EQ(v.windowState, wsNormal);
    const CardSettings c = ReadCardSettings(platform::TIniFile(ini()));
    EXPECT_EQ(c.newCardFontName, "Arial");
    EXPECT_EQ(c.newCardFontSize, 10);
    EXPECT_EQ(c.timeStampMode, "Anfang");
    EXPECT_FALSE(dir.exists("Kartolino.ini"));
}

TEST_F(SettingsFixture, MehrzeiligReadsAsAnInteger)
{
    store("[Ansicht]\r\nMehrzeilig=ja\r\n");
    EXPECT_TRUE(view().multiLine);
    store("[Ansicht]\r\nMehrzeilig=0\r\n");
    EXPECT_FALSE(view().multiLine);
    store("[Ansicht]\r\nMehrzeilig=5\r\n");
    EXPECT_TRUE(view().multiLine);
}

TEST_F(SettingsFixture, SizesTakeHexadecimalAndTheEightBitKey)
{
    store("[ansicht]\r\nBreite=0x320\r\nH\xF6he=$1F4\r\nFenster=2\r\n");
    const ViewSettings v = view();
    EXPECT_EQ(v.width, 800);
    EXPECT_EQ(v.height, 500);
    EXPECT_EQ(v.windowState, wsMaximized);
}

TEST_F(SettingsFixture, ValuesTheProgramNeverWritesGiveDefaults)
{
    for (const char *button : {"x", "3", "-1", ""}) {
        store(QByteArray("[Ansicht]\r\nButton=") + button + "\r\nFenster=1\r\n");
        EXPECT_EQ(view().tabStyle, 2) << button;
        EXPECT_EQ(view().windowState, wsNormal);
    }
    store("[Ansicht]\r\nButton=0\r\nFenster=7\r\n");
    EXPECT_EQ(view().tabStyle, 0);
    EXPECT_EQ(view().windowState, wsNormal);
}

TEST_F(SettingsFixture, CardSettingsAreReadAsStored)
{
    store("[Schrift]\r\nName=Courier New\r\nSize=12\r\n[Zeitstempel]\r\nEinsetzen=Cursor\r\n");
    const CardSettings c = ReadCardSettings(platform::TIniFile(ini()));
    EXPECT_EQ(c.newCardFontName, "Courier New");
    EXPECT_EQ(c.newCardFontSize, 12);
    EXPECT_EQ(c.timeStampMode, "Cursor");
}

TEST_F(SettingsFixture, WritingKeepsTheRestAndSkipsSizesWhenMaximised)
{
    store("; meine Einstellungen\r\n[Ansicht]\r\nBreite=700\r\nH\xF6he=500\r\nFarbe=blau\r\n[Schrift]\r\nName=Arial\r\n");
    ViewSettings v;
    v.multiLine = false;
    v.tabStyle = 1;
    v.windowState = wsMaximized;
    v.width = 1234;
    v.height = 999;
    WriteViewSettings(platform::TIniFile(ini()), v);
    const QByteArray text = dir.read("Kartolino.ini");
    EXPECT_TRUE(text.startsWith("; meine Einstellungen\r\n"));
    EXPECT_TRUE(text.contains("Breite=700\r\n"));
    EXPECT_TRUE(text.contains("H\xF6he=500\r\n"));
    EXPECT_TRUE(text.contains("Farbe=blau"));
    EXPECT_TRUE(text.contains("Mehrzeilig=0"));
    EXPECT_TRUE(text.contains("Button=1"));
    EXPECT_TRUE(text.contains("Fenster=2"));
    v.windowState = wsNormal;
    WriteViewSettings(platform::TIniFile(ini()), v);
    EXPECT_EQ(view().width, 1234);
    EXPECT_EQ(view().height, 999);
}

TEST_F(SettingsFixture, RefusedWriteNamesTheFile)
{
    store("[Ansicht]\r\n");
    ::chmod(QFile::encodeName(ini()).constData(), 0444);
    try {
        WriteViewSettings(platform::TIniFile(ini()), ViewSettings());
        FAIL() << "no error";
    } catch (const platform::Exception &e) {
        EXPECT_EQ(e.message(), "nach " + ini() + " kann nicht geschrieben werden");
    }
    EXPECT_EQ(dir.read("Kartolino.ini"), "[Ansicht]\r\n");
}
