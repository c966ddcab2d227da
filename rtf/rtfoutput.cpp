#include "rtfoutput.h"

#include "rtfcodepage.h"

#include <charconv>
#include <cstring>

namespace rtf {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

} // namespace

char *RtfOutput::extend(qsizetype n)
{
    const qsizetype at = m_out.size();
    m_out.resize(at + n);
    return m_out.data() + at;
}

void RtfOutput::put(const char *bytes, qsizetype n)
{
    std::memcpy(extend(n), bytes, size_t(n));
}

char *RtfOutput::startWord(const char *name, qsizetype extra)
{
    const size_t length = std::strlen(name);
    char *out = extend(qsizetype(length) + 1 + extra);
    *out = '\\';
    std::memcpy(out + 1, name, length);
    return out + 1 + length;
}

void RtfOutput::raw(const char *bytes)
{
    put(bytes, qsizetype(std::strlen(bytes)));
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
    startWord(name, 0);
    m_needDelimiter = true;
}

void RtfOutput::word(const char *name, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    std::memcpy(startWord(name, end - digits), digits, size_t(end - digits));
    m_needDelimiter = true;
}

void RtfOutput::delimit()
{
    if (m_needDelimiter) {
        m_out += ' ';
        m_needDelimiter = false;
    }
}

void RtfOutput::hexByte(unsigned char value)
{
    const char bytes[] = {'\\', '\'', kHexDigits[value >> 4], kHexDigits[value & 15]};
    put(bytes, 4);
    m_needDelimiter = false;
}

namespace {

// Printable ASCII that stands for itself.
bool isPlain(char16_t ch)
{
    return ch >= 0x20 && ch < 0x7F && ch != '\\' && ch != '{' && ch != '}';
}

} // namespace

void RtfOutput::text(QStringView text)
{
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    while (p != end) {
        // Most text is plain: it goes out as one block.
        const char16_t *const runStart = p;
        while (p != end && isPlain(*p))
            ++p;
        if (p != runStart) {
            delimit();
            char *out = extend(p - runStart);
            for (const char16_t *c = runStart; c != p; ++c)
                *out++ = char(*c);
            if (p == end)
                break;
        }
        const char16_t ch = *p++;
        if (ch == '\\' || ch == '{' || ch == '}') {
            m_out += '\\';
            m_out += char(ch);
            m_needDelimiter = false;
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
    // Two digits a byte and a line end after every 64 bytes.
    char *out = extend(data.size() * 2 + data.size() / 64 * 2);
    qsizetype column = 0;
    for (const char c : data) {
        const auto value = static_cast<unsigned char>(c);
        *out++ = kHexDigits[value >> 4];
        *out++ = kHexDigits[value & 15];
        if (++column == 64) {
            *out++ = '\r';
            *out++ = '\n';
            column = 0;
        }
    }
    m_needDelimiter = false;
}

} // namespace rtf
