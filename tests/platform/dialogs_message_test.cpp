// Message dialogs and the error box: look, button rules, layout in dialog units.

#include "dialoglayout.h"
#include "dialogs.h"
#include "modaldriver.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <gtest/gtest.h>

#include "dialogunits.h"

#include <algorithm>
#include <cmath>
#include <memory>

using namespace platform;

namespace {

const unsigned kAllButtons = mbYes | mbNo | mbOK | mbCancel | mbAbort | mbRetry | mbIgnore | mbAll | mbNoToAll |
                             mbYesToAll | mbHelp;

QList<QPushButton *> buttonsLeftToRight(QDialog *dialog)
{
    QList<QPushButton *> buttons = dialog->findChildren<QPushButton *>();
    std::sort(buttons.begin(), buttons.end(), [](QPushButton *a, QPushButton *b) { return a->x() < b->x(); });
    return buttons;
}

QStringList captionsOf(QDialog *dialog)
{
    QStringList captions;
    for (QPushButton *b : buttonsLeftToRight(dialog))
        captions.append(b->text());
    return captions;
}

QImage imageOf(QStyle::StandardPixmap which)
{
    return QApplication::style()->standardIcon(which).pixmap(32, 32).toImage();
}

class MessageDialogTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetApplicationTitle(QString());
        QApplication::setFont(m_messageFont, "QMessageBox");
    }

    std::unique_ptr<QDialog> create(const QString &text, MsgDlgType type, unsigned buttons)
    {
        return std::unique_ptr<QDialog>(CreateMessageDialog(text, type, buttons));
    }

    QFont m_messageFont = QApplication::font("QMessageBox");
};

} // namespace

TEST_F(MessageDialogTest, EachKindHasItsTitleAndIcon)
{
    SetApplicationTitle(QStringLiteral("Kartolino"));
    struct Row {
        MsgDlgType type;
        const char *title;
        std::optional<QStyle::StandardPixmap> icon;
    };
    const Row rows[] = {
        {MsgDlgType::Warning, "Warnung", QStyle::SP_MessageBoxWarning},
        {MsgDlgType::Error, "Fehler", QStyle::SP_MessageBoxCritical},
        {MsgDlgType::Information, "Information", QStyle::SP_MessageBoxInformation},
        {MsgDlgType::Confirmation, "Bestätigung", QStyle::SP_MessageBoxQuestion},
        {MsgDlgType::Custom, "Kartolino", std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.title);
        auto dialog = create(QStringLiteral("Text"), row.type, mbOK);
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(row.title));
        auto *icon = dialog->findChild<QLabel *>(QStringLiteral("Image"));
        if (!row.icon) {
            EXPECT_EQ(icon, nullptr);
            continue;
        }
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->geometry().size(), QSize(32, 32));
        ASSERT_FALSE(icon->pixmap().isNull());
        EXPECT_EQ(icon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                  imageOf(*row.icon).convertToFormat(QImage::Format_ARGB32));
    }
}

TEST_F(MessageDialogTest, CustomKindFollowsTheApplicationTitle)
{
    SetApplicationTitle(QString());
    const QString derived = ApplicationTitle();
    EXPECT_FALSE(derived.isEmpty());
    EXPECT_FALSE(derived.contains(QLatin1Char('.')));
    EXPECT_EQ(create(QStringLiteral("x"), MsgDlgType::Custom, mbOK)->windowTitle(), derived);
    SetApplicationTitle(QStringLiteral("Kartolino"));
    EXPECT_EQ(create(QStringLiteral("x"), MsgDlgType::Custom, mbOK)->windowTitle(), QStringLiteral("Kartolino"));
}

TEST_F(MessageDialogTest, ButtonsStandInTheFixedOrderWithTheirCaptions)
{
    auto all = create(QStringLiteral("x"), MsgDlgType::Custom, kAllButtons);
    EXPECT_EQ(captionsOf(all.get()),
              (QStringList{"&Ja", "&Nein", "OK", "Abbrechen", "&Abbrechen", "&Wiederholen", "&Ignorieren", "&Alle",
                           "&Alle Nein", "A&lle Ja", "&Hilfe"}));
    QStringList names;
    for (QPushButton *b : buttonsLeftToRight(all.get()))
        names.append(b->objectName());
    EXPECT_EQ(names, (QStringList{"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll",
                                  "YesToAll", "Help"}));

    // The order does not depend on how the set is written.
    auto some = create(QStringLiteral("x"), MsgDlgType::Confirmation, mbHelp | mbCancel | mbNo | mbYes);
    EXPECT_EQ(captionsOf(some.get()), (QStringList{"&Ja", "&Nein", "Abbrechen", "&Hilfe"}));
}

TEST_F(MessageDialogTest, DefaultButtonIsOkElseYesElseRetry)
{
    struct Row {
        unsigned buttons;
        const char *expected; // nullptr: no default button
    };
    const Row rows[] = {
        {mbYes | mbNo | mbOK | mbCancel, "OK"},
        {mbYes | mbNo, "&Ja"},
        {mbYes | mbRetry, "&Ja"},
        {mbAbort | mbRetry | mbIgnore, "&Wiederholen"},
        {mbAbort | mbIgnore, nullptr},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.buttons);
        auto dialog = create(QStringLiteral("x"), MsgDlgType::Custom, row.buttons);
        QStringList defaults;
        for (QPushButton *b : buttonsLeftToRight(dialog.get()))
            if (b->isDefault())
                defaults.append(b->text());
        EXPECT_EQ(defaults, row.expected ? QStringList{QString::fromUtf8(row.expected)} : QStringList{});
        if (row.expected) {
            ASSERT_NE(dialog->focusWidget(), nullptr);
            EXPECT_EQ(static_cast<QPushButton *>(dialog->focusWidget())->text(), QString::fromUtf8(row.expected));
        }
    }
}

TEST_F(MessageDialogTest, EscAndCloseBoxChooseCancelElseNoElseOk)
{
    struct Row {
        unsigned buttons;
        int expected;
    };
    const Row rows[] = {
        {mbYes | mbNo | mbOK | mbCancel, mrCancel},
        {mbYes | mbNo | mbOK, mrNo},
        {mbOK | mbRetry, mrOk},
        {mbAbort | mbRetry | mbIgnore, mrCancel},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.buttons);
        ModalDriver driver;
        driver.Escape().CloseBox();
        EXPECT_EQ(MessageDlg(QStringLiteral("x"), MsgDlgType::Warning, row.buttons), row.expected);
        EXPECT_EQ(MessageDlg(QStringLiteral("x"), MsgDlgType::Warning, row.buttons), row.expected);
    }
}

TEST_F(MessageDialogTest, ButtonsAndEnterReturnTheirResults)
{
    ModalDriver driver;
    driver.Press(QStringLiteral("&Nein")).Press(QStringLiteral("A&lle Ja")).Enter().Enter();
    EXPECT_EQ(MessageDlg(QStringLiteral("x"), MsgDlgType::Confirmation, mbYes | mbNo), mrNo);
    EXPECT_EQ(MessageDlg(QStringLiteral("x"), MsgDlgType::Confirmation, mbYes | mbNo | mbYesToAll), mrYesToAll);
    EXPECT_EQ(MessageDlg(QStringLiteral("x"), MsgDlgType::Confirmation, mbYes | mbNo), mrYes);
    EXPECT_EQ(MessageDlg(QStringLiteral("x"), MsgDlgType::Confirmation, mbAbort | mbRetry | mbCancel), mrRetry);
    ASSERT_EQ(driver.Seen().size(), 4);
    EXPECT_EQ(driver.Seen()[0].title, QStringLiteral("Bestätigung"));
    EXPECT_TRUE(driver.Seen()[0].hasIcon);
    EXPECT_EQ(driver.Seen()[0].focusButton, QStringLiteral("&Ja"));
}

TEST_F(MessageDialogTest, ButtonsAreEqualAndAtLeastTwelveAndAHalfUnitsWide)
{
    auto dialog = create(QStringLiteral("x"), MsgDlgType::Custom, kAllButtons);
    const DialogTestUnits u = unitsOf(dialog->font());
    const QList<QPushButton *> buttons = buttonsLeftToRight(dialog.get());
    int widest = 0;
    for (QPushButton *b : buttons)
        widest = std::max(widest, QFontMetrics(dialog->font()).horizontalAdvance(StripMnemonic(b->text())) + 8);
    const int expected = std::max(u.h(12.5), widest);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(buttons[i]->text().toStdString());
        EXPECT_EQ(buttons[i]->width(), expected);
        EXPECT_EQ(buttons[i]->height(), u.v(1.75));
        if (i > 0) {
            EXPECT_EQ(buttons[i]->x() - buttons[i - 1]->geometry().right() - 1, u.h(1));
        }
    }
    // The row is centred.
    const int left = buttons.first()->x();
    const int right = dialog->width() - buttons.last()->geometry().right() - 1;
    EXPECT_LE(std::abs(left - right), 1);
}

TEST_F(MessageDialogTest, LongCaptionsWidenEveryButton)
{
    const QFontMetrics fm(DialogFont());
    const QString longCaption = QStringLiteral("&Diese Beschriftung ist sehr viel breiter");
    const MessageLayout layout =
        LayoutMessageDialog(fm, QStringLiteral("x"), false, {QStringLiteral("OK"), longCaption}, 400);
    ASSERT_EQ(layout.buttons.size(), 2);
    const int needed = fm.horizontalAdvance(QStringLiteral("Diese Beschriftung ist sehr viel breiter")) + 8;
    ASSERT_GT(needed, unitsOf(DialogFont()).h(12.5));
    EXPECT_EQ(layout.buttons[0].width(), needed);
    EXPECT_EQ(layout.buttons[1].width(), needed);
    // The dialog grows with its buttons: margins of 2 units stay on both sides.
    const DialogTestUnits u = unitsOf(DialogFont());
    EXPECT_EQ(layout.client.width(), 2 * needed + u.h(1) + 2 * u.h(2));
}

TEST_F(MessageDialogTest, IconTextAndButtonsStandAtTheirPlaces)
{
    auto dialog = create(QStringLiteral("Eine kurze Meldung"), MsgDlgType::Information, mbOK);
    const DialogTestUnits u = unitsOf(dialog->font());
    auto *icon = dialog->findChild<QLabel *>(QStringLiteral("Image"));
    auto *text = dialog->findChild<QLabel *>(QStringLiteral("Message"));
    auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("OK"));
    ASSERT_TRUE(icon && text && ok);
    EXPECT_EQ(icon->geometry(), QRect(u.h(2), u.v(1), 32, 32));
    EXPECT_EQ(text->x(), u.h(2) + 32 + u.h(2.5));
    EXPECT_EQ(text->y(), u.v(1));
    EXPECT_EQ(text->text(), QStringLiteral("Eine kurze Meldung"));
    // One line of text is lower than the icon: the icon sets the height.
    ASSERT_LT(text->height(), 32);
    EXPECT_EQ(ok->y(), u.v(1) + 32 + u.v(1.25));
    EXPECT_EQ(dialog->height(), ok->geometry().bottom() + 1 + u.v(1));
    EXPECT_EQ(dialog->width(), text->geometry().right() + 1 + u.h(2));

    auto custom = create(QStringLiteral("Ohne Bild"), MsgDlgType::Custom, mbOK);
    auto *customText = custom->findChild<QLabel *>(QStringLiteral("Message"));
    ASSERT_NE(customText, nullptr);
    EXPECT_EQ(customText->pos(), QPoint(u.h(2), u.v(1)));
    EXPECT_EQ(custom->findChild<QPushButton *>()->y(), u.v(1) + customText->height() + u.v(1.25));
}

TEST_F(MessageDialogTest, TextWrapsAtHalfTheScreenWidth)
{
    const int half = QGuiApplication::primaryScreen()->geometry().width() / 2;
    QString longText;
    for (int i = 0; i < 60; ++i)
        longText += QStringLiteral("Wort%1 ").arg(i);
    auto dialog = create(longText.trimmed(), MsgDlgType::Custom, mbOK);
    auto *text = dialog->findChild<QLabel *>(QStringLiteral("Message"));
    ASSERT_NE(text, nullptr);
    const QFontMetrics fm(dialog->font());
    EXPECT_LE(text->width(), half);
    EXPECT_GT(text->width(), half - fm.horizontalAdvance(QStringLiteral("Wort00 ")));
    EXPECT_GE(text->height(), 3 * fm.height());
    // Every line the label draws fits in its width.
    const QRect drawn = fm.boundingRect(QRect(0, 0, text->width(), 10000), MessageTextFlags(), text->text());
    EXPECT_LE(drawn.width(), text->width());
    EXPECT_LE(drawn.height(), text->height());
}

TEST_F(MessageDialogTest, ErrorBoxBreaksALongWordAtHalfTheScreenWidth)
{
    const int half = QGuiApplication::primaryScreen()->geometry().width() / 2;
    const QString path = "/home/nutzer/" + QString(234, QChar('k')) + ".rtf";
    ASSERT_EQ(path.size(), 251);
    const QString message = "Datei " + path + " kann nicht erstellt werden";
    auto dialog = std::unique_ptr<QDialog>(CreateErrorBox(message));
    auto *text = dialog->findChild<QLabel *>(QStringLiteral("Message"));
    ASSERT_NE(text, nullptr);
    const QFontMetrics fm(dialog->font());
    EXPECT_LE(text->width(), half);
    EXPECT_GT(text->width(), half - fm.horizontalAdvance("kk"));
    EXPECT_EQ(QString(text->text()).remove('\n'), ErrorBoxText(message)) << "nothing lost or added";
    const QRect drawn = fm.boundingRect(QRect(0, 0, text->width(), 10000), MessageTextFlags(), text->text());
    EXPECT_LE(drawn.width(), text->width());
    EXPECT_LE(drawn.height(), text->height());
    EXPECT_GE(text->height(), 3 * fm.height());
    EXPECT_LT(dialog->width(), half + 32 + 100);
}

TEST_F(MessageDialogTest, CarriageReturnBreaksTheLine)
{
    auto dialog = create(QStringLiteral("Erste Zeile\rZweite Zeile"), MsgDlgType::Error, mbOK);
    auto *text = dialog->findChild<QLabel *>(QStringLiteral("Message"));
    ASSERT_NE(text, nullptr);
    const QFontMetrics fm(dialog->font());
    EXPECT_EQ(text->text(), QStringLiteral("Erste Zeile\nZweite Zeile"));
    EXPECT_EQ(text->height(), 2 * fm.height());
    EXPECT_EQ(NormalizeLineBreaks(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
}

TEST_F(MessageDialogTest, TextIsShownAsTyped)
{
    auto dialog = create(QStringLiteral("Karte <b>A&B</b>"), MsgDlgType::Error, mbOK);
    auto *text = dialog->findChild<QLabel *>(QStringLiteral("Message"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->textFormat(), Qt::PlainText);
    // Measured with the "&" (not taken as a mnemonic); a pixel more for rounding up.
    const QFontMetrics fm(dialog->font());
    EXPECT_GE(text->width(), fm.horizontalAdvance(QStringLiteral("Karte <b>A&B</b>")));
    EXPECT_LE(text->width(), fm.horizontalAdvance(QStringLiteral("Karte <b>A&B</b>")) + 1);
}

TEST_F(MessageDialogTest, ModalCentredAndInTheMessageFont)
{
    QFont big = m_messageFont;
    big.setPointSizeF(m_messageFont.pointSizeF() * 2);
    QApplication::setFont(big, "QMessageBox");
    auto dialog = create(QStringLiteral("x"), MsgDlgType::Warning, mbOK);
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->font().pointSizeF(), big.pointSizeF());
    // DialogTestUnits come from that font: a doubled font gives bigger buttons.
    EXPECT_EQ(dialog->findChild<QPushButton *>()->width(), unitsOf(big).h(12.5));
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((dialog->geometry().center() - centre).manhattanLength(), 1);
}

TEST_F(MessageDialogTest, ErrorBoxHasTheApplicationTitleAndOneOk)
{
    SetApplicationTitle(QStringLiteral("Kartolino"));
    ModalDriver driver;
    driver.Press(QStringLiteral("OK")).Escape();
    ShowErrorBox(QStringLiteral("Datei nicht gefunden"));
    ShowErrorBox(QStringLiteral("Fertig."));
    ASSERT_EQ(driver.Seen().size(), 2);
    const SeenDialog &seen = driver.Seen()[0];
    EXPECT_EQ(seen.title, QStringLiteral("Kartolino"));
    EXPECT_EQ(seen.text, QStringLiteral("Datei nicht gefunden."));
    EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(seen.defaultButton, QStringLiteral("OK"));
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_EQ(driver.Seen()[1].text, QStringLiteral("Fertig."));

    std::unique_ptr<QDialog> box(CreateErrorBox(QStringLiteral("x")));
    auto *icon = box->findChild<QLabel *>(QStringLiteral("Image"));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              imageOf(QStyle::SP_MessageBoxCritical).convertToFormat(QImage::Format_ARGB32));
}

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(ErrorBoxText(QStringLiteral("abc")), QStringLiteral("abc."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("abc.")), QStringLiteral("abc."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("abc!")), QStringLiteral("abc!")); // "!" sorts below "."
    EXPECT_EQ(ErrorBoxText(QStringLiteral("Fehler 5")), QStringLiteral("Fehler 5."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("a/")), QStringLiteral("a/."));    // "/" sorts just above
    EXPECT_EQ(ErrorBoxText(QStringLiteral("a-")), QStringLiteral("a-"));     // "-" sorts just below
    EXPECT_EQ(ErrorBoxText(QString()), QString());
}
