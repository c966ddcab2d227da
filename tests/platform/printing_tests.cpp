// Printing against a real CUPS server (started by tests/platform/cups/
// run-with-cups.sh): the queues "KartolinoA" (default) and "KartolinoB" keep
// every job's PDF with the title and copies CUPS handed to the backend.

#include "exception.h"
#include "printing.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include "messageof.h"
#include "cups/cupsjobs.h"

using namespace cupsjobs;

using platform::PrinterSession;

namespace {

const QString kNoDefault = QString::fromUtf8(platform::kNoDefaultPrinterText);
const QString kInvalid = QString::fromUtf8(platform::kInvalidPrinterText);
const QString kBusy = QString::fromUtf8(platform::kPrintingBusyText);

// The user picks a printer and a number of copies in the dialog and confirms.
platform::PrintDialogStep Choose(const QString &printer, int copies)
{
    return [=](QPrinter &p, QWidget *) {
        p.setPrinterName(printer);
        p.setCopyCount(copies);
        return true;
    };
}

class PrintingOnCups : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("CUPS_SERVER")) << "run through tests/platform/cups/run-with-cups.sh";
        ASSERT_FALSE(OutDir().isEmpty());
        for (const char *queue : {"KartolinoA", "KartolinoB"}) {
            QDir dir(OutDir() + '/' + queue);
            for (const QString &name : dir.entryList(QDir::Files))
                dir.remove(name);
        }
    }
    void TearDown() override
    {
        // Tests that change the server put it back for the next one.
        if (RunTool("lpstat", {"-p", "KartolinoB"}).isEmpty())
            Lpadmin({"-p", "KartolinoB", "-E", "-v", "kartolino:" + OutDir() + "/KartolinoB"});
        Lpadmin({"-d", "KartolinoA"});
    }

    QTextDocument document;
    PrinterSession session;
};

} // namespace

// --- one job on the current printer ---

TEST_F(PrintingOnCups, WholeDocumentGoesToTheDefaultPrinterAsOneJobNamedKartolino)
{
    document.setPlainText("Erste Zeile der Karte\nZweite Zeile der Karte");
    session.PrintDocument(document, "Kartolino");
    WaitUntilIdle();

    const QList<Job> jobs = Jobs("KartolinoA");
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_TRUE(Jobs("KartolinoB").isEmpty());
    EXPECT_EQ(jobs[0].title, "Kartolino");
    EXPECT_EQ(jobs[0].copies, "1");
    const QString text = PdfText(jobs[0]);
    EXPECT_TRUE(text.contains("Erste Zeile der Karte")) << text.toStdString();
    EXPECT_TRUE(text.contains("Zweite Zeile der Karte")) << text.toStdString();
    EXPECT_EQ(PdfPages(jobs[0]), 1);
    EXPECT_FALSE(session.Printing());
}

TEST_F(PrintingOnCups, TextFillsThePrintableAreaWithoutMarginsOfItsOwn)
{
    // The test queues have no unprintable border, so the text must start in
    // the page's corner and wrap only near its right edge.
    QString paragraph;
    for (int i = 0; i < 60; ++i)
        paragraph += QStringLiteral("Wort%1 ").arg(i);
    document.setPlainText(paragraph);
    session.PrintDocument(document, "Kartolino");
    WaitUntilIdle();
    const QList<Job> jobs = Jobs("KartolinoA");
    ASSERT_EQ(jobs.size(), 1);

    const QString boxes = RunTool("pdftotext", {"-bbox", jobs[0].dataPath, "-"});
    const QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)")re");
    double minX = 1e9, minY = 1e9, maxX = 0;
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        minX = std::min(minX, m.captured(1).toDouble());
        minY = std::min(minY, m.captured(2).toDouble());
        maxX = std::max(maxX, m.captured(3).toDouble());
    }
    const QRegularExpressionMatch width = QRegularExpression(R"(Page size:\s+([\d.]+) x)").match(RunTool("pdfinfo", {jobs[0].dataPath}));
    ASSERT_TRUE(width.hasMatch());
    const double pageWidth = width.captured(1).toDouble();
    EXPECT_LT(minX, 1.0);
    EXPECT_LT(minY, 1.0);
    EXPECT_GT(maxX, pageWidth - 60);
    EXPECT_LE(maxX, pageWidth + 0.5);
}

TEST_F(PrintingOnCups, LongDocumentIsPrintedPageAfterPageWithEveryLineOnce)
{
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines << QStringLiteral("Zeile %1").arg(i, 3, 10, QLatin1Char('0'));
    document.setPlainText(lines.join('\n'));
    session.PrintDocument(document, "Kartolino");
    WaitUntilIdle();

    const QList<Job> jobs = Jobs("KartolinoA");
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_GT(PdfPages(jobs[0]), 1);
    const QString text = PdfText(jobs[0]);
    qsizetype last = -1;
    for (const QString &line : lines) {
        EXPECT_EQ(text.count(line), 1) << line.toStdString();
        const qsizetype at = text.indexOf(line);
        EXPECT_GT(at, last) << line.toStdString() << " out of order";
        last = at;
    }
}

TEST_F(PrintingOnCups, EmptyDocumentPrintsOneEmptyPage)
{
    session.PrintDocument(document, "Kartolino");
    WaitUntilIdle();
    const QList<Job> jobs = Jobs("KartolinoA");
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(PdfPages(jobs[0]), 1);
    EXPECT_TRUE(PdfText(jobs[0]).trimmed().isEmpty());
}

// --- the current printer ---

TEST_F(PrintingOnCups, DialogChoiceWithThreeCopiesHoldsForEveryLaterPrint)
{
    document.setPlainText("Drei Stück bitte");
    session.SetDialogStep(Choose("KartolinoB", 3));
    ASSERT_TRUE(session.ExecPrintDialog(nullptr));
    session.PrintDocument(document, "Kartolino"); // the menu's print
    session.PrintDocument(document, "Kartolino"); // later the toolbar's, without a dialog
    WaitUntilIdle();

    EXPECT_TRUE(Jobs("KartolinoA").isEmpty());
    const QList<Job> jobs = Jobs("KartolinoB");
    ASSERT_EQ(jobs.size(), 2);
    for (const Job &job : jobs) {
        // CUPS hands the copies to the backend; the document holds one copy.
        EXPECT_EQ(job.copies, "3");
        EXPECT_EQ(PdfPages(job), 1);
        EXPECT_EQ(job.title, "Kartolino");
        EXPECT_TRUE(PdfText(job).contains(QString::fromUtf8("Drei Stück bitte")));
    }
}

TEST_F(PrintingOnCups, DefaultPrinterIsNotLookedUpAgainLaterInTheRun)
{
    document.setPlainText("Hallo");
    session.PrintDocument(document, "Kartolino");
    Lpadmin({"-d", "KartolinoB"});
    session.PrintDocument(document, "Kartolino");
    WaitUntilIdle();
    EXPECT_EQ(Jobs("KartolinoA").size(), 2);
    EXPECT_TRUE(Jobs("KartolinoB").isEmpty());

    // A new run finds the new default.
    PrinterSession nextRun;
    nextRun.PrintDocument(document, "Kartolino");
    WaitUntilIdle();
    EXPECT_EQ(Jobs("KartolinoB").size(), 1);
}

TEST_F(PrintingOnCups, PrintDialogFindsTheDefaultPrinterFirst)
{
    QString offered;
    session.SetDialogStep([&](QPrinter &p, QWidget *) {
        offered = p.printerName();
        return false;
    });
    EXPECT_EQ(session.CurrentPrinter(), nullptr);
    EXPECT_FALSE(session.ExecPrintDialog(nullptr));
    EXPECT_EQ(offered, "KartolinoA");
}

TEST_F(PrintingOnCups, DialogOpensOnTheCurrentChoiceAndCancelKeepsIt)
{
    session.SetDialogStep(Choose("KartolinoB", 3));
    ASSERT_TRUE(session.ExecPrintDialog(nullptr));

    // Confirmed again without changes: the choice stays.
    QString offeredPrinter;
    int offeredCopies = 0;
    session.SetDialogStep([&](QPrinter &p, QWidget *) {
        offeredPrinter = p.printerName();
        offeredCopies = p.copyCount();
        return true;
    });
    ASSERT_TRUE(session.ExecPrintDialog(nullptr));
    EXPECT_EQ(offeredPrinter, "KartolinoB");
    EXPECT_EQ(offeredCopies, 3);

    // Changed, then cancelled.
    session.SetDialogStep([](QPrinter &p, QWidget *) {
        p.setPrinterName("KartolinoA");
        p.setCopyCount(1);
        return false;
    });
    EXPECT_FALSE(session.ExecPrintDialog(nullptr));

    document.setPlainText("Immer noch B");
    session.PrintDocument(document, "Kartolino");
    WaitUntilIdle();
    EXPECT_TRUE(Jobs("KartolinoA").isEmpty());
    const QList<Job> jobs = Jobs("KartolinoB");
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].copies, "3");
}

// The real dialog, answered by a timer once it runs modally.
class RealPrintDialog : public PrintingOnCups {
protected:
    // Waits for the dialog to run modally, answers it, and closes it should
    // the answer have failed before closing it, so that no test hangs.
    void Answer(std::function<void(QPrintDialog &)> answer, int triesLeft = 100)
    {
        QTimer::singleShot(50, [this, answer, triesLeft] {
            auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
            if (!dialog) {
                if (triesLeft > 0)
                    Answer(answer, triesLeft - 1);
                else
                    ADD_FAILURE() << "no print dialog";
                return;
            }
            answer(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the answer left the dialog open";
                dialog->reject();
            }
        });
    }
};

TEST_F(RealPrintDialog, OffersNeitherPageRangeNorSelectionNorFile)
{
    Answer([](QPrintDialog &dialog) {
        EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
        EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
        EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintToFile));
        EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintCurrentPage));
        auto *printers = dialog.findChild<QComboBox *>("printers");
        ASSERT_NE(printers, nullptr);
        EXPECT_EQ(printers->currentText(), "KartolinoA");
        EXPECT_EQ(printers->findText("KartolinoB"), 1);
        // Not offered on screen either: the options would show a page range
        // and a page set that a print of the whole card cannot honour.
        for (const char *name : {"gbPrintRange", "printRange", "pagesRadioButton", "pageSetCombo"}) {
            auto *control = dialog.findChild<QWidget *>(name);
            EXPECT_TRUE(!control || !control->isVisibleTo(&dialog)) << name;
        }
        dialog.reject();
    });
    EXPECT_FALSE(session.ExecPrintDialog(nullptr));
}

TEST_F(RealPrintDialog, ConfirmedChoiceIsUsedAndCancelLeavesItAsItWas)
{
    Answer([](QPrintDialog &dialog) {
        auto *printers = dialog.findChild<QComboBox *>("printers");
        auto *copies = dialog.findChild<QSpinBox *>("copies");
        ASSERT_TRUE(printers && copies);
        printers->setCurrentIndex(printers->findText("KartolinoB"));
        copies->setValue(3);
        dialog.accept();
    });
    ASSERT_TRUE(session.ExecPrintDialog(nullptr));

    // Cancelled after changing everything back: nothing of it may stick.
    Answer([](QPrintDialog &dialog) {
        auto *printers = dialog.findChild<QComboBox *>("printers");
        auto *copies = dialog.findChild<QSpinBox *>("copies");
        ASSERT_TRUE(printers && copies);
        EXPECT_EQ(printers->currentText(), "KartolinoB");
        printers->setCurrentIndex(printers->findText("KartolinoA"));
        copies->setValue(1);
        dialog.reject();
    });
    EXPECT_FALSE(session.ExecPrintDialog(nullptr));

    document.setPlainText("Gewählt im Dialog");
    session.PrintDocument(document, "Kartolino");
    WaitUntilIdle();
    EXPECT_TRUE(Jobs("KartolinoA").isEmpty());
    const QList<Job> jobs = Jobs("KartolinoB");
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].copies, "3");
    EXPECT_EQ(PdfPages(jobs[0]), 1);
}

// --- failures ---

TEST_F(PrintingOnCups, SecondPrintWhileTheFirstIsSentIsRefused)
{
    document.setPlainText("Der erste Druck");
    QTextDocument other;
    other.setPlainText("Der zweite Druck");
    QString printMessage, dialogMessage;
    bool printingSeen = false;
    bool dialogShown = false;
    session.SetDialogStep([&](QPrinter &, QWidget *) { return dialogShown = true; });
    // Runs from the event processing between the pages of the first job.
    QTimer::singleShot(0, [&] {
        printingSeen = session.Printing();
        printMessage = testing_support::MessageOf([&] { session.PrintDocument(other, "Kartolino"); });
        dialogMessage = testing_support::MessageOf([&] { session.ExecPrintDialog(nullptr); });
    });
    session.PrintDocument(document, "Kartolino");
    EXPECT_TRUE(printingSeen);
    EXPECT_EQ(printMessage, kBusy);
    EXPECT_EQ(dialogMessage, kBusy);
    EXPECT_FALSE(dialogShown);
    EXPECT_FALSE(session.Printing());

    session.PrintDocument(other, "Kartolino"); // once done, printing works again
    WaitUntilIdle();
    const QList<Job> jobs = Jobs("KartolinoA");
    ASSERT_EQ(jobs.size(), 2);
    EXPECT_TRUE(PdfText(jobs[0]).contains("Der erste Druck"));
    EXPECT_TRUE(PdfText(jobs[1]).contains("Der zweite Druck"));
}

TEST_F(PrintingOnCups, JobIsFinishedWhenTheSessionEndsWhileItIsSent)
{
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QStringLiteral("Absatz %1").arg(i);
    document.setPlainText(lines.join('\n'));
    auto ending = std::make_unique<PrinterSession>();
    PrinterSession *raw = ending.get();
    QTimer::singleShot(0, [&] { ending.reset(); });
    raw->PrintDocument(document, "Kartolino");
    EXPECT_EQ(ending, nullptr);
    WaitUntilIdle();
    const QList<Job> jobs = Jobs("KartolinoA");
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_GT(PdfPages(jobs[0]), 1);
    EXPECT_TRUE(PdfText(jobs[0]).contains("Absatz 200"));
}

TEST_F(PrintingOnCups, PrinterRemovedAfterItWasChosenIsInvalid)
{
    document.setPlainText("Ins Leere");
    session.SetDialogStep(Choose("KartolinoB", 1));
    ASSERT_TRUE(session.ExecPrintDialog(nullptr));
    Lpadmin({"-x", "KartolinoB"});

    EXPECT_EQ(testing_support::MessageOf([&] { session.PrintDocument(document, "Kartolino"); }), kInvalid);
    EXPECT_FALSE(session.Printing());
    WaitUntilIdle();
    EXPECT_TRUE(Jobs("KartolinoA").isEmpty());
    EXPECT_TRUE(Jobs("KartolinoB").isEmpty());
}

TEST_F(PrintingOnCups, WithoutDefaultPrinterNothingIsPrintedAndNoDialogShown)
{
    // CUPS forgets its default when that queue goes away.
    Lpadmin({"-p", "KartolinoGone", "-E", "-v", "kartolino:" + OutDir() + "/KartolinoA"});
    Lpadmin({"-d", "KartolinoGone"});
    Lpadmin({"-x", "KartolinoGone"});

    bool dialogShown = false;
    session.SetDialogStep([&](QPrinter &, QWidget *) { return dialogShown = true; });
    document.setPlainText("Nirgendwohin");
    EXPECT_EQ(testing_support::MessageOf([&] { session.PrintDocument(document, "Kartolino"); }), kNoDefault);
    EXPECT_EQ(testing_support::MessageOf([&] { session.ExecPrintDialog(nullptr); }), kNoDefault);
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(session.CurrentPrinter(), nullptr);

    // The lookup happens at the first print that finds one.
    Lpadmin({"-d", "KartolinoB"});
    session.PrintDocument(document, "Kartolino");
    WaitUntilIdle();
    EXPECT_EQ(Jobs("KartolinoB").size(), 1);
    EXPECT_TRUE(Jobs("KartolinoA").isEmpty());
}

// Run against a server that has no printer at all (run-with-cups.sh --no-printers).
TEST(PrintingWithoutPrinters, BothCommandsReportThatNoDefaultPrinterIsChosen)
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("CUPS_SERVER")) << "run through tests/platform/cups/run-with-cups.sh";
    ASSERT_TRUE(RunTool("lpstat", {"-v"}).trimmed().isEmpty()) << "the server was expected to have no printer";
    PrinterSession session;
    bool dialogShown = false;
    session.SetDialogStep([&](QPrinter &, QWidget *) { return dialogShown = true; });
    QTextDocument document;
    document.setPlainText("Text");
    EXPECT_EQ(testing_support::MessageOf([&] { session.ExecPrintDialog(nullptr); }), kNoDefault);
    EXPECT_EQ(testing_support::MessageOf([&] { session.PrintDocument(document, "Kartolino"); }), kNoDefault);
    EXPECT_FALSE(dialogShown);
    EXPECT_FALSE(session.Printing());
}
