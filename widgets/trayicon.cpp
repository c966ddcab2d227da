#include "trayicon.h"

#include "guarded.h"
#include "hinttext.h"
#include "popupmenu.h"

#include <QAction>
#include <QWidget>
#include <algorithm>

namespace widgets {

TTrayIcon::TTrayIcon(QObject *parent) : TTrayIcon(parent, platform::CreateNotifyIcon())
{
}

TTrayIcon::TTrayIcon(QObject *parent, std::unique_ptr<platform::NotifyIconBackend> backend)
    : QObject(parent), m_backend(backend ? std::move(backend) : platform::CreateNotifyIcon())
{
    m_icons.OnChange = [this](TIconList *) { UpdateIcon(); };
    m_backend->SetMouseCallback([this](platform::TrayMouseEvent event) { HandleMouseEvent(event); });
}

TTrayIcon::~TTrayIcon()
{
    m_destroying = true;
    m_enabled = false;
    m_icons.OnChange = nullptr;
    StopAnimation();
    RemoveIcon();
    m_backend->SetMouseCallback(nullptr);
}

void TTrayIcon::SetActive(bool value)
{
    if (value == m_active)
        return;
    m_active = value;
    if (m_active)
        ShowIcon();
    else
        RemoveIcon();
}

void TTrayIcon::SetEnabled(bool value)
{
    if (value == m_enabled)
        return;
    m_enabled = value;
}

void TTrayIcon::SetHint(const QString &value)
{
    if (value == m_hint)
        return;
    m_hint = value;
    UpdateIcon();
}

void TTrayIcon::SetIcon(const QIcon &value)
{
    m_icon = value;
    UpdateIcon();
}

void TTrayIcon::SetIcons(const TIconList &value)
{
    m_icons.Assign(value);
}

void TTrayIcon::SetAnimated(bool value)
{
    const bool animate = value && m_icons.Count() > 0;
    if (animate == m_animating)
        return;
    if (animate)
        StartAnimation();
    else
        StopAnimation();
    m_frameIndex = 0;
    UpdateIcon();
}

void TTrayIcon::SetInterval(quint16 value)
{
    if (value == m_interval)
        return;
    m_interval = value;
    if (m_thread)
        m_thread->SetInterval(value);
}

void TTrayIcon::SetPopupMenu(TPopupMenu *value)
{
    m_popupMenu = value;
}

void TTrayIcon::Hide()
{
    SetActive(false);
}

QString TTrayIcon::Tip() const
{
    QString tip = GetShortHint(m_hint);
    if (tip.size() <= kMaxTipLength)
        return tip;
    // Never leave half of a surrogate pair at the end.
    const int length = tip.at(kMaxTipLength - 1).isHighSurrogate() ? kMaxTipLength - 1 : kMaxTipLength;
    return tip.left(length);
}

QIcon TTrayIcon::CurrentIcon() const
{
    const int count = m_icons.Count();
    if (m_animating && count > 0)
        return m_icons.GetIcon(std::clamp(m_frameIndex, 0, count - 1));
    return m_icon;
}

// ---- notification area ----

void TTrayIcon::FillNotifyData()
{
    m_notifyData.icon = CurrentIcon();
    m_notifyData.tip = Tip();
}

void TTrayIcon::ShowIcon()
{
    RemoveIcon();
    if (CurrentIcon().isNull()) {
        KeepAnimatingPastEmptyFrame();
        return;
    }
    m_leftClick = false;
    m_rightClick = false;
    FillNotifyData();
    m_added = m_backend->Add(m_notifyData);
    // Some hosts show no tip after an add without one until the icon changes.
    if (m_added && m_notifyData.tip.isEmpty())
        m_backend->Modify(m_notifyData);
    if (m_animating && m_thread)
        m_thread->Resume();
}

void TTrayIcon::RemoveIcon()
{
    m_backend->Delete();
    m_added = false;
    m_leftClick = false;
    m_rightClick = false;
    if (m_animating && m_thread)
        m_thread->Suspend();
}

void TTrayIcon::UpdateIcon()
{
    if (m_animating && m_icons.Count() == 0) {
        SetAnimated(false); // updates the icon itself
        return;
    }
    if (m_added) {
        if (CurrentIcon().isNull()) {
            RemoveIcon();
            KeepAnimatingPastEmptyFrame();
        } else {
            FillNotifyData();
            m_backend->Modify(m_notifyData);
        }
    } else if (m_active) {
        ShowIcon();
    }
}

// ---- animation ----

void TTrayIcon::StartAnimation()
{
    m_animating = true;
    m_thread = TTimerThread::Start(this, [this] { AdvanceFrame(); }, m_interval, !m_added);
}

void TTrayIcon::StopAnimation()
{
    m_animating = false;
    if (m_thread) {
        m_thread->Detach();
        m_thread.reset();
    }
}

// An empty frame removes the icon, and removing suspends the animation; left
// at that, one empty slot in Icons would take the icon away for good (and with
// it the only way back to the window). The next frame brings it back instead.
void TTrayIcon::KeepAnimatingPastEmptyFrame()
{
    if (m_animating && m_active && m_thread)
        m_thread->Resume();
}

void TTrayIcon::AdvanceFrame()
{
    if (m_destroying || !m_animating)
        return;
    ++m_frameIndex;
    if (m_frameIndex >= m_icons.Count())
        m_frameIndex = 0;
    UpdateIcon();
}

// ---- mouse events ----

void TTrayIcon::HandleMouseEvent(platform::TrayMouseEvent event)
{
    if (!m_enabled)
        return;
    platform::Guarded([&] { DispatchMouseEvent(event); });
}

void TTrayIcon::DispatchMouseEvent(platform::TrayMouseEvent event)
{
    using E = platform::TrayMouseEvent;
    const TShiftState keys = KeyboardShift();
    const QPointer<TTrayIcon> self(this);
    switch (event) {
    case E::Move:
        RaiseMouseMove(keys);
        break;
    case E::LeftDown:
        Press(mbLeft, keys | ssLeft, &m_leftClick);
        break;
    case E::LeftUp:
        Release(mbLeft, keys | ssLeft, &m_leftClick);
        break;
    case E::LeftDblClick:
        // Sets no click flag: the release that follows raises no click.
        RaiseDblClick();
        if (self)
            RaiseMouseDown(mbLeft, keys | ssDouble);
        break;
    case E::RightDown:
        Press(mbRight, keys | ssRight, &m_rightClick);
        break;
    case E::RightUp:
        Release(mbRight, keys | ssRight, &m_rightClick);
        break;
    case E::RightDblClick:
        RaiseMouseDown(mbRight, keys | ssDouble);
        break;
    case E::MiddleDown:
        RaiseMouseDown(mbMiddle, keys | ssMiddle);
        break;
    case E::MiddleUp:
        RaiseMouseUp(mbMiddle, keys | ssMiddle);
        break;
    case E::MiddleDblClick:
        RaiseMouseDown(mbMiddle, keys | ssDouble);
        break;
    }
}

void TTrayIcon::Press(TMouseButton button, TShiftState shift, bool *clickFlag)
{
    const QPointer<TTrayIcon> self(this);
    RaiseMouseDown(button, shift);
    if (self)
        *clickFlag = true;
}

void TTrayIcon::Release(TMouseButton button, TShiftState shift, bool *clickFlag)
{
    const QPointer<TTrayIcon> self(this);
    if (*clickFlag) {
        *clickFlag = false;
        RaiseClick(button, shift);
    }
    if (self)
        RaiseMouseUp(button, shift);
}

TTrayIcon::TShiftState TTrayIcon::KeyboardShift() const
{
    const Qt::KeyboardModifiers keys = m_backend->KeyboardState();
    TShiftState shift;
    if (keys & Qt::ShiftModifier)
        shift |= ssShift;
    if (keys & Qt::ControlModifier)
        shift |= ssCtrl;
    if (keys & Qt::AltModifier)
        shift |= ssAlt;
    return shift;
}

void TTrayIcon::RaiseDblClick()
{
    if (ClickDefaultItem())
        return;
    if (OnDblClick)
        OnDblClick(this);
}

void TTrayIcon::RaiseClick(TMouseButton button, TShiftState shift)
{
    if (button == mbRight && PopupAtCursor())
        return;
    if (OnClick) {
        const QPoint pos = m_backend->CursorPos();
        OnClick(this, button, shift, pos.x(), pos.y());
    }
}

void TTrayIcon::RaiseMouseDown(TMouseButton button, TShiftState shift)
{
    if (OnMouseDown) {
        const QPoint pos = m_backend->CursorPos();
        OnMouseDown(this, button, shift, pos.x(), pos.y());
    }
}

void TTrayIcon::RaiseMouseMove(TShiftState shift)
{
    if (OnMouseMove) {
        const QPoint pos = m_backend->CursorPos();
        OnMouseMove(this, shift, pos.x(), pos.y());
    }
}

void TTrayIcon::RaiseMouseUp(TMouseButton button, TShiftState shift)
{
    if (OnMouseUp) {
        const QPoint pos = m_backend->CursorPos();
        OnMouseUp(this, button, shift, pos.x(), pos.y());
    }
}

bool TTrayIcon::PopupAtCursor()
{
    TPopupMenu *menu = m_popupMenu;
    if (!m_active || !menu || !menu->AutoPopup())
        return false;
    menu->SetPopupComponent(this);
    // A drag or press still held by one of our windows would swallow the
    // menu's first click.
    if (!m_destroying) {
        if (QWidget *grabber = QWidget::mouseGrabber())
            grabber->releaseMouse();
    }
    menu->Popup(m_backend->CursorPos());
    return true;
}

bool TTrayIcon::ClickDefaultItem()
{
    TPopupMenu *menu = m_popupMenu;
    if (!m_active || !menu || menu->actions().isEmpty())
        return false;
    QAction *defaultItem = menu->defaultAction();
    for (QAction *item : menu->actions()) {
        if (item == defaultItem && item->isEnabled() && !item->isSeparator()) {
            item->trigger();
            return true;
        }
    }
    return false;
}

} // namespace widgets
