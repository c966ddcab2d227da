#include "blockwindow.h"

#include "guarded.h"

#include <QAbstractTextDocumentLayout>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

namespace controls {

namespace {
bool isBig(const QTextDocument &doc)
{
    return doc.blockCount() > TBlockWindow::kBigBlocks || doc.characterCount() > TBlockWindow::kBigCharacters;
}
} // namespace

TBlockWindow::TBlockWindow(QTextEdit *edit) : QObject(edit), m_edit(edit)
{
    connect(edit, &QTextEdit::cursorPositionChanged, this, [this] { platform::Guarded([this] { follow(); }); });
    connect(edit->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { platform::Guarded([this] { followScroll(); }); });
}

void TBlockWindow::span(const QTextDocument &doc, int block, int &first, int &last)
{
    const QTextBlock at = doc.findBlockByNumber(block);
    first = last = at.blockNumber();
    qint64 chars = 0;
    for (QTextBlock b = at.previous(); b.isValid() && first > block - kSideBlocks && chars < kSideCharacters; b = b.previous()) {
        chars += b.length();
        --first;
    }
    chars = 0;
    for (QTextBlock b = at.next(); b.isValid() && last < block + kSideBlocks && chars < kSideCharacters; b = b.next()) {
        chars += b.length();
        ++last;
    }
}

void TBlockWindow::Prepare(QTextDocument *doc, int position)
{
    m_doc = doc;
    m_active = isBig(*doc);
    m_first = 0;
    m_last = doc->blockCount() - 1;
    m_center = 0;
    m_count = doc->blockCount();
    if (!m_active)
        return;
    m_center = doc->findBlock(position).blockNumber();
    span(*doc, m_center, m_first, m_last);
    // No layout has seen the document yet: the flags alone do it.
    int n = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next(), ++n)
        b.setVisible(n >= m_first && n <= m_last);
}

void TBlockWindow::follow()
{
    QTextDocument *doc = m_edit->document();
    if (m_moving || doc != m_doc)
        return;
    if (!isBig(*doc)) {
        if (m_active) {
            // Shrunk below the size that needs a window: everything shows again.
            m_active = false;
            setShown(0, doc->blockCount() - 1, true);
            doc->markContentsDirty(0, doc->characterCount());
            m_first = 0;
            m_last = doc->blockCount() - 1;
        }
        return;
    }
    track();
    const int block = m_edit->textCursor().blockNumber();
    if (!m_active || needsMove(block)) {
        moveTo(block);
        // The view still shows where the window was: it goes to the caret
        // without taking the window back along.
        QScopedValueRollback<bool> moving(m_moving, true);
        m_edit->ensureCursorVisible();
    }
}

void TBlockWindow::followScroll()
{
    if (!m_active || m_moving || m_edit->document() != m_doc)
        return;
    // Scrolling towards an edge of the window moves it along with the view.
    track();
    const int viewHeight = m_edit->viewport()->height();
    const int top = m_edit->cursorForPosition(QPoint(0, 0)).blockNumber();
    const int bottom = m_edit->cursorForPosition(QPoint(0, viewHeight)).blockNumber();
    if (!needsMove(top) && !needsMove(bottom))
        return;
    // The paragraph at the top of the view stays where it is.
    QAbstractTextDocumentLayout *layout = m_doc->documentLayout();
    QScrollBar *scroll = m_edit->verticalScrollBar();
    const QTextBlock anchor = m_doc->findBlockByNumber(top);
    const qreal offset = layout->blockBoundingRect(anchor).top() - scroll->value();
    moveTo((top + bottom) / 2);
    QScopedValueRollback<bool> moving(m_moving, true);
    scroll->setValue(qRound(layout->blockBoundingRect(anchor).top() - offset));
}

bool TBlockWindow::needsMove(int block) const
{
    // Well inside the middle half of the window the caret and the view have
    // room to move in; an edge at the document's start or end is no edge.
    const int count = m_doc->blockCount();
    if (block < m_first || block > m_last)
        return true;
    if (m_first > 0 && block < m_center - (m_center - m_first) / 2)
        return true;
    return m_last < count - 1 && block > m_center + (m_last - m_center) / 2;
}

void TBlockWindow::track()
{
    const int count = m_doc->blockCount();
    m_last = qBound(m_first, m_last + count - m_count, count - 1);
    m_center = qBound(m_first, m_center, m_last);
    m_count = count;
}

void TBlockWindow::moveTo(int block)
{
    QScopedValueRollback<bool> moving(m_moving, true);
    int first = 0;
    int last = 0;
    span(*m_doc, block, first, last);
    // What leaves the window hides, what enters shows. The layout hears of
    // it once, from the first paragraph touched: it walks on from there over
    // every hidden paragraph behind, so each notice costs that walk.
    int from = first;
    int to = last;
    if (m_active) {
        if (m_first < first)
            setShown(m_first, qMin(m_last, first - 1), false);
        if (m_last > last)
            setShown(qMax(m_first, last + 1), m_last, false);
        from = qMin(from, m_first);
        to = qMax(to, m_last);
    } else {
        setShown(0, m_doc->blockCount() - 1, false);
        from = 0;
        to = m_doc->blockCount() - 1;
    }
    setShown(first, last, true);
    const QTextBlock begin = m_doc->findBlockByNumber(from);
    const QTextBlock end = m_doc->findBlockByNumber(qMin(to, m_doc->blockCount() - 1));
    m_doc->markContentsDirty(begin.position(), end.position() + end.length() - begin.position());
    m_active = true;
    m_first = first;
    m_last = last;
    m_center = block;
    m_count = m_doc->blockCount();
}

void TBlockWindow::setShown(int from, int to, bool shown)
{
    int n = from;
    for (QTextBlock b = m_doc->findBlockByNumber(from); b.isValid() && n <= to; b = b.next(), ++n)
        b.setVisible(shown);
}

} // namespace controls
