#include "settings.h"

#include "profile.h"

namespace cards {

namespace {
const QString kAnsicht = QStringLiteral("Ansicht");
const QString kSchrift = QStringLiteral("Schrift");
const QString kZeitstempel = QStringLiteral("Zeitstempel");
const QString kHoehe = QStringLiteral("H\u00f6he");
const QString kRechtschreibung = QStringLiteral("Rechtschreibung");
const QString kPruefen = QStringLiteral("Pr\u00fcfen");
} // namespace

QString SettingsFileIn(const QString &programFolder) { return programFolder + QStringLiteral("Kartolino.ini"); }

ViewSettings ReadViewSettings(const platform::TIniFile &ini)
{
    ViewSettings v;
    v.multiLine = ini.ReadBool(kAnsicht, QStringLiteral("Mehrzeilig"), true);

    const QString button = ini.ReadString(kAnsicht, QStringLiteral("Button"), QString());
    int style = 2;
    if (!button.isEmpty() && platform::StrToIntChecked(button, style) && style >= 0 && style <= 2)
        v.tabStyle = style;
    else
        v.tabStyle = 2;

    v.width = ini.ReadInteger(kAnsicht, QStringLiteral("Breite"), 640);
    v.height = ini.ReadInteger(kAnsicht, kHoehe, 480);
    const int state = ini.ReadInteger(kAnsicht, QStringLiteral("Fenster"), 0);
    v.windowState = state == wsMaximized ? wsMaximized : wsNormal;
    return v;
}

CardSettings ReadCardSettings(const platform::TIniFile &ini)
{
    CardSettings c;
    c.newCardFontName = ini.ReadString(kSchrift, QStringLiteral("Name"), QStringLiteral("Arial"));
    c.newCardFontSize = ini.ReadInteger(kSchrift, QStringLiteral("Size"), 10);
    c.timeStampMode = ini.ReadString(kZeitstempel, QStringLiteral("Einsetzen"), QStringLiteral("Anfang"));
    return c;
}

SpellSettings ReadSpellSettings(const platform::TIniFile &ini)
{
    SpellSettings s;
    s.check = ini.ReadBool(kRechtschreibung, kPruefen, true);
    for (const QString &language : ini.ReadString(kRechtschreibung, QStringLiteral("Sprachen"), QString()).split(QLatin1Char(','))) {
        const QString name = language.trimmed();
        if (!name.isEmpty() && !s.languages.contains(name))
            s.languages << name;
    }
    return s;
}

void WriteSpellSettings(const platform::TIniFile &ini, const SpellSettings &spell)
{
    ini.WriteBool(kRechtschreibung, kPruefen, spell.check);
    ini.WriteString(kRechtschreibung, QStringLiteral("Sprachen"), spell.languages.join(QLatin1Char(',')));
}

void WriteViewSettings(const platform::TIniFile &ini, const ViewSettings &view)
{
    ini.WriteBool(kAnsicht, QStringLiteral("Mehrzeilig"), view.multiLine);
    ini.WriteString(kAnsicht, QStringLiteral("Button"), QString::number(view.tabStyle));
    ini.WriteInteger(kAnsicht, QStringLiteral("Fenster"), view.windowState);
    if (view.windowState != wsMaximized) {
        ini.WriteInteger(kAnsicht, QStringLiteral("Breite"), view.width);
        ini.WriteInteger(kAnsicht, kHoehe, view.height);
    }
}

} // namespace cards
