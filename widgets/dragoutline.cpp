#include "dragoutline.h"

#include <QPainter>
#include <QRegion>

namespace widgets {

TDragOutline::TDragOutline(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint
                         | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void TDragOutline::ShowAt(const QRect &screenRect)
{
    m_outline = screenRect;
    setGeometry(screenRect);
    const QRect local(QPoint(0, 0), screenRect.size());
    setMask(QRegion(local).subtracted(QRegion(local.adjusted(kRings, kRings, -kRings, -kRings))));
    show();
    raise();
    update();
}

void TDragOutline::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QRect r = rect();
    p.fillRect(r, Qt::white);
    QPen pen(Qt::black, 1, Qt::DotLine);
    p.setPen(pen);
    for (int i = 0; i < kRings; ++i) {
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
}

} // namespace widgets
