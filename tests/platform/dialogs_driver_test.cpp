// The test helper that answers modal dialogs: several in a row, and no hang
// when a dialog is unexpected, lacks the button, or does not close.

#include "dialogs.h"
#include "modaldriver.h"

#include <QDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <memory>

using namespace platform;

TEST(ModalDriver, AnswersSeveralDialogsOpenedFromTheEventLoop)
{
    ModalDriver driver;
    driver.TypeAndPress(QStringLiteral("Plan.A"), QStringLiteral("OK"))
        .Press(QStringLiteral("OK"))
        .Press(QStringLiteral("Ja"));  // the caption without its "&" matches too
    QString name = QStringLiteral("Neue Karte");
    int answer = mrNone;
    bool confirmed = false;
    QTimer::singleShot(0, [&] {
        confirmed = InputQuery(QStringLiteral("Neue Karte anlegen"), QStringLiteral("Geben Sie die Beschriftung ein"), name);
        MessageDlg(QStringLiteral("Ungültig: ") + name, MsgDlgType::Error, mbOK);
        answer = MessageDlg(QStringLiteral("Weiter?"), MsgDlgType::Confirmation, mbYes | mbNo);
    });
    ASSERT_TRUE(driver.WaitUntilDone());
    EXPECT_EQ(driver.Pending(), 0);
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(name, QStringLiteral("Plan.A"));
    EXPECT_EQ(answer, mrYes);
    ASSERT_EQ(driver.Seen().size(), 3);
    EXPECT_EQ(driver.Seen()[0].title, QStringLiteral("Neue Karte anlegen"));
    EXPECT_TRUE(driver.Seen()[0].hasEdit);
    EXPECT_EQ(driver.Seen()[1].title, QStringLiteral("Fehler"));
    EXPECT_EQ(driver.Seen()[1].text, QStringLiteral("Ungültig: Plan.A"));
    EXPECT_EQ(driver.Seen()[2].buttons, (QStringList{"&Ja", "&Nein"}));
    EXPECT_EQ(driver.Seen()[2].defaultButton, QStringLiteral("&Ja"));
}

TEST(ModalDriver, AnswersTheSameDialogObjectShownTwice)
{
    ModalDriver driver(2000);
    driver.Press(QStringLiteral("&Nein")).Press(QStringLiteral("&Ja"));
    std::unique_ptr<QDialog> dialog(CreateMessageDialog(QStringLiteral("x"), MsgDlgType::Confirmation, mbYes | mbNo));
    EXPECT_EQ(dialog->exec(), mrNo);
    EXPECT_EQ(dialog->exec(), mrYes);
    EXPECT_EQ(driver.Seen().size(), 2);
}

TEST(ModalDriver, InspectSeesTheLiveDialog)
{
    ModalDriver driver;
    bool visible = false;
    bool modal = false;
    QString firstButton;
    driver.Press(QStringLiteral("OK")).Inspect([&](QWidget *dialog) {
        visible = dialog->isVisible();
        modal = dialog->isModal();
        firstButton = dialog->findChild<QPushButton *>()->objectName();
    });
    MessageDlg(QStringLiteral("x"), MsgDlgType::Information, mbOK);
    EXPECT_TRUE(visible);
    EXPECT_TRUE(modal);
    EXPECT_EQ(firstButton, QStringLiteral("OK"));
}

TEST(ModalDriver, UnexpectedDialogFailsAndIsClosed)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDriver driver(2000);
            EXPECT_EQ(MessageDlg(QStringLiteral("Überraschung"), MsgDlgType::Warning, mbYes | mbNo), mrNo);
        },
        "unexpected dialog \"Warnung\": Überraschung");
}

TEST(ModalDriver, MissingButtonFailsAndClosesTheDialog)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDriver driver(2000);
            driver.Press(QStringLiteral("&Vielleicht"));
            EXPECT_EQ(MessageDlg(QStringLiteral("x"), MsgDlgType::Confirmation, mbYes | mbNo | mbCancel), mrCancel);
        },
        "has no button \"&Vielleicht\"");
}

TEST(ModalDriver, DialogThatStaysOpenFailsAfterTheTimeout)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDriver driver(200);
            driver.Press(QStringLiteral("Nichts"));
            QDialog stubborn;
            stubborn.setWindowTitle(QStringLiteral("Stur"));
            new QPushButton(QStringLiteral("Nichts"), &stubborn); // closes nothing
            EXPECT_EQ(stubborn.exec(), QDialog::Rejected);
        },
        "\"Stur\" did not close after its answer");
}

TEST(ModalDriver, ExpectedDialogThatNeverCameFails)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDriver driver(100);
            driver.Press(QStringLiteral("OK"));
        },
        "never appeared");
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDriver driver(100);
            driver.Escape();
            EXPECT_FALSE(driver.WaitUntilDone());
        },
        "timed out; unused answers: Esc");
}
