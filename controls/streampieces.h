#pragma once
// How a card file's bytes reach the editor. RTF goes to the reader exactly as
// stored (binary picture data may hold any byte); a plain-text card passes in
// pieces, as the rich text control asks for them, with line ends made
// uniform on the way.

#include <QByteArray>

namespace platform {
class InputFile;
}

namespace controls {

// The control asks for this many bytes per piece; half of it is read from the
// file, so that a piece can grow when its line ends are widened.
constexpr qint64 kStreamRequestSize = 4096;

constexpr qint64 kReadChunk = 1 << 16;

// Reads the file from its current position to the end, every byte unchanged.
// Returns false on a read error.
bool ReadAll(platform::InputFile &file, QByteArray &out);

// Reads the file from its current position to the end in pieces of at most
// requestSize / 2 bytes. In each piece every lone LF and lone CR becomes
// CR LF, CR LF stays, and a zero byte is dropped. A CR that ends a
// piece is held back until the next piece shows whether an LF follows, so a
// line break at a piece boundary is never lost or doubled. Returns false on a
// read error.
bool ReadNormalizedPieces(platform::InputFile &file, QByteArray &out, qint64 requestSize = kStreamRequestSize);

// The same transformation on bytes already in memory, piece by piece.
QByteArray NormalizePieces(const QByteArray &bytes, qint64 requestSize = kStreamRequestSize);

} // namespace controls
