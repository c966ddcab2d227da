// Reading the settings file: defaults, names without regard to case, blanks,
// quotes, comments, the first match, the length limit and the encodings.

#include "profile.h"
#include "profiletext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "profilefixture.h"

using namespace platform;

namespace {

class ProfileRead : public ProfileFileFixture {
protected:
    // Puts the file's bytes in place.
    void write(const QByteArray &bytes) const { put(bytes); }

    QString read(const QString &section, const QString &key, const QString &def = QStringLiteral("<def>")) const
    {
        return GetPrivateProfileString(section, key, def, path());
    }
};

} // namespace

TEST_F(ProfileRead, MissingFileSectionOrKeyGivesTheDefaultAndCreatesNothing)
{
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Breite"), QStringLiteral("640")), QStringLiteral("640"));
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());

    write("[Ansicht]\nBreite=800\n");
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Breite")), QStringLiteral("<def>"));
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Höhe")), QStringLiteral("<def>"));
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Breite")), QStringLiteral("800"));
}

TEST_F(ProfileRead, AFolderInPlaceOfTheFileGivesTheDefault)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Kartolino.ini")));
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Breite")), QStringLiteral("<def>"));
}

TEST_F(ProfileRead, NamesCompareWithoutRegardToCase)
{
    write("[aNSICHT]\nbreite=800\nH\xD6HE=500\n");
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("BREITE")), QStringLiteral("800"));
    // Letters of Windows-1252 beyond ASCII fold as well: Ö (D6) matches ö.
    EXPECT_EQ(read(QStringLiteral("ansicht"), QStringLiteral("Höhe")), QStringLiteral("500"));
}

TEST_F(ProfileRead, BlanksAroundNamesAndValuesDoNotCount)
{
    write("  [ Ansicht ]  \r\n\t Breite \t=   800  \r\n Name =\r\nLeer=   \r\n");
    EXPECT_EQ(read(QStringLiteral(" Ansicht"), QStringLiteral("Breite ")), QStringLiteral("800"));
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Name")), QString());
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Leer")), QString());
}

TEST_F(ProfileRead, SurroundingQuotesAreStripped)
{
    write("[Schrift]\nName=\" Courier New \"\nHalb=\"Arial\nEins=\"\nInnen=a\"b\"\nEinfach='Tahoma'\n");
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Name")), QStringLiteral(" Courier New "));
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Halb")), QStringLiteral("\"Arial"));
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Eins")), QStringLiteral("\""));
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Innen")), QStringLiteral("a\"b\""));
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Einfach")), QStringLiteral("Tahoma"));
}

TEST_F(ProfileRead, CommentsAndStrayLinesAreNotKeys)
{
    write("; [Ansicht]\n;Breite=1\n[Ansicht]\n  ; Breite=2\nnur Text\n[kaputt\nBreite=3\n");
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Breite")), QStringLiteral("3"));
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("nur Text")), QStringLiteral("<def>"));
}

TEST_F(ProfileRead, TheFirstMatchingSectionAndKeyWin)
{
    write("[Ansicht]\nBreite=1\nbreite=2\n[ANSICHT]\nBreite=3\nHöhe=4\n");
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Breite")), QStringLiteral("1"));
    // Only the first section of a name is looked at.
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Höhe")), QStringLiteral("<def>"));
}

TEST_F(ProfileRead, KeysBelongToTheirOwnSection)
{
    write("Breite=0\n[Schrift]\nBreite=1\n[Ansicht]\nHöhe=2\n");
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Breite")), QStringLiteral("<def>"));
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Breite")), QStringLiteral("1"));
}

TEST_F(ProfileRead, AtMost2047CharactersAreReturned)
{
    const QByteArray longValue(3000, 'w');
    write("[Schrift]\nName=" + longValue + "\nSize=12\n");
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Name")), QString(2047, QLatin1Char('w')));
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Size")), QStringLiteral("12"));
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Fehlt"), QString(3000, QLatin1Char('d'))),
              QString(2047, QLatin1Char('d')));
}

TEST_F(ProfileRead, TrailingBlanksOfTheDefaultAreDropped)
{
    EXPECT_EQ(read(QStringLiteral("Zeitstempel"), QStringLiteral("Einsetzen"), QStringLiteral("Anfang  ")),
              QStringLiteral("Anfang"));
}

TEST_F(ProfileRead, Windows1252BytesAreReadAsSuch)
{
    write("[Ansicht]\r\nH\xF6he=480\r\n[Schrift]\r\nName=Caf\xE9 \x80\r\n");
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Höhe")), QStringLiteral("480"));
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Name")), QStringLiteral("Café €"));
}

TEST_F(ProfileRead, Utf8FileFromALinuxEditorIsUnderstood)
{
    write(QStringLiteral("; Größe des Fensters\n[Ansicht]\nHöhe=480\n[Schrift]\nName=Café €\n").toUtf8());
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Höhe")), QStringLiteral("480"));
    EXPECT_EQ(read(QStringLiteral("Schrift"), QStringLiteral("Name")), QStringLiteral("Café €"));

    write("\xEF\xBB\xBF[Ansicht]\nBreite=700\n");
    EXPECT_EQ(read(QStringLiteral("Ansicht"), QStringLiteral("Breite")), QStringLiteral("700"));
}

TEST(ProfileEncoding, Windows1252RoundTripsEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = DecodeWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0xF6], QChar(0x00F6));
    EXPECT_EQ(EncodeWindows1252(text), all);
    EXPECT_EQ(EncodeWindows1252(QStringLiteral("ö€中😀")), QByteArray("\xF6\x80??"));
}

TEST(ProfileEncoding, DetectsUtf8OnlyWhenItIsValidAndNotPlainAscii)
{
    EXPECT_EQ(DetectProfileEncoding("[Ansicht]\nBreite=1\n"), ProfileEncoding::Windows1252);
    EXPECT_EQ(DetectProfileEncoding("H\xF6he=1"), ProfileEncoding::Windows1252);
    EXPECT_EQ(DetectProfileEncoding("H\xC3\xB6he=1"), ProfileEncoding::Utf8);
    EXPECT_EQ(DetectProfileEncoding("\xEF\xBB\xBF[A]"), ProfileEncoding::Utf8);
    // One stray 1252 byte among UTF-8 sequences makes the whole file 1252.
    EXPECT_EQ(DetectProfileEncoding("H\xC3\xB6he=1\nx=\xE9\n"), ProfileEncoding::Windows1252);
}
