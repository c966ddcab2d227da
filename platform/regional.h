#pragma once
// The user's regional date and time settings, and the text of a moment as the
// time stamp writes it.
//
// The settings are kept in the shape the time stamp needs: a short-date
// pattern with a date separator, a time separator, 12- or 24-hour clock,
// leading zeros in hours, and the AM/PM designators with their place. On
// Linux they come from the LC_TIME category of a POSIX locale (nl_langinfo):
//
//   D_FMT        -> short-date pattern and date separator
//   T_FMT        -> 12/24-hour clock (an hour in %I or %l means 12-hour;
//                   %r stands for T_FMT_AMPM), leading zeros (%H and %I
//                   pad, so en_US writes "02:05:09 PM"; %k, %l and the "-"
//                   flag do not), marker (%p/%P) before or after the hour,
//                   time separator (the text between hour and minutes)
//   T_FMT_AMPM   -> second source of the time separator when T_FMT's text
//                   between hour and minutes is not a plain separator
//   AM_STR/PM_STR-> designators
//
// Whatever the locale leaves empty keeps the default: pattern "m/d/yy" with
// "/", time separator ":", 12-hour clock without leading zeros, "am"/"pm"
// after the time. A locale that cannot be opened gives all defaults. The "C"
// (POSIX) locale is an ordinary locale here and gives "mm/dd/yy" and a
// 24-hour clock with leading zeros ("%m/%d/%y", "%H:%M:%S").
//
// Which locale the program follows: LC_ALL, else LC_TIME, else LANG, else
// "C". The settings are read at the first use and again after any
// QEvent::LocaleChange reaches the application, and whenever the values of
// those three variables differ from the ones of the last read.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// The raw LC_TIME items as a locale gives them; empty where it gives nothing.
struct LangInfo {
    QString dateFormat;     // D_FMT
    QString timeFormat;     // T_FMT
    QString timeFormatAmPm; // T_FMT_AMPM
    QString am;             // AM_STR
    QString pm;             // PM_STR
    QStringList shortMonthNames, longMonthNames; // ABMON_1.., MON_1.. (January first)
    QStringList shortDayNames, longDayNames;     // ABDAY_1.., DAY_1.. (Sunday first)
};

struct RegionalSettings {
    // Pattern letters: d dd (day), ddd dddd (day name), m mm (month), mmm mmmm
    // (month name), yy yyyy (year), "/" stands for dateSeparator, text in
    // double or single quotes is literal, any other character is itself.
    QString shortDatePattern = QStringLiteral("m/d/yy");
    QString dateSeparator = QStringLiteral("/");
    QString timeSeparator = QStringLiteral(":");
    bool twelveHourClock = true;
    bool leadingZeroHours = false;
    QString amDesignator = QStringLiteral("am");
    QString pmDesignator = QStringLiteral("pm");
    bool designatorBeforeTime = false;
    QStringList shortMonthNames, longMonthNames, shortDayNames, longDayNames;

    // Converts a locale's raw items; empty items keep the defaults above.
    static RegionalSettings FromLangInfo(const LangInfo &info);
    // Reads the LC_TIME items of a named locale ("de_DE.UTF-8"); a locale
    // that cannot be opened gives the defaults.
    static RegionalSettings FromLocale(const QByteArray &localeName);
    // The locale named by LC_ALL, LC_TIME or LANG (in this order), else "C".
    static RegionalSettings FromEnvironment();
    static QByteArray EnvironmentLocaleName();

    bool operator==(const RegionalSettings &) const = default;
};

LangInfo ReadLangInfo(const QByteArray &localeName, bool *opened = nullptr);

QString FormatShortDate(const QDate &date, const RegionalSettings &settings);
QString FormatLongTime(const QTime &time, const RegionalSettings &settings);

// The date, and unless the moment is exactly 00:00:00 (milliseconds not
// counted) a blank and the time.
QString DateTimeText(const QDateTime &t, const RegionalSettings &settings);
// The same with the user's current settings.
QString DateTimeText(const QDateTime &t);

// The user's settings as last read (re-read as described at the top).
const RegionalSettings &CurrentRegionalSettings();
// Drops the cached settings; the next use reads them again.
void InvalidateRegionalSettings();

// Tests replace where the settings come from; an empty function restores
// FromEnvironment.
using RegionalSettingsSource = std::function<RegionalSettings()>;
void SetRegionalSettingsSource(RegionalSettingsSource source);

} // namespace platform
