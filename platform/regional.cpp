#include "regional.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>
#include <QStringDecoder>

#include <langinfo.h>
#include <locale.h>

namespace platform {

namespace {

// One piece of a strftime format: literal text or one conversion with its
// padding flag ('-', '_', '0', ...; null when none).
struct FormatPiece {
    bool literal = false;
    QString text;
    QChar conversion;
    QChar flag;
};

using FormatPieces = QList<FormatPiece>;

void AppendLiteral(FormatPieces &pieces, const QString &text)
{
    if (text.isEmpty())
        return;
    if (!pieces.isEmpty() && pieces.last().literal)
        pieces.last().text += text;
    else
        pieces.append({true, text, {}, {}});
}

void AppendPieces(FormatPieces &pieces, const FormatPieces &more)
{
    for (const FormatPiece &p : more) {
        if (p.literal)
            AppendLiteral(pieces, p.text);
        else
            pieces.append(p);
    }
}

constexpr auto kDefaultAmPmFormat = "%I:%M:%S %p"; // what glibc's %r falls back to

// Splits a strftime format into pieces, replacing the composite conversions
// (%D %F %T %R %r) by what they stand for, so that callers see only single
// fields. ampmFormat is what %r means; depth stops a %r inside it.
FormatPieces SplitFormat(const QString &format, const QString &ampmFormat, int depth = 0)
{
    FormatPieces pieces;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (format[i] != u'%') {
            AppendLiteral(pieces, QString(format[i]));
            continue;
        }
        qsizetype j = i + 1;
        QChar flag;
        while (j < n && QStringView(u"-_0^#").contains(format[j]))
            flag = format[j++];
        while (j < n && format[j].isDigit())
            ++j;
        if (j < n && (format[j] == u'E' || format[j] == u'O'))
            ++j;
        if (j >= n) {
            AppendLiteral(pieces, format.mid(i));
            break;
        }
        const QChar c = format[j];
        i = j;
        auto expand = [&](const QString &inner) {
            if (depth < 2)
                AppendPieces(pieces, SplitFormat(inner, QString::fromLatin1(kDefaultAmPmFormat), depth + 1));
        };
        switch (c.unicode()) {
        case u'%': AppendLiteral(pieces, QStringLiteral("%")); break;
        case u'n': AppendLiteral(pieces, QStringLiteral("\n")); break;
        case u't': AppendLiteral(pieces, QStringLiteral("\t")); break;
        case u'D': expand(QStringLiteral("%m/%d/%y")); break;
        case u'F': expand(QStringLiteral("%Y-%m-%d")); break;
        case u'T': expand(QStringLiteral("%H:%M:%S")); break;
        case u'R': expand(QStringLiteral("%H:%M")); break;
        case u'r': expand(ampmFormat.isEmpty() ? QString::fromLatin1(kDefaultAmPmFormat) : ampmFormat); break;
        default: pieces.append({false, {}, c, flag}); break;
        }
    }
    return pieces;
}

// A plain separator is short punctuation or blank, nothing a reader would
// take for a word ("." "/" "-" ". " ":" but not "시 " or "時").
bool IsPlainSeparator(const QString &text)
{
    if (text.isEmpty() || text.size() > 3)
        return false;
    for (QChar c : text) {
        if (c.isLetterOrNumber())
            return false;
    }
    return true;
}

QString Quoted(const QString &text)
{
    if (!text.contains(u'"'))
        return u'"' + text + u'"';
    if (!text.contains(u'\''))
        return u'\'' + text + u'\'';
    QString stripped = text;
    stripped.remove(u'"');
    return u'"' + stripped + u'"';
}

// The pattern letters for one date conversion; empty for what a short date
// cannot show (time zone, week number, ...).
QString DateLetters(const FormatPiece &p)
{
    const bool unpadded = p.flag == u'-' || p.flag == u'_';
    switch (p.conversion.unicode()) {
    case u'd': return unpadded ? QStringLiteral("d") : QStringLiteral("dd");
    case u'e': return p.flag == u'0' ? QStringLiteral("dd") : QStringLiteral("d");
    case u'm': return unpadded ? QStringLiteral("m") : QStringLiteral("mm");
    case u'y': return QStringLiteral("yy");
    case u'Y': return QStringLiteral("yyyy");
    case u'b':
    case u'h': return QStringLiteral("mmm");
    case u'B': return QStringLiteral("mmmm");
    case u'a': return QStringLiteral("ddd");
    case u'A': return QStringLiteral("dddd");
    default: return {};
    }
}

void ApplyDateFormat(const QString &dateFormat, RegionalSettings &s)
{
    FormatPieces pieces;
    for (const FormatPiece &p : SplitFormat(dateFormat, {})) {
        if (p.literal || !DateLetters(p).isEmpty())
            pieces.append(p);
    }
    // Dropped conversions may leave two literals side by side.
    FormatPieces merged;
    AppendPieces(merged, pieces);

    QString separator;
    for (qsizetype k = 1; k + 1 < merged.size(); ++k) {
        if (merged[k].literal && IsPlainSeparator(merged[k].text)) {
            separator = merged[k].text;
            break;
        }
    }
    QString pattern;
    bool anyField = false;
    for (const FormatPiece &p : merged) {
        if (!p.literal) {
            pattern += DateLetters(p);
            anyField = true;
        } else if (!separator.isEmpty() && p.text == separator) {
            pattern += u'/';
        } else {
            pattern += Quoted(p.text);
        }
    }
    if (!anyField)
        return;
    s.shortDatePattern = pattern;
    if (!separator.isEmpty())
        s.dateSeparator = separator;
}

bool IsHour(QChar c)
{
    return c == u'H' || c == u'k' || c == u'I' || c == u'l';
}

// The text between the hour and the minutes when it is a plain separator.
QString TimeSeparatorOf(const FormatPieces &pieces)
{
    for (qsizetype k = 0; k + 2 < pieces.size(); ++k) {
        if (!pieces[k].literal && IsHour(pieces[k].conversion) && pieces[k + 1].literal
            && !pieces[k + 2].literal && pieces[k + 2].conversion == u'M'
            && IsPlainSeparator(pieces[k + 1].text))
            return pieces[k + 1].text;
    }
    return {};
}

void ApplyTimeFormat(const QString &timeFormat, const QString &ampmFormat, RegionalSettings &s)
{
    const FormatPieces pieces = SplitFormat(timeFormat, ampmFormat);
    qsizetype hour = -1, marker = -1;
    for (qsizetype k = 0; k < pieces.size(); ++k) {
        const FormatPiece &p = pieces[k];
        if (p.literal)
            continue;
        if (hour < 0 && IsHour(p.conversion))
            hour = k;
        if (marker < 0 && (p.conversion == u'p' || p.conversion == u'P'))
            marker = k;
    }
    if (hour >= 0) {
        const FormatPiece &h = pieces[hour];
        s.twelveHourClock = h.conversion == u'I' || h.conversion == u'l';
        const bool padsByDefault = h.conversion == u'H' || h.conversion == u'I';
        s.leadingZeroHours = padsByDefault ? (h.flag != u'-' && h.flag != u'_') : h.flag == u'0';
        s.designatorBeforeTime = s.twelveHourClock && marker >= 0 && marker < hour;
    }
    QString separator = TimeSeparatorOf(pieces);
    if (separator.isEmpty())
        separator = TimeSeparatorOf(SplitFormat(ampmFormat, {}));
    if (!separator.isEmpty())
        s.timeSeparator = separator;
}

QString TwoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString NameOr(const QStringList &names, qsizetype index, const QString &fallback)
{
    return index >= 0 && index < names.size() && !names[index].isEmpty() ? names[index] : fallback;
}

QString DateField(QChar letter, int count, const QDate &date, const RegionalSettings &s)
{
    const QLocale c = QLocale::c();
    if (letter == u'd') {
        const int dow = date.dayOfWeek() % 7; // Sunday first, as the locale lists them
        if (count == 1)
            return QString::number(date.day());
        if (count == 2)
            return TwoDigits(date.day());
        if (count == 3)
            return NameOr(s.shortDayNames, dow, c.dayName(date.dayOfWeek(), QLocale::ShortFormat));
        return NameOr(s.longDayNames, dow, c.dayName(date.dayOfWeek(), QLocale::LongFormat));
    }
    if (letter == u'm') {
        const int m = date.month() - 1;
        if (count == 1)
            return QString::number(date.month());
        if (count == 2)
            return TwoDigits(date.month());
        if (count == 3)
            return NameOr(s.shortMonthNames, m, c.monthName(date.month(), QLocale::ShortFormat));
        return NameOr(s.longMonthNames, m, c.monthName(date.month(), QLocale::LongFormat));
    }
    if (count <= 2)
        return TwoDigits(date.year() % 100);
    return QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString DecodeLangInfo(const char *text, const QByteArray &codeset)
{
    if (!text || !*text)
        return {};
    if (codeset.compare("UTF-8", Qt::CaseInsensitive) == 0 || codeset.compare("utf8", Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(text);
    QStringDecoder decoder(codeset.constData());
    if (decoder.isValid())
        return decoder.decode(QByteArray(text));
    return QString::fromLatin1(text);
}

// --- the cached settings of the running program ---

struct Cache {
    bool loaded = false;
    QByteArray environmentKey;
    RegionalSettings settings;
    RegionalSettingsSource source;
};

Cache &TheCache()
{
    static Cache cache;
    return cache;
}

QByteArray EnvironmentKey()
{
    return qgetenv("LC_ALL") + '\n' + qgetenv("LC_TIME") + '\n' + qgetenv("LANG");
}

// Marks the settings stale when the application hears of a locale change.
class LocaleChangeWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LocaleChange)
            InvalidateRegionalSettings();
        return QObject::eventFilter(watched, event);
    }
};

void EnsureWatcher()
{
    static QPointer<QObject> watcher;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || watcher)
        return;
    watcher = new LocaleChangeWatcher(app);
    app->installEventFilter(watcher);
}

} // namespace

LangInfo ReadLangInfo(const QByteArray &localeName, bool *opened)
{
    locale_t loc = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, localeName.constData(), locale_t(nullptr));
    if (opened)
        *opened = loc != locale_t(nullptr);
    if (!loc)
        return {};
    const auto release = qScopeGuard([loc] { freelocale(loc); });
    const QByteArray codeset = nl_langinfo_l(CODESET, loc);
    auto item = [&](nl_item i) { return DecodeLangInfo(nl_langinfo_l(i, loc), codeset); };
    LangInfo info;
    info.dateFormat = item(D_FMT);
    info.timeFormat = item(T_FMT);
    info.timeFormatAmPm = item(T_FMT_AMPM);
    info.am = item(AM_STR);
    info.pm = item(PM_STR);
    for (int m = 0; m < 12; ++m) {
        info.shortMonthNames << item(ABMON_1 + m);
        info.longMonthNames << item(MON_1 + m);
    }
    for (int d = 0; d < 7; ++d) {
        info.shortDayNames << item(ABDAY_1 + d);
        info.longDayNames << item(DAY_1 + d);
    }
    return info;
}

RegionalSettings RegionalSettings::FromLangInfo(const LangInfo &info)
{
    RegionalSettings s;
    ApplyDateFormat(info.dateFormat, s);
    ApplyTimeFormat(info.timeFormat, info.timeFormatAmPm, s);
    if (!info.am.isEmpty())
        s.amDesignator = info.am;
    if (!info.pm.isEmpty())
        s.pmDesignator = info.pm;
    s.shortMonthNames = info.shortMonthNames;
    s.longMonthNames = info.longMonthNames;
    s.shortDayNames = info.shortDayNames;
    s.longDayNames = info.longDayNames;
    return s;
}

RegionalSettings RegionalSettings::FromLocale(const QByteArray &localeName)
{
    bool opened = false;
    const LangInfo info = ReadLangInfo(localeName, &opened);
    return opened ? FromLangInfo(info) : RegionalSettings{};
}

QByteArray RegionalSettings::EnvironmentLocaleName()
{
    for (const char *name : {"LC_ALL", "LC_TIME", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return value;
    }
    return QByteArrayLiteral("C");
}

RegionalSettings RegionalSettings::FromEnvironment()
{
    return FromLocale(EnvironmentLocaleName());
}

QString FormatShortDate(const QDate &date, const RegionalSettings &s)
{
    const QString &pattern = s.shortDatePattern;
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = pattern.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop;
            continue;
        }
        const QChar letter = c.toLower();
        if (letter == u'd' || letter == u'm' || letter == u'y') {
            int count = 1;
            while (i + count < pattern.size() && pattern[i + count].toLower() == letter)
                ++count;
            out += DateField(letter, count, date, s);
            i += count - 1;
            continue;
        }
        out += c == u'/' ? s.dateSeparator : QString(c);
    }
    return out;
}

QString FormatLongTime(const QTime &time, const RegionalSettings &s)
{
    int hour = time.hour();
    if (s.twelveHourClock) {
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    const QString hourText = s.leadingZeroHours ? TwoDigits(hour) : QString::number(hour);
    const QString clock = hourText + s.timeSeparator + TwoDigits(time.minute()) + s.timeSeparator
        + TwoDigits(time.second());
    if (!s.twelveHourClock)
        return clock;
    const QString &marker = time.hour() < 12 ? s.amDesignator : s.pmDesignator;
    return s.designatorBeforeTime ? marker + u' ' + clock : clock + u' ' + marker;
}

QString DateTimeText(const QDateTime &t, const RegionalSettings &settings)
{
    const QString date = FormatShortDate(t.date(), settings);
    const QTime time = t.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + u' ' + FormatLongTime(time, settings);
}

QString DateTimeText(const QDateTime &t)
{
    return DateTimeText(t, CurrentRegionalSettings());
}

const RegionalSettings &CurrentRegionalSettings()
{
    EnsureWatcher();
    Cache &cache = TheCache();
    const QByteArray key = EnvironmentKey();
    if (!cache.loaded || key != cache.environmentKey) {
        cache.settings = cache.source ? cache.source() : RegionalSettings::FromEnvironment();
        cache.environmentKey = key;
        cache.loaded = true;
    }
    return cache.settings;
}

void InvalidateRegionalSettings()
{
    TheCache().loaded = false;
}

void SetRegionalSettingsSource(RegionalSettingsSource source)
{
    TheCache().source = std::move(source);
    InvalidateRegionalSettings();
}

} // namespace platform
