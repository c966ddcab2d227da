// The main window's print commands against a private CUPS server (run by
// tests/platform/cups/run-with-cups.sh): the queues "KartolinoA" (default)
// and "KartolinoB" keep every job's PDF with its title and copies.

#include "cardstore.h"
#include "guarded.h"
#include "printing.h"
#include "richedit.h"
#include "tempfolder.h"
#include "kartolinounit.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QPrinter>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include "../platform/cups/cupsjobs.h"

using namespace cupsjobs;

using testing_support::TempFolder;
using ui::TfrmMain;

namespace {

struct PrintCommands : ::testing::Test {
    TempFolder program;
    std::unique_ptr<TfrmMain> window;
    QStringList errors;

    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("CUPS_SERVER")) << "run through tests/platform/cups/run-with-cups.sh";
        for (const char *queue : {"KartolinoA", "KartolinoB"}) {
            QDir dir(OutDir() + '/' + queue);
            for (const QString &name : dir.entryList(QDir::Files))
                dir.remove(name);
        }
        platform::SetErrorPresenter([this](const QString &m) { errors << m; });
        program.mkdir("KRT");
        program.write("KRT/Einkauf.rtf", "{\\rtf1\\ansi Milch und Brot\\par Butter}");
        window = std::make_unique<TfrmMain>();
        window->SetProgramFolder(program.path());
        window->StartMinimised();
        window->showNormal();
        ASSERT_TRUE(window->FirstShowDone());
    }
    void TearDown() override
    {
        window.reset();
        platform::SetErrorPresenter(nullptr);
    }
};

} // namespace

TEST_F(PrintCommands, ToolbarPrintSendsTheCardTitledKartolinoToTheDefaultPrinter)
{
    window->spDruckenClick(nullptr);
    WaitUntilIdle();
    const QList<Job> jobs = Jobs("KartolinoA");
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_TRUE(Jobs("KartolinoB").isEmpty());
    EXPECT_EQ(jobs[0].title, "Kartolino");
    EXPECT_EQ(jobs[0].copies, "1");
    const QString text = PdfText(jobs[0]);
    EXPECT_TRUE(text.contains("Milch und Brot")) << text.toStdString();
    EXPECT_TRUE(text.contains("Butter")) << text.toStdString();
    // Printing is no change of the card.
    EXPECT_FALSE(window->Cards().CardModified());
}

TEST_F(PrintCommands, PrinterChosenInTheDialogServesTheToolbarPrintToo)
{
    int dialogs = 0;
    window->PrintSession().SetDialogStep([&](QPrinter &printer, QWidget *parent) {
        ++dialogs;
        EXPECT_EQ(parent, window.get());
        printer.setPrinterName("KartolinoB");
        printer.setCopyCount(3);
        return true;
    });
    window->MenuItem("mnuDrucken")->trigger();
    window->spDruckenClick(nullptr);
    WaitUntilIdle();
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_TRUE(Jobs("KartolinoA").isEmpty());
    const QList<Job> jobs = Jobs("KartolinoB");
    ASSERT_EQ(jobs.size(), 2);
    for (const Job &job : jobs) {
        EXPECT_EQ(job.title, "Kartolino");
        EXPECT_EQ(job.copies, "3");
        EXPECT_TRUE(PdfText(job).contains("Milch und Brot"));
    }
}

TEST_F(PrintCommands, CancelledDialogPrintsNothingAndKeepsThePrinter)
{
    window->PrintSession().SetDialogStep([](QPrinter &printer, QWidget *) {
        printer.setPrinterName("KartolinoB");
        return false;
    });
    window->mnuDruckenClick(nullptr);
    window->spDruckenClick(nullptr);
    WaitUntilIdle();
    EXPECT_TRUE(Jobs("KartolinoB").isEmpty());
    EXPECT_EQ(Jobs("KartolinoA").size(), 1);
}

// Run against a server without any printer (run-with-cups.sh --no-printers).
using PrintCommandsWithoutPrinters = PrintCommands;

TEST_F(PrintCommandsWithoutPrinters, BothCommandsShowTheErrorBox)
{
    ASSERT_TRUE(RunTool("lpstat", {"-v"}).trimmed().isEmpty()) << "the server was expected to have no printer";
    bool dialogShown = false;
    window->PrintSession().SetDialogStep([&](QPrinter &, QWidget *) { return dialogShown = true; });
    window->MenuItem("mnuDrucken")->trigger();
    platform::Guarded([&] { window->spDruckenClick(nullptr); });
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(errors, QStringList({"Zur Zeit ist kein Standard-Drucker gewählt", "Zur Zeit ist kein Standard-Drucker gewählt"}));
}
