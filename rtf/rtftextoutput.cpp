// The way from decoded characters and group states to the document: code
// page choice, character and paragraph formats, paragraph ends.

#include "rtfunits.h"
#include "rtfinterpreter.h"
#include "rtfproperties.h"

#include <algorithm>
#include <array>

namespace rtf {

namespace {

// \levelnfc of the list table.
QTextListFormat::Style styleForNumberFormat(int nfc)
{
    switch (nfc) {
    case 0: return QTextListFormat::ListDecimal;
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    case 23: return QTextListFormat::ListDisc;
    case 255: return QTextListFormat::ListStyleUndefined; // no number at all
    default: return QTextListFormat::ListDecimal;
    }
}

} // namespace

bool Interpreter::showsText() const
{
    const GroupState &group = m_stack.back();
    return (group.destination == Destination::Text || group.destination == Destination::Note)
        && m_overflowSkipFrom == 0;
}

bool Interpreter::showsBreaks() const
{
    // A hidden paragraph mark joins its paragraph to the next, as it shows.
    return showsText() && !m_stack.back().chars.hidden;
}

int Interpreter::currentCodePage()
{
    const int number = state().chars.font >= 0 ? state().chars.font : m_defaultFont;
    if (number != m_fontCacheNumber) {
        const auto it = m_fonts.find(number);
        const int fontPage = it == m_fonts.end() ? 0 : it->second.codePage;
        m_fontCacheCodePage = fontPage > 0 ? fontPage : m_ansiCodePage;
        m_fontCacheTable = shownTable(m_fontCacheCodePage);
        m_fontCacheNumber = number;
    }
    return m_fontCacheCodePage;
}

const char16_t *Interpreter::shownTable(int codePage)
{
    const char16_t *characters = m_decoder.byteTable(codePage);
    if (!characters)
        return nullptr;
    auto [it, added] = m_shownTables.try_emplace(codePage);
    if (added) {
        for (size_t byte = 0; byte < it->second.size(); ++byte)
            it->second[byte] = isShownCharacter(characters[byte]) ? characters[byte] : 0;
        // The builder takes printable ASCII as it is, which a page must keep.
        for (char16_t byte = 0x20; byte < 0x7F; ++byte) {
            if (characters[byte] != byte)
                it->second = {};
        }
    }
    return it->second[u'a'] ? it->second.data() : nullptr;
}

void Interpreter::addBytes(QByteArrayView bytes)
{
    if (!showsText())
        return;
    const int codePage = currentCodePage();
    if (!m_pendingBytes.isEmpty() && codePage != m_pendingCodePage)
        flushBytes();
    if (!m_fontCacheTable && isDoubleByteCodePage(codePage)) {
        // A character may continue in the next token, so decode later.
        m_pendingBytes += bytes;
        m_pendingCodePage = codePage;
        return;
    }
    syncCharFormat();
    if (m_fontCacheTable && state().destination == Destination::Text) {
        m_sink.appendMapped(bytes, m_fontCacheTable);
        return;
    }
    m_scratch.resize(0); // keeps its buffer for the next run
    m_decoder.decode(bytes, codePage, m_scratch);
    appendDecoded();
}

bool Interpreter::isShownCharacter(char16_t ch)
{
    // Control characters and object marks without an object have nothing
    // to show, and a writer could not write them back.
    return (ch >= 0x20 || ch == u'\t') && ch != 0x7F && ch != QChar::ObjectReplacementCharacter;
}

void Interpreter::appendDecoded()
{
    for (const QChar ch : std::as_const(m_scratch)) {
        if (!isShownCharacter(ch.unicode())) {
            m_scratch.removeIf([](QChar c) { return !isShownCharacter(c.unicode()); });
            break;
        }
    }
    if (state().destination == Destination::Note)
        noteText(m_scratch);
    else
        m_sink.appendText(m_scratch);
}

void Interpreter::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    syncCharFormat();
    m_scratch.resize(0); // keeps its buffer for the next run
    m_decoder.decode(m_pendingBytes, m_pendingCodePage, m_scratch);
    m_pendingBytes.resize(0);
    appendDecoded();
}

void Interpreter::addChar(char16_t ch)
{
    if (!showsText() || !isShownCharacter(ch))
        return;
    flushBytes();
    if (state().destination == Destination::Note) {
        noteText(QStringView(&ch, 1));
        return;
    }
    syncCharFormat();
    m_sink.appendChar(QChar(ch));
}

void Interpreter::syncCharFormat()
{
    if (state().destination == Destination::Note)
        return; // notes keep their text, not its format
    if (m_anchorPending)
        flushAnchor();
    const CharState &chars = state().chars;
    if (m_appliedFormat && chars == m_appliedChars)
        return;
    const QTextCharFormat &format = m_charFormats.get(chars, [this](const CharState &s) {
        // A new state mostly differs from the one before by a word or two:
        // a copy of that one's format with those properties changed costs
        // Qt less than setting every property anew.
        if (!m_appliedFormat || !canDerive(s, m_appliedChars))
            return charFormat(s);
        QTextCharFormat derived = *m_appliedFormat;
        setCharProperties(derived, s, &m_appliedChars);
        return derived;
    });
    m_sink.setCharFormat(format);
    m_appliedChars = chars;
    m_appliedFormat = &format;
}

QTextCharFormat Interpreter::charFormat(const CharState &chars) const
{
    QTextCharFormat format;
    setCharProperties(format, chars, nullptr);
    return format;
}

const Interpreter::FontEntry *Interpreter::namedFont(int number) const
{
    const auto font = m_fonts.find(number >= 0 ? number : m_defaultFont);
    return font != m_fonts.end() && !font->second.name.isEmpty() ? &font->second : nullptr;
}

QColor Interpreter::tableColor(int index) const
{
    return index > 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : QColor();
}

bool Interpreter::canDerive(const CharState &chars, const CharState &before) const
{
    if (chars.hidden != before.hidden || !namedFont(chars.font) != !namedFont(before.font))
        return false;
    // The last properties a format may or may not have, in their order: one
    // added goes to the end, so none of those after it may be there before.
    const auto trailing = [this](const CharState &s) {
        return std::array<bool, 3>{s.position != VerticalPosition::Normal, tableColor(s.foreColor).isValid(),
                                   tableColor(s.backColor).isValid()};
    };
    const std::array<bool, 3> now = trailing(chars), was = trailing(before);
    for (size_t k = 0; k < now.size(); ++k) {
        if (now[k] && !was[k] && std::find(was.begin() + qsizetype(k) + 1, was.end(), true) != was.end())
            return false;
    }
    return true;
}

void Interpreter::setCharProperties(QTextCharFormat &format, const CharState &chars, const CharState *before) const
{
    // Given the state before (see canDerive()), only the properties of the
    // fields that differ are set or taken away: the places of the others
    // in the format stay, and formats compare their properties in order.
    const auto changed = [&](auto field) { return !before || chars.*field != before->*field; };
    if (changed(&CharState::font)) {
        if (const FontEntry *font = namedFont(chars.font)) {
            format.setFontFamilies({font->name});
            // Qt hashes a family list as its type only, so formats that differ
            // only in the font would all collide in the document's format table;
            // the single family name keeps loading many fonts linear.
            format.setProperty(QTextFormat::FontFamily, font->name);
        }
    }
    if (changed(&CharState::halfPoints))
        format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.hidden && !before) {
        // Set after the point size, so that it is the size the text shows in.
        format.setProperty(HiddenTextProperty, true);
        format.setProperty(QTextFormat::FontPixelSize, 1);
    }
    if (changed(&CharState::bold))
        format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    if (changed(&CharState::italic))
        format.setFontItalic(chars.italic);
    if (changed(&CharState::strike))
        format.setFontStrikeOut(chars.strike);
    if (changed(&CharState::underline))
        format.setUnderlineStyle(QTextCharFormat::UnderlineStyle(chars.underline));
    if (changed(&CharState::position)) {
        switch (chars.position) {
        case VerticalPosition::Super:
            format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            break;
        case VerticalPosition::Sub:
            format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
            break;
        case VerticalPosition::Normal:
            if (before)
                format.clearProperty(QTextFormat::TextVerticalAlignment);
            break;
        }
    }
    // An automatic colour sets nothing: the editor's own text colour shows.
    if (changed(&CharState::foreColor)) {
        if (const QColor fore = tableColor(chars.foreColor); fore.isValid())
            format.setForeground(fore);
        else if (before)
            format.clearProperty(QTextFormat::ForegroundBrush);
    }
    if (changed(&CharState::backColor)) {
        if (const QColor back = tableColor(chars.backColor); back.isValid())
            format.setBackground(back);
        else if (before)
            format.clearProperty(QTextFormat::BackgroundBrush);
    }
}

QTextBlockFormat Interpreter::blockFormat(const ParaState &para) const
{
    QTextBlockFormat format;
    static constexpr Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                                   Qt::AlignJustify};
    format.setAlignment(alignments[para.alignment & 3]);
    format.setLeftMargin(TwipsToPixels(para.leftIndent));
    format.setRightMargin(TwipsToPixels(para.rightIndent));
    // A list item's hanging first line is where its bullet stands: the
    // document draws the bullet left of the text, so the text itself starts
    // at the left margin (a negative indent would push the bullet out of sight).
    const bool hangingListItem = para.listSource != ListSource::None && para.firstIndent < 0;
    format.setTextIndent(hangingListItem ? 0 : TwipsToPixels(para.firstIndent));
    format.setTopMargin(TwipsToPixels(para.spaceBefore));
    format.setBottomMargin(TwipsToPixels(para.spaceAfter));
    return format;
}

ListPlace Interpreter::listPlace(const ParaState &para) const
{
    ListPlace place;
    place.level = para.listLevel;
    switch (para.listSource) {
    case ListSource::None:
        return place;
    case ListSource::Pn:
        place.isList = true;
        place.style = para.pnStyle;
        place.key = -1;
        return place;
    case ListSource::ListTable:
        break;
    }
    place.isList = true;
    place.key = para.listOverride;
    const auto override = m_listOverrides.find(para.listOverride);
    if (override == m_listOverrides.end())
        return place; // no table: show a bullet rather than nothing
    const auto found = m_listById.find(override->second);
    if (found == m_listById.end())
        return place;
    const ListDef &list = m_lists[found->second];
    if (size_t(para.listLevel) < list.levels.size()) {
        place.style = styleForNumberFormat(list.levels[size_t(para.listLevel)].numberFormat);
        place.isList = place.style != QTextListFormat::ListStyleUndefined;
    }
    return place;
}

void Interpreter::endParagraph()
{
    if (!showsBreaks())
        return;
    flushBytes();
    if (state().destination == Destination::Note) {
        noteText(u"\n");
        return;
    }
    syncCharFormat();
    const ParaState &para = state().para;
    if (!m_sink.takesParagraphFormats()) {
        m_sink.endParagraph({}, {});
        return;
    }
    m_sink.endParagraph(m_blockFormats.get(para, [this](const ParaState &p) { return blockFormat(p); }),
                        listPlace(para));
}

} // namespace rtf
