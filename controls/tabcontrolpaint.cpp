// How the tab row is drawn: each tab from its TTabOption alone.

#include "tabcontrol.h"

#include "tabmetrics.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

namespace controls {

using namespace tabmetrics;

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
            paintTab(p, TabOption(i));
    if (m_tabIndex >= 0 && !m_layout.rects.value(m_tabIndex).isEmpty())
        paintTab(p, TabOption(m_tabIndex));
    if (m_layout.scrolls)
        paintScrollButtons(p, m_layout.scrollLeft, m_layout.scrollRight, false);
    if (m_layout.rowsScroll)
        paintScrollButtons(p, m_layout.scrollUp, m_layout.scrollDown, true);
}

TTabOption TTabControl::TabOption(int index) const
{
    TTabOption tab;
    tab.initFrom(this);
    tab.rect = m_layout.rects.value(index);
    tab.index = index;
    tab.caption = m_tabs.value(index);
    tab.tabStyle = m_style;
    tab.selected = index == m_tabIndex;
    tab.hot = m_hotTrack && index == m_hotIndex && isEnabled();
    tab.focused = tab.selected && hasFocus();
    const QRect next = m_layout.rects.value(index + 1);
    tab.separatorAfter = m_style == tsFlatButtons && !next.isEmpty() && next.top() == tab.rect.top();
    return tab;
}

namespace {
// A style option of the kind the style wants, with the control's part of the tab's.
template <class Option>
Option styleOptionOf(const TTabOption &tab)
{
    Option option;
    option.state = tab.state;
    option.direction = tab.direction;
    option.rect = tab.rect;
    option.fontMetrics = tab.fontMetrics;
    option.palette = tab.palette;
    option.styleObject = tab.styleObject;
    return option;
}
} // namespace

void TTabControl::paintTab(QPainter &p, const TTabOption &tab) const
{
    const QRect textRect = tab.tabStyle == tsTabs ? paintTabShape(p, tab) : paintButtonShape(p, tab);
    const bool highlighted = tab.tabStyle == tsTabs && tab.hot && !tab.selected;
    p.setPen(tab.palette.color(highlighted ? QPalette::Highlight : QPalette::ButtonText));
    p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, tab.caption);
    if (tab.focused) {
        auto focus = styleOptionOf<QStyleOptionFocusRect>(tab);
        focus.rect = textRect.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

QRect TTabControl::paintTabShape(QPainter &p, const TTabOption &tab) const
{
    // The selected tab stands out of the row by two pixels and opens into
    // the frame below it.
    auto shape = styleOptionOf<QStyleOptionTab>(tab);
    shape.shape = QTabBar::RoundedNorth;
    if (tab.selected) {
        shape.state |= QStyle::State_Selected;
        shape.rect.adjust(-2, -2, 2, 1);
    }
    if (tab.hot)
        shape.state |= QStyle::State_MouseOver;
    else
        shape.state &= ~QStyle::State_MouseOver;
    style()->drawControl(QStyle::CE_TabBarTabShape, &shape, &p, this);
    return shape.rect;
}

QRect TTabControl::paintButtonShape(QPainter &p, const TTabOption &tab) const
{
    // A button is pressed in while selected; a flat one shows its face only
    // then or under the mouse, and a line stands between it and the next.
    auto button = styleOptionOf<QStyleOptionButton>(tab);
    button.state &= ~QStyle::State_MouseOver;
    QRect textRect = tab.rect;
    if (tab.selected) {
        button.state |= QStyle::State_Sunken | QStyle::State_On;
        textRect.translate(1, 1);
    } else {
        button.state |= QStyle::State_Raised;
    }
    if (tab.hot)
        button.state |= QStyle::State_MouseOver;
    if (tab.tabStyle == tsButtons || tab.selected) {
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, &p, this);
    } else if (tab.hot) {
        auto tool = styleOptionOf<QStyleOptionToolButton>(tab);
        tool.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_MouseOver | QStyle::State_AutoRaise;
        style()->drawPrimitive(QStyle::PE_PanelButtonTool, &tool, &p, this);
    }
    if (tab.separatorAfter) {
        const QRect &r = tab.rect;
        const int x = r.right() + 1 + kButtonGap / 2;
        p.setPen(tab.palette.color(QPalette::Dark));
        p.drawLine(x - 1, r.top() + 2, x - 1, r.bottom() - 2);
        p.setPen(tab.palette.color(QPalette::Light));
        p.drawLine(x, r.top() + 2, x, r.bottom() - 2);
    }
    return textRect;
}

void TTabControl::paintScrollButtons(QPainter &p, const QRect &back, const QRect &forward, bool vertical) const
{
    const QRect rects[2] = {back, forward};
    const QStyle::PrimitiveElement arrows[2] = {vertical ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowLeft,
                                                vertical ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowRight};
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
