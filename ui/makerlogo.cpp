#include "makerlogo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ui {

QImage MakerLogo()
{
    QImage logo(270, 100, QImage::Format_RGB888);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);

    // A stack of three index cards, the top one with a blue header band.
    const QColor blue(0, 0, 255);
    const QColor gold(255, 215, 42);
    for (int i = 2; i >= 0; --i) {
        const QRectF card(14 + i * 6, 18 + i * 6, 64, 46);
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(i == 0 ? QColor(255, 255, 255) : QColor(235, 235, 235));
        p.drawRoundedRect(card, 3, 3);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawRect(QRectF(15, 19, 63, 11));
    p.setPen(QPen(QColor(150, 150, 200), 1));
    for (int y = 38; y <= 58; y += 6)
        p.drawLine(QPointF(20, y), QPointF(72, y));
    p.setPen(QPen(gold, 3));
    p.drawLine(QPointF(22, 24.5), QPointF(46, 24.5));

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(blue);
    p.drawText(QRect(98, 14, 170, 38), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Fennwick"));

    QFont sub(QStringLiteral("Arial"));
    sub.setPixelSize(14);
    p.setFont(sub);
    p.setPen(QColor(60, 60, 60));
    p.drawText(QRect(99, 52, 170, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Software"));

    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawRect(QRectF(0, 86, 270, 14));
    QFont tag(QStringLiteral("Arial"));
    tag.setPixelSize(10);
    tag.setItalic(true);
    p.setFont(tag);
    p.setPen(blue);
    p.drawText(QRect(0, 86, 262, 14), Qt::AlignRight | Qt::AlignVCenter, kMakerTagline);
    p.end();
    return logo;
}

} // namespace ui
