// Typed reads and writes of TIniFile and the integer conversion they share.

#include "exception.h"
#include "profile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "profilefixture.h"

#include <limits>
#include <optional>

using namespace platform;

namespace {

using IniFile = ProfileFileFixture;

std::optional<int> convert(const char *text)
{
    int value = 0;
    if (!StrToIntChecked(QString::fromUtf8(text), value))
        return std::nullopt;
    return value;
}

} // namespace

TEST(StrToIntChecked, ReadsDecimalAndHexadecimalText)
{
    EXPECT_EQ(convert("0x320"), 800);
    EXPECT_EQ(convert("0X1f"), 31);
    EXPECT_EQ(convert("$1F"), 31);
    EXPECT_EQ(convert("$ff"), 255);
    EXPECT_EQ(convert(" 12"), 12);
    EXPECT_EQ(convert("   -7"), -7);
    EXPECT_EQ(convert("+5"), 5);
    EXPECT_EQ(convert("-3"), -3);
    EXPECT_EQ(convert("-$10"), -16);
    EXPECT_EQ(convert("007"), 7);
    EXPECT_EQ(convert("2147483647"), std::numeric_limits<int>::max());
    EXPECT_EQ(convert("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(convert("0x7FFFFFFF"), std::numeric_limits<int>::max());
}

TEST(StrToIntChecked, RefusesWhatIsNotAnInteger)
{
    for (const char *bad : {"", " ", "ja", "0x", "0x-5", "$", "-", "+", "12 ", "1 2", "1.5", "12a", "1e3", "--1",
                            "- 1", "\t1", "$G", "0xZ", " 0x10", "١٢"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(convert(bad), std::nullopt);
    }
}

TEST(StrToIntChecked, RefusesOverflow)
{
    for (const char *big : {"2147483648", "-2147483649", "99999999999", "0x80000000", "$100000000",
                            "123456789012345678901234567890"}) {
        SCOPED_TRACE(big);
        EXPECT_EQ(convert(big), std::nullopt);
    }
}

TEST_F(IniFile, ReadIntegerFallsBackToTheDefault)
{
    put("[Ansicht]\nBreite=0x320\nHöhe=ja\nFenster=\nLeer=0x\nGross=4294967296\nZitat=\" 12\"\n");
    const TIniFile ini(path());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Breite"), 640), 800);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Höhe"), 480), 480);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Fenster"), 0), 0);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Leer"), 3), 3);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Gross"), 5), 5);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Zitat"), 0), 12);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Fehlt"), 77), 77);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Schrift"), QStringLiteral("Size"), 10), 10);
}

TEST_F(IniFile, ReadBoolIsTrueForEveryIntegerButZero)
{
    put("[Ansicht]\nJa=ja\nNull=0\nFuenf=5\nMinus=-1\nHex=0x0\n");
    const TIniFile ini(path());
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Ansicht"), QStringLiteral("Ja"), true));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Ansicht"), QStringLiteral("Ja"), false));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Ansicht"), QStringLiteral("Null"), true));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Ansicht"), QStringLiteral("Fuenf"), false));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Ansicht"), QStringLiteral("Minus"), false));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Ansicht"), QStringLiteral("Hex"), true));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Ansicht"), QStringLiteral("Mehrzeilig"), true));
}

TEST_F(IniFile, OpeningAndReadingTouchNoFile)
{
    const TIniFile ini(path());
    EXPECT_EQ(ini.FileName(), path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Schrift"), QStringLiteral("Name"), QStringLiteral("Arial")),
              QStringLiteral("Arial"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Breite"), 640), 640);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Ansicht"), QStringLiteral("Mehrzeilig"), true));
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

TEST_F(IniFile, TypedWritesStoreDecimalAndOneOrZero)
{
    const TIniFile ini(path());
    ini.WriteBool(QStringLiteral("Ansicht"), QStringLiteral("Mehrzeilig"), false);
    ini.WriteInteger(QStringLiteral("Ansicht"), QStringLiteral("Button"), 2);
    ini.WriteInteger(QStringLiteral("Ansicht"), QStringLiteral("Breite"), -5);
    ini.WriteInteger(QStringLiteral("Ansicht"), QStringLiteral("Höhe"), 480);
    ini.WriteBool(QStringLiteral("Ansicht"), QStringLiteral("Mehrzeilig"), true);
    ini.WriteString(QStringLiteral("Schrift"), QStringLiteral("Name"), QStringLiteral("Arial"));
    EXPECT_EQ(bytes(), QByteArray("[Ansicht]\nMehrzeilig=1\nButton=2\nBreite=-5\nH\xF6he=480\n\n[Schrift]\nName=Arial\n"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Breite"), 0), -5);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Ansicht"), QStringLiteral("Höhe"), 0), 480);
}

TEST_F(IniFile, RefusedWriteThrowsWithThePath)
{
    const QString inMissingFolder = m_dir.filePath(QStringLiteral("fehlt/Kartolino.ini"));
    try {
        TIniFile(inMissingFolder).WriteInteger(QStringLiteral("Ansicht"), QStringLiteral("Breite"), 800);
        FAIL() << "no exception";
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), QStringLiteral("nach ") + inMissingFolder + QStringLiteral(" kann nicht geschrieben werden"));
    }

    put("[Ansicht]\nBreite=640\n");
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::ReadOwner));
    const TIniFile ini(path());
    EXPECT_THROW(ini.WriteBool(QStringLiteral("Ansicht"), QStringLiteral("Mehrzeilig"), true), Exception);
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(bytes(), QByteArray("[Ansicht]\nBreite=640\n"));

    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Ordner.ini")));
    EXPECT_THROW(TIniFile(m_dir.filePath(QStringLiteral("Ordner.ini")))
                     .WriteString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v")),
                 Exception);
}
