// Messages the user did not ask for go to the strip above the editor and
// never take the keyboard; the strip closes with its button or Esc.

#include "mainwindowfixture.h"
#include "cardstore.h"
#include "messagestrip.h"
#include "recovery.h"

#include <QToolButton>


namespace {

struct MessageStripFixture : MainWindowFixture {
    QByteArray oldState = qgetenv("XDG_STATE_HOME");

    // A window whose recoveries live in stateHome (read when it is made).
    void windowWithState(const QString &stateHome)
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome));
        window = std::make_unique<ui::TfrmMain>();
        window->SetProgramFolder(program.path());
    }
    void TearDown() override
    {
        qputenv("XDG_STATE_HOME", oldState);
        MainWindowFixture::TearDown();
    }
    ui::TMessageStrip &strip() const { return *window->MessageStrip(); }
};

TEST_F(MessageStripFixture, RecoveryAtStartIsShownInTheStripAndOpensNoBox)
{
    windowWithState(program.file("state"));
    withCards({{"Brief", "{\\rtf1 Alt}"}});
    const QString card = window->Cards().CardFileName("Brief");
    cards::TRecovery recovery(program.file("state/Kartolino"), [&] { return card; },
                              []() -> cards::TRecovery::Content { return [] { return QByteArray("{\\rtf1 Neu}"); }; });
    // Typed into the card as it still is: the recovery goes back into it.
    recovery.BasisOf = [](const QString &) { return cards::ContentHash("{\\rtf1 Alt}"); };
    recovery.WriteNow();

    startAndRestore();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(strip().isVisible());
    EXPECT_TRUE(strip().Text().contains("wiederhergestellten Text")) << strip().Text().toStdString();
    EXPECT_EQ(window->Editor()->toPlainText().trimmed(), "Neu");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(MessageStripFixture, FailingRecoveryWriteIsAProblemInTheStripNotABox)
{
    program.write("state", "a file where the state folder should be");
    windowWithState(program.file("state"));
    withCards({{"Brief", "{\\rtf1 Alt}"}});
    startAndRestore();
    window->Recovery().SetDelay(1);
    type("x");
    EXPECT_TRUE(QTest::qWaitFor([&] { return strip().isVisible(); }, 2000));
    EXPECT_TRUE(strip().HasProblem());
    EXPECT_TRUE(strip().Text().contains("kann nicht angelegt werden")) << strip().Text().toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(MessageStripFixture, EscInTheEditorOrTheButtonClosesTheStripAndTypingGoesOn)
{
    withCards({{"Brief", "{\\rtf1 Alt}"}});
    startAndRestore();
    window->ShowNotice("Erste");
    window->ShowNotice("Zweite");
    window->ShowNotice("Erste");
    EXPECT_EQ(strip().Text(), "Erste\nZweite");
    QTest::keyClick(window->Editor(), Qt::Key_Escape);
    EXPECT_FALSE(strip().isVisible());
    EXPECT_TRUE(strip().Text().isEmpty());

    window->ShowNotice("Dritte");
    QTest::mouseClick(strip().CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(strip().isVisible());
    type(" dazu");
    EXPECT_EQ(window->Editor()->toPlainText(), "Alt dazu");
    // With the strip closed, Esc is the editor's again.
    QTest::keyClick(window->Editor(), Qt::Key_Escape);
    EXPECT_FALSE(strip().isVisible());
}

} // namespace

namespace {

TEST_F(MessageStripFixture, GoneCardFolderIsSaidOnceAndNothingIsWrittenUntilItIsBack)
{
    withCards({{"A", "{\\rtf1 alpha}"}, {"B", "{\\rtf1 beta}"}});
    startAndRestore();
    const int shown = tabs().TabIndex();
    type(" neu");
    QDir().rename(program.file("KRT"), program.file("KRT.weg"));
    bool allow = true;
    window->TabControl1Changing(window.get(), allow);
    EXPECT_FALSE(allow) << "the next card could not be read";
    EXPECT_TRUE(strip().HasProblem());
    EXPECT_TRUE(strip().Text().contains("nicht mehr erreichbar")) << strip().Text().toStdString();
    strip().Close();
    window->Cards().SaveCurrentCard();
    EXPECT_FALSE(strip().isVisible()) << "said once";
    EXPECT_FALSE(program.exists("KRT")) << "the gone folder was made again";
    EXPECT_EQ(tabs().TabCount(), 2);
    EXPECT_TRUE(window->Cards().CardModified());

    QDir().rename(program.file("KRT.weg"), program.file("KRT"));
    allow = true;
    window->TabControl1Changing(window.get(), allow);
    EXPECT_TRUE(allow);
    EXPECT_TRUE(cardText(tabs().Tab(shown)).endsWith(" neu"));
}

} // namespace

namespace {

TEST_F(MessageStripFixture, ConflictCopiesFollowTheirCardAndAreSaidInTheStrip)
{
    withCards({{"Brief.sync-conflict-20261210-101000-ABCDEF7", "{\\rtf1 dort}"}, {"Brief", "{\\rtf1 hier}"}});
    startAndRestore();
    EXPECT_EQ(tabs().Tabs(), QStringList({"Brief", "Brief (Konflikt 10.12.2026 10:10)"}));
    EXPECT_TRUE(strip().Text().contains("\u201EBrief (Konflikt 10.12.2026 10:10)\u201C")) << strip().Text().toStdString();
    // The copy is a card of its own, read from and written to its own file.
    tabs().SetTabIndex(1);
    window->TabControl1Change(window.get());
    type(" mehr");
    window->Cards().SaveCurrentCard();
    EXPECT_TRUE(program.read("KRT/Brief.sync-conflict-20261210-101000-ABCDEF7.rtf").contains("dort mehr"));
    EXPECT_TRUE(program.read("KRT/Brief.rtf").contains("hier"));
}

} // namespace

namespace {

TEST_F(MessageStripFixture, CardsChangedOutsideWhileRunningAreFollowedAndSaid)
{
    withCards({{"A", "{\\rtf1 alpha}"}, {"B", "{\\rtf1 beta}"}, {"C", "{\\rtf1 gamma}"}});
    startAndRestore();
    ASSERT_EQ(tabs().Tab(tabs().TabIndex()), "A");
    // The current card removed with nothing typed: the first card is shown.
    QFile::remove(program.file("KRT/A.rtf"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs().TabCount() == 2; }, 10000));
    EXPECT_EQ(tabs().Tab(tabs().TabIndex()), "B");
    EXPECT_EQ(window->Editor()->toPlainText(), "beta");
    EXPECT_TRUE(strip().Text().contains("\u201EA\u201C wurde außerhalb")) << strip().Text().toStdString();

    // A conflict copy arriving stands and is said as one found at the start.
    program.write("KRT/B.sync-conflict-20261210-101000-ABCDEF7.rtf", "{\\rtf1 dort}");
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs().TabCount() == 3; }, 10000));
    EXPECT_EQ(tabs().Tabs(), QStringList({"B", "B (Konflikt 10.12.2026 10:10)", "C"}));
    EXPECT_TRUE(strip().Text().contains("\u201EB (Konflikt 10.12.2026 10:10)\u201C")) << strip().Text().toStdString();

    // A folder that went and came back as another folder is still followed.
    QDir().rename(program.file("KRT"), program.file("KRT.weg"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return strip().HasProblem(); }, 10000));
    QDir().mkdir(program.file("KRT"));
    for (const QString &file : QDir(program.file("KRT.weg")).entryList(QDir::Files))
        QFile::rename(program.file("KRT.weg/" + file), program.file("KRT/" + file));
    bool allow = true;
    window->TabControl1Changing(window.get(), allow);
    ASSERT_TRUE(allow);
    // The looks the move itself set off are over once this card is in.
    program.write("KRT/D.rtf", "{\\rtf1 delta}");
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs().Tabs().contains("D"); }, 10000)) << tabs().Tabs().join('|').toStdString();
    program.write("KRT/E.rtf", "{\\rtf1 epsilon}");
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs().Tabs().contains("E"); }, 10000)) << tabs().Tabs().join('|').toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

} // namespace
