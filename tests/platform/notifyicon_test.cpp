// The notification-area layer: turning Qt's whole clicks into presses and
// releases, and the real backend where there is no notification area.

#include "namedicon.h"
#include "notifyicon.h"

#include <gtest/gtest.h>

using platform::ClickTranslator;
using E = platform::TrayMouseEvent;
using Events = std::vector<E>;

namespace {

constexpr int kDoubleClickMs = 400;

TEST(ClickTranslatorTest, WholeClicksBecomePressAndRelease)
{
    ClickTranslator t;
    EXPECT_EQ(t.Translate(QSystemTrayIcon::Trigger, 1000, kDoubleClickMs), (Events{E::LeftDown, E::LeftUp}));
    EXPECT_EQ(t.Translate(QSystemTrayIcon::Context, 5000, kDoubleClickMs), (Events{E::RightDown, E::RightUp}));
    EXPECT_EQ(t.Translate(QSystemTrayIcon::MiddleClick, 6000, kDoubleClickMs),
              (Events{E::MiddleDown, E::MiddleUp}));
    EXPECT_TRUE(t.Translate(QSystemTrayIcon::Unknown, 7000, kDoubleClickMs).empty());
}

TEST(ClickTranslatorTest, DoubleClickAfterItsFirstHalfAddsTheSecondHalf)
{
    ClickTranslator t;
    Events all = t.Translate(QSystemTrayIcon::Trigger, 1000, kDoubleClickMs);
    const Events second = t.Translate(QSystemTrayIcon::DoubleClick, 1250, kDoubleClickMs);
    all.insert(all.end(), second.begin(), second.end());
    // As the desktop reports a double click: press, release, double click, release.
    EXPECT_EQ(all, (Events{E::LeftDown, E::LeftUp, E::LeftDblClick, E::LeftUp}));
}

TEST(ClickTranslatorTest, DoubleClickWithoutRecentFirstHalfGetsItSoExactlyOneClickPrecedes)
{
    ClickTranslator lone;
    EXPECT_EQ(lone.Translate(QSystemTrayIcon::DoubleClick, 1000, kDoubleClickMs),
              (Events{E::LeftDown, E::LeftUp, E::LeftDblClick, E::LeftUp}));

    ClickTranslator late;
    late.Translate(QSystemTrayIcon::Trigger, 1000, kDoubleClickMs);
    EXPECT_EQ(late.Translate(QSystemTrayIcon::DoubleClick, 1000 + kDoubleClickMs + 1, kDoubleClickMs).size(), 4u);

    // A trigger pairs with one double click only.
    ClickTranslator twice;
    twice.Translate(QSystemTrayIcon::Trigger, 1000, kDoubleClickMs);
    twice.Translate(QSystemTrayIcon::DoubleClick, 1100, kDoubleClickMs);
    EXPECT_EQ(twice.Translate(QSystemTrayIcon::DoubleClick, 1200, kDoubleClickMs).size(), 4u);
}

TEST(NotifyIconTest, WithoutNotificationAreaTheAddIsRefused)
{
    // The headless test platform has no notification area.
    EXPECT_FALSE(platform::NotificationAreaAvailable());
    auto icon = platform::CreateNotifyIcon();
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    EXPECT_FALSE(icon->Add({QIcon(QPixmap::fromImage(image)), "Kartolino anzeigen"}));
    EXPECT_FALSE(icon->Modify({QIcon(QPixmap::fromImage(image)), "x"}));
    EXPECT_FALSE(icon->Delete());
}

class CountingBackend : public platform::NotifyIconBackend {
public:
    bool Add(const platform::NotifyIconData &) override { return true; }
    bool Modify(const platform::NotifyIconData &) override { return true; }
    bool Delete() override { return true; }
};

TEST(NotifyIconTest, FactoryReplacesTheBackendUntilReset)
{
    int made = 0;
    platform::SetNotifyIconFactory([&] {
        ++made;
        return std::make_unique<CountingBackend>();
    });
    auto fake = platform::CreateNotifyIcon();
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(fake->Add({}));
    platform::SetNotifyIconFactory(nullptr);
    auto real = platform::CreateNotifyIcon();
    EXPECT_EQ(made, 1);
    EXPECT_FALSE(real->Add({}));
}

} // namespace

TEST(IconNamedTest, DrawnIconGetsTheNameAndKeepsItsPixels)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    const QIcon drawn(QPixmap::fromImage(image));
    ASSERT_TRUE(drawn.name().isEmpty());
    const QIcon named = platform::IconNamed(drawn, "example.fennwick.Kartolino");
    EXPECT_EQ(named.name(), "example.fennwick.Kartolino");
    EXPECT_EQ(named.availableSizes(), drawn.availableSizes());
    EXPECT_EQ(named.pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
    // A copy (as the tray keeps one) keeps the name.
    const QIcon copy = named;
    EXPECT_EQ(copy.name(), "example.fennwick.Kartolino");
}
