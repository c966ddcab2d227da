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

// One file, one look-up. Where a row only says what it shows, the name does.
struct LookUp {
    const char *name;
    const char *file;
    const char *section, *key; // UTF-8
    const char *value;         // UTF-8; "<def>" is the default
};

class ProfileLookUp : public ProfileRead, public ::testing::WithParamInterface<LookUp> {};

TEST_P(ProfileLookUp, FindsTheValue)
{
    const LookUp &c = GetParam();
    write(c.file);
    EXPECT_EQ(read(QString::fromUtf8(c.section), QString::fromUtf8(c.key)), QString::fromUtf8(c.value));
}

namespace {
const char kCase[] = "[aNSICHT]\nbreite=800\nH\xD6HE=500\n";
const char kBlanks[] = "  [ Ansicht ]  \r\n\t Breite \t=   800  \r\n Name =\r\nLeer=   \r\n";
const char kQuotes[] = "[Schrift]\nName=\" Courier New \"\nHalb=\"Arial\nEins=\"\nInnen=a\"b\"\nEinfach='Tahoma'\n";
const char kComments[] = "; [Ansicht]\n;Breite=1\n[Ansicht]\n  ; Breite=2\nnur Text\n[kaputt\nBreite=3\n";
const char kTwice[] = "[Ansicht]\nBreite=1\nbreite=2\n[ANSICHT]\nBreite=3\nHöhe=4\n";
const char kSections[] = "Breite=0\n[Schrift]\nBreite=1\n[Ansicht]\nHöhe=2\n";
const char k1252[] = "[Ansicht]\r\nH\xF6he=480\r\n[Schrift]\r\nName=Caf\xE9 \x80\r\n";
const char kUtf8[] = "; Größe des Fensters\n[Ansicht]\nHöhe=480\n[Schrift]\nName=Café €\n";
} // namespace

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileLookUp,
    ::testing::Values(LookUp{"names_without_case", kCase, "Ansicht", "BREITE", "800"},
                      // Letters of Windows-1252 beyond ASCII fold as well: Ö (D6) matches ö.
                      LookUp{"umlaut_without_case", kCase, "ansicht", "Höhe", "500"},
                      LookUp{"blanks_around_names_and_value", kBlanks, " Ansicht", "Breite ", "800"},
                      LookUp{"blank_value", kBlanks, "Ansicht", "Name", ""},
                      LookUp{"only_blanks_value", kBlanks, "Ansicht", "Leer", ""},
                      LookUp{"quotes_stripped", kQuotes, "Schrift", "Name", " Courier New "},
                      LookUp{"one_quote_kept", kQuotes, "Schrift", "Halb", "\"Arial"},
                      LookUp{"lone_quote_kept", kQuotes, "Schrift", "Eins", "\""},
                      LookUp{"inner_quotes_kept", kQuotes, "Schrift", "Innen", "a\"b\""},
                      LookUp{"single_quotes_stripped", kQuotes, "Schrift", "Einfach", "Tahoma"},
                      LookUp{"comments_are_no_keys", kComments, "Ansicht", "Breite", "3"},
                      LookUp{"stray_line_is_no_key", kComments, "Ansicht", "nur Text", "<def>"},
                      LookUp{"first_key_wins", kTwice, "Ansicht", "Breite", "1"},
                      // Only the first section of a name is looked at.
                      LookUp{"first_section_only", kTwice, "Ansicht", "Höhe", "<def>"},
                      LookUp{"key_before_any_section", kSections, "Ansicht", "Breite", "<def>"},
                      LookUp{"key_of_its_section", kSections, "Schrift", "Breite", "1"},
                      LookUp{"windows1252_key", k1252, "Ansicht", "Höhe", "480"},
                      LookUp{"windows1252_value", k1252, "Schrift", "Name", "Café €"},
                      // A file from a Linux editor, with or without a byte order mark.
                      LookUp{"utf8_key", kUtf8, "Ansicht", "Höhe", "480"},
                      LookUp{"utf8_value", kUtf8, "Schrift", "Name", "Café €"},
                      LookUp{"utf8_bom", "\xEF\xBB\xBF[Ansicht]\nBreite=700\n", "Ansicht", "Breite", "700"}),
    [](const auto &info) { return std::string(info.param.name); });

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
