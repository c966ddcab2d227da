// The about and help windows: layout and texts, the shell hand-offs, how they
// close, and the commands that make, place, show and release them.

#include "shell.h"
#include "hilfe2.h"
#include "info2.h"
#include "makerlogo.h"
#include "flatbuttonunit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using ui::TfrmHilfe;
using ui::TfrmInfo;

namespace {

QStringList g_opened;
void recordOpen(const QString &target) { g_opened << target; }

void click(QWidget *w, QPoint at = {3, 3})
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), w->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), w->mapToGlobal(QPointF(at)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

// Runs `step` inside the next modal loop, on the window that loop shows.
void whenModal(std::function<void(QWidget *)> step)
{
    QTimer::singleShot(0, qApp, [step] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        step(modal);
    });
}

void keyToFocus(QWidget *window, Qt::Key key)
{
    QWidget *target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key);
}

class AboutWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_opened.clear();
        platform::SetShellOpener(&recordOpen);
    }
    void TearDown() override
    {
        platform::SetShellOpener(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

// --- centring ---------------------------------------------------------------

TEST(CentredOver, HalvesTruncateTowardZero)
{
    EXPECT_EQ(ui::CentredOver(QRect(100, 50, 800, 600), {368, 187}), QPoint(316, 256));
    // A main window narrower than the about window and partly off the screen:
    // (301 - 368) / 2 = -33 and (100 - 187) / 2 = -43, not -34 and -44.
    EXPECT_EQ(ui::CentredOver(QRect(-300, -120, 301, 100), {368, 187}), QPoint(-333, -163));
}

TEST_F(AboutWindows, InfoOpensCentredOverAMainWindowPartlyOffTheScreen)
{
    QWidget main;
    main.setGeometry(-250, -140, 501, 301);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const QRect mainFrame = main.frameGeometry();
    ASSERT_LT(mainFrame.left(), 0);

    QPointer<QWidget> shown;
    QRect placed;
    whenModal([&](QWidget *modal) {
        shown = modal;
        placed = modal->frameGeometry();
        click(static_cast<TfrmInfo *>(modal)->BitBtn1);
    });
    ui::ShowInfoWindow(&main);

    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->parentWidget(), &main);
    EXPECT_NE(qobject_cast<TfrmInfo *>(shown.data()), nullptr);
    EXPECT_EQ(placed.topLeft(), ui::CentredOver(mainFrame, placed.size()));
    EXPECT_LT(placed.left(), 0) << "left where it belongs, not pulled onto the screen";
    EXPECT_FALSE(shown->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(shown) << "released after the modal loop";
}

TEST_F(AboutWindows, InfoTwiceGivesTwoSeparateFreshlyFilledWindows)
{
    QWidget main;
    main.setGeometry(100, 100, 600, 400);
    main.show();

    std::vector<QPointer<QWidget>> windows;
    std::vector<QString> hosts;
    auto closeSoon = [&](QWidget *modal) {
        windows.emplace_back(modal);
        hosts.push_back(static_cast<TfrmInfo *>(modal)->lURL->text());
        QTimer::singleShot(20, modal, [modal] { click(static_cast<TfrmInfo *>(modal)->BitBtn1); });
    };
    whenModal(closeSoon);
    ui::ShowInfoWindow(&main);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_FALSE(windows[0]);

    whenModal([&](QWidget *modal) {
        EXPECT_FALSE(windows[0]) << "the first window is gone before the second opens";
        closeSoon(modal);
    });
    ui::ShowInfoWindow(&main);
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_TRUE(windows[1]) << "released later, not at once";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(windows[1]);
    EXPECT_EQ(hosts, (std::vector<QString>{ui::kMakerWebHost, ui::kMakerWebHost}));
}

// --- the about window -----------------------------------------------------------

TEST_F(AboutWindows, InfoLayoutAndTexts)
{
    QWidget main;
    TfrmInfo frm(&main);
    EXPECT_EQ(frm.windowTitle(), "xxx");
    EXPECT_TRUE(frm.lURL->text().isEmpty());

    frm.show();
    EXPECT_EQ(frm.windowTitle(), "Fennwick Kartolino");
    EXPECT_EQ(frm.size(), QSize(368, 187));
    EXPECT_EQ(frm.minimumSize(), frm.maximumSize()) << "fixed border";
    const Qt::WindowFlags flags = frm.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(frm.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(frm.font().pixelSize(), 13);
    EXPECT_EQ(frm.font().families().value(0), "Tahoma");

    EXPECT_EQ(frm.Image1->geometry(), QRect(50, 3, 270, 100));
    EXPECT_EQ(frm.Image1->pixmap().size(), QSize(270, 100));
    EXPECT_EQ(frm.Image1->cursor().shape(), Qt::PointingHandCursor);

    EXPECT_EQ(frm.lURL->text(), ui::kMakerWebHost);
    EXPECT_EQ(frm.lURL->x(), 57);
    EXPECT_LE(frm.lURL->y(), 112);
    EXPECT_GT(frm.lURL->y(), frm.Image1->geometry().bottom()) << "below the logo";
    EXPECT_GE(frm.lURL->width(), frm.lURL->fontMetrics().horizontalAdvance(ui::kMakerWebHost));
    EXPECT_EQ(frm.lMail->text(), ui::kMakerMailAddress);
    EXPECT_EQ(frm.lMail->x() + frm.lMail->width(), 314) << "right edge fixed";
    EXPECT_GE(frm.lMail->y(), 112);
    EXPECT_FALSE(frm.lMail->geometry().intersects(frm.lURL->geometry()));
    EXPECT_LE(frm.lMail->geometry().bottom(), 143) << "above the dividing line";
    for (QLabel *link : {frm.lURL, frm.lMail}) {
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->font().pixelSize(), 13);
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }

    EXPECT_EQ(frm.Bevel1->geometry(), QRect(8, 144, 345, 2));
    EXPECT_EQ(frm.Bevel1->frameShadow(), QFrame::Sunken);

    EXPECT_EQ(frm.Label1->pos(), QPoint(8, 152));
    EXPECT_GE(frm.Label1->width(), 131);
    EXPECT_GE(frm.Label1->height(), 28);
    EXPECT_LE(frm.Label1->geometry().right(), 271) << "clear of the button";
    EXPECT_EQ(frm.Label1->font().pixelSize(), 12);
    const QStringList notice = frm.Label1->text().split('\n');
    ASSERT_EQ(notice.size(), 2);
    EXPECT_TRUE(notice[0].startsWith(QStringLiteral("© 20")));
    EXPECT_TRUE(notice[0].contains(ui::kMakerName));
    EXPECT_EQ(notice[1], "Alle Rechte vorbehalten");

    widgets::TFlatButton *ok = frm.BitBtn1;
    EXPECT_EQ(ok->geometry(), QRect(272, 152, 75, 25));
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), 1);
    EXPECT_EQ(ok->Layout(), widgets::TButtonLayout::blGlyphLeft);
    EXPECT_TRUE(ok->TabStop());
    EXPECT_TRUE(ok->Glyph().isNull());
    EXPECT_EQ(ok->Color(), platform::clWhite) << "takes the window's colour";
    EXPECT_EQ(frm.focusWidget(), ok);
}

TEST_F(AboutWindows, ShortAddressesStandSideBySideOnTheirRow)
{
    TfrmInfo frm(nullptr);
    frm.show();
    frm.lURL->setText("www.fw.de");
    frm.lMail->setText("info@fw.de");
    frm.PlaceAddressLabels();
    EXPECT_EQ(frm.lURL->pos(), QPoint(57, 112));
    EXPECT_EQ(frm.lMail->y(), 112);
    EXPECT_EQ(frm.lMail->x() + frm.lMail->width(), 314);
    EXPECT_GE(frm.lMail->width(), frm.lMail->fontMetrics().horizontalAdvance("info@fw.de"));

    // A longer mail address grows to the left.
    const int shortLeft = frm.lMail->x();
    frm.lMail->setText("kontakt@fw.de");
    frm.PlaceAddressLabels();
    EXPECT_LT(frm.lMail->x(), shortLeft);
    EXPECT_EQ(frm.lMail->x() + frm.lMail->width(), 314);
}

TEST_F(AboutWindows, LogoAndWebAddressOpenTheWebSiteMailOpensAMessage)
{
    TfrmInfo frm(nullptr);
    frm.show();
    click(frm.Image1);
    click(frm.lURL);
    click(frm.lMail);
    EXPECT_EQ(g_opened, (QStringList{ui::kMakerWebAddress, ui::kMakerWebAddress,
                                     "mailto:" + ui::kMakerMailAddress}));
    EXPECT_TRUE(g_opened[0].startsWith("https://"));

    // A press that leaves the label before the release opens nothing.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frm.lURL, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-20, 3), QPointF(-20, 3),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frm.lURL, &release);
    EXPECT_EQ(g_opened.size(), 3);
}

TEST_F(AboutWindows, InfoClosesWithOkByEnterEscapeOrTheButton)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        TfrmInfo frm(nullptr);
        whenModal([key](QWidget *modal) { keyToFocus(modal, key); });
        EXPECT_EQ(frm.exec(), QDialog::Accepted) << key;
    }
    TfrmInfo frm(nullptr);
    whenModal([&](QWidget *) { click(frm.BitBtn1); });
    EXPECT_EQ(frm.exec(), QDialog::Accepted);
}

TEST_F(AboutWindows, InfoClosesWithTheSpaceBarOnItsFocusedButton)
{
    TfrmInfo frm(nullptr);
    whenModal([&](QWidget *modal) {
        QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : frm.BitBtn1, Qt::Key_Space);
    });
    EXPECT_EQ(frm.exec(), 1);
}

// --- the help window --------------------------------------------------------------

TEST_F(AboutWindows, HelpLayoutAndText)
{
    QWidget main;
    TfrmHilfe frm(&main);
    EXPECT_EQ(frm.windowTitle(), "xxx");
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    EXPECT_EQ(frm.windowTitle(), "Fennwick Kartolino");
    EXPECT_EQ(frm.size(), QSize(441, 408));
    EXPECT_EQ(frm.minimumSize(), frm.maximumSize());
    EXPECT_FALSE(frm.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(frm.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(frm.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(frm.font().pixelSize(), 13);

    const QRect screen = frm.screen()->geometry();
    const QRect outer = frm.frameGeometry();
    EXPECT_EQ(outer.topLeft(), QPoint(screen.left() + (screen.width() - outer.width()) / 2,
                                      screen.top() + (screen.height() - outer.height()) / 2));

    EXPECT_EQ(frm.Memo1->geometry(), QRect(8, 8, 425, 361));
    EXPECT_TRUE(frm.Memo1->isReadOnly());
    EXPECT_EQ(frm.Memo1->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(frm.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(frm.BitBtn1->geometry(), QRect(183, 376, 75, 25));
    EXPECT_EQ(frm.BitBtn1->text(), "OK");
    EXPECT_TRUE(frm.BitBtn1->isDefault());
    EXPECT_EQ(frm.focusWidget(), frm.Memo1) << "the text comes first in the tab order";
    frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    QTest::keyClick(frm.Memo1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), frm.BitBtn1) << "Tab leaves the text for the button";

    QTextDocument *doc = frm.Memo1->document();
    ASSERT_EQ(doc->blockCount(), 19);
    EXPECT_EQ(frm.Memo1->toPlainText().split('\n'), ui::HelpTextLines());
    // Every line fits: none is wrapped in the window's font.
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        EXPECT_LE(b.layout()->lineCount(), 1) << b.text().toStdString();
}

TEST(HelpText, CoversImprintWarrantySettingsPassingOnAndTheMaker)
{
    const QString text = ui::HelpTextLines().join('\n');
    for (const char *part : {"Werbeaufdruck", "Firmenzeichen", "Anfrage", "Gewähr", "eigene Gefahr",
                             "Kartolino.ini", "Programmordner", "Weitergabe", "©", "Rechte vorbehalten"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    for (const QString &maker : {ui::kMakerName, ui::kMakerWebAddress, ui::kMakerMailAddress})
        EXPECT_TRUE(text.contains(maker)) << maker.toStdString();
}

TEST_F(AboutWindows, HelpClosesWithOkByEnterEscapeOrTheButton)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        TfrmHilfe frm(nullptr);
        whenModal([key](QWidget *modal) { keyToFocus(modal, key); });
        EXPECT_EQ(frm.exec(), 1) << key;
    }
    TfrmHilfe frm(nullptr);
    whenModal([&](QWidget *) { frm.BitBtn1->click(); });
    EXPECT_EQ(frm.exec(), 1);
}

TEST_F(AboutWindows, HelpCommandShowsAWindowOwnedByTheMainWindowAndReleasesIt)
{
    QWidget main;
    main.show();
    QPointer<QWidget> shown;
    QString title;
    whenModal([&](QWidget *modal) {
        shown = modal;
        title = modal->windowTitle();
        QTimer::singleShot(20, modal, [modal] { static_cast<TfrmHilfe *>(modal)->BitBtn1->click(); });
    });
    ui::ShowHelpWindow(&main);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->parentWidget(), &main);
    EXPECT_NE(qobject_cast<TfrmHilfe *>(shown.data()), nullptr);
    EXPECT_EQ(title, "Fennwick Kartolino");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(shown);
}
