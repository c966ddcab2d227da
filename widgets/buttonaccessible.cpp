#include "buttonaccessible.h"

#include "abstractbutton.h"
#include "dialoglayout.h"
#include "guarded.h"
#include "speedbar.h"

#include <QAccessibleWidget>

namespace widgets {

namespace {

class TAccessibleButton : public QAccessibleWidget {
public:
    explicit TAccessibleButton(TAbstractButton *button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !button()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        const QString caption = platform::StripMnemonic(button()->Caption());
        return caption.isEmpty() ? button()->toolTip() : caption;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = button()->IsCheckable();
        s.checked = button()->Down();
        s.pressed = button()->IsPressed();
        return s;
    }

    QStringList actionNames() const override
    {
        if (!button()->isEnabled())
            return {};
        if (button()->IsCheckable())
            return {pressAction(), toggleAction()};
        return {pressAction()};
    }
    void doAction(const QString &name) override
    {
        if (!button()->isEnabled())
            return;
        // Toggling a grouped button is what its click does.
        if (name == pressAction() || (name == toggleAction() && button()->IsCheckable()))
            platform::Guarded([this] { button()->PerformClick(); });
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    TAbstractButton *button() const { return static_cast<TAbstractButton *>(widget()); }
};

} // namespace

QAccessibleInterface *ButtonAccessibleFactory(const QString &, QObject *object)
{
    if (auto *button = qobject_cast<TAbstractButton *>(object))
        return new TAccessibleButton(button);
    if (auto *bar = qobject_cast<TSpeedBar *>(object))
        return new QAccessibleWidget(bar, QAccessible::ToolBar);
    return nullptr;
}

} // namespace widgets
