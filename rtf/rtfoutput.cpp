#include "rtf/rtfoutput.h"

#include "rtf/rtfcodepage.h"

namespace rtf {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

} // namespace

void RtfOutput::raw(const char *bytes)
{
    m_out += bytes;
    m_needDelimiter = false;
}

void RtfOutput::openGroup()
{
    m_out += '{';
    m_needDelimiter = false;
}

void RtfOutput::closeGroup()
{
    m_out += '}';
    m_needDelimiter = false;
}

void RtfOutput::word(const char *name)
{
    m_out += '\\';
    m_out += name;
    m_needDelimiter = true;
}

void RtfOutput::word(const char *name, int value)
{
    m_out += '\\';
    m_out += name;
    m_out += QByteArray::number(value);
    m_needDelimiter = true;
}

void RtfOutput::delimit()
{
    if (m_needDelimiter) {
        m_out += ' ';
        m_needDelimiter = false;
    }
}

void RtfOutput::byte(char c)
{
    delimit();
    m_out += c;
}

void RtfOutput::hexByte(unsigned char value)
{
    m_out += "\\'";
    m_out += kHexDigits[value >> 4];
    m_out += kHexDigits[value & 15];
    m_needDelimiter = false;
}

void RtfOutput::text(QStringView text)
{
    for (const QChar qc : text) {
        const char16_t ch = qc.unicode();
        if (ch >= 0x20 && ch < 0x7F) {
            if (ch == '\\' || ch == '{' || ch == '}') {
                m_out += '\\';
                m_out += char(ch);
                m_needDelimiter = false;
            } else {
                byte(char(ch));
            }
        } else if (ch == '\t') {
            word("tab");
        } else if (ch == QChar::LineSeparator || ch == u'\n' || ch == u'\r' || ch == u'\v') {
            word("line");
        } else if (ch == QChar::ParagraphSeparator) {
            word("par");
        } else if (ch < 0x20 || ch == 0x7F || ch == QChar::ObjectReplacementCharacter) {
            // Control characters and stray object marks have no text to keep.
        } else if (const unsigned char cp = unicodeToWindows1252(ch)) {
            hexByte(cp);
        } else {
            word("u", ch > 0x7FFF ? int(ch) - 0x10000 : int(ch));
            m_out += '?';
            m_needDelimiter = false;
        }
    }
}

void RtfOutput::hexData(const QByteArray &data)
{
    m_out += "\r\n";
    qsizetype column = 0;
    for (const char c : data) {
        const auto value = static_cast<unsigned char>(c);
        m_out += kHexDigits[value >> 4];
        m_out += kHexDigits[value & 15];
        if (++column == 64) {
            m_out += "\r\n";
            column = 0;
        }
    }
    m_needDelimiter = false;
}

} // namespace rtf
