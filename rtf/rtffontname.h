#pragma once
// One rule for font names on both sides: what a font table can hold.

#include <QString>

namespace rtf {

// The name without control characters and semicolons (which end a name in
// a font table), without surrounding white space.
QString cleanFontName(const QString &name);

} // namespace rtf
