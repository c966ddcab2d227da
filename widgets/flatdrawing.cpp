#include "flatdrawing.h"

#include "hslcolors.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRegion>
#include <QWidget>

namespace widgets {

void DrawBevelFrame(QPainter &painter, const QRect &rect, const QColor &topLeft,
                    const QColor &bottomRight, int width)
{
    // Inclusive corners: the right and bottom edges lie one pixel inside.
    int left = rect.left();
    int top = rect.top();
    int right = rect.right();
    int bottom = rect.bottom();
    for (int ring = 0; ring < width && left <= right && top <= bottom; ++ring) {
        // Polyline bottom-left -> top-left -> top-right, last point not drawn.
        painter.fillRect(QRect(left, top, 1, bottom - top + 1), topLeft);
        painter.fillRect(QRect(left, top, right - left, 1), topLeft);
        // Polyline top-right -> bottom-right -> one left of bottom-left.
        painter.fillRect(QRect(right, top, 1, bottom - top), bottomRight);
        painter.fillRect(QRect(left, bottom, right - left + 1, 1), bottomRight);
        ++left;
        ++top;
        --right;
        --bottom;
    }
}

QImage MakeEmbossedGlyph(const QImage &image, const QPalette &palette)
{
    QImage result(image.size(), QImage::Format_RGB32);
    result.fill(platform::ToQColor(platform::clBtnFace, palette));
    if (image.isNull())
        return result;
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    const QRgb highlight = platform::ToQColor(platform::clBtnHighlight, palette).rgb();
    const QRgb shadow = platform::ToQColor(platform::clBtnShadow, palette).rgb();
    auto isBlack = [&source](int x, int y) { return (source.pixel(x, y) & 0xFFFFFFu) == 0; };

    const int w = source.width();
    const int h = source.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (isBlack(x, y) && x + 1 < w && y + 1 < h)
                result.setPixel(x + 1, y + 1, highlight);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (isBlack(x, y))
                result.setPixel(x, y, shadow);
    return result;
}

platform::TColor ShadeColor(platform::TColor base, platform::TColor fallback, int percent,
                            TShadeDirection direction, const QPalette &palette)
{
    if (percent == 0)
        return fallback;
    THsl240 hsl = ColorToHsl240(platform::ColorToRGB(base, palette));
    hsl.Lightness += 10;
    if (direction == TShadeDirection::Lighten) {
        hsl.Lightness += percent;
        if (hsl.Lightness > 100)
            hsl.Lightness = 100;
    } else {
        hsl.Lightness -= percent;
        if (hsl.Lightness < 0)
            hsl.Lightness = 0;
    }
    return Hsl240ToColor(hsl);
}

platform::TColor ShadeColor(platform::TColor base, platform::TColor fallback, int percent,
                            TShadeDirection direction)
{
    return ShadeColor(base, fallback, percent, direction, QGuiApplication::palette());
}

void PaintParentBackground(QPainter &painter, QWidget *control)
{
    QWidget *parent = control ? control->parentWidget() : nullptr;
    if (!parent)
        return;
    painter.save();
    parent->render(&painter, -control->pos(), QRegion(parent->rect()),
                   QWidget::DrawWindowBackground);
    painter.restore();
}

} // namespace widgets
