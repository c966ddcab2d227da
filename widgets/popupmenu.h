#pragma once
// TPopupMenu: a context menu that a component opens for the user, at the
// cursor, when its automatic pop-up is on. It remembers which component
// opened it last, so that its items' handlers can ask.

#include <QMenu>
#include <QPointer>

namespace widgets {

class TPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TPopupMenu(QWidget *parent = nullptr);

    // Whether components open the menu by themselves. Default true.
    bool AutoPopup() const { return m_autoPopup; }
    void SetAutoPopup(bool value) { m_autoPopup = value; }

    // The component that opened the menu last (null when it has gone).
    QObject *PopupComponent() const { return m_popupComponent; }
    void SetPopupComponent(QObject *component) { m_popupComponent = component; }

    // Opens the menu at the screen position and runs it modally until it
    // closes. Tests replace it to see the call without a modal loop.
    virtual void Popup(const QPoint &screenPos);

private:
    bool m_autoPopup = true;
    QPointer<QObject> m_popupComponent;
};

} // namespace widgets
