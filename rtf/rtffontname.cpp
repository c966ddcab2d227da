#include "rtffontname.h"

namespace rtf {

QString cleanFontName(const QString &name)
{
    QString clean = name;
    clean.removeIf([](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || u == 0x7F || u == u';' || u == QChar::ObjectReplacementCharacter;
    });
    return clean.trimmed();
}

} // namespace rtf
