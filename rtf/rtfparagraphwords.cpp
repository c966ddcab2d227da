// Paragraph formatting words, including both forms of lists: the old
// \pn numbering and the list table's \ls.

#include "rtfinterpreter.h"

namespace rtf {

namespace {

// Word clamps indents and spacing to 22 inches; larger values only make the
// layout slow.
constexpr int MaxTwips = 31680;

int twips(const Token &token, int low)
{
    return token.hasParam ? std::clamp(token.param, low, MaxTwips) : 0;
}

void setNumberStyle(ParaState &para, QTextListFormat::Style style)
{
    para.pnStyle = style;
    if (para.listSource == ListSource::None)
        para.listSource = ListSource::Pn;
}

} // namespace

void Interpreter::paragraphWord(Word word, const Token &token)
{
    if (word == Word::ListOverrideIndex && state().destination == Destination::ListOverrideTable) {
        m_listOverrides[token.hasParam ? token.param : 0] = m_overrideListId;
        return;
    }
    ParaState &para = state().para;
    switch (word) {
    case Word::Pard:
        para = ParaState();
        break;
    case Word::AlignLeft:
        para.alignment = 0;
        break;
    case Word::AlignCenter:
        para.alignment = 1;
        break;
    case Word::AlignRight:
        para.alignment = 2;
        break;
    case Word::AlignJustify:
        para.alignment = 3;
        break;
    case Word::LeftIndent:
        para.leftIndent = twips(token, -MaxTwips);
        break;
    case Word::RightIndent:
        para.rightIndent = twips(token, -MaxTwips);
        break;
    case Word::FirstIndent:
        para.firstIndent = twips(token, -MaxTwips);
        break;
    case Word::SpaceBefore:
        para.spaceBefore = twips(token, 0);
        break;
    case Word::SpaceAfter:
        para.spaceAfter = twips(token, 0);
        break;
    case Word::PnLevelBullet:
        para.listSource = ListSource::Pn;
        para.pnStyle = QTextListFormat::ListDisc;
        para.listLevel = 0;
        break;
    case Word::PnLevelBody:
        para.listSource = ListSource::Pn;
        if (para.pnStyle == QTextListFormat::ListDisc)
            para.pnStyle = QTextListFormat::ListDecimal;
        para.listLevel = 0;
        break;
    case Word::PnLevel:
        para.listSource = ListSource::Pn;
        if (para.pnStyle == QTextListFormat::ListDisc)
            para.pnStyle = QTextListFormat::ListDecimal;
        para.listLevel = token.hasParam ? std::clamp(token.param - 1, 0, 8) : 0;
        break;
    case Word::PnLevelCont:
        // A paragraph inside a numbered item without a number of its own.
        para.listSource = ListSource::None;
        break;
    case Word::PnDecimal:
        setNumberStyle(para, QTextListFormat::ListDecimal);
        break;
    case Word::PnUpperRoman:
        setNumberStyle(para, QTextListFormat::ListUpperRoman);
        break;
    case Word::PnLowerRoman:
        setNumberStyle(para, QTextListFormat::ListLowerRoman);
        break;
    case Word::PnUpperLetter:
        setNumberStyle(para, QTextListFormat::ListUpperAlpha);
        break;
    case Word::PnLowerLetter:
        setNumberStyle(para, QTextListFormat::ListLowerAlpha);
        break;
    case Word::ListOverrideIndex:
        para.listSource = ListSource::ListTable;
        para.listOverride = token.hasParam ? token.param : 0;
        break;
    case Word::ListLevel:
        para.listLevel = token.hasParam ? std::clamp(token.param, 0, 8) : 0;
        break;
    case Word::InTable:
        para.inTable = true;
        break;
    default:
        break;
    }
}

} // namespace rtf
