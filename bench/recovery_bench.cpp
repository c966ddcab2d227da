// What one crash-recovery write holds the GUI thread for in a big card: a
// card of 1 MB and of 10 MB (or the sizes given) loaded in the card editor;
// rounds run in turns the old way (the RTF made and the file replaced on the
// GUI thread) and the program's way (a copy of the text taken in slices over
// turns of the event loop, the write queued, the RTF made and the file
// written on the recovery's thread). Medians of the longest turn's wall and
// thread CPU time, their ratio to the old way's, the turns the copy took and
// the writing thread's time. The keys typed meanwhile pay nothing new: a key only
// restarts the recovery's timers, as before.
//
//   build/bench/recovery_bench [kilobytes...]

#include "recovery.h"
#include "documentsnapshot.h"
#include "files.h"
#include "richedit.h"
#include "rtfwriter.h"

#include "benchclock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace {

using bench::median;

// A card as people fill one: paragraphs of words, now and then a bulleted
// item, and when formatted, bold and coloured words (a run every few words,
// the copy's dearest case), else one run per paragraph.
QByteArray card(int kilobytes, bool formatted)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\ftech\\fcharset2 "
                     "Symbol;}}{\\colortbl ;\\red200\\green10\\blue20;}\r\n\\uc1\\plain\\fs20 ";
    static const char *const words[] = {"Einkauf", "Termin", "Notiz", "Besprechung", "Garten", "Rechnung",
                                        "Urlaub",  "Kartoffel", "morgen", "bitte", "anrufen", "und"};
    for (int p = 0; rtf.size() < qsizetype(kilobytes) * 1024; ++p) {
        const bool item = p % 10 == 0;
        rtf += item ? "\\pard{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\li720\\fi-360 {\\pntext\\f1\\'b7\\tab}"
                    : "\\pard ";
        for (int w = 0; w < 40; ++w) {
            const char *word = words[(p + w) % std::size(words)];
            if (formatted && w % 9 == 4)
                rtf += QByteArray("\\b ") + word + "\\b0  ";
            else if (formatted && w % 13 == 6)
                rtf += QByteArray("\\cf1 ") + word + "\\cf0  ";
            else
                rtf += QByteArray(word) + ' ';
        }
        rtf += "\\par\r\n";
    }
    return rtf + "}";
}

struct Figures {
    std::vector<double> wall, cpu;
    void add(double w, double c)
    {
        wall.push_back(w);
        cpu.push_back(c);
    }
};

template <typename Step>
void timed(Figures &figures, Step step)
{
    QElapsedTimer t;
    t.start();
    const double cpu = bench::threadCpuMilliseconds();
    step();
    figures.add(t.nsecsElapsed() / 1e6, bench::threadCpuMilliseconds() - cpu);
}

int runsOf(const QTextDocument &document)
{
    int runs = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            ++runs;
    return runs;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const std::vector<int> sizes = bench::kilobytesFrom(argc, argv);
    std::vector<std::pair<bool, int>> runs;
    for (const bool formatted : {true, false})
        for (int kb : sizes)
            runs.emplace_back(formatted, kb);
    QTemporaryDir dir;
    const QString cardFile = dir.filePath(QStringLiteral("Karte.rtf"));

    for (const auto &[formatted, kb] : runs) {
        {
            QFile f(cardFile);
            if (!f.open(QIODevice::WriteOnly) || f.write(card(kb, formatted)) < 0)
                qFatal("cannot write %s", qPrintable(cardFile));
        }
        controls::TRichEdit editor;
        editor.LoadDocument(cardFile);
        editor.resize(800, 600);
        editor.show();
        QCoreApplication::processEvents();

        // The program's recovery, its copy taken as the program takes it: in
        // slices over turns of the event loop; its RTF made on the writing
        // thread, timed there.
        Figures gui, slices, worker, before;
        std::atomic<bool> copied = false;
        cards::TRecovery recovery(dir.filePath(QStringLiteral("state")), [&] { return cardFile; },
                                  []() -> cards::TRecovery::Content { qFatal("the copy is taken in slices"); });
        recovery.CopyLater = [&](cards::TRecovery::Ready ready) -> std::unique_ptr<QObject> {
            return std::make_unique<controls::TDocumentCopier>(
                editor.document(), [&, ready](std::shared_ptr<const controls::TDocumentSnapshot> copy) {
                    copied = true;
                    ready([copy, &worker] {
                        QByteArray rtf;
                        timed(worker, [&] { rtf = copy->Rtf(); });
                        return rtf;
                    });
                });
        };
        recovery.SetDelay(0);
        const QString oldWay = dir.filePath(QStringLiteral("alt.rtf"));
        for (int round = 0; round < 7; ++round) {
            timed(before, [&] {
                platform::ReplaceFileContents(oldWay, rtf::RtfWriter(editor.document()).write());
            });
            // The turns of the event loop from the pause's timer to the
            // write handed over, after what the editor had pending.
            QCoreApplication::processEvents();
            copied = false;
            recovery.ContentChanged();
            Figures turns;
            while (!copied)
                timed(turns, [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 0); });
            // The longest turn is what the typing can feel.
            gui.add(*std::max_element(turns.wall.begin(), turns.wall.end()),
                    *std::max_element(turns.cpu.begin(), turns.cpu.end()));
            slices.add(double(turns.wall.size()), std::accumulate(turns.cpu.begin(), turns.cpu.end(), 0.0));
            recovery.WaitForWrites();
        }
        std::printf("recovery write, %d KB %s card (%d characters, %d runs): GUI thread held before %.1f ms wall / %.1f ms CPU, "
                    "now at most %.1f ms wall / %.1f ms CPU (ratio %.3f wall, %.3f CPU) in one turn of the event loop, "
                    "the copy taken in %.0f turns of %.1f ms CPU together; the writing thread then makes the RTF in "
                    "%.1f ms wall / %.1f ms CPU (medians of 7)\n",
                    kb, formatted ? "formatted" : "plain", editor.document()->characterCount(), runsOf(*editor.document()), median(before.wall), median(before.cpu), median(gui.wall),
                    median(gui.cpu), median(gui.wall) / median(before.wall), median(gui.cpu) / median(before.cpu),
                    median(slices.wall), median(slices.cpu), median(worker.wall), median(worker.cpu));
        std::fflush(stdout);
    }
    return 0;
}
