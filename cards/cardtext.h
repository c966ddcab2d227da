#pragma once
// The visible text of a card file, for searching. It reads the RTF tokens
// straight into a string and builds no document, so thousands of cards can
// be read in a blink.

#include <QByteArrayView>
#include <QString>

namespace cards {

// The card's text: RTF read as the editor shows it (paragraphs as "\n",
// tables, pictures, hidden text and the header groups left out); anything
// else is plain text, UTF-8 when it decodes as such, else Windows-1252.
QString CardPlainText(QByteArrayView bytes);

} // namespace cards
