#pragma once
// Numbers as list items and note marks show them.

#include <QString>

namespace rtf {

// Lower-case roman numerals; bounded to 40 letters, so a huge number from a
// damaged file cannot make a huge string.
QString RomanNumber(int n);

} // namespace rtf
