#pragma once
// Writes a QTextDocument out as RTF.

#include <QByteArray>

class QTextDocument;

namespace rtf {

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument *document);

    QByteArray write() const;

private:
    const QTextDocument *m_document;
};

} // namespace rtf
