// Words that break paragraphs, cells and rows, carry Unicode characters or
// binary data, and the document-wide settings of the header.

#include "rtfinterpreter.h"

namespace rtf {

void Interpreter::structureWord(Word word, const Token &token)
{
    switch (word) {
    case Word::Par:
    case Word::Sect:
    case Word::Page:
        endParagraph();
        m_rowEnded = false;
        break;
    case Word::Row:
        endParagraph();
        m_rowEnded = true;
        break;
    case Word::Line:
        addChar(QChar::LineSeparator);
        break;
    case Word::Tab:
        addChar(u'\t');
        break;
    case Word::Cell:
        if (!showsBreaks())
            break;
        if (state().destination == Destination::Note) {
            flushBytes();
            noteText(u"\t");
            break;
        }
        syncCharFormat();
        if (m_sink.paragraphPending() && !m_rowEnded)
            m_sink.joinPendingParagraph();
        m_sink.endCell();
        break;
    case Word::Unicode: {
        // RTF writes 16-bit signed values; a pair of surrogates stays a pair.
        int value = token.hasParam ? token.param : 0;
        if (value < 0)
            value += 65536;
        const char16_t ch = value >= 0 && value <= 0xFFFF ? char16_t(value) : char16_t(0xFFFD);
        if (state().destination == Destination::FontTable)
            fontNameChar(ch);
        else
            addChar(ch);
        m_unicodeSkipLeft = state().unicodeSkip;
        break;
    }
    case Word::UnicodeSkip:
        if (m_overflow == 0)
            state().unicodeSkip = std::uint8_t(std::clamp(token.hasParam ? token.param : 1, 0, 255));
        break;
    case Word::Bin: {
        const qint64 count = token.hasParam ? std::max(0, token.param) : 0;
        if (state().destination == Destination::Picture && m_overflow == 0)
            m_picture.binary += m_tokenizer->takeBytes(count);
        else
            m_tokenizer->skipBytes(count);
        break;
    }
    default:
        break;
    }
}

void Interpreter::documentWord(Word word, const Token &token)
{
    switch (word) {
    case Word::Ansi:
        m_ansiCodePage = 1252;
        break;
    case Word::Mac:
        m_ansiCodePage = 10000;
        break;
    case Word::Pc:
        m_ansiCodePage = 437;
        break;
    case Word::Pca:
        m_ansiCodePage = 850;
        break;
    case Word::AnsiCodePage:
        if (token.hasParam && token.param > 0)
            m_ansiCodePage = token.param;
        break;
    case Word::DefaultFont:
        m_defaultFont = token.hasParam ? token.param : 0;
        break;
    default:
        return;
    }
    m_appliedFormat = nullptr;
    m_charFormats.clear();
    m_fontCacheNumber = -2;
}

} // namespace rtf
