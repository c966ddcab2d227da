#pragma once
// A list of same-sized pictures with a transparent colour, drawn by index.
// The speed bar takes one as its Images; glyph lists build on it.

#include "glyphimages.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <vector>

class QPainter;

namespace widgets {

class TImageList : public QObject {
    Q_OBJECT
public:
    explicit TImageList(QSize imageSize, QObject *parent = nullptr);

    QSize ImageSize() const { return m_size; }
    int Width() const { return m_size.width(); }
    int Height() const { return m_size.height(); }
    // Number of stored pictures, free slots of a glyph list included.
    int ImageCount() const { return int(m_images.size()); }

    // Stores the picture (cut or padded to the list's size) with the given
    // colour made transparent; returns its index.
    int Add(const QImage &image, QRgb transparent);
    void Replace(int index, const QImage &image, QRgb transparent);
    // The stored picture with its transparency (ARGB).
    const QImage &Image(int index) const;
    // On a screen with more device pixels per pixel the picture is drawn
    // from a copy made for that ratio (kept until the picture changes).
    void Draw(QPainter &painter, int x, int y, int index) const;
    // That copy, or the picture itself at ratio 1; empty for no such index.
    QImage ImageAt(int index, qreal ratio) const;

signals:
    void changed();

protected:
    QImage fitted(const QImage &image, QRgb transparent) const;

private:
    QSize m_size;
    std::vector<QImage> m_images;
    mutable TScaledGlyphs m_scaled;
};

} // namespace widgets
