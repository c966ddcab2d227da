// Destination words and the tables they start: fonts, colours, lists and
// pictures. Nothing here writes to the document except a finished picture.

#include "rtfunits.h"
#include "rtfinterpreter.h"

#include "rtffontname.h"
#include "rtfpicture.h"


namespace rtf {

void Interpreter::destinationWord(Word word)
{
    GroupState &group = state();
    const Destination current = group.destination;
    // Nothing inside a hidden group becomes visible again, except the
    // Unicode part of an \upr group.
    if (current == Destination::Skip)
        return;
    if (current == Destination::Upr && word != Word::DUd)
        return;
    Destination next = current;
    switch (word) {
    case Word::DSkip:
        next = Destination::Skip;
        break;
    case Word::DFontTable:
        next = Destination::FontTable;
        m_fontNumber = -1;
        break;
    case Word::DColorTable:
        next = Destination::ColorTable;
        m_colors.clear();
        m_red = m_green = m_blue = 0;
        m_colorSet = false;
        break;
    case Word::DListTable:
        next = Destination::ListTable;
        break;
    case Word::DList:
        if (current != Destination::ListTable)
            return;
        m_lists.emplace_back();
        return;
    case Word::DListLevel:
        if (current != Destination::ListTable || m_lists.empty())
            return;
        if (m_lists.back().levels.size() < 9)
            m_lists.back().levels.emplace_back();
        return;
    case Word::DListOverrideTable:
        next = Destination::ListOverrideTable;
        break;
    case Word::DListOverride:
        m_overrideListId = 0;
        return;
    case Word::DPicture:
        if (current == Destination::Note) {
            hideGroup(); // a note keeps only its text
            return;
        }
        if (current != Destination::Text)
            return;
        next = Destination::Picture;
        m_picture = Picture();
        break;
    case Word::DPn:
        next = Destination::Pn;
        break;
    case Word::DUpr:
        if (current != Destination::Text) {
            // Its Unicode part is text: it would leave a note or a table
            // and put what is in there into the document.
            hideGroup();
            return;
        }
        next = Destination::Upr;
        break;
    case Word::DUd:
    case Word::DField:
    case Word::DFieldResult:
    case Word::DShapeResult:
    case Word::DText:
        if (current != Destination::Text && current != Destination::Upr)
            return;
        next = Destination::Text;
        break;
    default:
        return;
    }
    group.destination = next;
    group.ownsDestination = true;
    m_appliedFormat = nullptr;
}

void Interpreter::finishDestination(const GroupState &closed)
{
    switch (closed.destination) {
    case Destination::FontTable:
        commitFont();
        break;
    case Destination::Picture:
        if (state().destination == Destination::Text)
            finishPicture();
        m_picture = Picture();
        break;
    case Destination::Pn: {
        // The numbering group describes the paragraph it stands in.
        ParaState &para = state().para;
        para.listSource = closed.para.listSource;
        para.pnStyle = closed.para.pnStyle;
        para.listLevel = closed.para.listLevel;
        break;
    }
    default:
        break;
    }
}

void Interpreter::tableWord(Word word, const Token &token)
{
    const Destination destination = state().destination;
    const int value = token.hasParam ? token.param : 0;
    switch (word) {
    case Word::FontCharset:
        if (destination == Destination::FontTable)
            m_fontCharset = value;
        break;
    case Word::FontCodePage:
        if (destination == Destination::FontTable)
            m_fontCodePage = value;
        break;
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        if (destination != Destination::ColorTable)
            break;
        (word == Word::Red ? m_red : word == Word::Green ? m_green : m_blue) = std::clamp(value, 0, 255);
        m_colorSet = true;
        break;
    case Word::ListId:
        if (destination == Destination::ListTable && !m_lists.empty()) {
            m_lists.back().id = value;
            m_listById[value] = m_lists.size() - 1;
        }
        else if (destination == Destination::ListOverrideTable)
            m_overrideListId = value;
        break;
    case Word::LevelNumberFormat:
        if (destination == Destination::ListTable && !m_lists.empty() && !m_lists.back().levels.empty())
            m_lists.back().levels.back().numberFormat = value;
        break;
    default:
        break;
    }
}

void Interpreter::pictureWord(Word word, const Token &token)
{
    if (state().destination != Destination::Picture)
        return;
    const int value = token.hasParam ? std::max(0, token.param) : 0;
    switch (word) {
    case Word::PngBlip:
    case Word::JpegBlip:
    case Word::OtherBlip:
        m_picture.kind = word;
        break;
    case Word::PicWidth:
        m_picture.width = value;
        break;
    case Word::PicHeight:
        m_picture.height = value;
        break;
    case Word::PicGoalWidth:
        m_picture.goalWidth = value;
        break;
    case Word::PicGoalHeight:
        m_picture.goalHeight = value;
        break;
    case Word::PicScaleX:
        m_picture.scaleX = value > 0 ? value : 100;
        break;
    case Word::PicScaleY:
        m_picture.scaleY = value > 0 ? value : 100;
        break;
    default:
        break;
    }
}

void Interpreter::finishPicture()
{
    if (m_picture.kind != Word::PngBlip && m_picture.kind != Word::JpegBlip)
        return; // metafiles and bitmaps have no place in a card
    const PictureBytes picture =
        pictureFromBytes(m_picture.binary.isEmpty() ? QByteArray::fromHex(m_picture.hex) : m_picture.binary);
    if (picture.bytes.isEmpty())
        return;
    const QSize size = picture.size;
    // The goal size is in twips; the document measures images in pixels.
    double width = m_picture.goalWidth > 0 ? TwipsToPixels(m_picture.goalWidth) : size.width();
    double height = m_picture.goalHeight > 0 ? TwipsToPixels(m_picture.goalHeight) : size.height();
    // Less than a pixel cannot be shown, nor written back as a goal size.
    width = std::clamp(width * m_picture.scaleX / 100.0, 1.0, 100000.0);
    height = std::clamp(height * m_picture.scaleY / 100.0, 1.0, 100000.0);
    syncCharFormat();
    m_sink.appendImage(picture.bytes, width, height);
}

void Interpreter::startFont(int number)
{
    commitFont();
    m_fontNumber = number;
    m_fontCharset = -1;
    m_fontCodePage = 0;
}

void Interpreter::fontNameChar(char16_t ch)
{
    if (state().destination != Destination::FontTable)
        return;
    decodeFontName();
    m_fontName += QChar(ch);
}

void Interpreter::decodeFontName()
{
    if (m_fontNameBytes.isEmpty())
        return;
    int codePage = m_fontCodePage > 0 ? m_fontCodePage : codePageForCharset(m_fontCharset);
    if (codePage == 0)
        codePage = m_ansiCodePage;
    m_decoder.decode(m_fontNameBytes, codePage, m_fontName);
    m_fontNameBytes.clear();
}

void Interpreter::fontTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c == ';')
            commitFont();
        else
            m_fontNameBytes += c;
    }
}

void Interpreter::commitFont()
{
    decodeFontName();
    const QString name = cleanFontName(m_fontName);
    if (m_fontNumber >= 0 || !name.isEmpty()) {
        FontEntry &font = m_fonts[std::max(0, m_fontNumber)];
        font.name = name;
        font.codePage = m_fontCodePage > 0 ? m_fontCodePage : codePageForCharset(m_fontCharset);
    }
    m_fontName.clear();
    m_fontNumber = -1;
    m_fontCharset = -1;
    m_fontCodePage = 0;
    m_appliedFormat = nullptr;
    m_charFormats.clear();
    m_fontCacheNumber = -2;
}

void Interpreter::colorTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ';')
            continue;
        m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colorSet = false;
    }
    m_appliedFormat = nullptr;
    m_charFormats.clear();
}

} // namespace rtf
