#include "rtf/rtfreader.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QVector>

namespace rtf {

RtfReader::RtfReader(QTextDocument *document) : m_document(document) {}

bool RtfReader::read(QByteArrayView bytes)
{
    if (!bytes.startsWith("{\\rtf"))
        return false;
    QString text;
    QVector<bool> skip{false};
    int ucSkip = 0;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        const char c = bytes[i];
        if (c == '{') {
            skip.append(skip.last());
            ++i;
        } else if (c == '}') {
            if (skip.size() > 1)
                skip.removeLast();
            ++i;
        } else if (c == '\\' && i + 1 < n) {
            const char d = bytes[i + 1];
            if (d == '\'' && i + 3 < n) {
                const int v = QByteArray(bytes.data() + i + 2, 2).toInt(nullptr, 16);
                if (!skip.last() && ucSkip == 0)
                    text += QString::fromLatin1(QByteArray(1, char(v)));
                else if (ucSkip > 0)
                    --ucSkip;
                i += 4;
            } else if (std::isalpha(static_cast<unsigned char>(d))) {
                qsizetype j = i + 1;
                while (j < n && std::isalpha(static_cast<unsigned char>(bytes[j])))
                    ++j;
                const QByteArray word(bytes.data() + i + 1, j - i - 1);
                qsizetype k = j;
                if (k < n && (bytes[k] == '-' || std::isdigit(static_cast<unsigned char>(bytes[k]))))
                    ++k;
                while (k < n && std::isdigit(static_cast<unsigned char>(bytes[k])))
                    ++k;
                const int param = QByteArray(bytes.data() + j, k - j).toInt();
                if (k < n && bytes[k] == ' ')
                    ++k;
                i = k;
                if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info"
                    || word == "pict" || word == "header" || word == "footer")
                    skip.last() = true;
                if (skip.last())
                    continue;
                if (word == "par" || word == "line")
                    text += QChar::ParagraphSeparator;
                else if (word == "tab")
                    text += QLatin1Char('\t');
                else if (word == "u") {
                    text += QChar(char16_t(param < 0 ? param + 65536 : param));
                    ucSkip = 1;
                }
            } else if (d == '*') {
                skip.last() = true;
                i += 2;
            } else {
                if (!skip.last() && (d == '\\' || d == '{' || d == '}'))
                    text += QLatin1Char(d);
                i += 2;
            }
        } else {
            if (c != '\r' && c != '\n' && !skip.last()) {
                if (ucSkip > 0)
                    --ucSkip;
                else
                    text += QLatin1Char(c);
            }
            ++i;
        }
    }
    if (text.endsWith(QChar::ParagraphSeparator))
        text.chop(1);
    m_document->clear();
    QTextCursor cursor(m_document);
    cursor.insertText(text);
    return true;
}

} // namespace rtf
