#pragma once
// Pixel work on glyph bitmaps: the grey copy of an inactive glyph, the
// embossed copy of a disabled one, and turning a "transparent colour" into
// real transparency for drawing.

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>

namespace widgets {

// The grey of one colour: 77 parts red, 150 green and 29 blue, over 256.
int GrayLevel(QRgb c);

// Every pixel replaced by its grey, except pixels of the transparent colour
// and of the button-face colour, which keep their colour (compared as RGB).
QImage GrayedImage(const QImage &source, QRgb transparent, QRgb face);

// The same for a picture with real transparency: transparent pixels stay.
QImage GrayedMaskedImage(const QImage &masked, QRgb face);

// Button face with only the source's black pixels, drawn in highlight one
// pixel down and right and then in shadow at their own place.
QImage EmbossedImage(const QImage &source, QRgb face, QRgb highlight, QRgb shadow);

// An ARGB copy in which every pixel of the transparent colour has alpha 0.
QImage MaskedImage(const QImage &source, QRgb transparent);

// The picture for a screen of `ratio` device pixels per pixel: doubled by
// Scale2x (which rounds the steps of diagonal edges instead of repeating
// each pixel), as often as needed and then smoothly fitted; its device pixel
// ratio is set, so it draws at its original size. Ratio 1 leaves it alone.
QImage ScaledGlyph(const QImage &image, qreal ratio);

// The copies of glyph pictures for the ratios of the devices they are drawn
// on, each made on first use, so windows on screens of different ratios draw
// from copies of their own and a window moved to another screen gets new ones
// at its next paint.
class TScaledGlyphs {
public:
    // The picture itself at ratio 1, else its ScaledGlyph copy for the ratio.
    QImage At(const QImage &picture, qreal ratio);
    // Draws the picture at its own size, from the copy for the painter's device.
    void Draw(class QPainter &painter, QPoint at, const QImage &picture);
    // The pictures changed: every copy goes.
    void Clear() { m_copies.clear(); }

private:
    QHash<QPair<qreal, qint64>, QImage> m_copies; // by ratio and the picture's cacheKey
};

// The device pixels per pixel of what the painter draws on.
qreal PainterRatio(const class QPainter &painter);

// The colour of the bottom-left pixel, the usual transparent colour of a
// glyph bitmap; fuchsia for an empty bitmap.
QRgb BottomLeftColor(const QImage &source);

// The disabled look of a masked image at that ratio: every opaque pixel in
// the shadow colour, over the same shape in the highlight colour one pixel
// lower right. One pixel larger than the image each way.
QImage EmbossedSilhouette(const QImage &masked, qreal ratio, const QColor &highlight, const QColor &shadow);

// A ring one pixel wide along the rectangle's border: left and top in the
// first colour, right and bottom (with the top-right and bottom-left corners)
// in the second. The rectangle then shrinks by 1 on every side.
void DrawFrameRing(class QPainter &painter, QRect &rect, const QColor &topLeft, const QColor &bottomRight);

} // namespace widgets
