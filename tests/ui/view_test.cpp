#include "profile.h"
#include "mainwindowfixture.h"

using namespace ui;

TEST_F(MainWindowFixture, FirstStartWithoutSettingsShowsTheDefaults)
{
    startAndRestore();
    EXPECT_TRUE(tabs().MultiLine());
    EXPECT_EQ(tabs().Style(), controls::tsFlatButtons);
    EXPECT_TRUE(window->MenuItem("mnuFlat")->isChecked());
    EXPECT_TRUE(window->MenuItem("mnuMehrzeilig")->isChecked());
    EXPECT_EQ(window->frameGeometry().size(), QSize(640, 480));
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->CardSettings().newCardFontName, "Arial");
    EXPECT_EQ(window->CardSettings().newCardFontSize, 10);
    EXPECT_EQ(window->CardSettings().timeStampMode, "Anfang");
    EXPECT_FALSE(program.exists("Kartolino.ini"));
}

TEST_F(MainWindowFixture, StoredViewIsAppliedAtFirstShow)
{
    program.write("Kartolino.ini", "[Ansicht]\r\nMehrzeilig=0\r\nButton=1\r\nBreite=0x320\r\nH\xF6he=550\r\n");
    startAndRestore();
    EXPECT_FALSE(tabs().MultiLine());
    EXPECT_FALSE(window->MenuItem("mnuMehrzeilig")->isChecked());
    EXPECT_EQ(tabs().Style(), controls::tsButtons);
    EXPECT_TRUE(window->MenuItem("mnuButtons")->isChecked());
    EXPECT_EQ(window->frameGeometry().size(), QSize(800, 550));
}

TEST_F(MainWindowFixture, BadStoredStyleStillBuildsTheCardList)
{
    withCards({{"A", "alpha"}});
    program.write("Kartolino.ini", "[Ansicht]\r\nButton=Register\r\nFenster=1\r\nBreite=10\r\nH\xF6he=10\r\n");
    startAndRestore();
    EXPECT_EQ(tabs().Style(), controls::tsFlatButtons);
    EXPECT_TRUE(window->MenuItem("mnuFlat")->isChecked());
    EXPECT_EQ(tabs().TabCount(), 1);
    EXPECT_EQ(window->windowTitle(), "Fennwick Kartolino");
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(window->frameGeometry().size(), QSize(567, 300));
}

TEST_F(MainWindowFixture, ViewCommandsChangeTheRowAndWriteNothing)
{
    startAndRestore();
    click("mnuRegister");
    EXPECT_EQ(tabs().Style(), controls::tsTabs);
    click("mnuButtons");
    EXPECT_EQ(tabs().Style(), controls::tsButtons);
    click("mnuMehrzeilig");
    EXPECT_FALSE(tabs().MultiLine());
    EXPECT_FALSE(window->MenuItem("mnuMehrzeilig")->isChecked());
    click("mnuMehrzeilig");
    EXPECT_TRUE(tabs().MultiLine());
    EXPECT_FALSE(program.exists("Kartolino.ini"));
}

TEST_F(MainWindowFixture, SavingTheViewWritesEveryKey)
{
    startAndRestore();
    click("mnuRegister");
    click("mnuMehrzeilig");
    window->resize(700, 400);
    click("mnuSaveAnsicht");
    const platform::TIniFile ini(window->SettingsFileName());
    EXPECT_EQ(ini.ReadString("Ansicht", "Mehrzeilig", "?"), "0");
    EXPECT_EQ(ini.ReadString("Ansicht", "Button", "?"), "0");
    EXPECT_EQ(ini.ReadString("Ansicht", "Fenster", "?"), "0");
    EXPECT_EQ(ini.ReadInteger("Ansicht", "Breite", 0), window->frameGeometry().width());
    EXPECT_EQ(ini.ReadInteger("Ansicht", "H\u00f6he", 0), window->frameGeometry().height());
    EXPECT_TRUE(program.read("Kartolino.ini").contains("H\xF6he="));
    const QByteArray once = program.read("Kartolino.ini");
    click("mnuSaveAnsicht");
    EXPECT_EQ(program.read("Kartolino.ini"), once);
}

TEST_F(MainWindowFixture, SavingWhileMaximisedKeepsTheStoredSize)
{
    program.write("Kartolino.ini", "[Ansicht]\r\nBreite=700\r\nH\xF6he=450\r\n");
    startAndRestore();
    window->showMaximized();
    click("mnuSaveAnsicht");
    const platform::TIniFile ini(window->SettingsFileName());
    EXPECT_EQ(ini.ReadInteger("Ansicht", "Fenster", 0), 2);
    EXPECT_EQ(ini.ReadInteger("Ansicht", "Breite", 0), 700);
    EXPECT_EQ(ini.ReadInteger("Ansicht", "H\u00f6he", 0), 450);
}

TEST_F(MainWindowFixture, RefusedSaveIsReported)
{
    program.mkdir("Kartolino.ini"); // a folder where the file should be
    startAndRestore();
    click("mnuSaveAnsicht");
    EXPECT_EQ(errors, QStringList{"nach " + window->SettingsFileName() + " kann nicht geschrieben werden"});
}
