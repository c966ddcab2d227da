// Where the tabs of the row go: measured once per caption, laid out in one
// row, in rows of tabs or in rows of buttons, and kept until something
// that moves them changes.

#include "tabcontrol.h"

#include "tabmetrics.h"

#include <algorithm>

namespace controls {

using namespace tabmetrics;

namespace {
QString visibleCaption(const QString &caption)
{
    // "&" marks the mnemonic and is not drawn; "&&" is a literal ampersand.
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption.at(i);
    }
    return out;
}
} // namespace

int TTabControl::rowHeight() const
{
    const int text = fontMetrics().height() + 2 * kTabPaddingY;
    return m_style == tsTabs ? text : text + 2;
}

int TTabControl::tabWidth(const QString &caption) const
{
    return qMax(kMinTabWidth, fontMetrics().horizontalAdvance(visibleCaption(caption)) + 2 * kTabPaddingX);
}

TTabControl::RowMetrics TTabControl::rowMetrics() const
{
    RowMetrics m;
    m.height = rowHeight();
    m.gap = m_style == tsTabs ? 0 : kButtonGap;
    m.left = m_style == tsTabs ? 2 : 0;
    m.avail = qMax(1, width() - 2 * m.left);
    return m;
}

TTabControl::Layout TTabControl::computeLayout() const
{
    if (TabCount() == 0)
        return Layout(); // no strip either: the display area starts at the top
    const RowMetrics m = rowMetrics();
    const int rowGap = m_style == tsTabs ? 0 : m.gap;
    Layout l = m_multiLine ? layoutRows(m, rowGap) : layoutOneRow(m);
    l.stripHeight = 2 + l.rows * m.height + (l.rows - 1) * rowGap;
    if (l.rowsScroll) {
        const int y = 2 + (m.height - kScrollButton) / 2;
        l.scrollDown = QRect(width() - m.left - kScrollButton, y, kScrollButton, kScrollButton);
        l.scrollUp = l.scrollDown.translated(-kScrollButton, 0);
    }
    return l;
}

int TTabControl::rowsThatFit(const RowMetrics &m, int rowGap) const
{
    // The strip may take about half of the control, the rest stays the
    // editor's (and the find bar's in it).
    const int room = height() / 2 - 2;
    return qMax(1, (room + rowGap) / (m.height + rowGap));
}

TTabControl::Layout TTabControl::layoutOneRow(const RowMetrics &m) const
{
    // The row starts at the first visible tab; when it does not fit, the
    // arrows at its right end take the room of two buttons.
    Layout l;
    const int count = TabCount();
    l.rects.resize(count);
    l.rows = 1;
    int total = 0;
    for (int i = 0; i < count; ++i)
        total += m_widths.at(i) + m.gap;
    l.scrolls = total - m.gap > m.avail;
    const int limit = l.scrolls ? m.avail - 2 * kScrollButton : m.avail;
    int x = m.left;
    for (int i = m_firstVisible; i < count; ++i) {
        const int w = m_widths.at(i);
        if (l.scrolls && i > m_firstVisible && x + w > m.left + limit)
            break;
        l.rects[i] = QRect(x, 2, w, m.height);
        x += w + m.gap;
    }
    if (l.scrolls) {
        const int y = 2 + (m.height - kScrollButton) / 2;
        l.scrollRight = QRect(width() - kScrollButton, y, kScrollButton, kScrollButton);
        l.scrollLeft = l.scrollRight.translated(-kScrollButton, 0);
    }
    return l;
}

TTabControl::Layout TTabControl::layoutRows(const RowMetrics &m, int rowGap) const
{
    // Tabs: the selected tab's row moves down next to the display area,
    // which it opens into; the rows touch. Buttons stay in their order, a
    // gap between the rows as between the buttons.
    Layout l;
    Rows rows = breakIntoRows(m);
    const int fit = rowsThatFit(m, rowGap);
    RowMetrics narrow = m;
    if (rows.size() > fit) {
        // The arrows take the right end of the rows.
        l.rowsScroll = true;
        narrow.avail = qMax(1, m.avail - 2 * kScrollButton - m.gap);
        rows = breakIntoRows(narrow);
    }
    int pinned = -1;
    for (int r = 0; m_tabIndex >= 0 && r < rows.size(); ++r)
        if (rows[r].contains(m_tabIndex))
            pinned = r;
    if (m_style == tsTabs && pinned >= 0) {
        rows.append(rows.takeAt(pinned));
        pinned = int(rows.size()) - 1;
    }
    if (!l.rowsScroll) {
        placeRows(l, rows, m, rowGap);
        return l;
    }
    // A window of the other rows scrolls; the selected tab's row always
    // shows, at the bottom with tabs, in its place with buttons.
    QVector<int> others;
    for (int r = 0; r < rows.size(); ++r)
        if (r != pinned)
            others.append(r);
    const int window = qMax(1, pinned >= 0 ? fit - 1 : fit);
    l.lastFirstRow = qMax(0, int(others.size()) - window);
    l.firstRow = qBound(0, m_firstRow, l.lastFirstRow);
    QVector<int> shownRows = others.mid(l.firstRow, window);
    if (pinned >= 0) {
        shownRows.append(pinned);
        std::sort(shownRows.begin(), shownRows.end());
    }
    Rows shown;
    for (const int r : std::as_const(shownRows))
        shown.append(rows[r]);
    placeRows(l, shown, narrow, rowGap);
    return l;
}

TTabControl::Rows TTabControl::breakIntoRows(const RowMetrics &m) const
{
    // Fill rows left to right; a tab wider than the row gets a row of its own.
    Rows rows(1);
    int x = 0;
    for (int i = 0; i < TabCount(); ++i) {
        const int w = m_widths.at(i);
        if (x > 0 && x + w > m.avail) {
            rows.append(QVector<int>());
            x = 0;
        }
        rows.last().append(i);
        x += w + m.gap;
    }
    return rows;
}

void TTabControl::placeRows(Layout &l, const Rows &rows, const RowMetrics &m, int rowGap) const
{
    // Without ragged right, the tabs of each row share what the row leaves
    // over, so every row ends at the right edge; a single row never stretches.
    l.rects.resize(TabCount());
    l.rows = int(rows.size());
    const bool stretch = !m_raggedRight && rows.size() > 1;
    for (int r = 0; r < rows.size(); ++r) {
        const QVector<int> &row = rows[r];
        int used = 0;
        for (int i : row)
            used += m_widths.at(i) + m.gap;
        const int extra = stretch ? qMax(0, m.avail - used + m.gap) : 0;
        int x = m.left;
        for (int k = 0; k < row.size(); ++k) {
            int w = m_widths.at(row[k]);
            if (stretch)
                w += extra / int(row.size()) + (k < extra % int(row.size()) ? 1 : 0);
            l.rects[row[k]] = QRect(x, 2 + r * (m.height + rowGap), w, m.height);
            x += w + m.gap;
        }
    }
}

void TTabControl::ScrollRows(int steps)
{
    if (!m_layout.rowsScroll)
        return;
    const int first = qBound(0, m_layout.firstRow + steps, m_layout.lastFirstRow);
    if (first == m_layout.firstRow)
        return;
    m_firstRow = first;
    relayout();
}

void TTabControl::relayout()
{
    if (!m_multiLine)
        ensureSelectedVisible();
    m_layout = computeLayout();
    m_rowCount = m_layout.rows;
    if (m_display)
        m_display->setGeometry(DisplayRect());
    update();
}

void TTabControl::ensureSelectedVisible()
{
    if (m_tabIndex < 0)
        return;
    if (m_tabIndex < m_firstVisible) {
        m_firstVisible = m_tabIndex;
        return;
    }
    // The first visible tab moves right until the selected one fits, as
    // layoutOneRow places them.
    const RowMetrics m = rowMetrics();
    qint64 total = 0;
    for (const int w : std::as_const(m_widths))
        total += w + m.gap;
    if (total - m.gap <= m.avail)
        return; // no scrolling: every tab from the first visible one shows
    const int limit = m.avail - 2 * kScrollButton;
    qint64 span = m_widths.at(m_tabIndex); // from the first visible tab to the end of the selected one
    for (int i = m_firstVisible; i < m_tabIndex; ++i)
        span += m_widths.at(i) + m.gap;
    while (m_firstVisible < m_tabIndex && span > limit) {
        span -= m_widths.at(m_firstVisible) + m.gap;
        ++m_firstVisible;
    }
}

QRect TTabControl::DisplayRect() const
{
    const int top = m_layout.stripHeight;
    QRect r(0, top, width(), height() - top);
    if (m_style == tsTabs)
        r.adjust(kFrame + 2, kFrame + 2, -(kFrame + 2), -(kFrame + 2));
    else
        r.adjust(0, 2, 0, 0);
    // The display area starts two pixels below the adjusted rectangle.
    r.setTop(r.top() + 2);
    if (r.height() < 0)
        r.setHeight(0);
    if (r.width() < 0)
        r.setWidth(0);
    return r;
}

QRect TTabControl::TabRect(int index) const { return m_layout.rects.value(index); }

int TTabControl::TabAt(const QPoint &pos) const
{
    for (int i = 0; i < m_layout.rects.size(); ++i)
        if (m_layout.rects[i].contains(pos))
            return i;
    return -1;
}

} // namespace controls
