#pragma once
// Pictures as RTF carries them: PNG or JPEG bytes with their size. Reader
// and writer judge the bytes by the same rule, so whatever is read is
// written back unchanged.

#include <QByteArray>
#include <QSize>
#include <QVariant>

namespace rtf {

struct PictureBytes {
    QByteArray bytes; // empty: no picture RTF can carry
    bool jpeg = false;
    QSize size; // in pixels, from the header
};

// PNG or JPEG bytes with a readable header; only the header is read, so a
// picture that claims a huge size costs nothing until it is shown.
PictureBytes pictureFromBytes(const QByteArray &data);

// A document's image resource (bytes, QImage or QPixmap) as PNG or JPEG.
PictureBytes pictureFromResource(const QVariant &resource);

} // namespace rtf
