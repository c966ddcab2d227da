#include "rtfplaintextbuilder.h"

#include "rtfbytetable.h"
#include "rtfplaintext.h"
#include "rtfinterpreter.h"

namespace rtf {

void PlainTextBuilder::setCharFormat(const QTextCharFormat &format)
{
    // Equal formats go on in one run, as in the document builder.
    if (format == m_format)
        return;
    m_format = format;
    m_runStart = m_text.size();
}

void PlainTextBuilder::beginContent()
{
    if (m_blockPending) {
        m_text += u'\n';
        m_runStart = m_text.size();
        m_blockPending = false;
    }
    if (m_tabPending) {
        m_text += u'\t';
        m_tabPending = false;
    }
}

void PlainTextBuilder::appendText(QStringView text)
{
    if (text.isEmpty())
        return;
    beginContent();
    m_text += text;
}

void PlainTextBuilder::appendChar(QChar ch)
{
    beginContent();
    m_text += ch;
}

void PlainTextBuilder::appendMapped(QByteArrayView bytes, const char16_t *table)
{
    const qsizetype first = FirstShownByte(bytes, table);
    if (first == bytes.size())
        return;
    beginContent();
    const qsizetype at = m_text.size();
    m_text.resize(at + bytes.size() - first);
    auto *out = reinterpret_cast<char16_t *>(m_text.data()) + at;
    m_text.truncate(at + MapBytes(bytes.sliced(first), table, out));
}

void PlainTextBuilder::appendImage(const QByteArray &, double, double)
{
    beginContent();
    m_text += QChar::ObjectReplacementCharacter;
    m_runStart = m_text.size();
}

void PlainTextBuilder::endParagraph(const QTextBlockFormat &, const ListPlace &)
{
    m_tabPending = false; // the row's last cell has no tab after it
    beginContent();
    m_blockPending = true;
    m_runStart = m_text.size();
}

void PlainTextBuilder::finish(const QTextBlockFormat &, const ListPlace &, bool)
{
    // A final paragraph end adds no empty paragraph, and a cell's tab
    // waits for a text that does not come.
}

bool PlainTextBuilder::markPendingRun(int, const QVariant &)
{
    if (m_blockPending || m_text.size() == m_runStart)
        return false;
    m_runStart = m_text.size();
    return true;
}

void PlainTextBuilder::appendNoteParagraph(const QTextBlockFormat &, bool reuseEmpty)
{
    if (!reuseEmpty || !m_text.isEmpty())
        m_text += u'\n';
}

void PlainTextBuilder::appendNoteText(QStringView text, bool)
{
    m_text += text;
}

QString PlainTextBuilder::takeText()
{
    for (QChar &ch : m_text) {
        switch (ch.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xFDD0: // where a frame begins or ends in a document
        case 0xFDD1:
            ch = u'\n';
            break;
        case QChar::Nbsp:
            ch = u' ';
            break;
        default:
            break;
        }
    }
    return std::move(m_text);
}

QString PlainText(QByteArrayView bytes)
{
    const qsizetype start = Interpreter::rtfStart(bytes);
    if (start < 0)
        return {};
    PlainTextBuilder builder;
    Interpreter interpreter(builder, false);
    interpreter.run(bytes.sliced(start));
    return builder.takeText();
}

} // namespace rtf
