#include "rtfwriter.h"

#include "rtfwritersession.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace rtf {

RtfWriter::RtfWriter(const QTextDocument *document) : m_document(document) {}

QByteArray RtfWriter::write() const
{
    if (!m_document) {
        QTextDocument empty;
        return WriterSession(&empty, nullptr, false).write();
    }
    return WriterSession(m_document, m_document, false).write();
}

QByteArray RtfWriter::writeFragment(const QTextDocumentFragment &fragment) const
{
    QTextDocument piece;
    if (m_document)
        piece.setDefaultFont(m_document->defaultFont());
    QTextCursor cursor(&piece);
    cursor.insertFragment(fragment);
    return WriterSession(&piece, m_document, true).write();
}

QByteArray RtfWriter::writeSelection(const QTextCursor &cursor) const
{
    return writeFragment(cursor.selection());
}

} // namespace rtf
