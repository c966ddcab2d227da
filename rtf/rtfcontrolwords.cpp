#include "rtfcontrolwords.h"

#include <array>
#include <string_view>

namespace rtf {

namespace {

using K = WordKind;
using W = Word;

struct Entry {
    std::string_view name;
    WordInfo info;
};

// clang-format off
constexpr Entry kWords[] = {
    {"plain", {K::Character, W::Plain, 0}},
    {"f", {K::Character, W::Font, 0}},
    {"fs", {K::Character, W::FontSize, 0}},
    {"b", {K::Character, W::Bold, 0}},
    {"i", {K::Character, W::Italic, 0}},
    {"ul", {K::Character, W::Underline, 0}},
    {"uldb", {K::Character, W::Underline, 0}},
    {"ulth", {K::Character, W::Underline, 0}},
    {"ulw", {K::Character, W::Underline, 0}},
    {"ulhair", {K::Character, W::Underline, 0}},
    {"ulldash", {K::Character, W::UnderlineDash, 0}},
    {"uld", {K::Character, W::UnderlineDotted, 0}},
    {"ulthd", {K::Character, W::UnderlineDotted, 0}},
    {"uldash", {K::Character, W::UnderlineDash, 0}},
    {"ulthdash", {K::Character, W::UnderlineDash, 0}},
    {"ulthldash", {K::Character, W::UnderlineDash, 0}},
    {"uldashd", {K::Character, W::UnderlineDashDot, 0}},
    {"ulthdashd", {K::Character, W::UnderlineDashDot, 0}},
    {"uldashdd", {K::Character, W::UnderlineDashDotDot, 0}},
    {"ulthdashdd", {K::Character, W::UnderlineDashDotDot, 0}},
    {"ulwave", {K::Character, W::UnderlineWave, 0}},
    {"ulhwave", {K::Character, W::UnderlineWave, 0}},
    {"ululdbwave", {K::Character, W::UnderlineWave, 0}},
    {"ulnone", {K::Character, W::UnderlineNone, 0}},
    {"strike", {K::Character, W::Strike, 0}},
    {"striked", {K::Character, W::Strike, 0}},
    {"cf", {K::Character, W::ForeColor, 0}},
    {"highlight", {K::Character, W::Highlight, 0}},
    {"cb", {K::Character, W::BackColor, 0}},
    {"chcbpat", {K::Character, W::BackColor, 0}},
    {"super", {K::Character, W::Super, 0}},
    {"sub", {K::Character, W::Sub, 0}},
    {"nosupersub", {K::Character, W::NoSuperSub, 0}},
    {"v", {K::Character, W::Hidden, 0}},
    // Writers star these although they are no destinations: {\*\cs15 text}.
    {"cs", {K::Character, W::Unapplied, 0}},
    {"ts", {K::Character, W::Unapplied, 0}},
    {"ulc", {K::Character, W::Unapplied, 0}},

    {"pard", {K::Paragraph, W::Pard, 0}},
    {"ql", {K::Paragraph, W::AlignLeft, 0}},
    {"qc", {K::Paragraph, W::AlignCenter, 0}},
    {"qr", {K::Paragraph, W::AlignRight, 0}},
    {"qj", {K::Paragraph, W::AlignJustify, 0}},
    {"qd", {K::Paragraph, W::AlignJustify, 0}},
    {"li", {K::Paragraph, W::LeftIndent, 0}},
    {"lin", {K::Paragraph, W::LeftIndent, 0}},
    {"ri", {K::Paragraph, W::RightIndent, 0}},
    {"rin", {K::Paragraph, W::RightIndent, 0}},
    {"fi", {K::Paragraph, W::FirstIndent, 0}},
    {"sb", {K::Paragraph, W::SpaceBefore, 0}},
    {"sa", {K::Paragraph, W::SpaceAfter, 0}},
    {"pnlvlblt", {K::Paragraph, W::PnLevelBullet, 0}},
    {"pnlvlbody", {K::Paragraph, W::PnLevelBody, 0}},
    {"pnlvlcont", {K::Paragraph, W::PnLevelCont, 0}},
    {"pnlvl", {K::Paragraph, W::PnLevel, 0}},
    {"pndec", {K::Paragraph, W::PnDecimal, 0}},
    {"pnucrm", {K::Paragraph, W::PnUpperRoman, 0}},
    {"pnlcrm", {K::Paragraph, W::PnLowerRoman, 0}},
    {"pnucltr", {K::Paragraph, W::PnUpperLetter, 0}},
    {"pnlcltr", {K::Paragraph, W::PnLowerLetter, 0}},
    {"ls", {K::Paragraph, W::ListOverrideIndex, 0}},
    {"ilvl", {K::Paragraph, W::ListLevel, 0}},
    {"intbl", {K::Paragraph, W::InTable, 0}},

    {"par", {K::Structure, W::Par, 0}},
    {"sect", {K::Structure, W::Sect, 0}},
    {"page", {K::Structure, W::Page, 0}},
    {"column", {K::Structure, W::Page, 0}},
    {"line", {K::Structure, W::Line, 0}},
    {"tab", {K::Structure, W::Tab, 0}},
    {"cell", {K::Structure, W::Cell, 0}},
    {"nestcell", {K::Structure, W::Cell, 0}},
    {"row", {K::Structure, W::Row, 0}},
    {"nestrow", {K::Structure, W::Row, 0}},
    {"u", {K::Structure, W::Unicode, 0}},
    {"uc", {K::Structure, W::UnicodeSkip, 0}},
    {"bin", {K::Structure, W::Bin, 0}},

    {"emdash", {K::Special, W::Tab, 0x2014}},
    {"endash", {K::Special, W::Tab, 0x2013}},
    {"emspace", {K::Special, W::Tab, 0x2003}},
    {"enspace", {K::Special, W::Tab, 0x2002}},
    {"qmspace", {K::Special, W::Tab, 0x2005}},
    {"bullet", {K::Special, W::Tab, 0x2022}},
    {"lquote", {K::Special, W::Tab, 0x2018}},
    {"rquote", {K::Special, W::Tab, 0x2019}},
    {"ldblquote", {K::Special, W::Tab, 0x201C}},
    {"rdblquote", {K::Special, W::Tab, 0x201D}},
    {"zwj", {K::Special, W::Tab, 0x200D}},
    {"zwnj", {K::Special, W::Tab, 0x200C}},
    {"zwbo", {K::Special, W::Tab, 0x200B}},
    {"ltrmark", {K::Special, W::Tab, 0x200E}},
    {"rtlmark", {K::Special, W::Tab, 0x200F}},

    {"ansi", {K::Document, W::Ansi, 0}},
    {"mac", {K::Document, W::Mac, 0}},
    {"pc", {K::Document, W::Pc, 0}},
    {"pca", {K::Document, W::Pca, 0}},
    {"ansicpg", {K::Document, W::AnsiCodePage, 0}},
    {"deff", {K::Document, W::DefaultFont, 0}},

    {"fonttbl", {K::Destination, W::DFontTable, 0}},
    {"colortbl", {K::Destination, W::DColorTable, 0}},
    {"listtable", {K::Destination, W::DListTable, 0}},
    {"list", {K::Destination, W::DList, 0}},
    {"listlevel", {K::Destination, W::DListLevel, 0}},
    {"listoverridetable", {K::Destination, W::DListOverrideTable, 0}},
    {"listoverride", {K::Destination, W::DListOverride, 0}},
    {"pict", {K::Destination, W::DPicture, 0}},
    {"pn", {K::Destination, W::DPn, 0}},
    {"upr", {K::Destination, W::DUpr, 0}},
    {"ud", {K::Destination, W::DUd, 0}},
    {"field", {K::Destination, W::DField, 0}},
    {"fldrslt", {K::Destination, W::DFieldResult, 0}},
    {"result", {K::Destination, W::DFieldResult, 0}},
    {"shprslt", {K::Destination, W::DShapeResult, 0}},
    {"shptxt", {K::Destination, W::DText, 0}},
    {"shppict", {K::Destination, W::DText, 0}},
    {"object", {K::Destination, W::DText, 0}},
    {"shp", {K::Destination, W::DText, 0}},
    // Generators put a nested table's cell text inside its properties; the
    // fallback for readers without nested tables would show it twice.
    {"nesttableprops", {K::Destination, W::DText, 0}},
    {"nonesttables", {K::Destination, W::DSkip, 0}},

    {"info", {K::Destination, W::DSkip, 0}},
    {"stylesheet", {K::Destination, W::DSkip, 0}},
    {"header", {K::Destination, W::DSkip, 0}},
    {"headerl", {K::Destination, W::DSkip, 0}},
    {"headerr", {K::Destination, W::DSkip, 0}},
    {"headerf", {K::Destination, W::DSkip, 0}},
    {"footer", {K::Destination, W::DSkip, 0}},
    {"footerl", {K::Destination, W::DSkip, 0}},
    {"footerr", {K::Destination, W::DSkip, 0}},
    {"footerf", {K::Destination, W::DSkip, 0}},
    {"annotation", {K::Destination, W::DSkip, 0}},
    {"atnid", {K::Destination, W::DSkip, 0}},
    {"atnauthor", {K::Destination, W::DSkip, 0}},
    {"fldinst", {K::Destination, W::DSkip, 0}},
    {"pntext", {K::Destination, W::DSkip, 0}},
    {"pntxta", {K::Destination, W::DSkip, 0}},
    {"pntxtb", {K::Destination, W::DSkip, 0}},
    {"listtext", {K::Destination, W::DSkip, 0}},
    {"leveltext", {K::Destination, W::DSkip, 0}},
    {"levelnumbers", {K::Destination, W::DSkip, 0}},
    {"listname", {K::Destination, W::DSkip, 0}},
    {"listpicture", {K::Destination, W::DSkip, 0}},
    {"revtbl", {K::Destination, W::DSkip, 0}},
    {"filetbl", {K::Destination, W::DSkip, 0}},
    {"rsidtbl", {K::Destination, W::DSkip, 0}},
    {"xmlnstbl", {K::Destination, W::DSkip, 0}},
    {"pgdsctbl", {K::Destination, W::DSkip, 0}},
    {"generator", {K::Destination, W::DSkip, 0}},
    {"falt", {K::Destination, W::DSkip, 0}},
    {"panose", {K::Destination, W::DSkip, 0}},
    {"objdata", {K::Destination, W::DSkip, 0}},
    {"objclass", {K::Destination, W::DSkip, 0}},
    {"objname", {K::Destination, W::DSkip, 0}},
    {"shpinst", {K::Destination, W::DSkip, 0}},
    {"sp", {K::Destination, W::DSkip, 0}},
    {"sn", {K::Destination, W::DSkip, 0}},
    {"sv", {K::Destination, W::DSkip, 0}},
    {"nonshppict", {K::Destination, W::DSkip, 0}},
    {"do", {K::Destination, W::DSkip, 0}},
    {"template", {K::Destination, W::DSkip, 0}},
    {"comment", {K::Destination, W::DSkip, 0}},
    {"xe", {K::Destination, W::DSkip, 0}},
    {"tc", {K::Destination, W::DSkip, 0}},
    {"txe", {K::Destination, W::DSkip, 0}},
    {"rxe", {K::Destination, W::DSkip, 0}},
    {"bkmkstart", {K::Destination, W::DSkip, 0}},
    {"bkmkend", {K::Destination, W::DSkip, 0}},
    {"ftnsep", {K::Destination, W::DSkip, 0}},
    {"ftnsepc", {K::Destination, W::DSkip, 0}},
    {"ftncn", {K::Destination, W::DSkip, 0}},
    {"aftnsep", {K::Destination, W::DSkip, 0}},
    {"aftnsepc", {K::Destination, W::DSkip, 0}},
    {"aftncn", {K::Destination, W::DSkip, 0}},
    {"pnseclvl", {K::Destination, W::DSkip, 0}},
    {"userprops", {K::Destination, W::DSkip, 0}},
    {"docvar", {K::Destination, W::DSkip, 0}},
    {"datafield", {K::Destination, W::DSkip, 0}},
    {"formfield", {K::Destination, W::DSkip, 0}},
    {"themedata", {K::Destination, W::DSkip, 0}},
    {"colorschememapping", {K::Destination, W::DSkip, 0}},
    {"latentstyles", {K::Destination, W::DSkip, 0}},
    {"datastore", {K::Destination, W::DSkip, 0}},
    {"blipuid", {K::Destination, W::DSkip, 0}},
    {"picprop", {K::Destination, W::DSkip, 0}},

    {"fcharset", {K::Table, W::FontCharset, 0}},
    {"cpg", {K::Table, W::FontCodePage, 0}},
    {"red", {K::Table, W::Red, 0}},
    {"green", {K::Table, W::Green, 0}},
    {"blue", {K::Table, W::Blue, 0}},
    {"listid", {K::Table, W::ListId, 0}},
    {"levelnfc", {K::Table, W::LevelNumberFormat, 0}},
    {"levelnfcn", {K::Table, W::LevelNumberFormat, 0}},

    {"pngblip", {K::Picture, W::PngBlip, 0}},
    {"jpegblip", {K::Picture, W::JpegBlip, 0}},
    {"wmetafile", {K::Picture, W::OtherBlip, 0}},
    {"emfblip", {K::Picture, W::OtherBlip, 0}},
    {"macpict", {K::Picture, W::OtherBlip, 0}},
    {"dibitmap", {K::Picture, W::OtherBlip, 0}},
    {"wbitmap", {K::Picture, W::OtherBlip, 0}},
    {"pmmetafile", {K::Picture, W::OtherBlip, 0}},
    {"picw", {K::Picture, W::PicWidth, 0}},
    {"pich", {K::Picture, W::PicHeight, 0}},
    {"picwgoal", {K::Picture, W::PicGoalWidth, 0}},
    {"pichgoal", {K::Picture, W::PicGoalHeight, 0}},
    {"picscalex", {K::Picture, W::PicScaleX, 0}},
    {"picscaley", {K::Picture, W::PicScaleY, 0}},

    {"footnote", {K::Note, W::DNote, 0}},
    {"chftn", {K::Note, W::NoteMark, 0}},
    {"ftnalt", {K::Note, W::Endnote, 0}},
    {"ftnnar", {K::Note, W::NoteNumbering, 0}},
    {"ftnnalc", {K::Note, W::NoteNumbering, 1}},
    {"ftnnauc", {K::Note, W::NoteNumbering, 2}},
    {"ftnnrlc", {K::Note, W::NoteNumbering, 3}},
    {"ftnnruc", {K::Note, W::NoteNumbering, 4}},
    {"ftnnchi", {K::Note, W::NoteNumbering, 5}},
    {"aftnnar", {K::Note, W::NoteNumbering, 16}},
    {"aftnnalc", {K::Note, W::NoteNumbering, 17}},
    {"aftnnauc", {K::Note, W::NoteNumbering, 18}},
    {"aftnnrlc", {K::Note, W::NoteNumbering, 19}},
    {"aftnnruc", {K::Note, W::NoteNumbering, 20}},
    {"aftnnchi", {K::Note, W::NoteNumbering, 21}},
    {"ftnstart", {K::Note, W::NoteStart, 0}},
    {"aftnstart", {K::Note, W::NoteStart, 16}},
};
// clang-format on

// Open addressing over four times as many slots as words: a word costs a
// short multiplicative hash and mostly one comparison. A slot keeps the
// first eight letters of its word with the length, so that a word of up
// to eight letters, most of them, is compared as one number. A name
// listed twice finds its first entry, which is met first on the probe path.
class WordTable {
public:
    WordTable()
    {
        for (const Entry &e : kWords) {
            const Key key = keyOf(e.name);
            size_t i = key.slot;
            while (m_slots[i].entry)
                i = (i + 1) & (Size - 1);
            m_slots[i] = {key.head, e.name.size(), &e};
        }
    }

    const WordInfo *find(std::string_view name) const
    {
        const Key key = keyOf(name);
        for (size_t i = key.slot; m_slots[i].entry; i = (i + 1) & (Size - 1)) {
            const Slot &slot = m_slots[i];
            if (slot.head == key.head && slot.size == name.size()
                && (name.size() <= 8 || slot.entry->name.substr(8) == name.substr(8)))
                return &slot.entry->info;
        }
        return nullptr;
    }

private:
    static constexpr int Bits = 10;
    static constexpr size_t Size = size_t(1) << Bits;
    static_assert(Size >= 4 * std::size(kWords));

    struct Key {
        size_t slot;
        std::uint64_t head; // the first eight letters, one per byte
    };
    struct Slot {
        std::uint64_t head = 0;
        size_t size = 0;
        const Entry *entry = nullptr;
    };

    static Key keyOf(std::string_view name)
    {
        std::uint64_t h = name.size();
        std::uint64_t head = 0;
        for (size_t k = 0; k < name.size(); ++k) {
            const auto c = static_cast<unsigned char>(name[k]);
            h = h * 131 + c;
            if (k < 8)
                head |= std::uint64_t(c) << (8 * k);
        }
        return {size_t((h * 0x9E3779B97F4A7C15ull) >> (64 - Bits)), head};
    }

    std::array<Slot, Size> m_slots{};
};

} // namespace

const WordInfo *lookupWord(QByteArrayView name)
{
    static const WordTable table;
    return table.find(std::string_view(name.data(), size_t(name.size())));
}

char16_t symbolCharacter(char symbol)
{
    switch (symbol) {
    case '~':
        return 0x00A0;
    case '_':
        return 0x2011;
    case '-':
        return 0x00AD;
    case '\\':
    case '{':
    case '}':
        return char16_t(symbol);
    default:
        return 0;
    }
}

} // namespace rtf
