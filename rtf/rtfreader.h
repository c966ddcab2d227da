#pragma once
// Reads RTF into a QTextDocument.

#include <QByteArrayView>

class QTextDocument;

namespace rtf {

class RtfReader {
public:
    explicit RtfReader(QTextDocument *document);

    // Replaces the document's whole content by the RTF in bytes. Returns
    // false, leaving the document untouched, only when bytes do not start as
    // RTF; damaged RTF keeps what could be read.
    bool read(QByteArrayView bytes);

private:
    QTextDocument *m_document;
};

} // namespace rtf
