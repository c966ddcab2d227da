// Earlier versions through the main window, and the session's end.

#include "mainwindowfixture.h"
#include "modaldriver.h"
#include "versionsdialog.h"

#include "recovery.h"
#include "sessionend.h"
#include "versions.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>

#include <sys/stat.h>

using ui::TfrmMain;

namespace {

// A card left and picked again three times, with "eins", "zwei", "drei"
// typed over its text in turn.
void threeSavePoints(MainWindowFixture &f, int a, int b)
{
    for (const char *text : {"eins", "zwei", "drei"}) {
        f.window->Editor()->selectAll();
        QTest::keyClicks(f.window->Editor(), QString::fromLatin1(text));
        f.tabs().SelectByUser(b);
        f.tabs().SelectByUser(a);
    }
}

QString textOf(const QString &file)
{
    controls::TRichEdit check;
    check.LoadDocument(file);
    return check.toPlainText();
}

TEST_F(MainWindowFixture, ARestoredVersionIsOneUndoStepAndReachesTheCardAtTheNextSavePoint)
{
    withCards({{"A", "null"}, {"B", "b"}});
    startAndRestore();
    // Tabs come in folder order.
    const int a = tabs().Tabs().indexOf("A"), b = 1 - a;
    tabs().SelectByUser(a);
    threeSavePoints(*this, a, b);
    const QList<cards::TVersions::Version> versions = window->Versions().List(window->CurrentCardFile());
    ASSERT_EQ(versions.size(), 3) << "the first write replaced the card's original text too";

    ui::TVersionsDialog dialog(QStringLiteral("A"), versions, window->Editor()->document()->defaultFont());
    ASSERT_EQ(dialog.List()->count(), 3);
    dialog.List()->setCurrentRow(1);
    EXPECT_EQ(dialog.Preview()->toPlainText(), "eins");
    EXPECT_EQ(textOf(versions[2].file), "null");
    EXPECT_TRUE(dialog.Preview()->isReadOnly());
    EXPECT_TRUE(dialog.RestoreButton()->isEnabled());
    // A version gone since the list was made can be neither shown nor restored.
    QFile::remove(versions[2].file);
    dialog.List()->setCurrentRow(2);
    EXPECT_FALSE(dialog.RestoreButton()->isEnabled());
    dialog.List()->setCurrentRow(1);

    window->Cards().SetCardModified(false);
    window->RestoreVersion(dialog.Chosen());
    EXPECT_EQ(window->Editor()->toPlainText(), "eins");
    EXPECT_TRUE(window->Cards().CardModified());
    window->Editor()->undo();
    EXPECT_EQ(window->Editor()->toPlainText(), "drei") << "the restore took more than one undo step";
    window->Editor()->redo();

    tabs().SelectByUser(b);
    EXPECT_EQ(cardText("A"), "eins");
    EXPECT_EQ(textOf(window->Versions().List(window->Cards().CardPath(a)).value(0).file), "drei")
        << "what the restore replaced is no version";
}

struct SessionEndCase {
    const char *name;
    bool writable;
};

class SessionEndTest : public MainWindowFixture, public ::testing::WithParamInterface<SessionEndCase> {};

TEST_P(SessionEndTest, WritesTheCardWithoutABoxAndAlwaysEnds)
{
    withCards({{"A", "alpha"}});
    startAndRestore();
    if (!GetParam().writable)
        ::chmod(QFile::encodeName(program.file("KRT/A.rtf")).constData(), 0444);
    type(" neu");
    auto *session = window->findChild<platform::SessionEnd *>();
    ASSERT_NE(session, nullptr);
    ModalDriver noDialogs; // any box fails the test
    QSignalSpy closed(window.get(), &TfrmMain::Closed);

    session->Commit();
    EXPECT_EQ(closed.count(), 1) << "the logout was held up";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const QString cardFile = window->Cards().CardPath(0);
    if (GetParam().writable) {
        EXPECT_EQ(cardText("A"), "alpha neu");
        EXPECT_FALSE(QFileInfo::exists(window->Recovery().FileFor(cardFile)));
    } else {
        // The text waits in its recovery for the next start.
        EXPECT_EQ(program.read("KRT/A.rtf"), "alpha");
        EXPECT_TRUE(cards::TRecovery::ContentOf(window->Recovery().FileFor(cardFile)).contains("alpha neu"));
    }
    // The request reaches the layer from the application.
    EXPECT_TRUE(QObject::disconnect(qApp, &QGuiApplication::commitDataRequest, session, nullptr));
}

INSTANTIATE_TEST_SUITE_P(SessionEnd, SessionEndTest,
                         ::testing::Values(SessionEndCase{"written", true}, SessionEndCase{"writeFails", false}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
