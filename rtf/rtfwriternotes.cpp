// Notes shown at the end of a card go back behind their marks as
// \footnote groups, with the text and its superscripts as they show.

#include "rtfproperties.h"
#include "rtfwritersession.h"

#include <QTextDocument>

namespace rtf {

void WriterSession::collectNote(const QTextBlock &block)
{
    if (const int id = block.blockFormat().intProperty(NoteTextProperty); id > 0)
        m_notes[id].append(block);
}

bool WriterSession::isNoteWrittenElsewhere(const QTextBlock &block) const
{
    const int id = block.blockFormat().intProperty(NoteTextProperty);
    return id > 0 && m_anchors.contains(id);
}

void WriterSession::writeNoteAfter(int id)
{
    if (id <= 0)
        return;
    // Written once, behind the first mark: its paragraphs go with it.
    const QList<QTextBlock> blocks = m_notes.take(id);
    if (blocks.isEmpty())
        return;
    m_out.openGroup();
    m_out.word("footnote");
    if (blocks.first().blockFormat().boolProperty(EndnoteProperty))
        m_out.word("ftnalt");
    m_out.word("pard");
    m_out.word("plain");
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (i > 0)
            m_out.word("par");
        for (auto it = blocks[i].begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat())
                continue;
            if (format.verticalAlignment() != QTextCharFormat::AlignSuperScript) {
                m_out.text(fragment.text());
                continue;
            }
            m_out.openGroup();
            m_out.word("super");
            m_out.text(fragment.text());
            m_out.closeGroup();
        }
    }
    m_out.closeGroup();
}

} // namespace rtf
