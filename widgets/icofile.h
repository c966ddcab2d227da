#pragma once
// The icon file format (.ico): an ICONDIR header, one 16-byte ICONDIRENTRY per
// image, then the images. We write every image as PNG, which every reader of
// the format since 2006 accepts; we read PNG images and the older BMP-DIB
// images (1, 4, 8, 24 and 32 bits per pixel, with their AND mask).
//
// Input is treated as untrusted: every offset and size is checked against the
// data before it is used, and a bad file gives no images rather than a crash.

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QList>
#include <optional>

namespace widgets {

// The images of an .ico file, or nothing when the data is not a valid one.
std::optional<QList<QImage>> ReadIcoImages(const QByteArray &data);

// An .ico file holding the given images (each at most 256 x 256; larger ones
// are scaled down). An empty list gives an empty byte array.
QByteArray WriteIcoImages(const QList<QImage> &images);

// An icon from .ico data; a null icon when the data is not a valid .ico file.
QIcon IconFromIcoData(const QByteArray &data);

// The .ico data of an icon: one image per size the icon holds (the 32 x 32
// rendering when it names no sizes). A null icon gives an empty byte array.
QByteArray IcoDataFromIcon(const QIcon &icon);

} // namespace widgets
