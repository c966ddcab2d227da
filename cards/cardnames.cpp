#include "cardnames.h"

#include "errorreason.h"

namespace cards {

namespace {
QString foldAsciiUpper(const QString &s)
{
    QString out = s;
    for (QChar &c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    return out;
}
} // namespace

QString TrimCardName(const QString &name)
{
    qsizetype start = 0, end = name.size();
    while (start < end && name.at(start).unicode() <= 32)
        ++start;
    while (end > start && name.at(end - 1).unicode() <= 32)
        --end;
    return name.mid(start, end - start);
}

bool CardExists(const QStringList &captions, const QString &name)
{
    const QString wanted = foldAsciiUpper(name);
    for (const QString &caption : captions)
        if (foldAsciiUpper(caption) == wanted)
            return true;
    return false;
}

bool IsValidCardName(const QString &name)
{
    static const QString forbidden = QStringLiteral("\"*./:<>?\\|");
    for (QChar c : name)
        if (forbidden.contains(c))
            return false;
    return true;
}

bool FitsFileName(const QString &name, int maxBytes)
{
    return name.toUtf8().size() + 4 <= maxBytes;
}

QString DuplicateNameMessage(const QString &name)
{
    return QStringLiteral("Eine Karte mit der Beschriftung \"%1\" ist bereits vorhanden!\nBitte vergeben Sie einen anderen Namen.")
        .arg(name);
}

QString InvalidNameMessage(const QString &name)
{
    return QStringLiteral("Verwenden Sie keines dieser Zeichen  / \\ \" : . * ?  < > |  in der Beschriftung!\nIhre Eingabe: ") + name;
}

QString NameTooLongMessage()
{
    return QStringLiteral("Die Beschriftung ist zu lang für einen Dateinamen!\nBitte vergeben Sie einen kürzeren Namen.");
}

QString RenameErrorMessage(int code)
{
    switch (code) {
    case 2: return QStringLiteral("Datei nicht gefunden");
    case 3: return QStringLiteral("Ungültiger Dateiname");
    case 4: return QStringLiteral("Zu viele geöffnete Dateien");
    case 5: return QStringLiteral("Dateizugriff verweigert");
    case 100: return QStringLiteral("Versuch hinter dem Dateiende zu lesen");
    case 101: return QStringLiteral("Zu wenig Speicherplatz");
    case 106: return QStringLiteral("Ungültige numerische Eingabe");
    default: return QStringLiteral("E/A-Fehler %1 (%2)").arg(code).arg(platform::ErrorCodeReason(code));
    }
}

} // namespace cards
