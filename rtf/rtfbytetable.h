#pragma once
// Bytes of a code page decoded byte by byte: through a table of the
// characters all 256 bytes show as, 0 for those that show nothing.

#include <QByteArrayView>

namespace rtf {

// The first byte the table shows as a character, or bytes.size() for none.
qsizetype FirstShownByte(QByteArrayView bytes, const char16_t *table);

// Writes the characters of bytes to out, which has room for one a byte,
// leaving out those that show nothing; returns how many it wrote. The table
// must map printable ASCII (0x20..0x7E) to itself.
qsizetype MapBytes(QByteArrayView bytes, const char16_t *table, char16_t *out);

} // namespace rtf
