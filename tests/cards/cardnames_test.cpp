#include "cardnames.h"
#include "qtprinters.h"

#include <gtest/gtest.h>

using namespace cards;

TEST(TrimCardName, RemovesControlCharactersAndBlanksAtBothEnds)
{
    EXPECT_EQ(TrimCardName("  Notizen "), "Notizen");
    EXPECT_EQ(TrimCardName("\t\x01Plan\r\n"), "Plan");
    EXPECT_EQ(TrimCardName("   "), "");
    EXPECT_EQ(TrimCardName("a  b"), "a  b");
    EXPECT_EQ(TrimCardName(QString::fromUtf8("\u00a0x")), QString::fromUtf8("\u00a0x")); // no-break space is no blank here
}

TEST(CardExists, FoldsOnlyTheLettersAToZ)
{
    const QStringList tabs{"Test", QString::fromUtf8("über"), "Neue Karte"};
    EXPECT_TRUE(CardExists(tabs, "TEST"));
    EXPECT_TRUE(CardExists(tabs, "test"));
    EXPECT_TRUE(CardExists(tabs, "neue karte"));
    EXPECT_FALSE(CardExists(tabs, QString::fromUtf8("Über")));
    EXPECT_FALSE(CardExists(tabs, "Test "));
    EXPECT_FALSE(CardExists({}, ""));
    EXPECT_TRUE(CardExists({""}, ""));
}

TEST(IsValidCardName, RefusesExactlyTheTenCharacters)
{
    for (QChar c : QStringLiteral("\"*./:<>?\\|"))
        EXPECT_FALSE(IsValidCardName(QString("a") + c + "b")) << QString(c).toStdString();
    EXPECT_TRUE(IsValidCardName(""));
    EXPECT_TRUE(IsValidCardName(QString::fromUtf8("Über-Plan (2) & Co; 100% #1 'x' [y] {z} ~ = +")));
    EXPECT_FALSE(IsValidCardName("Plan.A"));
}

TEST(CardNameMessages, ReadExactlyAsTheUserSeesThem)
{
    EXPECT_EQ(DuplicateNameMessage("Neue Karte"),
              "Eine Karte mit der Beschriftung \"Neue Karte\" ist bereits vorhanden!\nBitte vergeben Sie einen anderen Namen.");
    EXPECT_EQ(InvalidNameMessage("Plan.A"),
              "Verwenden Sie keines dieser Zeichen  / \\ \" : . * ?  < > |  in der Beschriftung!\nIhre Eingabe: Plan.A");
}

TEST(RenameErrorMessage, ByErrorCode)
{
    EXPECT_EQ(RenameErrorMessage(2), "Datei nicht gefunden");
    EXPECT_EQ(RenameErrorMessage(3), QString::fromUtf8("Ungültiger Dateiname"));
    EXPECT_EQ(RenameErrorMessage(4), QString::fromUtf8("Zu viele geöffnete Dateien"));
    EXPECT_EQ(RenameErrorMessage(5), "Dateizugriff verweigert");
    EXPECT_EQ(RenameErrorMessage(100), "Versuch hinter dem Dateiende zu lesen");
    EXPECT_EQ(RenameErrorMessage(101), "Zu wenig Speicherplatz");
    EXPECT_EQ(RenameErrorMessage(106), QString::fromUtf8("Ungültige numerische Eingabe"));
    EXPECT_EQ(RenameErrorMessage(183), "E/A-Fehler 183 (existiert bereits)");
}

TEST(FitsFileName, CountsUtf8BytesPlusTheExtension)
{
    EXPECT_TRUE(FitsFileName(QString(251, 'a'), 255));
    EXPECT_FALSE(FitsFileName(QString(252, 'a'), 255));
    // An umlaut takes two bytes in the file name.
    EXPECT_TRUE(FitsFileName(QString(125, QChar(0xFC)) + "a", 255));
    EXPECT_FALSE(FitsFileName(QString(126, QChar(0xFC)), 255));
    EXPECT_TRUE(FitsFileName("", 4));
    EXPECT_EQ(NameTooLongMessage(), QString::fromUtf8("Die Beschriftung ist zu lang für einen Dateinamen!\nBitte vergeben Sie einen kürzeren Namen."));
}
