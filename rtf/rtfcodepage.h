#pragma once
// Turns the 8-bit bytes of an RTF file (\'hh and raw text bytes) into
// Unicode with a Windows code page. Windows-1252 and the Mac pages that the
// C library lacks are built in; every other page goes through its iconv.

#include <QByteArrayView>
#include <QString>
#include <array>
#include <map>

namespace rtf {

// The code page that RTF's \fcharsetN stands for; 0 when the charset means
// "the document's default" or is unknown.
int codePageForCharset(int charset);

// True for the double-byte pages, where a character may span two bytes.
bool isDoubleByteCodePage(int codePage);

// Unicode for a byte 0x80..0xFF of Windows-1252, or 0 when the byte is
// undefined there.
char16_t windows1252ToUnicode(unsigned char byte);

// The Windows-1252 byte for a Unicode character, or 0 when it has none.
unsigned char unicodeToWindows1252(char16_t ch);

// The characters for bytes 0x80..0xFF of the Mac pages that iconv lacks
// (Arabic, Greek, Romanian, Turkish, Croatian), or nullptr for any other page.
const char16_t *macCodePageHigh(int codePage);

class CodePageDecoder {
public:
    CodePageDecoder() = default;
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder &) = delete;
    CodePageDecoder &operator=(const CodePageDecoder &) = delete;

    // Appends the decoded bytes to out. Undecodable bytes become U+FFFD;
    // an unknown page falls back to Windows-1252.
    void decode(QByteArrayView bytes, int codePage, QString &out);
    // The characters of all 256 bytes for a page decoded byte by byte
    // (Windows-1252, the built-in Mac pages and the fallback for pages iconv
    // lacks), U+FFFD for undefined bytes; nullptr for a page iconv decodes.
    const char16_t *byteTable(int codePage);

private:
    void *converter(int codePage);

    std::map<int, void *> m_converters; // iconv_t by code page; null: none
    std::map<int, std::array<char16_t, 256>> m_tables;
};

} // namespace rtf
