#pragma once
// The text of RTF without a document: for searching many cards.

#include <QByteArrayView>
#include <QString>

namespace rtf {

// The text a document read from bytes by RtfReader holds, as its
// toPlainText() gives it (notes at the end, hidden text too), but read
// without building the document, so thousands of cards are read in a
// blink. Empty when bytes do not start as RTF (RtfReader::looksLikeRtf).
QString PlainText(QByteArrayView bytes);

} // namespace rtf
