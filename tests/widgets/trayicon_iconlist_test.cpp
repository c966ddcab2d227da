// The icon list (operations, update counter, stream format) and the .ico
// reader and writer beneath it.

#include "exception.h"
#include "trayicon_fake.h"
#include "icofile.h"
#include "iconlist.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using traytest::ColourIcon;
using traytest::IconColour;
using widgets::TIconList;

namespace {

quint32 U32At(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
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

QByteArray Saved(const TIconList &list)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    list.SaveToStream(buffer);
    return bytes;
}

void Load(TIconList &list, const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    list.LoadFromStream(buffer);
}

// An .ico file with one BMP-DIB image, as older tools write them.
QByteArray DibIco(int width, int height, int bitCount, const QByteArray &palette, const QByteArray &pixels,
                  const QByteArray &mask)
{
    QByteArray dib;
    PutU32(dib, 40);
    PutU32(dib, quint32(width));
    PutU32(dib, quint32(height * 2));
    PutU16(dib, 1);
    PutU16(dib, quint16(bitCount));
    for (int i = 0; i < 6; ++i)
        PutU32(dib, 0);
    dib += palette + pixels + mask;

    QByteArray ico;
    PutU16(ico, 0);
    PutU16(ico, 1);
    PutU16(ico, 1);
    ico.append(char(width));
    ico.append(char(height));
    ico.append(char(0));
    ico.append(char(0));
    PutU16(ico, 1);
    PutU16(ico, quint16(bitCount));
    PutU32(ico, quint32(dib.size()));
    PutU32(ico, 22);
    return ico + dib;
}

struct ChangeCounter {
    int count = 0;
    void Attach(TIconList &list)
    {
        list.OnChange = [this](TIconList *) { ++count; };
    }
};

// ---- stream format ----

TEST(IconListStreamTest, RoundTripKeepsIconsSizesAndEmptySlots)
{
    TIconList list;
    list.Add(ColourIcon(Qt::red));
    list.Add(QIcon());
    QIcon multi;
    for (int size : {16, 32, 256})
        multi.addPixmap(ColourIcon(Qt::blue, size).pixmap(QSize(size, size), 1.0));
    list.Add(multi);

    const QByteArray bytes = Saved(list);
    ASSERT_GE(bytes.size(), 16);
    EXPECT_EQ(U32At(bytes, 0), 3u);
    const quint32 firstSize = U32At(bytes, 4);
    EXPECT_EQ(bytes.mid(8, 4), QByteArray("\0\0\1\0", 4)); // an .ico file follows
    EXPECT_EQ(U32At(bytes, 8 + firstSize), 0u);              // the empty slot

    TIconList loaded;
    loaded.Add(ColourIcon(Qt::green)); // replaced, not kept
    ChangeCounter changes;
    changes.Attach(loaded);
    Load(loaded, bytes);
    EXPECT_EQ(changes.count, 1);
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(IconColour(loaded.Icon(0)), QColor(Qt::red));
    EXPECT_TRUE(loaded.Icon(1).isNull());
    const QList<QSize> sizes = loaded.Icon(2).availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(256, 256)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_EQ(Saved(loaded), bytes);
}

TEST(IconListStreamTest, DamagedStreamThrowsAndLeavesTheListAsItWas)
{
    TIconList source;
    source.Add(ColourIcon(Qt::red));
    source.Add(ColourIcon(Qt::green));
    const QByteArray good = Saved(source);

    TIconList list;
    list.Add(ColourIcon(Qt::blue));
    ChangeCounter changes;
    changes.Attach(list);

    const QByteArray damaged[] = {
        good.left(good.size() - 10),                                 // cut short
        good.left(2),                                                // no whole count
        QByteArray("\xff\xff\xff\xff", 4),                           // four billion entries, no data
        QByteArray("\1\0\0\0\xff\xff\xff\x7f", 8) + QByteArray(8, 'x'), // a size far beyond the data
        QByteArray("\1\0\0\0\4\0\0\0abcd", 12),                      // not an icon
    };
    for (const QByteArray &bytes : damaged) {
        EXPECT_THROW(Load(list, bytes), platform::Exception);
        ASSERT_EQ(list.Count(), 1);
        EXPECT_EQ(IconColour(list.Icon(0)), QColor(Qt::blue));
    }
    EXPECT_EQ(changes.count, 0);
}

// ---- update counter and operations ----

TEST(IconListTest, OneNotificationAfterNestedUpdate)
{
    TIconList list;
    ChangeCounter changes;
    changes.Attach(list);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(ColourIcon(Qt::red));
    list.Add(ColourIcon(Qt::green));
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changes.count, 0);
    list.EndUpdate();
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(list.UpdateCount(), 0);

    list.Add(ColourIcon(Qt::blue));
    EXPECT_EQ(changes.count, 2);
    list.EndUpdate(); // unbalanced: ignored, nothing sent
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(IconListTest, ClearAndAssignNotifyOnce)
{
    TIconList list;
    for (int i = 0; i < 5; ++i)
        list.Add(ColourIcon(Qt::red));
    ChangeCounter changes;
    changes.Attach(list);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(changes.count, 1);

    TIconList other;
    other.Add(ColourIcon(Qt::green));
    other.Add(QIcon());
    list.Assign(other);
    EXPECT_EQ(changes.count, 2);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(IconColour(list.Icon(0)), QColor(Qt::green));
    EXPECT_TRUE(list.Icon(1).isNull());

    list.Assign(ColourIcon(Qt::blue));
    EXPECT_EQ(changes.count, 3);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(IconColour(list.Icon(0)), QColor(Qt::blue));

    list.Assign(list);
    EXPECT_EQ(list.Count(), 1);
}

TEST(IconListTest, OperationsKeepTheOrder)
{
    TIconList list;
    const QIcon red = ColourIcon(Qt::red), green = ColourIcon(Qt::green), blue = ColourIcon(Qt::blue);
    EXPECT_EQ(list.Add(red), 0);
    EXPECT_EQ(list.Add(green), 1);
    list.Insert(0, blue); // blue red green
    list.Exchange(0, 2);  // green red blue
    list.Move(0, 2);      // red blue green
    auto colours = [&] {
        QList<QColor> out;
        for (int i = 0; i < list.Count(); ++i)
            out << IconColour(list.Icon(i));
        return out;
    };
    EXPECT_EQ(colours(), (QList<QColor>{Qt::red, Qt::blue, Qt::green}));
    EXPECT_EQ(list.IndexOf(green), 2);
    EXPECT_EQ(list.IndexOf(ColourIcon(Qt::green)), -1); // another icon of the same colour
    EXPECT_EQ(list.IndexOf(QIcon()), -1);

    list.PutIcon(3, red); // at count: appends
    list.PutIcon(1, green);
    EXPECT_EQ(colours(), (QList<QColor>{Qt::red, Qt::green, Qt::green, Qt::red}));
}

TEST(IconListTest, IndexOutsideTheListThrows)
{
    TIconList list;
    list.Add(ColourIcon(Qt::red));
    EXPECT_THROW(list.GetIcon(1), platform::Exception);
    EXPECT_THROW(list.GetIcon(-1), platform::Exception);
    EXPECT_THROW(list.PutIcon(2, QIcon()), platform::Exception);
    EXPECT_THROW(list.Delete(1), platform::Exception);
    EXPECT_THROW(list.Insert(3, QIcon()), platform::Exception);
    EXPECT_THROW(list.Exchange(0, 1), platform::Exception);
    EXPECT_THROW(list.Move(1, 0), platform::Exception);
    EXPECT_EQ(list.Count(), 1);
}

TEST(IconListTest, ResourcesLoadFromIcoAndImageFilesAndMissingOnesThrow)
{
    QTemporaryDir dir;
    const QString icoPath = dir.filePath("frame.ico");
    QFile ico(icoPath);
    ASSERT_TRUE(ico.open(QIODevice::WriteOnly));
    ico.write(widgets::IcoDataFromIcon(ColourIcon(Qt::green, 32)));
    ico.close();
    const QString pngPath = dir.filePath("frame.png");
    ASSERT_TRUE(ColourIcon(Qt::blue).pixmap(QSize(16, 16), 1.0).save(pngPath, "PNG"));

    TIconList list;
    EXPECT_EQ(list.AddResource(icoPath), 0);
    list.InsertResource(0, pngPath);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(IconColour(list.Icon(0)), QColor(Qt::blue));
    EXPECT_EQ(IconColour(list.Icon(1)), QColor(Qt::green));
    EXPECT_THROW(list.AddResource(dir.filePath("fehlt.ico")), platform::Exception);
    EXPECT_EQ(list.Count(), 2);
}

// ---- .ico format ----

TEST(IcoFileTest, WrittenDirectoryDescribesEachImage)
{
    const QList<QImage> images = {ColourIcon(Qt::red, 256).pixmap(QSize(256, 256), 1.0).toImage(),
                                  ColourIcon(Qt::red, 48).pixmap(QSize(48, 48), 1.0).toImage()};
    const QByteArray ico = widgets::WriteIcoImages(images);
    ASSERT_GE(ico.size(), 6 + 32);
    EXPECT_EQ(qFromLittleEndian<quint16>(ico.constData() + 4), 2);
    EXPECT_EQ(quint8(ico[6]), 0); // 256 is written as 0
    EXPECT_EQ(quint8(ico[6 + 16]), 48);
    EXPECT_EQ(qFromLittleEndian<quint16>(ico.constData() + 6 + 6), 32); // bits per pixel
    const quint32 size = U32At(ico, 6 + 8), offset = U32At(ico, 6 + 12);
    EXPECT_EQ(offset, 38u);
    EXPECT_EQ(ico.mid(offset, 4), QByteArray("\x89PNG"));
    EXPECT_EQ(U32At(ico, 6 + 16 + 12), offset + size);

    const auto back = widgets::ReadIcoImages(ico);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2);
    EXPECT_EQ(back->at(0).size(), QSize(256, 256));
    EXPECT_EQ(back->at(1).size(), QSize(48, 48));
}

TEST(IcoFileTest, ReadsPaletteDibWithMaskBottomUp)
{
    QByteArray palette;
    const QRgb entries[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    for (int i = 0; i < 16; ++i) {
        const QRgb c = i < 4 ? entries[i] : qRgb(9, 9, 9);
        palette.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append(char(0));
    }
    // 4 x 2 pixels, 4 bits each; rows are stored bottom row first.
    const QByteArray pixels("\x22\x11\0\0" "\x12\x30\0\0", 8);
    const QByteArray mask("\0\0\0\0" "\x10\0\0\0", 8); // top row, pixel 3 transparent
    const auto images = widgets::ReadIcoImages(DibIco(4, 2, 4, palette, pixels, mask));
    ASSERT_TRUE(images);
    const QImage &image = images->first();
    ASSERT_EQ(image.size(), QSize(4, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(3, 0)), 0);
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(3, 1), qRgb(255, 0, 0));
}

TEST(IcoFileTest, Reads32BitDibAlphaOrFallsBackToTheMask)
{
    // 2 x 1: a half-transparent red and an opaque blue pixel (BGRA).
    const QByteArray withAlpha("\0\0\xff\x80" "\xff\0\0\xff", 8);
    const QByteArray mask("\x40\0\0\0", 4); // would hide the second pixel
    auto images = widgets::ReadIcoImages(DibIco(2, 1, 32, {}, withAlpha, mask));
    ASSERT_TRUE(images);
    EXPECT_EQ(images->first().pixel(0, 0), qRgba(255, 0, 0, 0x80));
    EXPECT_EQ(images->first().pixel(1, 0), qRgba(0, 0, 255, 255));

    const QByteArray noAlpha("\0\0\xff\0" "\xff\0\0\0", 8);
    images = widgets::ReadIcoImages(DibIco(2, 1, 32, {}, noAlpha, mask));
    ASSERT_TRUE(images);
    EXPECT_EQ(images->first().pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(images->first().pixel(1, 0)), 0);
}

TEST(IcoFileTest, MalformedFilesGiveNoImages)
{
    const QByteArray good = widgets::IcoDataFromIcon(ColourIcon(Qt::red, 32));
    ASSERT_TRUE(widgets::ReadIcoImages(good));

    QByteArray badOffset = good;
    qToLittleEndian<quint32>(0x7fffffff, badOffset.data() + 6 + 12);
    QByteArray badSize = good;
    qToLittleEndian<quint32>(quint32(good.size()), badSize.data() + 6 + 8);
    QByteArray manyEntries = good.left(6);
    qToLittleEndian<quint16>(500, manyEntries.data() + 4);
    QByteArray hugeDib = DibIco(2, 1, 32, {}, QByteArray(8, '\0'), QByteArray(4, '\0'));
    qToLittleEndian<quint32>(100000, hugeDib.data() + 22 + 4); // wider than any icon and its data

    for (const QByteArray &bytes : {QByteArray(), good.left(5), badOffset, badSize, manyEntries, hugeDib,
                                    good.left(good.size() - 1), QByteArray("\0\0\2\0\1\0", 6)})
        EXPECT_FALSE(widgets::ReadIcoImages(bytes));
    EXPECT_TRUE(widgets::IconFromIcoData(badOffset).isNull());
}

} // namespace
