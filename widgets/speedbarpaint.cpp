// The bar's own face: the panel's bevels, the wallpaper and the bound lines.

#include "speedbar.h"

#include "glyphimages.h"
#include "syscolors.h"

#include <QPainter>

namespace widgets {

using namespace platform;

QRect TSpeedBar::InnerRect() const
{
    int b = m_borderWidth;
    if (m_bevelOuter != bvNone)
        b += m_bevelWidth;
    if (m_bevelInner != bvNone)
        b += m_bevelWidth;
    return rect().adjusted(b, b, -b, -b);
}

void TSpeedBar::paintBevels(QPainter &p, QRect &r)
{
    const QColor highlight = ToQColor(clBtnHighlight, palette()), shadow = ToQColor(clBtnShadow, palette());
    const auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone)
            return;
        const bool lowered = kind == bvLowered;
        for (int i = 0; i < m_bevelWidth; ++i)
            DrawFrameRing(p, r, lowered ? shadow : highlight, lowered ? highlight : shadow);
    };
    bevel(m_bevelOuter);
    r.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
    bevel(m_bevelInner);
}

void TSpeedBar::paintWallpaper(QPainter &p, const QRect &inner)
{
    const int w = m_wallpaper.width(), h = m_wallpaper.height();
    if (m_wallpaper.isNull() || w <= 0 || h <= 0)
        return;
    p.save();
    p.setClipRect(inner);
    if (m_options.testFlag(sbStretchBitmap)) {
        p.drawImage(inner, m_wallpaper);
    } else {
        const int b = inner.left();
        for (int c = 0; c <= (width() - 2 * b) / w; ++c)
            for (int r = 0; r <= (height() - 2 * b) / h; ++r)
                p.drawImage(inner.left() + c * w, inner.top() + r * h, m_wallpaper);
    }
    p.restore();
}

void TSpeedBar::paintBoundLines(QPainter &p, const QRect &inner)
{
    const QColor shadow = ToQColor(clBtnShadow, palette()), highlight = ToQColor(clBtnHighlight, palette());
    const int l = inner.left(), t = inner.top();
    const int r = inner.left() + inner.width(), bm = inner.top() + inner.height();
    // Lines run from a start point to an end point that is not drawn.
    const auto hline = [&](int x0, int x1, int y, const QColor &c) { p.fillRect(x0, y, x1 - x0, 1, c); };
    const auto vline = [&](int x, int y0, int y1, const QColor &c) { p.fillRect(x, y0, 1, y1 - y0, c); };
    if (m_boundLines.testFlag(blTop)) {
        hline(l, r, t, shadow);
        hline(l, r, t + 1, highlight);
    }
    if (m_boundLines.testFlag(blLeft)) {
        vline(l, t, bm, shadow);
        vline(l + 1, m_boundLines.testFlag(blTop) ? t + 1 : t, bm, highlight);
    }
    if (m_boundLines.testFlag(blBottom)) {
        hline(l, r, bm - 2, shadow);
        hline(l, r, bm - 1, highlight);
    }
    if (m_boundLines.testFlag(blRight)) {
        vline(r - 2, t, m_boundLines.testFlag(blBottom) ? bm - 1 : bm, shadow);
        vline(r - 1, t, bm, highlight);
    }
}

void TSpeedBar::paintEvent(QPaintEvent *)
{
    if (m_paintSuspended)
        return;
    QPainter p(this);
    QRect r = rect();
    p.fillRect(r, ToQColor(clBtnFace, palette()));
    paintBevels(p, r);
    const QRect inner = InnerRect();
    paintWallpaper(p, inner);
    paintBoundLines(p, inner);
}

} // namespace widgets
