#include "rtfcodepage.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <string>
#include <vector>

namespace rtf {

namespace {

// 0x80..0x9F of Windows-1252; the rest of the upper half is Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

iconv_t const kNoConverter = reinterpret_cast<iconv_t>(-1);

std::vector<std::string> iconvNames(int codePage)
{
    switch (codePage) {
    case 10000:
        return {"MACINTOSH", "MAC"};
    // The Mac pages of the East Asian scripts are their Windows pages with
    // a few symbols more, which the Windows pages decode as well as any.
    case 10001:
        return {"CP932", "SHIFT_JIS"};
    case 10002:
        return {"CP950", "BIG5"};
    case 10003:
        return {"CP949", "EUC-KR"};
    case 10008:
        return {"CP936", "GB2312"};
    case 10005: // Mac Hebrew shares the letters of the Windows page
        return {"CP1255"};
    case 10007:
        return {"MAC-CYRILLIC", "CP10007"};
    case 10017:
        return {"MACUKRAINIAN", "MAC-CYRILLIC"};
    case 10021: // Mac Thai: the Thai letters of TIS-620
        return {"CP874", "TIS-620"};
    case 10029:
        return {"MAC-CENTRALEUROPE"};
    case 10079:
        return {"MAC-IS"};
    case 932:
        return {"CP932", "SHIFT_JIS"};
    case 936:
        return {"CP936", "GBK"};
    case 949:
        return {"CP949", "UHC"};
    case 950:
        return {"CP950", "BIG5"};
    case 1361:
        return {"JOHAB"};
    case 20866:
        return {"KOI8-R"};
    case 65001:
        return {"UTF-8"};
    default:
        return {"CP" + std::to_string(codePage)};
    }
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return 1252; // symbol fonts: keep the byte values
    case 77: return 10000;
    case 78: return 10001;
    case 79: return 10003;
    case 80: return 10008;
    case 81: return 10002;
    case 82: return 10003; // Mac Johab: Korean
    case 83: return 10005;
    case 84: return 10004;
    case 85: return 10006;
    case 86: return 10081;
    case 87: return 10021;
    case 88: return 10029;
    case 89: return 10007;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

bool isDoubleByteCodePage(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950
        || codePage == 1361 || codePage == 65001 || codePage == 10001 || codePage == 10002
        || codePage == 10003 || codePage == 10008;
}

char16_t windows1252ToUnicode(unsigned char byte)
{
    if (byte < 0x80 || byte >= 0xA0)
        return byte;
    return kCp1252High[byte - 0x80];
}

unsigned char unicodeToWindows1252(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<unsigned char>(ch);
    for (size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == ch && ch != 0)
            return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

CodePageDecoder::~CodePageDecoder()
{
    for (auto &[page, cd] : m_converters) {
        if (cd)
            iconv_close(static_cast<iconv_t>(cd));
    }
}

void *CodePageDecoder::converter(int codePage)
{
    const auto it = m_converters.find(codePage);
    if (it != m_converters.end())
        return it->second;
    void *result = nullptr;
    for (const std::string &name : iconvNames(codePage)) {
        const iconv_t cd = iconv_open("UTF-16LE", name.c_str());
        if (cd != kNoConverter) {
            result = cd;
            break;
        }
    }
    m_converters.emplace(codePage, result);
    return result;
}

const char16_t *CodePageDecoder::byteTable(int codePage)
{
    const auto it = m_tables.find(codePage);
    if (it != m_tables.end())
        return it->second.data();
    const char16_t *high = macCodePageHigh(codePage);
    if (!high && codePage != 1252 && codePage > 0 && converter(codePage))
        return nullptr;
    std::array<char16_t, 256> &table = m_tables[codePage];
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t u = high && byte >= 0x80 ? high[byte - 0x80] : windows1252ToUnicode(static_cast<unsigned char>(byte));
        table[size_t(byte)] = u ? u : char16_t(0xFFFD);
    }
    return table.data();
}

void CodePageDecoder::decode(QByteArrayView bytes, int codePage, QString &out)
{
    if (bytes.isEmpty())
        return;
    if (const char16_t *table = byteTable(codePage)) {
        const qsizetype base = out.size();
        out.resize(base + bytes.size());
        char16_t *dst = reinterpret_cast<char16_t *>(out.data()) + base;
        for (const char c : bytes)
            *dst++ = table[static_cast<unsigned char>(c)];
        return;
    }
    auto *conv = static_cast<iconv_t>(converter(codePage));
    iconv(conv, nullptr, nullptr, nullptr, nullptr);
    std::vector<char16_t> buffer(static_cast<size_t>(bytes.size()) + 4);
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    while (inLeft > 0) {
        char *outPtr = reinterpret_cast<char *>(buffer.data());
        size_t outLeft = buffer.size() * sizeof(char16_t);
        const size_t rc = iconv(conv, &in, &inLeft, &outPtr, &outLeft);
        const size_t produced = (buffer.size() * sizeof(char16_t) - outLeft) / sizeof(char16_t);
        out.append(reinterpret_cast<const QChar *>(buffer.data()), static_cast<qsizetype>(produced));
        if (rc != static_cast<size_t>(-1)) {
            // Pages with combining marks (1255, 1258) hold the last
            // character back until they know nothing combines with it.
            outPtr = reinterpret_cast<char *>(buffer.data());
            outLeft = buffer.size() * sizeof(char16_t);
            iconv(conv, nullptr, nullptr, &outPtr, &outLeft);
            const size_t held = (buffer.size() * sizeof(char16_t) - outLeft) / sizeof(char16_t);
            out.append(reinterpret_cast<const QChar *>(buffer.data()), static_cast<qsizetype>(held));
            break;
        }
        if (errno == E2BIG)
            continue;
        // An invalid or cut-off sequence: mark it and go on after its byte.
        out.append(QChar(0xFFFD));
        ++in;
        --inLeft;
        iconv(conv, nullptr, nullptr, nullptr, nullptr);
    }
}

} // namespace rtf
