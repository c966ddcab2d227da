#include "profiletext.h"

#include <QStringDecoder>

namespace platform {

namespace {

// 0x80 to 0x9F of Windows-1252; the five unassigned codes map to the C1
// controls of the same number, as Windows itself converts them.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// The blanks the Windows profile functions trim: white space and Ctrl-Z.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1A'; }

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool holdsLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

QString trimmedName(const QString &name)
{
    qsizetype b = 0;
    qsizetype e = name.size();
    while (b < e && name[b].unicode() < 128 && isBlank(char(name[b].unicode())))
        ++b;
    while (e > b && name[e - 1].unicode() < 128 && isBlank(char(name[e - 1].unicode())))
        --e;
    return name.mid(b, e - b);
}

} // namespace

ProfileEncoding DetectProfileEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith(kUtf8Bom))
        return ProfileEncoding::Utf8;
    bool nonAscii = false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            nonAscii = true;
            break;
        }
    if (!nonAscii)
        return ProfileEncoding::Windows1252;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    return utf8.hasError() || decoded.isEmpty() ? ProfileEncoding::Windows1252 : ProfileEncoding::Utf8;
}

QString DecodeWindows1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += (b >= 0x80 && b < 0xA0) ? QChar(kHighControls[b - 0x80]) : QChar(b);
    }
    return text;
}

QByteArray EncodeWindows1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            bytes += char(u);
            continue;
        }
        char out = '?';
        for (int k = 0; k < 32; ++k)
            if (kHighControls[k] == u)
                out = char(0x80 + k);
        // A character beyond the basic plane is one "?", not two.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes += out;
    }
    return bytes;
}

ProfileText::ProfileText(QByteArray bytes) : m_bytes(std::move(bytes)), m_encoding(DetectProfileEncoding(m_bytes))
{
    parse();
}

QString ProfileText::decode(const QByteArray &bytes) const
{
    return m_encoding == ProfileEncoding::Utf8 ? QString::fromUtf8(bytes) : DecodeWindows1252(bytes);
}

QByteArray ProfileText::encode(const QString &text) const
{
    return m_encoding == ProfileEncoding::Utf8 ? text.toUtf8() : EncodeWindows1252(text);
}

QByteArray ProfileText::lineBreak() const
{
    // Keep the file's own style; a new file gets the platform's.
    const qsizetype lf = m_bytes.indexOf('\n');
    if (lf < 0)
        return QByteArrayLiteral("\n");
    return lf > 0 && m_bytes[lf - 1] == '\r' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

void ProfileText::parse()
{
    m_lines.clear();
    qsizetype begin = 0;
    while (begin < m_bytes.size()) {
        qsizetype lf = m_bytes.indexOf('\n', begin);
        const qsizetype end = lf < 0 ? m_bytes.size() : lf;
        const qsizetype next = lf < 0 ? m_bytes.size() : lf + 1;
        m_lines.append(parseLine(begin, end, next));
        begin = next;
    }
}

ProfileText::Line ProfileText::parseLine(qsizetype begin, qsizetype end, qsizetype next) const
{
    Line line;
    line.begin = begin;
    line.end = end;
    line.next = next;

    qsizetype b = begin;
    if (b == 0 && m_bytes.startsWith(kUtf8Bom))
        b += kUtf8Bom.size();
    while (b < end && isBlank(m_bytes[b]))
        ++b;
    qsizetype e = end;
    while (e > b && isBlank(m_bytes[e - 1]))
        --e;
    if (b == e || m_bytes[b] == ';')
        return line;

    auto trimmedText = [this](qsizetype from, qsizetype to) {
        while (from < to && isBlank(m_bytes[from]))
            ++from;
        while (to > from && isBlank(m_bytes[to - 1]))
            --to;
        return decode(m_bytes.mid(from, to - from));
    };

    if (m_bytes[b] == '[') {
        const qsizetype close = m_bytes.indexOf(']', b + 1);
        if (close >= 0 && close < e) {
            line.kind = Kind::Section;
            line.name = trimmedText(b + 1, close);
            return line;
        }
    }
    const qsizetype equals = m_bytes.indexOf('=', b);
    if (equals < 0 || equals >= e)
        return line;
    line.kind = Kind::Key;
    line.name = trimmedText(b, equals);
    qsizetype vb = equals + 1;
    while (vb < e && isBlank(m_bytes[vb]))
        ++vb;
    line.valueBegin = vb;
    line.valueEnd = e;
    return line;
}

bool ProfileText::isBlankLine(const Line &line) const
{
    qsizetype b = line.begin;
    if (b == 0 && m_bytes.startsWith(kUtf8Bom))
        b += kUtf8Bom.size();
    for (; b < line.end; ++b)
        if (!isBlank(m_bytes[b]))
            return false;
    return true;
}

qsizetype ProfileText::findSection(const QString &name) const
{
    const QString wanted = trimmedName(name);
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Kind::Section && sameName(m_lines[i].name, wanted))
            return i;
    return -1;
}

qsizetype ProfileText::findKey(qsizetype header, const QString &name) const
{
    const QString wanted = trimmedName(name);
    for (qsizetype i = header + 1; i < m_lines.size() && m_lines[i].kind != Kind::Section; ++i)
        if (m_lines[i].kind == Kind::Key && sameName(m_lines[i].name, wanted))
            return i;
    return -1;
}

std::optional<QString> ProfileText::Value(const QString &section, const QString &key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype at = findKey(header, key);
    if (at < 0)
        return std::nullopt;
    const Line &line = m_lines[at];
    return decode(m_bytes.mid(line.valueBegin, line.valueEnd - line.valueBegin));
}

bool ProfileText::SetValue(const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = trimmedName(section);
    const QString keyName = trimmedName(key);
    if (!fitsOnAProfileLine(sectionName, keyName, value))
        return false;

    const QByteArray entry = encode(keyName) + '=' + encode(value);
    const qsizetype header = findSection(sectionName);
    if (header < 0)
        appendSection(sectionName, entry);
    else if (const qsizetype at = findKey(header, keyName); at >= 0)
        m_bytes.replace(m_lines[at].valueBegin, m_lines[at].valueEnd - m_lines[at].valueBegin, encode(value));
    else
        insertKey(header, entry);
    parse();
    return true;
}

bool ProfileText::fitsOnAProfileLine(const QString &section, const QString &key, const QString &value)
{
    if (section.isEmpty() || key.isEmpty())
        return false;
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value))
        return false;
    // Such names would read back as something else, or not at all.
    return !section.contains(QLatin1Char(']')) && !key.contains(QLatin1Char('=')) &&
           !key.startsWith(QLatin1Char(';')) && !key.startsWith(QLatin1Char('['));
}

void ProfileText::appendSection(const QString &section, const QByteArray &entry)
{
    const QByteArray eol = lineBreak();
    QByteArray tail;
    if (!m_bytes.isEmpty()) {
        if (!m_bytes.endsWith('\n'))
            tail += eol;
        // Sections stand apart by one blank line, unless the file already ends with one.
        if (!isBlankLine(m_lines.last()))
            tail += eol;
    }
    m_bytes += tail + '[' + encode(section) + ']' + eol + entry + eol;
}

void ProfileText::insertKey(qsizetype header, const QByteArray &entry)
{
    // After the section's last key (or its header), so that comments and
    // blank lines in front of the next section stay with that section.
    qsizetype last = header;
    for (qsizetype i = header + 1; i < m_lines.size() && m_lines[i].kind != Kind::Section; ++i)
        if (m_lines[i].kind == Kind::Key)
            last = i;
    const Line &line = m_lines[last];
    const QByteArray eol = lineBreak();
    QByteArray insert = entry + eol;
    if (line.next == line.end) // the file's last line, without a line break
        insert.prepend(eol);
    m_bytes.insert(line.next, insert);
}

} // namespace platform
