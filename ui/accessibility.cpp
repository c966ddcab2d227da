#include "accessibility.h"

#include "buttonaccessible.h"
#include "clickable.h"
#include "tabcontrolaccessible.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace ui {

namespace {

class TAccessibleLink : public QAccessibleWidget {
public:
    TAccessibleLink(QWidget *widget, TClickTarget *target) : QAccessibleWidget(widget, QAccessible::Link), m_target(target) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        if (const auto *label = qobject_cast<const QLabel *>(widget()))
            return label->text();
        const auto *label = widget()->findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
        return label ? label->text() : QString();
    }
    // A link is one thing to press; the label that draws its text is no
    // second one.
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }

    QStringList actionNames() const override { return widget()->isEnabled() ? QStringList{pressAction()} : QStringList(); }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && widget()->isEnabled())
            m_target->Click();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    TClickTarget *m_target;
};

} // namespace

QAccessibleInterface *ClickableAccessibleFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    auto *target = dynamic_cast<TClickTarget *>(object);
    return widget && target ? new TAccessibleLink(widget, target) : nullptr;
}

void InstallAccessibleFactories()
{
    QAccessible::installFactory(controls::TabControlAccessibleFactory);
    QAccessible::installFactory(widgets::ButtonAccessibleFactory);
    QAccessible::installFactory(ClickableAccessibleFactory);
}

} // namespace ui
