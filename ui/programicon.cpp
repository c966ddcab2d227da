#include "programicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace ui {

namespace {

const QColor kBorder(70, 70, 80);
const QColor kBackCard(228, 228, 232);
const QColor kFrontCard(255, 255, 255);
const QColor kHeader(0, 0, 255);
const QColor kStripe(255, 215, 42);
const QColor kRule(150, 150, 200);

int Scaled(int size, double fraction)
{
    return std::max(1, int(std::lround(size * fraction)));
}

// Where the parts of the picture go for one size, in whole pixels.
struct CardLayout {
    int border = 1;     // outline width
    int step = 1;       // offset between stacked cards
    int backCards = 2;  // cards behind the front one
    QRect front;        // the front card, outline included
    QRect header;       // the blue band inside it
    QRect stripe;       // the gold stripe inside the band
    int ruleSpacing = 0; // 0: no ruled lines
    bool rounded = false;
};

CardLayout LayoutFor(int size)
{
    CardLayout l;
    l.border = size >= 96 ? Scaled(size, 1.0 / 64) : 1;
    l.step = Scaled(size, size >= 32 ? 1.0 / 14 : 1.0 / 8);
    l.backCards = size >= 32 ? 2 : 1;
    l.rounded = size >= 48;
    const int margin = size >= 24 ? Scaled(size, 1.0 / 32) : 0;
    const int width = size - 2 * margin - l.backCards * l.step;
    const int height = int(std::lround(width * 0.75));
    const int top = (size - height - l.backCards * l.step) / 2;
    l.front = QRect(margin, top, width, height);
    const QRect inner = l.front.adjusted(l.border, l.border, -l.border, -l.border);
    l.header = QRect(inner.left(), inner.top(), inner.width(), std::max(2, int(std::lround(inner.height() * 0.28))));
    const int stripeHeight = std::max(1, l.header.height() / 3);
    const int stripeLeft = inner.left() + std::max(1, inner.width() / 8);
    l.stripe = QRect(stripeLeft, l.header.top() + (l.header.height() - stripeHeight) / 2,
                     std::max(2, inner.width() / 2), stripeHeight);
    l.ruleSpacing = size >= 24 ? std::max(3, int(std::lround(inner.height() * 0.16))) : 0;
    return l;
}

void DrawCardShape(QPainter &p, const QRect &r, const CardLayout &l, const QColor &fill)
{
    if (!l.rounded) {
        p.fillRect(r, kBorder);
        p.fillRect(r.adjusted(l.border, l.border, -l.border, -l.border), fill);
        return;
    }
    const qreal radius = r.width() / 24.0;
    const qreal half = l.border / 2.0;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kBorder, l.border));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(r).adjusted(half, half, -half, -half), radius, radius);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawRules(QPainter &p, const CardLayout &l)
{
    if (l.ruleSpacing == 0)
        return;
    const QRect inner = l.front.adjusted(l.border, l.border, -l.border, -l.border);
    const int left = inner.left() + std::max(1, inner.width() / 12);
    const int right = inner.right() - std::max(1, inner.width() / 12);
    const int thickness = std::max(1, l.border / 2 + (l.border > 1 ? 1 : 0));
    for (int y = l.header.bottom() + l.ruleSpacing; y + thickness <= inner.bottom() - l.ruleSpacing / 2;
         y += l.ruleSpacing)
        p.fillRect(QRect(left, y, right - left + 1, thickness), kRule);
}

void DrawFrontCard(QPainter &p, const CardLayout &l)
{
    DrawCardShape(p, l.front, l, kFrontCard);
    if (l.rounded) {
        // Keep the band inside the rounded outline.
        QPainterPath inside;
        const qreal radius = l.front.width() / 24.0;
        inside.addRoundedRect(QRectF(l.front).adjusted(l.border, l.border, -l.border, -l.border), radius, radius);
        p.setClipPath(inside);
    }
    p.fillRect(l.header, kHeader);
    p.fillRect(l.stripe, kStripe);
    DrawRules(p, l);
    p.setClipping(false);
}

} // namespace

QImage ProgramIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const CardLayout l = LayoutFor(size);
    for (int i = l.backCards; i >= 1; --i)
        DrawCardShape(p, l.front.translated(i * l.step, i * l.step), l, kBackCard);
    DrawFrontCard(p, l);
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}

} // namespace ui
