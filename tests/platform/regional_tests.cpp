// The time stamp's text from real glibc locales and from hand-made locale
// items, and when the cached settings are read again.

#include "regional.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

using platform::DateTimeText;
using platform::LangInfo;
using platform::RegionalSettings;

namespace {

// Monday, 8 December 2025.
QDateTime At(int h, int m, int s, int ms = 0)
{
    return QDateTime(QDate(2025, 12, 8), QTime(h, m, s, ms));
}

QString Text(const char *locale, const QDateTime &t)
{
    return DateTimeText(t, RegionalSettings::FromLocale(locale));
}

// Restores an environment variable when the test ends.
class EnvVar {
public:
    explicit EnvVar(const char *name) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {}
    ~EnvVar()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

// --- real locales ---

// The time stamp of Monday, 8 December 2025 at a time of day, as a real glibc
// locale writes it.
struct LocaleCase {
    const char *name;
    const char *locale;
    int h, m, s;
    const char *text; // UTF-8
};

class RegionalLocales : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(RegionalLocales, WriteTheTimeStampAsTheLocaleDoes)
{
    const LocaleCase &c = GetParam();
    EXPECT_EQ(Text(c.locale, At(c.h, c.m, c.s)), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Glibc, RegionalLocales,
    ::testing::Values(
        // de_DE: day, month, year; a 24-hour clock with leading zeros.
        LocaleCase{"german_afternoon", "de_DE.UTF-8", 14, 5, 9, "08.12.2025 14:05:09"},
        LocaleCase{"german_morning", "de_DE.UTF-8", 8, 5, 9, "08.12.2025 08:05:09"},
        LocaleCase{"german_last_second", "de_DE.UTF-8", 23, 59, 59, "08.12.2025 23:59:59"},
        // en_US: D_FMT "%m/%d/%Y", T_FMT "%r" = "%I:%M:%S %p" (%I pads the hour);
        // the 12-hour clock runs 12, 1, ..., 11.
        LocaleCase{"us_afternoon", "en_US.UTF-8", 14, 5, 9, "12/08/2025 02:05:09 PM"},
        LocaleCase{"us_morning", "en_US.UTF-8", 9, 5, 9, "12/08/2025 09:05:09 AM"},
        LocaleCase{"us_after_midnight", "en_US.UTF-8", 0, 30, 0, "12/08/2025 12:30:00 AM"},
        LocaleCase{"us_after_noon", "en_US.UTF-8", 12, 0, 1, "12/08/2025 12:00:01 PM"},
        LocaleCase{"us_before_noon", "en_US.UTF-8", 11, 59, 59, "12/08/2025 11:59:59 AM"},
        LocaleCase{"us_one_pm", "en_US.UTF-8", 13, 0, 0, "12/08/2025 01:00:00 PM"},
        // zh_HK: D_FMT "%Y年%m月%d日 %A", T_FMT "%p %I時%M分%S秒 %Z"; its text
        // between hour and minutes is no plain separator, so T_FMT_AMPM's ":"
        // ("%p %I:%M:%S") is used, the marker before the time.
        LocaleCase{"hongkong_afternoon", "zh_HK.UTF-8", 14, 5, 9, "2025年12月08日 星期一 下午 02:05:09"},
        LocaleCase{"hongkong_morning", "zh_HK.UTF-8", 7, 5, 9, "2025年12月08日 星期一 上午 07:05:09"},
        // so_SO: T_FMT "%l:%M:%S %p", the hour without a leading zero.
        LocaleCase{"somali_unpadded_hour", "so_SO.UTF-8", 14, 5, 9, "08/12/2025 2:05:09 galabnimo"},
        // ms_MY has a 12-hour clock but empty AM_STR/PM_STR; its date names the
        // day and month ("%A %d %b %Y").
        LocaleCase{"malay_afternoon", "ms_MY.UTF-8", 14, 5, 9, "Isnin 08 Dis 2025 02:05:09 pm"},
        LocaleCase{"malay_morning", "ms_MY.UTF-8", 10, 5, 9, "Isnin 08 Dis 2025 10:05:09 am"},
        // sq_AL: D_FMT "%-d.%-m.%y", day and month unpadded.
        LocaleCase{"albanian_unpadded_date", "sq_AL.UTF-8", 14, 5, 9, "8.12.25 02:05:09 MD"},
        // "C" and "POSIX": D_FMT "%m/%d/%y", T_FMT "%H:%M:%S".
        LocaleCase{"c", "C", 14, 5, 9, "12/08/25 14:05:09"},
        LocaleCase{"posix", "POSIX", 8, 5, 9, "12/08/25 08:05:09"},
        // A locale that cannot be opened gives the defaults.
        LocaleCase{"unknown", "xx_NOWHERE.UTF-8", 14, 5, 9, "12/8/25 2:05:09 pm"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RegionalSettingsOf, LocaleThatCannotBeOpenedGivesTheDefaults)
{
    EXPECT_EQ(RegionalSettings::FromLocale("xx_NOWHERE.UTF-8"), RegionalSettings{});
}

// --- midnight ---

TEST(RegionalMidnight, ExactlyMidnightIsTheDateAlone)
{
    EXPECT_EQ(Text("de_DE.UTF-8", At(0, 0, 0)), "08.12.2025");
    EXPECT_EQ(Text("en_US.UTF-8", At(0, 0, 0)), "12/08/2025");
}

TEST(RegionalMidnight, MillisecondsDoNotCount)
{
    EXPECT_EQ(Text("de_DE.UTF-8", At(0, 0, 0, 999)), "08.12.2025");
    EXPECT_EQ(Text("de_DE.UTF-8", At(14, 5, 9, 999)), "08.12.2025 14:05:09");
}

TEST(RegionalMidnight, AnyOtherTimeOfDayIsWritten)
{
    EXPECT_EQ(Text("de_DE.UTF-8", At(0, 0, 1)), "08.12.2025 00:00:01");
    EXPECT_EQ(Text("de_DE.UTF-8", At(0, 1, 0)), "08.12.2025 00:01:00");
    EXPECT_EQ(Text("de_DE.UTF-8", At(12, 0, 0)), "08.12.2025 12:00:00");
    EXPECT_EQ(Text("en_US.UTF-8", At(0, 0, 1)), "12/08/2025 12:00:01 AM");
}

// --- conversion of locale items ---

TEST(RegionalConversion, NothingGivenKeepsEveryDefault)
{
    const RegionalSettings s = RegionalSettings::FromLangInfo(LangInfo{});
    EXPECT_EQ(s, RegionalSettings{});
    EXPECT_EQ(DateTimeText(At(14, 5, 9), s), "12/8/25 2:05:09 pm");
    EXPECT_EQ(DateTimeText(At(9, 5, 9), s), "12/8/25 9:05:09 am");
}

TEST(RegionalConversion, DateSeparatorComesFromTheFormat)
{
    LangInfo info;
    info.dateFormat = "%Y-%m-%d";
    const RegionalSettings s = RegionalSettings::FromLangInfo(info);
    EXPECT_EQ(s.shortDatePattern, "yyyy/mm/dd");
    EXPECT_EQ(s.dateSeparator, "-");
    EXPECT_EQ(platform::FormatShortDate(QDate(2025, 3, 4), s), "2025-03-04");
}

TEST(RegionalConversion, CompositeDateConversionsAreExpanded)
{
    LangInfo info;
    info.dateFormat = "%D";
    EXPECT_EQ(platform::FormatShortDate(QDate(2025, 3, 4), RegionalSettings::FromLangInfo(info)), "03/04/25");
    info.dateFormat = "%e.%-m.%Y";
    EXPECT_EQ(platform::FormatShortDate(QDate(2025, 3, 4), RegionalSettings::FromLangInfo(info)), "4.3.2025");
}

TEST(RegionalConversion, WordsInTheDateStayLiteral)
{
    // Letters of the locale's words must not be read as pattern letters.
    LangInfo info;
    info.dateFormat = "%d de %m dy %Y";
    const RegionalSettings s = RegionalSettings::FromLangInfo(info);
    EXPECT_EQ(platform::FormatShortDate(QDate(2025, 3, 4), s), "04 de 03 dy 2025");
}

TEST(RegionalConversion, MarkerBeforeTheHourIsFound)
{
    LangInfo info;
    info.timeFormat = "%p %I.%M.%S";
    info.am = "vorm.";
    info.pm = "nachm.";
    const RegionalSettings s = RegionalSettings::FromLangInfo(info);
    EXPECT_TRUE(s.twelveHourClock);
    EXPECT_TRUE(s.designatorBeforeTime);
    EXPECT_EQ(platform::FormatLongTime(QTime(14, 5, 9), s), "nachm. 02.05.09");
    EXPECT_EQ(platform::FormatLongTime(QTime(0, 5, 9), s), "vorm. 12.05.09");
}

TEST(RegionalConversion, HourPaddingFollowsConversionAndFlag)
{
    LangInfo info;
    info.timeFormat = "%k:%M:%S";
    EXPECT_EQ(platform::FormatLongTime(QTime(8, 5, 9), RegionalSettings::FromLangInfo(info)), "8:05:09");
    info.timeFormat = "%-H:%M:%S";
    EXPECT_EQ(platform::FormatLongTime(QTime(8, 5, 9), RegionalSettings::FromLangInfo(info)), "8:05:09");
    info.timeFormat = "%-I:%M:%S %p";
    EXPECT_EQ(platform::FormatLongTime(QTime(20, 5, 9), RegionalSettings::FromLangInfo(info)), "8:05:09 pm");
    info.timeFormat = "%H.%M.%S";
    EXPECT_EQ(platform::FormatLongTime(QTime(8, 5, 9), RegionalSettings::FromLangInfo(info)), "08.05.09");
}

TEST(RegionalConversion, WordBetweenHourAndMinutesIsNoSeparator)
{
    // ko_KR-like: "%H시 %M분 %S초" with no usable T_FMT_AMPM either.
    LangInfo info;
    info.timeFormat = QString::fromUtf8("%H시 %M분 %S초");
    const RegionalSettings s = RegionalSettings::FromLangInfo(info);
    EXPECT_FALSE(s.twelveHourClock);
    EXPECT_EQ(platform::FormatLongTime(QTime(14, 5, 9), s), "14:05:09");
    EXPECT_EQ(Text("ko_KR.UTF-8", At(14, 5, 9)), QString::fromUtf8("2025년 12월 08일 14:05:09"));
}

// --- when the program's settings are read ---

class RegionalCache : public ::testing::Test {
protected:
    void TearDown() override { platform::SetRegionalSettingsSource({}); }
};

TEST_F(RegionalCache, SettingsAreKeptUntilTheLocaleChanges)
{
    RegionalSettings next = RegionalSettings::FromLocale("de_DE.UTF-8");
    int reads = 0;
    platform::SetRegionalSettingsSource([&] {
        ++reads;
        return next;
    });
    EXPECT_EQ(DateTimeText(At(14, 5, 9)), "08.12.2025 14:05:09");
    next = RegionalSettings::FromLocale("en_US.UTF-8");
    EXPECT_EQ(DateTimeText(At(14, 5, 9)), "08.12.2025 14:05:09");
    EXPECT_EQ(reads, 1);

    QWidget widget;
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(&widget, &change);
    EXPECT_EQ(DateTimeText(At(14, 5, 9)), "12/08/2025 02:05:09 PM");
    EXPECT_EQ(reads, 2);
}

TEST_F(RegionalCache, ChangedEnvironmentIsReadAgain)
{
    EnvVar all("LC_ALL"), time("LC_TIME"), lang("LANG");
    qunsetenv("LC_ALL");
    qputenv("LC_TIME", "de_DE.UTF-8");
    qputenv("LANG", "en_US.UTF-8");
    EXPECT_EQ(DateTimeText(At(14, 5, 9)), "08.12.2025 14:05:09");
    qunsetenv("LC_TIME");
    EXPECT_EQ(DateTimeText(At(14, 5, 9)), "12/08/2025 02:05:09 PM");
    qputenv("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(DateTimeText(At(14, 5, 9)), "08.12.2025 14:05:09");
    qunsetenv("LC_ALL");
    qunsetenv("LANG");
    EXPECT_EQ(RegionalSettings::EnvironmentLocaleName(), "C");
    EXPECT_EQ(DateTimeText(At(14, 5, 9)), "12/08/25 14:05:09");
}
