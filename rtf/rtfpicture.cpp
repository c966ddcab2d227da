#include "rtfpicture.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace rtf {

namespace {

// The size in a PNG's header chunk, read here rather than by the image
// library, which complains aloud about any damage.
QSize pngSize(const QByteArray &data)
{
    if (data.size() < 33 || data.mid(12, 4) != "IHDR")
        return {};
    const auto be32 = [&data](int at) {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<unsigned char>(data[at + i]);
        return value;
    };
    const quint32 width = be32(16), height = be32(20);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return {};
    return QSize(int(width), int(height));
}

QSize jpegSize(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "jpeg");
    return reader.size();
}

} // namespace

PictureBytes pictureFromBytes(const QByteArray &data)
{
    PictureBytes picture;
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        picture.size = pngSize(data);
    else if (data.startsWith("\xff\xd8\xff")) {
        picture.size = jpegSize(data);
        picture.jpeg = true;
    }
    if (picture.size.isValid() && !picture.size.isEmpty())
        picture.bytes = data;
    return picture;
}

PictureBytes pictureFromResource(const QVariant &resource)
{
    QImage image;
    if (resource.userType() == QMetaType::QByteArray) {
        const QByteArray bytes = resource.toByteArray();
        PictureBytes picture = pictureFromBytes(bytes);
        if (!picture.bytes.isEmpty())
            return picture;
        image.loadFromData(bytes); // another format Qt reads
    } else if (resource.userType() == QMetaType::QImage) {
        image = resource.value<QImage>();
    } else if (resource.userType() == QMetaType::QPixmap) {
        image = resource.value<QPixmap>().toImage();
    }
    PictureBytes picture;
    if (image.isNull())
        return picture;
    QBuffer buffer(&picture.bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    picture.size = image.size();
    return picture;
}

} // namespace rtf
