#include "btncontrol.h"

#include <QPainter>

namespace widgets {

TBtnControl::TBtnControl(const TButtonImage &face, QPoint hotSpot, QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint
                         | Qt::WindowDoesNotAcceptFocus),
      m_source(face), m_face(face.Render()), m_hotSpot(hotSpot)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    resize(m_face.size());
}

void TBtnControl::FollowPointer(QPoint global) { move(global - m_hotSpot); }

void TBtnControl::paintEvent(QPaintEvent *)
{
    if (m_face.devicePixelRatio() != devicePixelRatioF())
        m_face = m_source.Render(devicePixelRatioF());
    QPainter p(this);
    p.drawImage(0, 0, m_face);
}

} // namespace widgets
