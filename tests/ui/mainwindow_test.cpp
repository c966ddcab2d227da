#include "mainwindowfixture.h"
#include "cardstore.h"
#include "guarded.h"
#include "dialogs.h"
#include "richedit.h"
#include "tabcontrol.h"
#include "tempfolder.h"
#include "kartolinounit.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

using testing_support::TempFolder;
using ui::TfrmMain;


TEST_F(MainWindowFixture, NothingIsTouchedBeforeTheFirstRestore)
{
    window->StartMinimised();
    EXPECT_EQ(window->windowTitle(), "Kartolino");
    EXPECT_FALSE(program.exists("KRT"));
    EXPECT_EQ(window->TabControl1()->TabCount(), 0);
    // Closing now writes nothing.
    EXPECT_TRUE(window->FormCloseQuery());
    EXPECT_FALSE(program.exists("KRT"));
}

TEST_F(MainWindowFixture, FirstShowMakesFolderListsCardsAndSetsCaption)
{
    startAndRestore();
    EXPECT_TRUE(program.exists("KRT"));
    EXPECT_EQ(window->windowTitle(), "Fennwick Kartolino");
    EXPECT_EQ(window->TabControl1()->TabIndex(), -1);
    EXPECT_FALSE(window->Cards().CardModified());
}

TEST_F(MainWindowFixture, FirstShowLoadsTheFirstCardAndRunsOnce)
{
    program.mkdir("KRT");
    program.write("KRT/Einkauf.rtf", "Milch\nBrot");
    startAndRestore();
    EXPECT_EQ(window->Editor()->toPlainText(), "Milch\nBrot");
    type("!");
    window->showMinimized();
    window->showNormal();
    // A second restore does not reload: the typed text is still there.
    EXPECT_TRUE(window->Editor()->toPlainText().endsWith("!"));
}

TEST_F(MainWindowFixture, FailedFirstLoadKeepsFormCaption)
{
    program.mkdir("KRT");
    program.mkdir("KRT/kaputt.rtf");
    startAndRestore();
    EXPECT_EQ(window->windowTitle(), "frmMain");
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(window->Editor()->isReadOnly());
}

TEST_F(MainWindowFixture, MinimisingAndClosingWriteAChangedCard)
{
    program.mkdir("KRT");
    program.write("KRT/A.rtf", "alpha");
    startAndRestore();
    type(" eins");
    window->showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return program.read("KRT/A.rtf").startsWith("{\\rtf1"); }));
    EXPECT_TRUE(window->Cards().CardModified());
    window->showNormal();
    type(" zwei");
    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(closed.count(), 1);
    controls::TRichEdit check;
    check.LoadDocument(window->Cards().CardFileName("A"));
    EXPECT_EQ(check.toPlainText(), "alpha eins zwei");
}

TEST_F(MainWindowFixture, CloseIsRefusedWhenTheCardCannotBeWritten)
{
    program.mkdir("KRT");
    program.write("KRT/A.rtf", "alpha");
    startAndRestore();
    ::chmod(QFile::encodeName(program.file("KRT/A.rtf")).constData(), 0444);
    type("x");
    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(program.read("KRT/A.rtf"), "alpha");
}

TEST_F(MainWindowFixture, UnmakeableCardFolderIsReportedByNameAndEnds)
{
    const QString folder = program.path() + "fehlt/KRT/";
    window->Cards().SetCardDir(folder);
    // The folder error is a message box of its own; read and answer it.
    QStringList shown;
    bool windowShownWithMessage = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            for (QLabel *label : modal->findChildren<QLabel *>())
                shown << label->text();
            windowShownWithMessage = windowShownWithMessage || window->isVisible();
            modal->close();
        }
    });
    closer.start(20);
    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    startAndRestore();
    EXPECT_TRUE(closed.count() == 1 || closed.wait(2000));
    EXPECT_TRUE(shown.join("\n").contains(folder + " kann nicht angelegt werden (Fehler 2: Datei oder Ordner nicht gefunden)"))
        << shown.join("\n").toStdString();
    // No half-built window behind the message.
    EXPECT_FALSE(windowShownWithMessage);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowFixture, EditorKeepsSixPixelsLeftAndRight)
{
    startAndRestore();
    window->resize(700, 500);
    EXPECT_EQ(window->Editor()->FormatMargins(), QMargins(6, 0, 6, 0));
    EXPECT_EQ(QRect(window->Editor()->mapTo(window->TabControl1(), QPoint()), window->Editor()->size()),
              window->TabControl1()->DisplayRect());
}
