#include "cardtext.h"

#include "rtfcodepage.h"
#include "rtfcontrolwords.h"
#include "rtfreader.h"
#include "rtftokenizer.h"

#include <QHash>
#include <QStringDecoder>
#include <vector>

namespace cards {

namespace {

using rtf::Word;
using rtf::WordKind;

struct GroupState {
    bool hidden = false;    // no text comes out of this group
    bool fontTable = false; // \f and \fcharset define fonts here
    bool invisible = false; // \v
    int unicodeSkip = 1;    // \uc
    int font = -1;
};

// Deep nesting is read on flat: the state stops changing, the text still comes.
constexpr std::size_t kMaxDepth = 1000;

class TextReader {
public:
    explicit TextReader(QByteArrayView bytes) : m_tokens(bytes) { m_groups.reserve(16); m_groups.push_back({}); }

    QString run()
    {
        m_text.reserve(m_tokens.atEnd() ? 0 : 1024);
        for (rtf::Token token = m_tokens.next(); token.type != rtf::TokenType::End; token = m_tokens.next())
            take(token);
        flush();
        return m_text;
    }

private:
    GroupState &group() { return m_groups.back(); }
    bool visible() { return !group().hidden && !group().invisible; }

    int codePage()
    {
        const int page = m_fontPages.value(group().font < 0 ? m_defaultFont : group().font, 0);
        return page ? page : m_documentPage;
    }

    void flush()
    {
        if (!m_bytes.isEmpty()) {
            m_decoder.decode(m_bytes, m_bytesPage, m_text);
            m_bytes.clear();
        }
    }

    void addBytes(QByteArrayView bytes)
    {
        const int page = codePage();
        if (page != m_bytesPage)
            flush();
        m_bytesPage = page;
        m_bytes += bytes;
    }

    void addChar(char16_t ch)
    {
        flush();
        m_text += QChar(ch);
    }

    void take(const rtf::Token &token)
    {
        switch (token.type) {
        case rtf::TokenType::GroupOpen:
            m_star = false;
            if (m_groups.size() < kMaxDepth)
                m_groups.push_back(group());
            else
                ++m_overflow;
            return;
        case rtf::TokenType::GroupClose:
            m_star = false;
            m_skip = 0;
            if (m_overflow > 0)
                --m_overflow;
            else if (m_groups.size() > 1)
                m_groups.pop_back();
            return;
        case rtf::TokenType::ControlSymbol:
            if (token.text == "*") {
                m_star = true;
                return;
            }
            if (skipped())
                return;
            if (const char16_t ch = rtf::symbolCharacter(token.text.isEmpty() ? 0 : token.text[0]); ch && visible())
                addChar(ch);
            return;
        case rtf::TokenType::HexByte:
            if (skipped())
                return;
            if (visible()) {
                const char byte = char(token.param);
                addBytes(QByteArrayView(&byte, 1));
            }
            return;
        case rtf::TokenType::Text: {
            m_star = false;
            QByteArrayView bytes = token.text;
            const qsizetype skip = qMin<qsizetype>(m_skip, bytes.size());
            m_skip -= int(skip);
            bytes = bytes.sliced(skip);
            if (!bytes.isEmpty() && visible())
                addBytes(bytes);
            return;
        }
        case rtf::TokenType::ControlWord:
            word(token);
            return;
        case rtf::TokenType::End:
            return;
        }
    }

    // A character that stands in for the \u before it is dropped.
    bool skipped()
    {
        m_star = false;
        if (m_skip <= 0)
            return false;
        --m_skip;
        return true;
    }

    void word(const rtf::Token &token)
    {
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        const bool starred = m_star;
        m_star = false;
        const rtf::WordInfo *info = rtf::lookupWord(token.text);
        if (starred && (!info || info->kind != WordKind::Destination)) {
            group().hidden = true;
            return;
        }
        if (!info)
            return;
        GroupState &g = group();
        switch (info->kind) {
        case WordKind::Destination:
            if (info->word == Word::DFontTable)
                g.fontTable = true;
            if (info->word != Word::DText && info->word != Word::DField && info->word != Word::DFieldResult
                && info->word != Word::DShapeResult)
                g.hidden = true;
            return;
        case WordKind::Structure:
            structure(info->word, token);
            return;
        case WordKind::Special:
            if (visible())
                addChar(char16_t(info->value));
            return;
        case WordKind::Document:
            document(info->word, token);
            return;
        case WordKind::Character:
            if (info->word == Word::Font && token.hasParam) {
                flush();
                g.font = token.param;
            } else if (info->word == Word::Hidden) {
                g.invisible = !token.hasParam || token.param != 0;
            } else if (info->word == Word::Plain) {
                g.invisible = false;
            }
            return;
        case WordKind::Table:
            if (g.fontTable && g.font >= 0 && token.hasParam) {
                if (info->word == Word::FontCharset)
                    m_fontPages[g.font] = rtf::codePageForCharset(token.param);
                else if (info->word == Word::FontCodePage)
                    m_fontPages[g.font] = token.param;
            }
            return;
        default:
            return;
        }
    }

    void structure(Word word, const rtf::Token &token)
    {
        switch (word) {
        case Word::Par:
        case Word::Sect:
        case Word::Page:
        case Word::Line:
        case Word::Row:
            if (visible())
                addChar(u'\n');
            return;
        case Word::Tab:
        case Word::Cell:
            if (visible())
                addChar(u'\t');
            return;
        case Word::Unicode:
            if (visible() && token.hasParam)
                addChar(char16_t(token.param < 0 ? token.param + 65536 : token.param));
            m_skip = group().unicodeSkip;
            return;
        case Word::UnicodeSkip:
            if (token.hasParam)
                group().unicodeSkip = qMax(0, token.param);
            return;
        case Word::Bin:
            m_tokens.skipBytes(token.hasParam ? token.param : 0);
            return;
        default:
            return;
        }
    }

    void document(Word word, const rtf::Token &token)
    {
        flush();
        switch (word) {
        case Word::Mac:
            m_documentPage = 10000;
            return;
        case Word::Pc:
            m_documentPage = 437;
            return;
        case Word::Pca:
            m_documentPage = 850;
            return;
        case Word::AnsiCodePage:
            if (token.hasParam && token.param > 0)
                m_documentPage = token.param;
            return;
        case Word::DefaultFont:
            if (token.hasParam)
                m_defaultFont = token.param;
            return;
        default:
            return;
        }
    }

    rtf::Tokenizer m_tokens;
    std::vector<GroupState> m_groups;
    int m_overflow = 0;
    bool m_star = false;
    int m_skip = 0;
    int m_documentPage = 1252;
    int m_defaultFont = -1;
    QHash<int, int> m_fontPages;
    QByteArray m_bytes;
    int m_bytesPage = 1252;
    rtf::CodePageDecoder m_decoder;
    QString m_text;
};

QString plainText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        text.clear();
        rtf::CodePageDecoder().decode(bytes, 1252, text);
    }
    // Line ends as the editor makes them: CR LF, lone CR and lone LF are one break.
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

QString CardPlainText(QByteArrayView bytes)
{
    if (!rtf::RtfReader::looksLikeRtf(bytes))
        return plainText(bytes);
    return TextReader(bytes).run();
}

} // namespace cards
