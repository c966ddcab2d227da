#include "rtf/rtfwriter.h"

#include <QTextBlock>
#include <QTextDocument>

namespace rtf {

RtfWriter::RtfWriter(const QTextDocument *document) : m_document(document) {}

QByteArray RtfWriter::write() const
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\uc1 ";
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        for (QChar ch : block.text()) {
            const char16_t u = ch.unicode();
            if (u == '\\' || u == '{' || u == '}') {
                out += '\\';
                out += char(u);
            } else if (u == '\t') {
                out += "\\tab ";
            } else if (u == QChar::LineSeparator) {
                out += "\\line ";
            } else if (u < 0x80) {
                out += char(u);
            } else {
                out += "\\u" + QByteArray::number(qint16(u)) + '?';
            }
        }
        if (block.next().isValid())
            out += "\\par\r\n";
    }
    out += "}";
    return out;
}

} // namespace rtf
