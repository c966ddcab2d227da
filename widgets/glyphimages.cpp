#include "glyphimages.h"

#include <algorithm>

#include <QPainter>

namespace widgets {

namespace {
bool sameRgb(QRgb a, QRgb b) { return (a & 0xFFFFFF) == (b & 0xFFFFFF); }
} // namespace

int GrayLevel(QRgb c) { return (77 * qRed(c) + 150 * qGreen(c) + 29 * qBlue(c)) >> 8; }

QImage GrayedImage(const QImage &source, QRgb transparent, QRgb face)
{
    QImage result = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb c = line[x];
            if (sameRgb(c, transparent) || sameRgb(c, face))
                continue;
            const int g = GrayLevel(c);
            line[x] = qRgb(g, g, g);
        }
    }
    return result;
}

QImage GrayedMaskedImage(const QImage &masked, QRgb face)
{
    QImage result = masked.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb c = line[x];
            if (qAlpha(c) == 0 || sameRgb(c, face))
                continue;
            const int g = GrayLevel(c);
            line[x] = qRgba(g, g, g, qAlpha(c));
        }
    }
    return result;
}

QImage EmbossedImage(const QImage &source, QRgb face, QRgb highlight, QRgb shadow)
{
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    QImage result(src.size(), QImage::Format_RGB32);
    result.fill(face);
    const auto isBlack = [&](int x, int y) { return (src.pixel(x, y) & 0xFFFFFF) == 0; };
    // Highlight first, so that the shadow wins where the two overlap.
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (isBlack(x, y) && x + 1 < src.width() && y + 1 < src.height())
                result.setPixel(x + 1, y + 1, highlight);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (isBlack(x, y))
                result.setPixel(x, y, shadow);
    return result;
}

QImage MaskedImage(const QImage &source, QRgb transparent)
{
    QImage result = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if (sameRgb(line[x], transparent))
                line[x] = 0;
            else
                line[x] |= 0xFF000000u;
    }
    return result;
}

QRgb BottomLeftColor(const QImage &source)
{
    if (source.isNull() || source.height() <= 0 || source.width() <= 0)
        return qRgb(255, 0, 255);
    return source.pixel(0, source.height() - 1) | 0xFF000000u;
}

namespace {

QImage tinted(const QImage &shape, const QColor &color)
{
    QImage image(shape.size(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(shape.devicePixelRatio());
    const QRgb solid = color.rgb() | 0xFF000000u;
    for (int row = 0; row < shape.height(); ++row)
        for (int col = 0; col < shape.width(); ++col)
            image.setPixel(col, row, qAlpha(shape.pixel(col, row)) ? solid : 0u);
    return image;
}

} // namespace

QImage EmbossedSilhouette(const QImage &masked, qreal ratio, const QColor &highlight, const QColor &shadow)
{
    const QImage shape = ScaledGlyph(masked, ratio);
    QImage image((masked.size() + QSize(1, 1)) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(1, 1, tinted(shape, highlight));
    painter.drawImage(0, 0, tinted(shape, shadow));
    return image;
}

void DrawFrameRing(QPainter &p, QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    r.adjust(1, 1, -1, -1);
}

namespace {

QImage scale2x(const QImage &source)
{
    const QImage in = source.convertToFormat(QImage::Format_ARGB32);
    const int w = in.width(), h = in.height();
    QImage out(2 * w, 2 * h, QImage::Format_ARGB32);
    const auto at = [&in, w, h](int x, int y) {
        return in.pixel(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = at(x, y), a = at(x, y - 1), b = at(x + 1, y), c = at(x - 1, y), d = at(x, y + 1);
            out.setPixel(2 * x, 2 * y, (c == a && c != d && a != b) ? a : p);
            out.setPixel(2 * x + 1, 2 * y, (a == b && a != c && b != d) ? b : p);
            out.setPixel(2 * x, 2 * y + 1, (d == c && d != b && c != a) ? c : p);
            out.setPixel(2 * x + 1, 2 * y + 1, (b == d && b != a && d != c) ? d : p);
        }
    }
    return out;
}

} // namespace

QImage ScaledGlyph(const QImage &image, qreal ratio)
{
    if (ratio <= 1 || image.isNull())
        return image;
    QImage scaled = image;
    for (qreal reached = 1; reached < ratio; reached *= 2)
        scaled = scale2x(scaled);
    const QSize target = (QSizeF(image.size()) * ratio).toSize();
    if (scaled.size() != target)
        scaled = scaled.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

qreal PainterRatio(const QPainter &painter)
{
    return painter.device() ? painter.device()->devicePixelRatio() : 1;
}

QImage TScaledGlyphs::At(const QImage &picture, qreal ratio)
{
    if (ratio <= 1 || picture.isNull())
        return picture;
    const QPair<qreal, qint64> key(ratio, picture.cacheKey());
    auto it = m_copies.find(key);
    if (it == m_copies.end())
        it = m_copies.insert(key, ScaledGlyph(picture, ratio));
    return *it;
}

void TScaledGlyphs::Draw(QPainter &painter, QPoint at, const QImage &picture)
{
    painter.drawImage(at, At(picture, PainterRatio(painter)));
}

} // namespace widgets
