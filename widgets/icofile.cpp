#include "icofile.h"

#include <QBuffer>
#include <QPixmap>
#include <QtEndian>
#include <algorithm>

namespace widgets {

namespace {

constexpr qsizetype kDirSize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr qsizetype kInfoHeaderSize = 40;
constexpr int kMaxSide = 256;
const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);

// Bounds-checked little-endian reads from the whole file.
class Reader {
public:
    explicit Reader(const QByteArray &data) : m_data(data) {}
    bool Has(qint64 offset, qint64 size) const
    {
        return offset >= 0 && size >= 0 && offset + size <= m_data.size();
    }
    quint8 U8(qint64 at) const { return quint8(m_data[at]); }
    quint16 U16(qint64 at) const { return qFromLittleEndian<quint16>(m_data.constData() + at); }
    quint32 U32(qint64 at) const { return qFromLittleEndian<quint32>(m_data.constData() + at); }
    qint32 I32(qint64 at) const { return qFromLittleEndian<qint32>(m_data.constData() + at); }
    QByteArray Mid(qint64 at, qint64 size) const { return m_data.mid(at, size); }

private:
    const QByteArray &m_data;
};

struct DibHeader {
    int width = 0;
    int height = 0; // of the colour image, without the AND mask
    int bitCount = 0;
    int paletteSize = 0;
    qint64 headerSize = 0;
};

qint64 Stride(qint64 width, int bitCount)
{
    return ((width * bitCount + 31) / 32) * 4;
}

std::optional<DibHeader> ReadDibHeader(const Reader &r, qint64 at, qint64 size)
{
    if (size < kInfoHeaderSize || !r.Has(at, kInfoHeaderSize))
        return std::nullopt;
    DibHeader h;
    h.headerSize = r.U32(at);
    h.width = r.I32(at + 4);
    const qint32 doubleHeight = r.I32(at + 8);
    h.bitCount = r.U16(at + 14);
    const quint32 compression = r.U32(at + 16);
    const quint32 colorsUsed = r.U32(at + 32);
    if (h.headerSize < kInfoHeaderSize || h.headerSize > size || compression != 0)
        return std::nullopt;
    if (h.width <= 0 || h.width > kMaxSide || doubleHeight <= 0 || doubleHeight > 2 * kMaxSide)
        return std::nullopt;
    h.height = doubleHeight / 2;
    if (h.height == 0)
        return std::nullopt;
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8: {
        const quint32 full = 1u << h.bitCount;
        h.paletteSize = int(colorsUsed == 0 || colorsUsed > full ? full : colorsUsed);
        break;
    }
    case 24:
    case 32:
        break;
    default:
        return std::nullopt;
    }
    return h;
}

QRgb PaletteColour(const Reader &r, qint64 paletteAt, int paletteSize, int index)
{
    if (index >= paletteSize)
        return qRgb(0, 0, 0);
    const qint64 at = paletteAt + qint64(index) * 4;
    return qRgb(r.U8(at + 2), r.U8(at + 1), r.U8(at));
}

QRgb DibPixel(const Reader &r, const DibHeader &h, qint64 rowAt, qint64 paletteAt, int x)
{
    switch (h.bitCount) {
    case 32: {
        const qint64 at = rowAt + qint64(x) * 4;
        return qRgba(r.U8(at + 2), r.U8(at + 1), r.U8(at), r.U8(at + 3));
    }
    case 24: {
        const qint64 at = rowAt + qint64(x) * 3;
        return qRgb(r.U8(at + 2), r.U8(at + 1), r.U8(at));
    }
    default: {
        const int perByte = 8 / h.bitCount;
        const quint8 byte = r.U8(rowAt + x / perByte);
        const int shift = 8 - h.bitCount * (x % perByte + 1);
        const int index = (byte >> shift) & ((1 << h.bitCount) - 1);
        return PaletteColour(r, paletteAt, h.paletteSize, index);
    }
    }
}

bool MaskBit(const Reader &r, qint64 rowAt, int x)
{
    return (r.U8(rowAt + x / 8) >> (7 - x % 8)) & 1;
}

// A BMP-DIB image as icons store it: the colour rows, then a 1-bit AND mask,
// both bottom-up. A 32-bit image carries its own alpha; older ones (and
// 32-bit images whose alpha is all zero) take their transparency from the mask.
QImage ReadDibImage(const Reader &r, qint64 at, qint64 size)
{
    const std::optional<DibHeader> header = ReadDibHeader(r, at, size);
    if (!header)
        return {};
    const DibHeader &h = *header;
    const qint64 paletteAt = at + h.headerSize;
    const qint64 pixelsAt = paletteAt + qint64(h.paletteSize) * 4;
    const qint64 colourStride = Stride(h.width, h.bitCount);
    const qint64 maskAt = pixelsAt + colourStride * h.height;
    const qint64 maskStride = Stride(h.width, 1);
    const qint64 end = at + size;
    if (maskAt > end || !r.Has(pixelsAt, colourStride * h.height))
        return {};
    const bool hasMask = maskAt + maskStride * h.height <= end;
    if (!hasMask && h.bitCount != 32)
        return {};

    QImage image(h.width, h.height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < h.height; ++y) {
        const qint64 rowAt = pixelsAt + colourStride * (h.height - 1 - y);
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < h.width; ++x) {
            line[x] = DibPixel(r, h, rowAt, paletteAt, x);
            anyAlpha = anyAlpha || (h.bitCount == 32 && qAlpha(line[x]) != 0);
        }
    }
    if (h.bitCount == 32 && anyAlpha)
        return image;
    for (int y = 0; y < h.height; ++y) {
        const qint64 rowAt = maskAt + maskStride * (h.height - 1 - y);
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < h.width; ++x) {
            const bool transparent = hasMask && MaskBit(r, rowAt, x);
            line[x] = transparent ? qRgba(0, 0, 0, 0) : (line[x] | 0xff000000u);
        }
    }
    return image;
}

QImage ReadEntryImage(const Reader &r, qint64 at, qint64 size)
{
    if (r.Mid(at, kPngSignature.size()) == kPngSignature) {
        QImage image = QImage::fromData(r.Mid(at, size), "PNG");
        if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide)
            return {};
        return image.convertToFormat(QImage::Format_ARGB32);
    }
    return ReadDibImage(r, at, size);
}

QByteArray PngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QImage Fitted(const QImage &image)
{
    QImage fitted = image;
    if (fitted.width() > kMaxSide || fitted.height() > kMaxSide)
        fitted = fitted.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return fitted.convertToFormat(QImage::Format_ARGB32);
}

void PutU16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void PutU32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

std::optional<QList<QImage>> ReadIcoImages(const QByteArray &data)
{
    const Reader r(data);
    if (!r.Has(0, kDirSize) || r.U16(0) != 0 || r.U16(2) != 1)
        return std::nullopt;
    const int count = r.U16(4);
    if (count == 0 || !r.Has(kDirSize, qint64(count) * kEntrySize))
        return std::nullopt;
    QList<QImage> images;
    for (int i = 0; i < count; ++i) {
        const qint64 entry = kDirSize + qint64(i) * kEntrySize;
        const qint64 size = r.U32(entry + 8);
        const qint64 offset = r.U32(entry + 12);
        if (size == 0 || !r.Has(offset, size))
            return std::nullopt;
        QImage image = ReadEntryImage(r, offset, size);
        if (image.isNull())
            return std::nullopt;
        images.append(image);
    }
    return images;
}

QByteArray WriteIcoImages(const QList<QImage> &images)
{
    QList<QImage> fitted;
    QList<QByteArray> pngs;
    for (const QImage &image : images) {
        if (image.isNull())
            continue;
        fitted.append(Fitted(image));
        pngs.append(PngBytes(fitted.last()));
    }
    if (fitted.isEmpty() || fitted.size() > 0xffff)
        return {};

    QByteArray out;
    PutU16(out, 0);
    PutU16(out, 1);
    PutU16(out, quint16(fitted.size()));
    quint32 offset = quint32(kDirSize + kEntrySize * fitted.size());
    for (qsizetype i = 0; i < fitted.size(); ++i) {
        // A side of 256 is written as 0, as the format demands.
        out.append(char(fitted[i].width() & 0xff));
        out.append(char(fitted[i].height() & 0xff));
        out.append(char(0)); // no palette
        out.append(char(0));
        PutU16(out, 1);
        PutU16(out, 32);
        PutU32(out, quint32(pngs[i].size()));
        PutU32(out, offset);
        offset += quint32(pngs[i].size());
    }
    for (const QByteArray &png : pngs)
        out.append(png);
    return out;
}

QIcon IconFromIcoData(const QByteArray &data)
{
    const std::optional<QList<QImage>> images = ReadIcoImages(data);
    if (!images)
        return {};
    QIcon icon;
    for (const QImage &image : *images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

QByteArray IcoDataFromIcon(const QIcon &icon)
{
    if (icon.isNull())
        return {};
    QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty())
        sizes.append(QSize(32, 32));
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) {
        return a.width() != b.width() ? a.width() > b.width() : a.height() > b.height();
    });
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    QList<QImage> images;
    for (const QSize &size : sizes) {
        // At ratio 1 the pixmap has exactly the stored size, whatever the screen.
        const QImage image = icon.pixmap(size, 1.0).toImage();
        if (!image.isNull())
            images.append(image);
    }
    return WriteIcoImages(images);
}

} // namespace widgets
