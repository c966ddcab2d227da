#include "rtfinterpreter.h"

namespace rtf {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

qsizetype Interpreter::rtfStart(QByteArrayView bytes)
{
    // Word and LibreOffice read past a UTF-8 byte order mark and white
    // space before and after the opening brace, and so do we.
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && isSpace(bytes[i]))
        ++i;
    if (i >= bytes.size() || bytes[i] != '{')
        return -1;
    ++i;
    while (i < bytes.size() && isSpace(bytes[i]))
        ++i;
    return bytes.sliced(i).startsWith("\\rtf") ? i : -1;
}

Interpreter::Interpreter(Sink &sink, bool insertMode)
    : m_sink(sink), m_insertMode(insertMode)
{
    m_stack.reserve(64);
    m_stack.emplace_back(); // the state outside the document's group
}

void Interpreter::run(QByteArrayView bytes)
{
    Tokenizer tokenizer(bytes);
    m_tokenizer = &tokenizer;
    openGroup(); // the document's brace, which the reader has checked
    bool closed = false;
    for (;;) {
        // Made in place: a token copied right after it was written would
        // wait for its stores to land.
        const Token token = tokenizer.next();
        if (token.type == TokenType::End)
            break;
        if (token.type == TokenType::GroupClose && !closeGroup()) {
            closed = true; // what follows the document's group is not RTF
            break;
        }
        dispatch(token);
    }
    m_issues |= tokenizer.issues();
    if (!closed)
        m_issues |= ReadIssue::UnclosedGroups;
    else if (!tokenizer.onlySpaceLeft())
        m_issues |= ReadIssue::TextAfterEnd;
    m_tokenizer = nullptr;
    // A truncated file ends with groups still open: what was read stays.
    flushBytes();
    // A note cut off by the end of the file ends there, with the groups in it.
    while (m_noteGroup > 0 && m_stack.size() >= m_noteGroup && m_stack.size() > 2)
        closeGroup();
    if (m_noteGroup > 0)
        finishNote(); // a note in the document's own group ends with the document
    syncCharFormat();
    flushAnchor();
    const ParaState &para = state().para;
    if (m_sink.takesParagraphFormats())
        m_sink.finish(blockFormat(para), listPlace(para), m_insertMode);
    else
        m_sink.finish({}, {}, m_insertMode);
    appendNotes();
}

void Interpreter::dispatch(const Token &token)
{
    const bool groupStart = m_groupStart;
    m_groupStart = token.type == TokenType::GroupOpen;
    switch (token.type) {
    case TokenType::GroupOpen:
        openGroup();
        break;
    case TokenType::ControlWord:
        controlWord(token);
        break;
    case TokenType::ControlSymbol:
        controlSymbol(token.text.front());
        break;
    case TokenType::HexByte:
        hexByte(token.param);
        break;
    case TokenType::Text:
        // "{*\\word": real programs write ignorable destinations without
        // the backslash of their star.
        if (groupStart && token.text == "*")
            m_starPending = true;
        else
            text(token.text);
        break;
    case TokenType::GroupClose: // handled by run()
    case TokenType::End:
        break;
    }
}

void Interpreter::openGroup()
{
    flushBytes();
    m_unicodeSkipLeft = 0;
    m_starPending = false;
    if (m_stack.size() > MaxDepth) {
        m_issues |= ReadIssue::DepthLimit;
        ++m_overflow;
        return;
    }
    GroupState inner = state();
    inner.ownsDestination = false;
    m_stack.push_back(inner);
}

bool Interpreter::closeGroup()
{
    flushBytes();
    m_unicodeSkipLeft = 0;
    m_starPending = false;
    if (m_overflow > 0) {
        if (m_overflowSkipFrom == m_overflow)
            m_overflowSkipFrom = 0;
        --m_overflow;
        return true;
    }
    if (m_stack.size() <= 2) {
        // The document's own group ends (or a stray brace comes first).
        return false;
    }
    // The note's own group ends the note, even when a word inside it (a
    // \stylesheet, a picture) turned the group into something else: an
    // unfinished note would have no mark in the text.
    const bool endsNote = m_noteGroup == m_stack.size();
    const GroupState closed = m_stack.back();
    m_stack.pop_back();
    if (closed.ownsDestination)
        finishDestination(closed);
    else if (closed.destination == Destination::Note)
        m_appliedFormat = nullptr;
    if (endsNote)
        finishNote();
    return true;
}

void Interpreter::controlWord(const Token &token)
{
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return;
    }
    flushBytes();
    const bool starred = m_starPending;
    m_starPending = false;
    const WordInfo *info = lookupWord(token.text);
    if (starred && !info) {
        // An ignorable destination we do not know: hide its group. A word
        // we know is read as it is without the star, as Word and
        // LibreOffice do: {\*\cs15 text} shows its text.
        hideGroup();
        return;
    }
    if (!info)
        return;
    if (m_overflow > 0 && info->kind != WordKind::Special && info->kind != WordKind::Structure) {
        // Beyond the depth limit only the text and its breaks are read; no
        // state can change, as no group of its own would restore it. Only
        // hiding a group is still possible: it needs just its depth.
        if (info->kind == WordKind::Destination && !isTextDestination(info->word))
            hideGroup();
        return;
    }
    switch (info->kind) {
    case WordKind::Character:
        characterWord(info->word, token);
        break;
    case WordKind::Paragraph:
        paragraphWord(info->word, token);
        break;
    case WordKind::Special:
        addChar(char16_t(info->value));
        break;
    case WordKind::Structure:
        structureWord(info->word, token);
        break;
    case WordKind::Document:
        documentWord(info->word, token);
        break;
    case WordKind::Destination:
        destinationWord(info->word);
        break;
    case WordKind::Table:
        tableWord(info->word, token);
        break;
    case WordKind::Picture:
        pictureWord(info->word, token);
        break;
    case WordKind::Note:
        noteWord(*info, token);
        break;
    }
}

void Interpreter::hideGroup()
{
    if (m_overflow > 0) {
        if (m_overflowSkipFrom == 0)
            m_overflowSkipFrom = m_overflow;
        return;
    }
    if (state().destination != Destination::Skip) {
        state().destination = Destination::Skip;
        state().ownsDestination = false;
    }
}

bool Interpreter::isTextDestination(Word word)
{
    return word == Word::DText || word == Word::DField || word == Word::DFieldResult
        || word == Word::DShapeResult || word == Word::DUd;
}

void Interpreter::controlSymbol(char symbol)
{
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return;
    }
    if (symbol == '*') {
        m_starPending = true;
        return;
    }
    flushBytes();
    m_starPending = false;
    if (symbol == '\r' || symbol == '\n') {
        endParagraph();
        return;
    }
    const char16_t ch = symbolCharacter(symbol);
    if (!ch)
        return;
    if (state().destination == Destination::FontTable) {
        fontNameChar(ch);
        return;
    }
    addChar(ch);
}

void Interpreter::hexByte(int value)
{
    m_starPending = false;
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return;
    }
    const char byte = char(value);
    switch (state().destination) {
    case Destination::Text:
    case Destination::Note:
        addBytes(QByteArrayView(&byte, 1));
        break;
    case Destination::FontTable:
        m_fontNameBytes += byte;
        break;
    default:
        break;
    }
}

void Interpreter::text(QByteArrayView bytes)
{
    m_starPending = false;
    if (m_unicodeSkipLeft > 0) {
        const qsizetype skipped = std::min<qsizetype>(m_unicodeSkipLeft, bytes.size());
        m_unicodeSkipLeft -= int(skipped);
        bytes = bytes.sliced(skipped);
        if (bytes.isEmpty())
            return;
    }
    switch (state().destination) {
    case Destination::Text:
    case Destination::Note:
        addBytes(bytes);
        break;
    case Destination::FontTable:
        fontTableText(bytes);
        break;
    case Destination::ColorTable:
        colorTableText(bytes);
        break;
    case Destination::Picture:
        m_picture.hex += bytes;
        break;
    default:
        break;
    }
}

} // namespace rtf
