#pragma once
// The words of a paragraph that the spell check looks at. Left out: words
// with a digit ("A4", "3D"), all-capital abbreviations ("ABC", "PDF"),
// single letters, and whatever belongs to a web or mail address
// ("https://…", "www.…", "mailto:…", "name@example.org").

#include <QList>
#include <QStringView>

namespace platform {

struct TWordRange {
    int start = 0;
    int length = 0;
    // A full stop follows: the word may be an abbreviation ("usw.").
    bool dotFollows = false;
    int end() const { return start + length; }
    bool operator==(const TWordRange &other) const = default;
};

// The words to check in text, in order. A word is a run of letters and
// digits, joined inside by hyphens, apostrophes and full stops ("E-Mail",
// "geht's", "z.B").
QList<TWordRange> CheckableWords(QStringView text);

} // namespace platform
