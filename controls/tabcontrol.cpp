// The tab row's captions, selection, properties and input; its layout is
// in tabcontrollayout.cpp, its painting in tabcontrolpaint.cpp.

#include "tabcontrol.h"

#include "guarded.h"
#include "exception.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QWheelEvent>

namespace controls {

TTabControl::TTabControl(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);

    // Forth with Ctrl+Tab and Ctrl+PgDown, back with Ctrl+Shift+Tab and
    // Ctrl+PgUp, as in a browser's tabs.
    const struct {
        QKeyCombination key;
        int step;
    } keys[] = {{Qt::CTRL | Qt::Key_Tab, +1},
                {Qt::CTRL | Qt::Key_PageDown, +1},
                {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
                {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
                {Qt::CTRL | Qt::Key_PageUp, -1}};
    for (const auto &key : keys) {
        auto *shortcut = new QShortcut(QKeySequence(key.key), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        const int step = key.step;
        connect(shortcut, &QShortcut::activated, this, [this, step] { selectRelative(step); });
    }
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
    const Current before = current();
    m_tabs[index] = caption;
    m_widths[index] = tabWidth(caption);
    tabsChanged();
    announce(QAccessible::NameChanged, index);
    currentMoved(before);
}

void TTabControl::DeleteTab(int index)
{
    if (index < 0 || index >= TabCount())
        throw platform::Exception(QStringLiteral("Registerseite mit Index %1 konnte nicht gelöscht werden").arg(index));
    const Current before = current();
    // Told while the tab is still there to be named.
    announce(QAccessible::ObjectDestroyed, index);
    m_tabs.removeAt(index);
    m_keys.removeAt(index);
    m_widths.removeAt(index);
    if (m_tabIndex == index)
        m_tabIndex = -1;
    else if (m_tabIndex > index)
        --m_tabIndex;
    m_hotIndex = -1;
    m_firstVisible = qBound(0, m_firstVisible, qMax(0, TabCount() - 1));
    tabsChanged();
    currentMoved(before);
}

void TTabControl::AddTab(const QString &caption)
{
    const Current before = current();
    m_tabs.append(caption);
    m_keys.append(newKey());
    m_widths.append(tabWidth(caption));
    if (m_tabs.size() == 1)
        m_tabIndex = 0;
    tabsChanged();
    announce(QAccessible::ObjectCreated, TabCount() - 1);
    currentMoved(before);
}

void TTabControl::InsertTab(int index, const QString &caption)
{
    const Current before = current();
    index = qBound(0, index, TabCount());
    m_tabs.insert(index, caption);
    // Every tab keeps its key, so assistive tools still find each tab.
    m_keys.insert(index, newKey());
    m_widths.insert(index, tabWidth(caption));
    if (m_tabs.size() == 1)
        m_tabIndex = 0;
    else if (m_tabIndex >= index)
        ++m_tabIndex;
    m_hotIndex = -1;
    tabsChanged();
    announce(QAccessible::ObjectCreated, index);
    currentMoved(before);
}

void TTabControl::MoveTab(int from, int to)
{
    if (from < 0 || from >= TabCount())
        throw platform::Exception(QStringLiteral("Registerseite mit Index %1 konnte nicht verschoben werden").arg(from));
    to = qBound(0, to, TabCount() - 1);
    if (from == to)
        return;
    m_tabs.move(from, to);
    m_keys.move(from, to);
    m_widths.move(from, to);
    // The selected tab stays selected wherever it goes.
    m_tabIndex = IndexAfterMove(m_tabIndex, from, to);
    m_hotIndex = -1;
    tabsChanged();
}

void TTabControl::AssignTabs(const QStringList &captions)
{
    ClearTabs();
    const Current before = current();
    m_tabs = captions;
    m_keys.resize(m_tabs.size());
    for (quint64 &key : m_keys)
        key = newKey();
    measureTabs();
    if (!m_tabs.isEmpty())
        m_tabIndex = 0;
    tabsChanged();
    announceAll(QAccessible::ObjectCreated);
    currentMoved(before);
}

void TTabControl::ClearTabs()
{
    const Current before = current();
    announceAll(QAccessible::ObjectDestroyed);
    m_tabs.clear();
    m_keys.clear();
    m_widths.clear();
    m_tabIndex = -1;
    m_hotIndex = -1;
    m_firstVisible = 0;
    m_firstRow = 0;
    tabsChanged();
    currentMoved(before);
}

void TTabControl::SetTabIndex(int index)
{
    if (index < -1 || index >= TabCount() || index == m_tabIndex)
        return;
    const Current before = current();
    m_tabIndex = index;
    relayout();
    currentMoved(before);
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
    const Current before = current();
    m_tabIndex = index;
    relayout();
    currentMoved(before);
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
    m_firstRow = 0;
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
    if (m_layout.rowsScroll && (m_layout.scrollUp.contains(pos) || m_layout.scrollDown.contains(pos))) {
        ScrollRows(m_layout.scrollUp.contains(pos) ? -1 : +1);
        return;
    }
    const int index = TabAt(pos);
    if (index >= 0)
        SelectByUser(index);
}

void TTabControl::wheelEvent(QWheelEvent *event)
{
    // Over the strip the wheel scrolls its rows, one per notch.
    const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (!m_layout.rowsScroll || notches == 0 || event->position().y() >= m_layout.stripHeight) {
        QWidget::wheelEvent(event);
        return;
    }
    ScrollRows(-notches);
    event->accept();
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

} // namespace controls
