#include "spellhighlighter.h"

#include "spellchecker.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>

namespace controls {

namespace {

// A paragraph's verdict, kept with the paragraph so that it moves with it.
// An edit inside the paragraph shifts the words behind it and leaves a
// stretch to check again; one across paragraphs drops the verdict.
class SpellBlockData : public QTextBlockUserData {
public:
    int round = -1;
    QList<platform::TWordRange> wrong;
    int dirtyFrom = -1;
    int dirtyTo = -1;
};

SpellBlockData *dataOf(const QTextBlock &block) { return dynamic_cast<SpellBlockData *>(block.userData()); }

// Where a word's underline runs, in viewport pixels: one line segment per
// display line the word spans (x from, x to, y of the underline).
QList<QLineF> underlineOf(const QTextEdit &editor, const QTextCursor &word)
{
    QList<QLineF> segments;
    const QTextBlock block = word.block();
    const QTextLayout *layout = block.layout();
    if (!layout || !block.isVisible())
        return segments;
    const QPointF origin = editor.document()->documentLayout()->blockBoundingRect(block).topLeft() -
                           QPointF(editor.horizontalScrollBar()->value(), editor.verticalScrollBar()->value());
    const int from = word.selectionStart() - block.position();
    const int to = word.selectionEnd() - block.position();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const int start = qMax(from, line.textStart());
        const int end = qMin(to, line.textStart() + line.textLength());
        if (start >= end)
            continue;
        const qreal y = origin.y() + line.y() + line.ascent() + 2;
        segments.append(QLineF(origin.x() + line.cursorToX(start), y, origin.x() + line.cursorToX(end), y));
    }
    return segments;
}

QRect boundsOf(const QList<QLineF> &segments)
{
    QRect bounds;
    for (const QLineF &s : segments)
        bounds |= QRectF(s.p1(), s.p2()).normalized().adjusted(-2, -3, 2, 3).toAlignedRect();
    return bounds;
}

// The layer above the editor's text that draws the waves. It lies over the
// viewport but belongs to the editor, so the viewport's scrolling does not
// carry it along, and it lets every mouse event through.
class UnderlineLayer : public QWidget {
public:
    UnderlineLayer(QTextEdit *editor, const QList<QTextCursor> &underlines)
        : QWidget(editor), m_editor(editor), m_underlines(underlines)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.setClipRect(event->rect());
        painter.setPen(QPen(QColor(Qt::red), 1));
        for (const QTextCursor &word : m_underlines) {
            for (const QLineF &s : underlineOf(*m_editor, word)) {
                if (!event->rect().intersects(boundsOf({s})))
                    continue;
                QPolygonF zigzag;
                for (qreal x = s.x1(), up = 0; x <= s.x2() + 0.5; x += 2, up = 1 - up)
                    zigzag << QPointF(x, s.y1() + (up ? -1 : 1));
                painter.drawPolyline(zigzag);
            }
        }
    }

private:
    QTextEdit *m_editor;
    const QList<QTextCursor> &m_underlines;
};

// Words and addresses never span white space, so the stretch to check again
// grows to the white space around it.
void growToWhiteSpace(const QString &text, int &from, int &to)
{
    from = qBound(0, from, int(text.size()));
    to = qBound(from, to, int(text.size()));
    while (from > 0 && !text.at(from - 1).isSpace())
        --from;
    while (to < text.size() && !text.at(to).isSpace())
        ++to;
}

} // namespace

TSpellHighlighter::TSpellHighlighter(QTextEdit *editor)
    : QObject(editor), m_editor(editor), m_layer(new UnderlineLayer(editor, m_underlines))
{
    m_layer->setGeometry(editor->viewport()->geometry());
    m_layer->show();
    m_visible.setSingleShot(true);
    m_visible.setInterval(0);
    connect(&m_visible, &QTimer::timeout, this, &TSpellHighlighter::updateVisible);
    m_idle.setInterval(0);
    connect(&m_idle, &QTimer::timeout, this, &TSpellHighlighter::idleSlice);
    // The editor does not announce a new document; it is found when the
    // editor paints or the caret moves.
    editor->viewport()->installEventFilter(this);
    connect(editor, &QTextEdit::cursorPositionChanged, this, [this] {
        if (followDocument())
            return;
        if (m_editor->textCursor().position() != m_editPosition)
            m_editPosition = -1;
        if (m_checker)
            m_visible.start();
    });
    connect(editor->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        m_layer->update();
        if (m_checker)
            m_visible.start();
    });
    attachDocument();
}

TSpellHighlighter::~TSpellHighlighter() = default;

bool TSpellHighlighter::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move) {
        m_layer->setGeometry(m_editor->viewport()->geometry());
        m_layer->raise();
    }
    // Only noticed here; the work waits for the event loop.
    if (event->type() == QEvent::Paint && m_editor->document() != m_document && m_checker)
        m_visible.start();
    return false;
}

bool TSpellHighlighter::followDocument()
{
    if (m_editor->document() == m_document)
        return false;
    attachDocument();
    return true;
}

void TSpellHighlighter::attachDocument()
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    // The words underlined belong to the old document.
    m_underlines.clear();
    m_layer->update();
    m_document = m_editor->document();
    connect(m_document, &QTextDocument::contentsChange, this, &TSpellHighlighter::contentsChange);
    // Layout runs late for big cards and after resizes: what is visible
    // changes with it.
    connect(m_document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, [this] {
        if (m_checker)
            m_visible.start();
    });
    Recheck();
}

void TSpellHighlighter::SetChecker(const platform::TSpellChecker *checker)
{
    m_checker = checker;
    Recheck();
}

void TSpellHighlighter::Recheck()
{
    ++m_round;
    m_checkerGeneration = m_checker ? m_checker->Generation() : 0;
    m_scanPosition = 0;
    m_editPosition = -1;
    if (!m_checker) {
        m_visible.stop();
        m_idle.stop();
        setUnderlines({});
        return;
    }
    m_visible.start();
    m_idle.start();
}

bool TSpellHighlighter::isChecked(const QTextBlock &block) const
{
    const SpellBlockData *data = dataOf(block);
    return data && data->round == m_round && data->dirtyFrom < 0;
}

bool TSpellHighlighter::Finished() const
{
    return !m_checker || (m_editor->document() == m_document && !m_idle.isActive() && !m_visible.isActive());
}

int TSpellHighlighter::CheckedBlocks() const
{
    if (m_editor->document() != m_document)
        return 0;
    int count = 0;
    for (QTextBlock b = m_document->begin(); b.isValid(); b = b.next())
        count += isChecked(b) ? 1 : 0;
    return count;
}

void TSpellHighlighter::contentsChange(int position, int removed, int added)
{
    if (!m_checker)
        return;
    m_editPosition = position + added;
    const QTextBlock first = m_document->findBlock(position);
    const QTextBlock last = m_document->findBlock(position + added);
    SpellBlockData *data = dataOf(first);
    if (first == last && data && data->round == m_round) {
        const int local = position - first.position();
        const int delta = added - removed;
        for (auto it = data->wrong.begin(); it != data->wrong.end();) {
            if (it->end() < local) {
                ++it;
            } else if (it->start > local + removed) {
                it->start += delta;
                ++it;
            } else {
                it = data->wrong.erase(it);
            }
        }
        if (data->dirtyFrom < 0) {
            data->dirtyFrom = local;
            data->dirtyTo = local + added;
        } else {
            if (data->dirtyTo > local)
                data->dirtyTo = qMax(local, data->dirtyTo + delta);
            data->dirtyFrom = qMin(data->dirtyFrom, local);
            data->dirtyTo = qMax(data->dirtyTo, local + added);
        }
    } else {
        for (QTextBlock b = first; b.isValid(); b = b.next()) {
            if (SpellBlockData *d = dataOf(b))
                d->round = -1;
            if (b == last)
                break;
        }
        if (position < m_scanPosition) {
            m_scanPosition = position;
            m_idle.start();
        }
    }
    m_visible.start();
}

const QList<platform::TWordRange> &TSpellHighlighter::verdict(QTextBlock block)
{
    SpellBlockData *data = dataOf(block);
    if (data && data->round == m_round && data->dirtyFrom < 0)
        return data->wrong;
    if (!data) {
        data = new SpellBlockData;
        block.setUserData(data);
    }
    const QString text = block.text();
    if (data->round != m_round) {
        data->wrong = m_checker->Misspelled(text);
    } else {
        int from = data->dirtyFrom;
        int to = data->dirtyTo;
        growToWhiteSpace(text, from, to);
        data->wrong.removeIf([&](const platform::TWordRange &w) { return w.start < to && from < w.end(); });
        QList<platform::TWordRange> found = m_checker->Misspelled(QStringView(text).mid(from, to - from));
        auto at = std::find_if(data->wrong.begin(), data->wrong.end(), [&](const platform::TWordRange &w) {
            return w.start >= to;
        });
        int index = int(at - data->wrong.begin());
        for (platform::TWordRange w : found) {
            w.start += from;
            data->wrong.insert(index++, w);
        }
    }
    data->round = m_round;
    data->dirtyFrom = data->dirtyTo = -1;
    return data->wrong;
}

void TSpellHighlighter::updateVisible()
{
    followDocument();
    if (!m_checker)
        return;
    if (m_checker->Generation() != m_checkerGeneration)
        Recheck();
    // Asking for a paragraph's place lays the card out up to it, so only
    // paragraphs near the screen are asked: the caret's, when it is on the
    // screen (it is while typing), else the one the hit test finds at the
    // top, and from there the neighbours.
    const QAbstractTextDocumentLayout *layout = m_document->documentLayout();
    const int top = m_editor->verticalScrollBar()->value();
    const int bottom = top + m_editor->viewport()->height();
    auto onScreen = [&](const QTextBlock &b) {
        const QRectF r = layout->blockBoundingRect(b);
        return r.bottom() >= top && r.top() <= bottom;
    };
    QTextBlock first = m_editor->textCursor().block();
    if (!onScreen(first))
        first = m_editor->cursorForPosition(QPoint(0, 0)).block();
    // Paragraphs hidden by the editor's window over a big card have no place.
    while (first.previous().isValid() && first.previous().isVisible() &&
           layout->blockBoundingRect(first.previous()).bottom() >= top)
        first = first.previous();
    QTextBlock last = first;
    while (last.next().isValid() && last.next().isVisible() && layout->blockBoundingRect(last.next()).top() < bottom)
        last = last.next();
    showUnderlines(first, last);
}

void TSpellHighlighter::showUnderlines(const QTextBlock &first, const QTextBlock &last)
{
    const int caret = m_editor->textCursor().position();
    QList<QTextCursor> underlines;
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        for (const platform::TWordRange &w : verdict(b)) {
            const int from = b.position() + w.start;
            const int to = from + w.length;
            // The word being typed is not wrong yet.
            if (m_editPosition >= from && m_editPosition <= to && caret >= from && caret <= to)
                continue;
            QTextCursor word(m_document);
            word.setPosition(from);
            word.setPosition(to, QTextCursor::KeepAnchor);
            underlines.append(word);
        }
        if (b == last)
            break;
    }
    setUnderlines(std::move(underlines));
}

void TSpellHighlighter::setUnderlines(QList<QTextCursor> underlines)
{
    // The cursors move with the text, so an edit leaves the kept ones right;
    // only words that came or went are drawn anew (the editor repaints the
    // lines it changed, and the layer above them with them).
    auto same = [](const QTextCursor &a, const QTextCursor &b) {
        return a.selectionStart() == b.selectionStart() && a.selectionEnd() == b.selectionEnd();
    };
    QRect dirty;
    for (const QTextCursor &old : m_underlines)
        if (std::none_of(underlines.begin(), underlines.end(), [&](const QTextCursor &c) { return same(c, old); }))
            dirty |= boundsOf(underlineOf(*m_editor, old));
    for (const QTextCursor &now : underlines)
        if (std::none_of(m_underlines.begin(), m_underlines.end(), [&](const QTextCursor &c) { return same(c, now); }))
            dirty |= boundsOf(underlineOf(*m_editor, now));
    m_underlines = std::move(underlines);
    if (!dirty.isEmpty())
        m_layer->update(dirty);
}

void TSpellHighlighter::idleSlice()
{
    if (followDocument())
        return;
    if (!m_checker) {
        m_idle.stop();
        return;
    }
    if (m_checker->Generation() != m_checkerGeneration)
        Recheck();
    QElapsedTimer clock;
    clock.start();
    QTextBlock b = m_document->findBlock(m_scanPosition);
    while (b.isValid() && clock.elapsed() < kSliceMs) {
        verdict(b);
        b = b.next();
    }
    if (b.isValid()) {
        m_scanPosition = b.position();
    } else {
        m_scanPosition = m_document->characterCount();
        m_idle.stop();
    }
}

QTextCursor TSpellHighlighter::MisspelledWordAt(int position)
{
    followDocument();
    if (!m_checker)
        return {};
    const QTextBlock block = m_document->findBlock(position);
    if (!block.isValid())
        return {};
    for (const platform::TWordRange &w : verdict(block)) {
        const int from = block.position() + w.start;
        if (position >= from && position <= from + w.length) {
            QTextCursor word(m_document);
            word.setPosition(from);
            word.setPosition(from + w.length, QTextCursor::KeepAnchor);
            return word;
        }
    }
    return {};
}

} // namespace controls
