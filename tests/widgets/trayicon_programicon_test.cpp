// The program icon that the tray shows: nine sizes, each drawn for itself.

#include "programicon.h"
#include "icofile.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

struct Coverage {
    int transparent = 0;
    int blue = 0;
    int gold = 0;
};

Coverage Measure(const QImage &image)
{
    Coverage c;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            c.transparent += qAlpha(p) == 0;
            c.blue += p == qRgb(0, 0, 255);
            c.gold += p == qRgb(255, 215, 42);
        }
    }
    return c;
}

TEST(ProgramIconTest, HoldsTheNineSizes)
{
    const QIcon icon = ui::ProgramIcon();
    QSet<int> sides;
    for (const QSize &size : icon.availableSizes()) {
        EXPECT_EQ(size.width(), size.height());
        sides.insert(size.width());
    }
    EXPECT_EQ(sides, QSet<int>({256, 128, 96, 72, 64, 48, 32, 24, 16}));
}

TEST(ProgramIconTest, EverySizeShowsCardWithBandAndStripeOnTransparentGround)
{
    for (int size : ui::kProgramIconSizes) {
        SCOPED_TRACE(size);
        const QImage image = ui::ProgramIconImage(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.depth(), 32);
        const Coverage c = Measure(image);
        const int area = size * size;
        EXPECT_GT(c.transparent, 0);
        EXPECT_LT(c.transparent, area / 2); // the cards fill most of the square
        EXPECT_GE(c.blue, area / 20);       // the band is visible even at 16
        EXPECT_GE(c.gold, std::max(2, area / 200));
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
}

TEST(ProgramIconTest, SurvivesTheIcoFormatWithAllSizes)
{
    const QByteArray ico = widgets::IcoDataFromIcon(ui::ProgramIcon());
    const auto images = widgets::ReadIcoImages(ico);
    ASSERT_TRUE(images);
    ASSERT_EQ(images->size(), 9);
    for (const QImage &image : *images)
        EXPECT_EQ(image, ui::ProgramIconImage(image.width()).convertToFormat(image.format()));
}

} // namespace
