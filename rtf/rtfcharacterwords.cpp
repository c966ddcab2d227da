// Character formatting words: they change the group's CharState.

#include "rtfinterpreter.h"

namespace rtf {

namespace {

// Toggles like \b: without parameter or with a non-zero one they switch on.
bool toggleValue(const Token &token)
{
    return !token.hasParam || token.param != 0;
}

std::uint8_t underlineFor(Word word)
{
    switch (word) {
    case Word::UnderlineDotted: return QTextCharFormat::DotLine;
    case Word::UnderlineDash: return QTextCharFormat::DashUnderline;
    case Word::UnderlineDashDot: return QTextCharFormat::DashDotLine;
    case Word::UnderlineDashDotDot: return QTextCharFormat::DashDotDotLine;
    case Word::UnderlineWave: return QTextCharFormat::WaveUnderline;
    default: return QTextCharFormat::SingleUnderline;
    }
}

int colorIndex(const Token &token)
{
    return token.hasParam ? std::max(0, token.param) : 0;
}

} // namespace

void Interpreter::characterWord(Word word, const Token &token)
{
    if (word == Word::Font && state().destination == Destination::FontTable) {
        startFont(token.hasParam ? token.param : 0);
        return;
    }
    CharState &chars = state().chars;
    switch (word) {
    case Word::Plain:
        chars = CharState();
        break;
    case Word::Font:
        chars.font = token.hasParam ? token.param : 0;
        break;
    case Word::FontSize:
        // Zero or a missing size means the default of 12 points.
        chars.halfPoints = token.hasParam && token.param > 0 ? std::min(token.param, 3276) : 24;
        break;
    case Word::Bold:
        chars.bold = toggleValue(token);
        break;
    case Word::Italic:
        chars.italic = toggleValue(token);
        break;
    case Word::Strike:
        chars.strike = toggleValue(token);
        break;
    case Word::Hidden:
        chars.hidden = toggleValue(token);
        break;
    case Word::Underline:
    case Word::UnderlineDotted:
    case Word::UnderlineDash:
    case Word::UnderlineDashDot:
    case Word::UnderlineDashDotDot:
    case Word::UnderlineWave:
        chars.underline = toggleValue(token) ? underlineFor(word) : std::uint8_t(QTextCharFormat::NoUnderline);
        break;
    case Word::UnderlineNone:
        chars.underline = QTextCharFormat::NoUnderline;
        break;
    case Word::ForeColor:
        chars.foreColor = colorIndex(token);
        break;
    case Word::Highlight:
    case Word::BackColor:
        chars.backColor = colorIndex(token);
        break;
    case Word::Super:
        chars.position = VerticalPosition::Super;
        break;
    case Word::Sub:
        chars.position = VerticalPosition::Sub;
        break;
    case Word::NoSuperSub:
        chars.position = VerticalPosition::Normal;
        break;
    default:
        break;
    }
}

} // namespace rtf
