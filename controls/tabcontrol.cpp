#include "tabcontrol.h"

#include "application.h"
#include "exception.h"

#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOption>

namespace controls {

namespace {
constexpr int kTabPaddingX = 6;    // blank space left and right of a caption
constexpr int kTabPaddingY = 3;    // above and below
constexpr int kButtonGap = 3;      // between button-style tabs
constexpr int kFrame = 2;          // the display area's frame
constexpr int kScrollButton = 16;  // the arrows of a single scrolling row
constexpr int kMinTabWidth = 24;

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

TTabControl::TTabControl(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);

    auto *next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, [this] { selectRelative(+1); });
    auto *prev = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this, nullptr, nullptr,
                               Qt::WidgetWithChildrenShortcut);
    connect(prev, &QShortcut::activated, this, [this] { selectRelative(-1); });
}

QString TTabControl::Tab(int index) const
{
    if (index < 0 || index >= TabCount())
        throw platform::Exception(QStringLiteral("Registerseite mit Index %1 konnte nicht gelesen werden").arg(index));
    return m_tabs.at(index);
}

void TTabControl::PutTab(int index, const QString &caption)
{
    if (index < 0 || index >= TabCount())
        throw platform::Exception(QStringLiteral("Registerseite '%1' mit Index %2 konnte nicht gesetzt werden").arg(caption).arg(index));
    m_tabs[index] = caption;
    m_widths[index] = tabWidth(caption);
    tabsChanged();
}

void TTabControl::DeleteTab(int index)
{
    if (index < 0 || index >= TabCount())
        throw platform::Exception(QStringLiteral("Registerseite mit Index %1 konnte nicht gelöscht werden").arg(index));
    m_tabs.removeAt(index);
    m_widths.removeAt(index);
    if (m_tabIndex == index)
        m_tabIndex = -1;
    else if (m_tabIndex > index)
        --m_tabIndex;
    m_hotIndex = -1;
    m_firstVisible = qBound(0, m_firstVisible, qMax(0, TabCount() - 1));
    tabsChanged();
}

void TTabControl::AddTab(const QString &caption)
{
    m_tabs.append(caption);
    m_widths.append(tabWidth(caption));
    if (m_tabs.size() == 1)
        m_tabIndex = 0;
    tabsChanged();
}

void TTabControl::AssignTabs(const QStringList &captions)
{
    ClearTabs();
    m_tabs = captions;
    measureTabs();
    if (!m_tabs.isEmpty())
        m_tabIndex = 0;
    tabsChanged();
}

void TTabControl::ClearTabs()
{
    m_tabs.clear();
    m_widths.clear();
    m_tabIndex = -1;
    m_hotIndex = -1;
    m_firstVisible = 0;
    tabsChanged();
}

void TTabControl::SetTabIndex(int index)
{
    if (index < -1 || index >= TabCount() || index == m_tabIndex)
        return;
    m_tabIndex = index;
    relayout();
}

bool TTabControl::SelectByUser(int index)
{
    if (index < 0 || index >= TabCount() || index == m_tabIndex)
        return false;
    bool allow = true;
    bool completed = false;
    // A leaving step that fails keeps the old tab: its text has not been kept.
    platform::Guarded([&] {
        if (OnChanging)
            OnChanging(this, allow);
        completed = true;
    });
    if (!completed || !allow)
        return false;
    m_tabIndex = index;
    relayout();
    platform::Guarded([&] {
        if (OnChange)
            OnChange(this);
    });
    return true;
}

void TTabControl::selectRelative(int step)
{
    const int count = TabCount();
    if (count < 2)
        return;
    const int from = m_tabIndex < 0 ? (step > 0 ? -1 : 0) : m_tabIndex;
    SelectByUser(((from + step) % count + count) % count);
}

void TTabControl::SetStyle(TTabStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    relayout();
}

void TTabControl::SetMultiLine(bool on)
{
    if (on == m_multiLine)
        return;
    m_multiLine = on;
    m_firstVisible = 0;
    relayout();
}

void TTabControl::SetHotTrack(bool on)
{
    if (on == m_hotTrack)
        return;
    m_hotTrack = on;
    update();
}

void TTabControl::SetRaggedRight(bool on)
{
    if (on == m_raggedRight)
        return;
    m_raggedRight = on;
    relayout();
}

void TTabControl::SetDisplayWidget(QWidget *widget)
{
    m_display = widget;
    if (m_display) {
        m_display->setParent(this);
        m_display->setGeometry(DisplayRect());
        m_display->show();
    }
}

void TTabControl::tabsChanged()
{
    rebuildMnemonics();
    relayout();
}

void TTabControl::measureTabs()
{
    m_widths.resize(m_tabs.size());
    for (int i = 0; i < TabCount(); ++i)
        m_widths[i] = tabWidth(m_tabs.at(i));
}

void TTabControl::rebuildMnemonics()
{
    qDeleteAll(m_mnemonics);
    m_mnemonics.clear();
    for (int i = 0; i < TabCount(); ++i) {
        const QKeySequence key = QKeySequence::mnemonic(m_tabs.at(i));
        if (key.isEmpty())
            continue;
        auto *shortcut = new QShortcut(key, this, nullptr, nullptr, Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, i] { SelectByUser(i); });
        m_mnemonics.append(shortcut);
    }
}

int TTabControl::rowHeight() const
{
    const int text = fontMetrics().height() + 2 * kTabPaddingY;
    return m_style == tsTabs ? text : text + 2;
}

int TTabControl::tabWidth(const QString &caption) const
{
    return qMax(kMinTabWidth, fontMetrics().horizontalAdvance(visibleCaption(caption)) + 2 * kTabPaddingX);
}

TTabControl::Layout TTabControl::computeLayout() const
{
    Layout l;
    const int count = TabCount();
    l.rects.resize(count);
    const int h = rowHeight();
    const int gap = m_style == tsTabs ? 0 : kButtonGap;
    const int left = m_style == tsTabs ? 2 : 0;
    const int avail = qMax(1, width() - 2 * left);
    if (count == 0)
        return l;

    if (m_multiLine) {
        // Fill rows left to right; a tab wider than the row gets a row of its own.
        QVector<QVector<int>> rows(1);
        int x = 0;
        for (int i = 0; i < count; ++i) {
            const int w = m_widths.at(i);
            if (x > 0 && x + w > avail) {
                rows.append(QVector<int>());
                x = 0;
            }
            rows.last().append(i);
            x += w + gap;
        }
        // With tabs, the selected row stands next to the display area.
        if (m_style == tsTabs && m_tabIndex >= 0) {
            for (int r = 0; r < rows.size(); ++r) {
                if (rows[r].contains(m_tabIndex)) {
                    rows.append(rows.takeAt(r));
                    break;
                }
            }
        }
        l.rows = int(rows.size());
        for (int r = 0; r < rows.size(); ++r) {
            const QVector<int> &row = rows[r];
            int used = 0;
            for (int i : row)
                used += m_widths.at(i) + gap;
            const bool stretch = !m_raggedRight && rows.size() > 1;
            const int extra = stretch ? qMax(0, avail - used + gap) : 0;
            int xx = left;
            for (int k = 0; k < row.size(); ++k) {
                int w = m_widths.at(row[k]);
                if (stretch)
                    w += extra / int(row.size()) + (k < extra % int(row.size()) ? 1 : 0);
                l.rects[row[k]] = QRect(xx, 2 + r * (h + (m_style == tsTabs ? 0 : gap)), w, h);
                xx += w + gap;
            }
        }
    } else {
        l.rows = 1;
        int total = 0;
        for (int i = 0; i < count; ++i)
            total += m_widths.at(i) + gap;
        l.scrolls = total - gap > avail;
        const int limit = l.scrolls ? avail - 2 * kScrollButton : avail;
        int x = left;
        for (int i = m_firstVisible; i < count; ++i) {
            const int w = m_widths.at(i);
            if (l.scrolls && i > m_firstVisible && x + w > left + limit)
                break;
            l.rects[i] = QRect(x, 2, w, h);
            x += w + gap;
        }
        if (l.scrolls) {
            const int y = 2 + (h - kScrollButton) / 2;
            l.scrollRight = QRect(width() - kScrollButton, y, kScrollButton, kScrollButton);
            l.scrollLeft = l.scrollRight.translated(-kScrollButton, 0);
        }
    }
    const int gapRows = m_style == tsTabs ? 0 : gap;
    l.stripHeight = 2 + l.rows * h + (l.rows - 1) * gapRows;
    return l;
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
    // The first visible tab moves right until the selected one fits, as the
    // single row's layout places them (see computeLayout).
    const int gap = m_style == tsTabs ? 0 : kButtonGap;
    const int left = m_style == tsTabs ? 2 : 0;
    const int avail = qMax(1, width() - 2 * left);
    qint64 total = 0;
    for (const int w : std::as_const(m_widths))
        total += w + gap;
    if (total - gap <= avail)
        return; // no scrolling: every tab from the first visible one shows
    const int limit = avail - 2 * kScrollButton;
    qint64 span = m_widths.at(m_tabIndex); // from the first visible tab to the end of the selected one
    for (int i = m_firstVisible; i < m_tabIndex; ++i)
        span += m_widths.at(i) + gap;
    while (m_firstVisible < m_tabIndex && span > limit) {
        span -= m_widths.at(m_firstVisible) + gap;
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

QSize TTabControl::sizeHint() const { return QSize(200, 120); }
QSize TTabControl::minimumSizeHint() const { return QSize(0, 0); }

void TTabControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void TTabControl::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        measureTabs();
        relayout();
    }
}

void TTabControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (m_layout.scrolls && m_layout.scrollLeft.contains(pos)) {
        if (m_firstVisible > 0) {
            --m_firstVisible;
            m_layout = computeLayout();
            update();
        }
        return;
    }
    if (m_layout.scrolls && m_layout.scrollRight.contains(pos)) {
        if (m_layout.rects.value(TabCount() - 1).isEmpty()) {
            ++m_firstVisible;
            m_layout = computeLayout();
            update();
        }
        return;
    }
    const int index = TabAt(pos);
    if (index >= 0)
        SelectByUser(index);
}

void TTabControl::mouseMoveEvent(QMouseEvent *event)
{
    setHot(TabAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void TTabControl::leaveEvent(QEvent *event)
{
    setHot(-1);
    QWidget::leaveEvent(event);
}

void TTabControl::setHot(int index)
{
    if (index == m_hotIndex)
        return;
    m_hotIndex = index;
    if (m_hotTrack)
        update();
}

void TTabControl::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        if (m_tabIndex > 0)
            SelectByUser(m_tabIndex - 1);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        if (m_tabIndex + 1 < TabCount())
            SelectByUser(m_tabIndex + 1);
        return;
    case Qt::Key_Home:
        SelectByUser(0);
        return;
    case Qt::Key_End:
        SelectByUser(TabCount() - 1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TTabControl::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    if (m_style == tsTabs) {
        QStyleOptionTabWidgetFrame frame;
        frame.initFrom(this);
        frame.rect = QRect(0, m_layout.stripHeight, width(), height() - m_layout.stripHeight);
        frame.shape = QTabBar::RoundedNorth;
        frame.lineWidth = kFrame;
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
    }
    // The selected tab last, so it overlaps its neighbours.
    // Many rows of tabs reach far below the widget; only what shows is drawn,
    // with room for what a tab draws beside itself (the flat buttons' line).
    const QRect exposed = event->rect().adjusted(-2 * kButtonGap, -2, 2 * kButtonGap, 2);
    for (int i = 0; i < TabCount(); ++i)
        if (i != m_tabIndex && m_layout.rects[i].intersects(exposed))
            paintTab(p, i, m_layout.rects[i]);
    if (m_tabIndex >= 0 && !m_layout.rects.value(m_tabIndex).isEmpty())
        paintTab(p, m_tabIndex, m_layout.rects[m_tabIndex]);
    if (m_layout.scrolls)
        paintScrollButtons(p);
}

void TTabControl::paintTab(QPainter &p, int index, const QRect &rect) const
{
    const bool selected = index == m_tabIndex;
    const bool hot = m_hotTrack && index == m_hotIndex && isEnabled();
    QRect textRect = rect;
    QColor textColor = palette().color(QPalette::ButtonText);

    if (m_style == tsTabs) {
        QStyleOptionTab tab;
        tab.initFrom(this);
        tab.shape = QTabBar::RoundedNorth;
        tab.rect = rect;
        if (selected) {
            tab.state |= QStyle::State_Selected;
            tab.rect.adjust(-2, -2, 2, 1);
        }
        if (hot)
            tab.state |= QStyle::State_MouseOver;
        else
            tab.state &= ~QStyle::State_MouseOver;
        style()->drawControl(QStyle::CE_TabBarTabShape, &tab, &p, this);
        if (hot && !selected)
            textColor = palette().color(QPalette::Highlight);
        textRect = tab.rect;
    } else {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = rect;
        button.state &= ~QStyle::State_MouseOver;
        if (selected) {
            button.state |= QStyle::State_Sunken | QStyle::State_On;
            textRect.translate(1, 1);
        } else {
            button.state |= QStyle::State_Raised;
        }
        if (hot)
            button.state |= QStyle::State_MouseOver;
        if (m_style == tsButtons || selected) {
            style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, &p, this);
        } else if (hot) {
            QStyleOptionToolButton tool;
            tool.initFrom(this);
            tool.rect = rect;
            tool.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_MouseOver | QStyle::State_AutoRaise;
            style()->drawPrimitive(QStyle::PE_PanelButtonTool, &tool, &p, this);
        }
        if (m_style == tsFlatButtons && index + 1 < TabCount() && !m_layout.rects.value(index + 1).isEmpty()
            && m_layout.rects[index + 1].top() == rect.top()) {
            // Flat buttons stand apart by an etched line.
            const int x = rect.right() + 1 + kButtonGap / 2;
            p.setPen(palette().color(QPalette::Dark));
            p.drawLine(x - 1, rect.top() + 2, x - 1, rect.bottom() - 2);
            p.setPen(palette().color(QPalette::Light));
            p.drawLine(x, rect.top() + 2, x, rect.bottom() - 2);
        }
    }
    p.setPen(textColor);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, m_tabs.at(index));
    if (selected && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textRect.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void TTabControl::paintScrollButtons(QPainter &p) const
{
    const QRect rects[2] = {m_layout.scrollLeft, m_layout.scrollRight};
    const QStyle::PrimitiveElement arrows[2] = {QStyle::PE_IndicatorArrowLeft, QStyle::PE_IndicatorArrowRight};
    for (int k = 0; k < 2; ++k) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = rects[k];
        button.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = rects[k].adjusted(3, 3, -3, -3);
        style()->drawPrimitive(arrows[k], &arrow, &p, this);
    }
}

} // namespace controls
