#pragma once
// The state of one RTF group: copied when a group opens, dropped when it
// closes. Fields are grouped by what resets them (\plain, \pard).

#include <QTextListFormat>
#include <cstdint>
#include <initializer_list>

namespace rtf {

// Where the text of a group goes.
enum class Destination : std::uint8_t {
    Text, // the document
    Skip, // nowhere
    FontTable,
    ColorTable,
    ListTable,
    ListOverrideTable,
    Picture,
    Pn, // a paragraph numbering group: its words matter, its text not
    Upr, // an \upr group: only its \ud part is read
    Note, // the text of a footnote or endnote, shown at the end
};

enum class VerticalPosition : std::uint8_t { Normal, Super, Sub };

// A hash of a state's fields packed into words: a multiply and a shift
// each, where qHashMulti would hash every field on its own.
inline size_t mixHash(std::initializer_list<std::uint64_t> words)
{
    std::uint64_t h = 0;
    for (const std::uint64_t w : words)
        h = (h ^ w) * 0x9E3779B97F4A7C15ull;
    return size_t(h ^ (h >> 31));
}

// Reset by \plain.
struct CharState {
    int font = -1; // number in the font table; -1: the default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    std::uint8_t underline = 0; // a QTextCharFormat::UnderlineStyle
    VerticalPosition position = VerticalPosition::Normal;
    int foreColor = 0; // index in the colour table; 0: automatic
    int backColor = 0; // index in the colour table; 0: none

    bool operator==(const CharState &) const = default;
    // Equal states hash alike; a field left out only makes more collide.
    size_t hash() const
    {
        const std::uint64_t flags = std::uint64_t(bold) | std::uint64_t(italic) << 1 | std::uint64_t(strike) << 2
            | std::uint64_t(hidden) << 3 | std::uint64_t(underline) << 4 | std::uint64_t(position) << 12;
        return mixHash({std::uint64_t(std::uint32_t(font)) | std::uint64_t(std::uint32_t(halfPoints)) << 32, flags,
                        std::uint64_t(std::uint32_t(foreColor)) | std::uint64_t(std::uint32_t(backColor)) << 32});
    }
};

enum class ListSource : std::uint8_t { None, Pn, ListTable };

// Reset by \pard.
struct ParaState {
    std::uint8_t alignment = 0; // 0 left, 1 centre, 2 right, 3 justify
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    ListSource listSource = ListSource::None;
    QTextListFormat::Style pnStyle = QTextListFormat::ListDisc;
    int listOverride = 0; // \ls
    int listLevel = 0; // \ilvl or \pnlvlN - 1
    bool inTable = false;

    bool operator==(const ParaState &) const = default;
    size_t hash() const
    {
        const std::uint64_t kinds = std::uint64_t(alignment) | std::uint64_t(listSource) << 8
            | std::uint64_t(inTable) << 16 | std::uint64_t(std::uint32_t(pnStyle)) << 32;
        return mixHash({std::uint64_t(std::uint32_t(leftIndent)) | std::uint64_t(std::uint32_t(rightIndent)) << 32,
                        std::uint64_t(std::uint32_t(firstIndent)) | std::uint64_t(std::uint32_t(spaceBefore)) << 32,
                        std::uint64_t(std::uint32_t(spaceAfter)) | std::uint64_t(std::uint32_t(listOverride)) << 32,
                        kinds ^ std::uint64_t(std::uint32_t(listLevel)) << 24});
    }
};

struct GroupState {
    CharState chars;
    ParaState para;
    Destination destination = Destination::Text;
    // This group's own destination word started the destination, so its
    // end finishes that destination (a picture, a numbering group).
    bool ownsDestination = false;
    std::uint8_t unicodeSkip = 1; // \ucN
};

} // namespace rtf
