#pragma once
// What was wrong with RTF that was read anyway. Damaged input never stops
// the reader; these flags tell the caller (and the log) what it met.

#include <QFlags>
#include <QLoggingCategory>

namespace rtf {

enum class ReadIssue : unsigned {
    UnclosedGroups = 0x01, // the input ended inside groups (a cut-off file)
    TextAfterEnd = 0x02, // bytes other than white space after the last brace
    DepthLimit = 0x04, // groups nested deeper than the reader keeps
    BinPastEnd = 0x08, // \binN asked for more bytes than there were
    BrokenEscape = 0x10, // \' without two hex digits, or a lone backslash
    OverlongWord = 0x20, // a control word longer than 32 letters
};
Q_DECLARE_FLAGS(ReadIssues, ReadIssue)
Q_DECLARE_OPERATORS_FOR_FLAGS(ReadIssues)

Q_DECLARE_LOGGING_CATEGORY(lcRtf)

} // namespace rtf
