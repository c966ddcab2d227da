#include "imagelist.h"

#include <QPainter>

namespace widgets {

TImageList::TImageList(QSize imageSize, QObject *parent) : QObject(parent), m_size(imageSize) {}

QImage TImageList::fitted(const QImage &image, QRgb transparent) const
{
    QImage canvas(m_size, QImage::Format_RGB32);
    canvas.fill(transparent);
    QPainter p(&canvas);
    p.drawImage(0, 0, image);
    p.end();
    return MaskedImage(canvas, transparent);
}

int TImageList::Add(const QImage &image, QRgb transparent)
{
    m_images.push_back(fitted(image, transparent));
    emit changed();
    return int(m_images.size()) - 1;
}

void TImageList::Replace(int index, const QImage &image, QRgb transparent)
{
    if (index < 0 || index >= ImageCount())
        return;
    m_images[size_t(index)] = fitted(image, transparent);
    m_scaled.Clear();
    emit changed();
}

const QImage &TImageList::Image(int index) const
{
    static const QImage none;
    if (index < 0 || index >= ImageCount())
        return none;
    return m_images[size_t(index)];
}

void TImageList::Draw(QPainter &painter, int x, int y, int index) const
{
    if (index < 0 || index >= ImageCount())
        return;
    m_scaled.Draw(painter, QPoint(x, y), m_images[size_t(index)]);
}

QImage TImageList::ImageAt(int index, qreal ratio) const
{
    if (index < 0 || index >= ImageCount())
        return QImage();
    return m_scaled.At(m_images[size_t(index)], ratio);
}

} // namespace widgets
