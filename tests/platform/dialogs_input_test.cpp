// The input box: geometry in dialog units, the edit's limits, and its answers.

#include "dialogs.h"
#include "modaldriver.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include "dialogunits.h"

#include <cmath>
#include <memory>

using namespace platform;

namespace {

std::unique_ptr<QDialog> createInput(const QString &value)
{
    return std::unique_ptr<QDialog>(
        CreateInputDialog(QStringLiteral("Neue Karte anlegen"), QStringLiteral("Geben Sie die Beschriftung ein"), value));
}

} // namespace

TEST(InputBox, StandsAtItsPlacesInDialogUnits)
{
    auto dialog = createInput(QStringLiteral("Neue Karte"));
    const DialogTestUnits u = unitsOf(dialog->font());
    auto *prompt = dialog->findChild<QLabel *>(QStringLiteral("Prompt"));
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("Edit"));
    auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("OK"));
    auto *cancel = dialog->findChild<QPushButton *>(QStringLiteral("Cancel"));
    ASSERT_TRUE(prompt && edit && ok && cancel);

    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Neue Karte anlegen"));
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->size(), QSize(u.h(45), u.v(7.875)));
    EXPECT_EQ(prompt->pos(), QPoint(u.h(2), u.v(1)));
    EXPECT_EQ(prompt->text(), QStringLiteral("Geben Sie die Beschriftung ein"));
    EXPECT_EQ(edit->pos(), QPoint(u.h(2), u.v(2.375)));
    EXPECT_EQ(edit->width(), u.h(41));
    EXPECT_EQ(ok->geometry(), QRect(u.h(9.5), u.v(5.125), u.h(12.5), u.v(1.75)));
    EXPECT_EQ(cancel->geometry(), QRect(u.h(23), u.v(5.125), u.h(12.5), u.v(1.75)));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Abbrechen"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    // Edit and buttons do not overlap.
    EXPECT_LE(edit->geometry().bottom(), ok->y());
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((dialog->geometry().center() - centre).manhattanLength(), 1);
}

TEST(InputBox, EditIsPrefilledSelectedFocusedAndLimited)
{
    auto dialog = createInput(QStringLiteral("Notizen"));
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("Edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("Notizen"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("Notizen"));
    EXPECT_EQ(dialog->focusWidget(), edit);
    EXPECT_EQ(edit->maxLength(), 255);
}

TEST(InputBox, OkAndEnterConfirmTheEditedText)
{
    ModalDriver driver;
    driver.TypeAndPress(QStringLiteral("Einkauf"), QStringLiteral("OK")).TypeAndEnter(QStringLiteral("Über  "));
    QString value = QStringLiteral("Neue Karte");
    EXPECT_TRUE(InputQuery(QStringLiteral("T"), QStringLiteral("P"), value));
    EXPECT_EQ(value, QStringLiteral("Einkauf"));
    EXPECT_TRUE(InputQuery(QStringLiteral("T"), QStringLiteral("P"), value));
    EXPECT_EQ(value, QStringLiteral("Über  "));

    ASSERT_EQ(driver.Seen().size(), 2);
    EXPECT_EQ(driver.Seen()[0].editText, QStringLiteral("Neue Karte"));
    EXPECT_EQ(driver.Seen()[0].selectedText, QStringLiteral("Neue Karte"));
    EXPECT_EQ(driver.Seen()[1].editText, QStringLiteral("Einkauf"));
    EXPECT_EQ(driver.Seen()[1].selectedText, QStringLiteral("Einkauf"));
    EXPECT_EQ(driver.Seen()[0].buttons, (QStringList{"OK", "Abbrechen"}));
    EXPECT_EQ(driver.Seen()[0].texts, QStringList{QStringLiteral("P")});
}

TEST(InputBox, EnterWithTheTextUntouchedConfirmsIt)
{
    ModalDriver driver;
    driver.Enter();
    QString value = QStringLiteral("Neue Karte");
    EXPECT_TRUE(InputQuery(QStringLiteral("T"), QStringLiteral("P"), value));
    EXPECT_EQ(value, QStringLiteral("Neue Karte"));
}

TEST(InputBox, EscCancelAndCloseBoxKeepTheValue)
{
    ModalDriver driver;
    driver.TypeAndPress(QStringLiteral("verworfen"), QStringLiteral("Abbrechen"))
        .Escape()
        .CloseBox();
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        QString value = QStringLiteral("Alt");
        EXPECT_FALSE(InputQuery(QStringLiteral("T"), QStringLiteral("P"), value));
        EXPECT_EQ(value, QStringLiteral("Alt"));
    }
}

TEST(InputBox, TypingStopsAt255Characters)
{
    ModalDriver driver;
    driver.TypeAndPress(QString(300, QLatin1Char('k')), QStringLiteral("OK"));
    QString value;
    ASSERT_TRUE(InputQuery(QStringLiteral("T"), QStringLiteral("P"), value));
    EXPECT_EQ(value, QString(255, QLatin1Char('k')));
}
