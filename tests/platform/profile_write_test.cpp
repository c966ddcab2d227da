// Writing the settings file: one value changes, every other byte stays; what
// is missing is created; the encoding and line ends of the file are kept.

#include "profile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "profilefixture.h"

using namespace platform;

namespace {

class ProfileWrite : public ProfileFileFixture {
protected:
    bool write(const QString &section, const QString &key, const QString &value) const
    {
        return WritePrivateProfileString(section, key, value, path());
    }
};

const QByteArray kRich = "; Kartolino settings\r\n"
                         "\r\n"
                         "[Ansicht]\r\n"
                         "Mehrzeilig = 1   \r\n"
                         "; the tab style\r\n"
                         "Button=2\r\n"
                         "Unbekannt=bleibt\r\n"
                         "\r\n"
                         "[Fremd]\r\n"
                         "Button=9\r\n"
                         "\r\n"
                         "[Schrift]\r\n"
                         "Name=\"Courier New\"\r\n";

} // namespace

TEST_F(ProfileWrite, ReplacingAValueChangesOnlyThatValue)
{
    put(kRich);
    ASSERT_TRUE(write(QStringLiteral("ansicht"), QStringLiteral("BUTTON"), QStringLiteral("0")));
    QByteArray expected = kRich;
    expected.replace("Button=2", "Button=0");
    EXPECT_EQ(bytes(), expected);

    ASSERT_TRUE(write(QStringLiteral("Ansicht"), QStringLiteral("Mehrzeilig"), QStringLiteral("0")));
    expected.replace("Mehrzeilig = 1   \r\n", "Mehrzeilig = 0   \r\n");
    EXPECT_EQ(bytes(), expected);

    ASSERT_TRUE(write(QStringLiteral("Schrift"), QStringLiteral("Name"), QStringLiteral("Arial")));
    expected.replace("Name=\"Courier New\"", "Name=Arial");
    EXPECT_EQ(bytes(), expected);
    // The write went through a temporary file that is gone again.
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Kartolino.ini")});
}

TEST_F(ProfileWrite, WritingTheSameValueAgainLeavesTheFileAsItWas)
{
    put(kRich);
    ASSERT_TRUE(write(QStringLiteral("Ansicht"), QStringLiteral("Button"), QStringLiteral("2")));
    ASSERT_TRUE(write(QStringLiteral("Ansicht"), QStringLiteral("Button"), QStringLiteral("2")));
    EXPECT_EQ(bytes(), kRich);
}

TEST_F(ProfileWrite, OnlyTheFirstMatchIsChanged)
{
    put("[Ansicht]\nBreite=1\nBreite=2\n[Ansicht]\nBreite=3\n");
    ASSERT_TRUE(write(QStringLiteral("Ansicht"), QStringLiteral("Breite"), QStringLiteral("800")));
    EXPECT_EQ(bytes(), QByteArray("[Ansicht]\nBreite=800\nBreite=2\n[Ansicht]\nBreite=3\n"));
}

TEST_F(ProfileWrite, MissingKeyIsAddedAfterTheLastKeyOfItsSection)
{
    put(kRich);
    ASSERT_TRUE(write(QStringLiteral("Ansicht"), QStringLiteral("Breite"), QStringLiteral("800")));
    QByteArray expected = kRich;
    expected.replace("Unbekannt=bleibt\r\n", "Unbekannt=bleibt\r\nBreite=800\r\n");
    EXPECT_EQ(bytes(), expected);

    // A key of the last section, in a file without a final line break.
    put("[Schrift]\nName=Arial");
    ASSERT_TRUE(write(QStringLiteral("Schrift"), QStringLiteral("Size"), QStringLiteral("12")));
    EXPECT_EQ(bytes(), QByteArray("[Schrift]\nName=Arial\nSize=12\n"));

    // A section with a header only.
    put("[Zeitstempel]\n\n[Schrift]\n");
    ASSERT_TRUE(write(QStringLiteral("Zeitstempel"), QStringLiteral("Einsetzen"), QStringLiteral("Cursor")));
    EXPECT_EQ(bytes(), QByteArray("[Zeitstempel]\nEinsetzen=Cursor\n\n[Schrift]\n"));
}

TEST_F(ProfileWrite, MissingSectionIsAddedAtTheEndInTheFilesLineEnds)
{
    put(kRich);
    ASSERT_TRUE(write(QStringLiteral("Zeitstempel"), QStringLiteral("Einsetzen"), QStringLiteral("Cursor")));
    EXPECT_EQ(bytes(), kRich + "\r\n[Zeitstempel]\r\nEinsetzen=Cursor\r\n");

    put("[Ansicht]\nBreite=1");
    ASSERT_TRUE(write(QStringLiteral("Schrift"), QStringLiteral("Size"), QStringLiteral("9")));
    EXPECT_EQ(bytes(), QByteArray("[Ansicht]\nBreite=1\n\n[Schrift]\nSize=9\n"));

    put("[Ansicht]\nBreite=1\n\n");
    ASSERT_TRUE(write(QStringLiteral("Schrift"), QStringLiteral("Size"), QStringLiteral("9")));
    EXPECT_EQ(bytes(), QByteArray("[Ansicht]\nBreite=1\n\n[Schrift]\nSize=9\n"));
}

TEST_F(ProfileWrite, NewFileIsWrittenInWindows1252)
{
    ASSERT_TRUE(write(QStringLiteral(" Ansicht "), QStringLiteral(" Höhe "), QStringLiteral("480")));
    EXPECT_EQ(bytes(), QByteArray("[Ansicht]\nH\xF6he=480\n"));
    EXPECT_EQ(GetPrivateProfileString(QStringLiteral("Ansicht"), QStringLiteral("Höhe"), QString(), path()),
              QStringLiteral("480"));
}

TEST_F(ProfileWrite, Windows1252FileStaysWindows1252)
{
    put("[Ansicht]\r\nH\xF6he=480\r\n; \xE4nderbar\r\n");
    ASSERT_TRUE(write(QStringLiteral("Ansicht"), QStringLiteral("HÖHE"), QStringLiteral("500")));
    ASSERT_TRUE(write(QStringLiteral("Schrift"), QStringLiteral("Name"), QStringLiteral("Café")));
    EXPECT_EQ(bytes(), QByteArray("[Ansicht]\r\nH\xF6he=500\r\n; \xE4nderbar\r\n\r\n[Schrift]\r\nName=Caf\xE9\r\n"));
}

TEST_F(ProfileWrite, Utf8FileStaysUtf8)
{
    const QByteArray original = QStringLiteral("; Größe\n[Ansicht]\nHöhe=480\n").toUtf8();
    put(original);
    ASSERT_TRUE(write(QStringLiteral("Ansicht"), QStringLiteral("Höhe"), QStringLiteral("500")));
    ASSERT_TRUE(write(QStringLiteral("Schrift"), QStringLiteral("Name"), QStringLiteral("Café")));
    EXPECT_EQ(bytes(), QStringLiteral("; Größe\n[Ansicht]\nHöhe=500\n\n[Schrift]\nName=Café\n").toUtf8());
    EXPECT_EQ(GetPrivateProfileString(QStringLiteral("Schrift"), QStringLiteral("Name"), QString(), path()),
              QStringLiteral("Café"));
}

TEST_F(ProfileWrite, ValuesThatWouldBreakTheFileAreRefused)
{
    put(kRich);
    EXPECT_FALSE(write(QStringLiteral("Ansicht"), QStringLiteral("Button"), QStringLiteral("1\n[Böse]\nx=1")));
    EXPECT_FALSE(write(QStringLiteral("Ansicht"), QStringLiteral("Button"), QStringLiteral("1\r2")));
    EXPECT_FALSE(write(QStringLiteral("An]sicht"), QStringLiteral("Button"), QStringLiteral("1")));
    EXPECT_FALSE(write(QStringLiteral("Ansicht"), QStringLiteral("a=b"), QStringLiteral("1")));
    EXPECT_FALSE(write(QStringLiteral("Ansicht"), QStringLiteral("  "), QStringLiteral("1")));
    EXPECT_FALSE(write(QString(), QStringLiteral("Button"), QStringLiteral("1")));
    EXPECT_FALSE(write(QStringLiteral("Ansicht"), QStringLiteral(";Button"), QStringLiteral("1")));
    EXPECT_EQ(bytes(), kRich);
}

TEST_F(ProfileWrite, RefusedWritesReportFailureAndKeepTheOldFile)
{
    // Inside a folder that does not exist.
    EXPECT_FALSE(WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1"),
                                           m_dir.filePath(QStringLiteral("fehlt/Kartolino.ini"))));
    EXPECT_FALSE(QDir(m_dir.filePath(QStringLiteral("fehlt"))).exists());

    // A folder where the file should be.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Ordner.ini")));
    EXPECT_FALSE(WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1"),
                                           m_dir.filePath(QStringLiteral("Ordner.ini"))));

    // A write-protected file (refused even for root).
    put(kRich);
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_FALSE(write(QStringLiteral("Ansicht"), QStringLiteral("Button"), QStringLiteral("0")));
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(bytes(), kRich);
}
