// Footnotes and endnotes. A card has no pages, so a note's text is shown at
// the end of the card, in paragraphs marked with the note's number, and its
// mark stays in the text where it stood; the writer puts the text back
// behind the mark. Marks numbered by the reader (\chftn) keep the look the
// file gives them (\ftnnrlc: i, ii, ...); a mark of the file's own text is
// the text run right before the note, as word processors take it.

#include "rtfdocumentbuilder.h"
#include "rtfinterpreter.h"
#include "rtfnumbers.h"
#include "rtfproperties.h"

#include <QTextBlock>
#include <QTextDocument>

namespace rtf {

namespace {

constexpr int MaxNoteNumber = 1'000'000;

QString noteNumber(int style, int n)
{
    switch (style) {
    case 1:
    case 2: {
        QString text;
        for (int k = n; k > 0; k = (k - 1) / 26)
            text.prepend(QChar(u'a' + (k - 1) % 26));
        return style == 2 ? text.toUpper() : text;
    }
    case 3: return RomanNumber(std::min(n, 3999));
    case 4: return RomanNumber(std::min(n, 3999)).toUpper();
    case 5: {
        // *, †, ‡, §, then doubled, tripled, ...
        static const char16_t symbols[] = {u'*', u'\u2020', u'\u2021', u'\u00A7'};
        return QString(std::min((n - 1) / 4 + 1, 10), QChar(symbols[(n - 1) % 4]));
    }
    default: return QString::number(n);
    }
}

} // namespace

void Interpreter::noteWord(const WordInfo &info, const Token &token)
{
    NoteNumbers &numbers = m_noteNumbers[info.value >= 16 ? 1 : 0];
    switch (info.word) {
    case Word::DNote:
        if (state().destination != Destination::Text || !showsText()) {
            hideGroup(); // a note in a note, a header or a table
            return;
        }
        startNote();
        return;
    case Word::Endnote:
        if (state().destination == Destination::Note && !m_notes.empty())
            m_notes.back().endnote = true;
        return;
    case Word::NoteMark:
        if (!showsText())
            return;
        flushBytes();
        if (state().destination == Destination::Note) {
            if (m_noteMark.isEmpty())
                m_noteMark = nextNoteMark(m_notes.back().endnote);
            noteText(m_noteMark);
            return;
        }
        flushAnchor(); // an earlier mark that had no note
        m_anchorPending = true;
        m_anchorChars = state().chars;
        return;
    case Word::NoteNumbering:
        numbers.style = info.value & 15;
        return;
    case Word::NoteStart:
        numbers.next = std::clamp(token.hasParam ? token.param : 1, 1, MaxNoteNumber);
        return;
    default:
        return;
    }
}

void Interpreter::startNote()
{
    flushBytes();
    if (m_noteIdBase < 0)
        m_noteIdBase = m_sink.lastNoteId(); // a pasted note must not take the number of one the card has
    Note note;
    note.id = m_noteIdBase + int(m_notes.size()) + 1;
    if (!m_anchorPending && !m_sink.markPendingRun(NoteAnchorProperty, note.id)) {
        // No mark at all: the note gets a number, so that it has a place.
        m_anchorPending = true;
        m_anchorChars = state().chars;
        m_anchorChars.position = VerticalPosition::Super;
    }
    m_notes.push_back(std::move(note));
    m_noteMark.clear();
    state().destination = Destination::Note;
    state().ownsDestination = true;
    m_noteGroup = m_stack.size();
}

QString Interpreter::nextNoteMark(bool endnote)
{
    NoteNumbers &numbers = m_noteNumbers[endnote ? 1 : 0];
    const QString mark = noteNumber(numbers.style, numbers.next);
    numbers.next = std::min(numbers.next + 1, MaxNoteNumber);
    return mark;
}

void Interpreter::finishNote()
{
    m_noteGroup = 0;
    Note &note = m_notes.back();
    if (!m_anchorPending)
        return;
    if (m_noteMark.isEmpty()) {
        // The note did not repeat its mark: it shows in front all the same.
        m_noteMark = nextNoteMark(note.endnote);
        note.runs.insert(note.runs.begin(), {QStringLiteral(" "), false});
        note.runs.insert(note.runs.begin(), {m_noteMark, true});
    }
    QTextCharFormat format = charFormat(m_anchorChars);
    format.setProperty(NoteAnchorProperty, note.id);
    m_sink.setCharFormat(format);
    m_sink.appendText(m_noteMark);
    m_sink.setCharFormat(charFormat(state().chars)); // the mark is no text a later note can take
    m_anchorPending = false;
    m_appliedFormat = nullptr;
}

void Interpreter::flushAnchor()
{
    if (!m_anchorPending || state().destination == Destination::Note)
        return;
    m_anchorPending = false;
    m_sink.setCharFormat(charFormat(m_anchorChars));
    m_sink.appendText(nextNoteMark(false));
    m_appliedFormat = nullptr;
}

void Interpreter::noteText(QStringView text)
{
    if (text.isEmpty() || m_notes.empty())
        return;
    const bool superscript = state().chars.position == VerticalPosition::Super;
    std::vector<NoteRun> &runs = m_notes.back().runs;
    if (runs.empty() || runs.back().superscript != superscript)
        runs.push_back({QString(), superscript});
    runs.back().text += text;
}

void Interpreter::appendNotes()
{
    bool first = true;
    for (Note &note : m_notes) {
        // A note's last paragraph mark ends the note, not a paragraph.
        while (!note.runs.empty() && note.runs.back().text.endsWith(QLatin1Char('\n'))) {
            note.runs.back().text.chop(1);
            if (note.runs.back().text.isEmpty())
                note.runs.pop_back();
        }
        QTextBlockFormat block;
        block.setProperty(NoteTextProperty, note.id);
        if (note.endnote)
            block.setProperty(EndnoteProperty, true);
        m_sink.appendNoteParagraph(block, first && !m_insertMode);
        first = false;
        for (const NoteRun &run : note.runs) {
            const QStringList lines = run.text.split(QLatin1Char('\n'));
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    m_sink.appendNoteParagraph(block, false);
                QString line = lines[i];
                line.removeIf([](QChar c) { return !isShownCharacter(c.unicode()); });
                m_sink.appendNoteText(line, run.superscript);
            }
        }
    }
}

} // namespace rtf

namespace rtf {

int DocumentBuilder::lastNoteId() const
{
    int last = 0;
    const QTextDocument *document = m_cursor.document();
    for (QTextBlock block = document->lastBlock(); block.isValid(); block = block.previous()) {
        const int id = block.blockFormat().intProperty(NoteTextProperty);
        if (id <= 0)
            break; // notes stand at the end
        last = std::max(last, id);
    }
    return last;
}

void DocumentBuilder::appendNoteParagraph(const QTextBlockFormat &format, bool reuseEmpty)
{
    if (m_noteCursor.isNull()) {
        m_noteCursor = QTextCursor(m_cursor.document());
        m_noteCursor.movePosition(QTextCursor::End);
    }
    if (reuseEmpty && m_cursor.document()->isEmpty())
        m_noteCursor.setBlockFormat(format);
    else
        m_noteCursor.insertBlock(format, QTextCharFormat());
}

void DocumentBuilder::appendNoteText(QStringView text, bool superscript)
{
    QTextCharFormat format;
    if (superscript)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    m_noteCursor.insertText(text.toString(), format);
}

bool DocumentBuilder::markPendingRun(int property, const QVariant &value)
{
    // Held text from before the last paragraph end is no part of the run.
    if (m_blockPending || m_text.size() == m_runStart)
        return false;
    if (m_runStart > m_runBegin)
        addRun(currentFormat(), m_runStart);
    QTextCharFormat format = m_format;
    format.setProperty(property, value);
    addRun(addCharFormat(format), m_text.size());
    m_runStart = m_text.size();
    return true;
}

} // namespace rtf
