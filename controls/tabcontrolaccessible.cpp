// The tab row's accessibility interfaces and the events it sends them.

#include "tabcontrolaccessible.h"

#include "tabcontrol.h"

#include "dialoglayout.h"
#include "guarded.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QSet>

namespace controls {

namespace {

// One tab. It follows its tab by the tab's key, so it keeps naming the same
// card while others are added or deleted, and is invalid once its tab is gone.
class TAccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TAccessibleTab(TTabControl *row, quint64 key) : m_row(row), m_key(key) {}

    TTabControl *row() const { return m_row; }
    int index() const { return m_row ? m_row->IndexOfTabKey(m_key) : -1; }

    bool isValid() const override { return index() >= 0; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        const QAccessibleInterface *up = parent();
        return up ? up->window() : nullptr;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return m_row ? QAccessible::queryAccessibleInterface(m_row) : nullptr; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return {};
        return platform::StripMnemonic(m_row->Tabs().at(index()));
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        const QRect local = isValid() ? m_row->TabRect(index()) : QRect();
        return local.isEmpty() ? QRect() : QRect(m_row->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        const int at = index();
        if (at < 0) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.selected = at == m_row->TabIndex();
        s.focusable = m_row->focusPolicy() != Qt::NoFocus;
        s.focused = s.selected && m_row->hasFocus();
        s.disabled = !m_row->isEnabled();
        // Scrolled out of a single row, or the row itself hidden.
        if (m_row->TabRect(at).isEmpty() || !m_row->isVisible())
            s.invisible = s.offscreen = true;
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override
    {
        if (!isValid() || !m_row->isEnabled())
            return {};
        return {pressAction()};
    }
    void doAction(const QString &name) override
    {
        if (name != pressAction() || !isValid() || !m_row->isEnabled())
            return;
        // The user's pick, as by a click: the leaving card is kept first.
        platform::Guarded([this] { m_row->SelectByUser(index()); });
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<TTabControl> m_row;
    quint64 m_key;
};

// The row: its tabs first, then its child widgets (the display area).
class TAccessibleTabRow : public QAccessibleWidget {
public:
    explicit TAccessibleTabRow(TTabControl *row) : QAccessibleWidget(row, QAccessible::PageTabList) {}
    ~TAccessibleTabRow() override
    {
        for (const QAccessible::Id id : std::as_const(m_tabs))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return row()->TabCount() + QAccessibleWidget::childCount(); }
    QAccessibleInterface *child(int index) const override
    {
        const int tabs = row()->TabCount();
        if (index < 0)
            return nullptr;
        return index < tabs ? tab(row()->TabKey(index)) : QAccessibleWidget::child(index - tabs);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (const auto *t = dynamic_cast<const TAccessibleTab *>(child))
            return t->row() == row() ? t->index() : -1;
        const int widget = QAccessibleWidget::indexOfChild(child);
        return widget < 0 ? -1 : row()->TabCount() + widget;
    }
    QAccessibleInterface *focusChild() const override
    {
        if (row()->hasFocus() && row()->TabIndex() >= 0)
            return child(row()->TabIndex());
        return QAccessibleWidget::focusChild();
    }

private:
    TTabControl *row() const { return static_cast<TTabControl *>(widget()); }

    QAccessibleInterface *tab(quint64 key) const
    {
        if (const QAccessible::Id id = m_tabs.value(key))
            if (QAccessibleInterface *known = QAccessible::accessibleInterface(id))
                return known;
        forgetGoneTabs();
        auto *made = new TAccessibleTab(row(), key);
        m_tabs.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }
    // The interfaces of deleted tabs go once they outnumber the tabs.
    void forgetGoneTabs() const
    {
        if (m_tabs.size() <= 2 * row()->TabCount() + 8)
            return;
        QSet<quint64> present;
        for (int i = 0; i < row()->TabCount(); ++i)
            present.insert(row()->TabKey(i));
        for (auto it = m_tabs.begin(); it != m_tabs.end();) {
            if (present.contains(it.key())) {
                ++it;
            } else {
                QAccessible::deleteAccessibleInterface(it.value());
                it = m_tabs.erase(it);
            }
        }
    }

    mutable QHash<quint64, QAccessible::Id> m_tabs;
};

} // namespace

QAccessibleInterface *TabControlAccessibleFactory(const QString &, QObject *object)
{
    if (auto *row = qobject_cast<TTabControl *>(object))
        return new TAccessibleTabRow(row);
    return nullptr;
}

void TTabControl::announce(QAccessible::Event type, int index)
{
    // Qt delivers no event while no assistive tool listens; the check saves
    // making the tabs' interfaces for nothing.
    if (!QAccessible::isActive() || index < 0 || index >= TabCount())
        return;
    QAccessibleEvent event(this, type);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

void TTabControl::announceAll(QAccessible::Event type)
{
    for (int i = 0; QAccessible::isActive() && i < TabCount(); ++i)
        announce(type, i);
}

void TTabControl::currentMoved(const Current &before)
{
    const Current now = current();
    if (now == before)
        return;
    if (now.key != before.key && QAccessible::isActive()) {
        QAccessible::State selected;
        selected.selected = true;
        for (const int index : {IndexOfTabKey(before.key), m_tabIndex}) {
            if (index < 0)
                continue;
            QAccessibleStateChangeEvent change(this, selected);
            change.setChild(index);
            QAccessible::updateAccessibility(&change);
        }
        if (hasFocus())
            announce(QAccessible::Focus, m_tabIndex);
        announce(QAccessible::Selection, m_tabIndex);
    }
    emit CurrentTabChanged();
}

} // namespace controls
