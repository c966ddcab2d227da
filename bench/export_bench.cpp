// How fast the export is: every card of a folder of 1,000 cards of 2 KB to
// HTML (read, converted and written whole, one file each, progress dialog
// included), and one 10 MB card to PDF set against printing the same card
// to a PDF file through the print path (the layout and drawing that
// printing uses, on a QPrinter writing a PDF file). The PDF ratio is the
// median of rounds that run both one right after the other, in turns.
//
//   build/bench/export_bench [cards] [bytes per card] [MB of the big card] [rounds]

#include "exportcards.h"
#include "exportformats.h"
#include "printing.h"
#include "richedit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// A card as the program writes it, about size bytes: words with bold,
// italic and colour changes, now and then a centred line or a bullet list.
QByteArray formattedCard(QRandomGenerator &random, qsizetype size)
{
    static const char *const words[] = {"Einkauf", "Termin", "Notiz", "M\\'fcller", "Stra\\'dfe", "Rechnung",
                                        "morgen", "anrufen", "und", "mit", "\\b fett\\b0", "\\i schr\\'e4g\\i0",
                                        "{\\cf1 rot}", "Garten", "Urlaub", "bitte"};
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
                     "{\\colortbl ;\\red200\\green0\\blue0;}\\uc1\\pard\\f0\\fs20 ";
    rtf.reserve(size + 256);
    for (int paragraph = 0; rtf.size() < size - 8; ++paragraph) {
        if (paragraph % 7 == 3)
            rtf += "\\pard\\qc ";
        else if (paragraph % 7 >= 4)
            rtf += "\\pard{\\pntext\\bullet\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\bullet}}\\fi-360\\li720 ";
        else
            rtf += "\\pard ";
        for (int w = 8 + int(random.bounded(30)); w > 0; --w) {
            rtf += words[random.bounded(int(std::size(words)))];
            rtf += ' ';
        }
        rtf += "\\par\r\n";
    }
    return rtf + "}";
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Timing {
    double wall = 0, cpu = 0;
};

template <class F>
Timing timed(F &&f)
{
    QElapsedTimer wall;
    const double cpu = cpuMs();
    wall.start();
    f();
    return {double(wall.nsecsElapsed()) / 1e6, cpuMs() - cpu};
}

// The print path on a printer that writes a PDF file.
void printToPdfFile(const QTextDocument &card, const QString &file)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setDocName(QStringLiteral("Kartolino"));
    printer.setFullPage(false);
    printer.setPageMargins(printer.pageLayout().minimumMargins(), printer.pageLayout().units());
    QPainter painter(&printer);
    platform::PaintDocument(card, printer, painter, [] { QCoreApplication::processEvents(); });
    painter.end();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 1000;
    const int size = argc > 2 ? atoi(argv[2]) : 2048;
    const int bigMb = argc > 3 ? atoi(argv[3]) : 10;
    const int rounds = argc > 4 ? atoi(argv[4]) : 3;

    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("KRT")));
    QDir().mkpath(dir.filePath(QStringLiteral("out")));
    QRandomGenerator random(29);
    QList<ui::TExportCard> cards;
    for (int i = 0; i < count; ++i) {
        const QString file = dir.filePath(QStringLiteral("KRT/Karte %1.rtf").arg(i));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(formattedCard(random, size)) < 0)
            return 1;
        cards.append({QStringLiteral("Karte %1").arg(i), file});
    }
    const QFont font(QStringLiteral("Arial"), 10);
    QStringList failures;
    const Timing all = timed([&] { failures = ui::ExportCards(cards, dir.filePath(QStringLiteral("out")), ui::efHtml, font, nullptr); });
    const int written = int(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files).size());
    std::printf("%d cards of %d bytes to HTML: %.0f ms (cpu %.0f ms), %d files, %d failed   [goal: within 3000 ms]\n",
                count, size, all.wall, all.cpu, written, int(failures.size()));

    const QString big = dir.filePath(QStringLiteral("KRT/Gross.rtf"));
    {
        QFile out(big);
        if (!out.open(QIODevice::WriteOnly) || out.write(formattedCard(random, qsizetype(bigMb) << 20)) < 0)
            return 1;
    }
    const std::unique_ptr<QTextDocument> card = controls::TRichEdit::ReadDocument(big, font);
    std::printf("%d MB card: %d paragraphs\n", bigMb, card->blockCount());
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        Timing print, pdf;
        const auto printRun = [&] { print = timed([&] { printToPdfFile(*card, dir.filePath(QStringLiteral("printed.pdf"))); }); };
        const auto exportRun = [&] {
            pdf = timed([&] { ui::WriteExport(dir.filePath(QStringLiteral("out/Gross.pdf")), *card, ui::efPdf, QStringLiteral("Gross")); });
        };
        if (round % 2 == 0) {
            printRun();
            exportRun();
        } else {
            exportRun();
            printRun();
        }
        ratios.push_back(pdf.cpu / print.cpu);
        std::printf("  round %d: export to PDF %.0f ms (cpu %.0f ms), print to a PDF file %.0f ms (cpu %.0f ms), ratio %.2f\n",
                    round + 1, pdf.wall, pdf.cpu, print.wall, print.cpu, ratios.back());
    }
    std::printf("PDF export / print, cpu, median of %d rounds: %.2f   [goal: at most 2]\n", rounds, median(ratios));
    std::printf("PDF sizes: export %lld bytes, print %lld bytes\n", QFileInfo(dir.filePath(QStringLiteral("out/Gross.pdf"))).size(),
                QFileInfo(dir.filePath(QStringLiteral("printed.pdf"))).size());
    return failures.isEmpty() ? 0 : 1;
}
