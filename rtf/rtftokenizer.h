#pragma once
// Splits RTF bytes into tokens. It knows nothing of what a control word
// means; the interpreter does. Every token is bounded by the input, so no
// input can make it allocate or loop without end.

#include "rtfissues.h"

#include <QByteArrayView>
#include <cstdint>

namespace rtf {

enum class TokenType : std::uint8_t {
    GroupOpen,
    GroupClose,
    ControlWord, // word (letters) with an optional parameter
    ControlSymbol, // backslash and one non-letter, other than \'
    HexByte, // \'hh; value in param
    Text, // a run of plain bytes without line ends
    End,
};

struct Token {
    TokenType type = TokenType::End;
    // Control word letters, the symbol character, or the text run.
    QByteArrayView text;
    bool hasParam = false;
    std::int32_t param = 0;
};

class Tokenizer {
public:
    // Longer control words than this are not RTF; they are read and ignored.
    static constexpr qsizetype MaxWordLength = 32;

    explicit Tokenizer(QByteArrayView bytes) : m_bytes(bytes) {}

    Token next();
    // Skips raw bytes (the data of \bin), at most to the end of the input.
    void skipBytes(qint64 count);
    // Reads up to count raw bytes (the data of \bin inside a picture).
    QByteArrayView takeBytes(qint64 count);
    qsizetype position() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    // Damage met so far.
    ReadIssues issues() const { return m_issues; }
    // True when only white space follows.
    bool onlySpaceLeft() const;

private:
    Token readControl();
    Token readWord(qsizetype start);
    Token readText();

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    ReadIssues m_issues;
};

// Letters that make up control words in this tokenizer.
inline bool isRtfLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace rtf
