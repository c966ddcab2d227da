// How fast the find bar answers over many cards: the first search, which
// reads every card into the index, and each later keystroke; and how much
// the index holds against the cards' plain text.
//
//   build/bench/find_bench [cards] [bytes per card]

#include "benchclock.h"
#include "cardstore.h"
#include "richedit.h"
#include "tabcontrol.h"
#include "findbar.h"
#include "rtfplaintext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// A card as the program writes it, about size bytes long, of German words.
QByteArray card(QRandomGenerator &random, int size)
{
    static const char *const words[] = {"Einkauf", "Termin", "Notiz", "Besprechung", "M\\'fcller", "Stra\\'dfe",
                                        "Garten", "Rechnung", "\\'c4rger", "Urlaub", "Kartoffel", "Zahnarzt",
                                        "Geburtstag", "morgen", "bitte", "anrufen", "wegen", "der", "und", "mit"};
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
                     "{\\colortbl ;\\red0\\green0\\blue0;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    int line = 0;
    while (rtf.size() < size - 8) {
        const QByteArray word = words[random.bounded(int(std::size(words)))];
        rtf += (random.bounded(10) == 0) ? "\\b " + word + "\\b0 " : word + ' ';
        if ((line += word.size()) > 70) {
            rtf += "\\par\r\n";
            line = 0;
        }
    }
    return rtf + "\\par}";
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 10000;
    const int size = argc > 2 ? atoi(argv[2]) : 2048;

    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/KRT/");
    QDir().mkpath(folder);
    QRandomGenerator random(18);
    qint64 plainChars = 0, rtfBytes = 0;
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QByteArray bytes = card(random, size);
        const QString name = QStringLiteral("Karte %1").arg(i, 5, 10, QLatin1Char('0'));
        QFile f(folder + name + QStringLiteral(".rtf"));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 1;
        f.close();
        names << name;
        rtfBytes += bytes.size();
        plainChars += rtf::PlainText(bytes).size();
    }

    controls::TTabControl tabs;
    tabs.resize(800, 600);
    auto *editor = new controls::TRichEdit;
    cards::TCardStore store(&tabs, editor);
    store.SetCardDir(folder);
    auto *bar = new ui::TFindBar(&tabs, editor, store);
    auto *pane = new QWidget;
    auto *column = new QVBoxLayout(pane);
    column->addWidget(bar);
    column->addWidget(editor);
    tabs.SetDisplayWidget(pane);
    editor->OnChange = [&](QObject *) { store.SetCardModified(true); };
    tabs.OnChanging = [&](QObject *, bool &) { store.Leaving(); };
    tabs.OnChange = [&](QObject *) { store.Arriving(); };
    tabs.AssignTabs(names);
    store.LoadCurrentCard();
    tabs.show();
    bar->Open();

    // Typing a word letter by letter, then the next hits. The machine may be
    // shared: the CPU time of this thread is given beside the wall time.
    const QString term = QStringLiteral("kartoffel");
    QElapsedTimer t;
    const auto cpuMs = &bench::threadCpuMilliseconds;
    double first[2] = {}, worstKey[2] = {}, worstNext[2] = {};
    for (int i = 0; i < term.size(); ++i) {
        t.start();
        const double cpu = cpuMs();
        QTest::keyClick(bar->Field(), term[i].toLatin1());
        const double ms[2] = {t.nsecsElapsed() / 1e6, cpuMs() - cpu};
        for (int k = 0; k < 2; ++k)
            (i == 0 ? first[k] : worstKey[k]) = i == 0 ? ms[k] : std::max(worstKey[k], ms[k]);
        std::printf("  \"%s\": %.1f ms (cpu %.1f ms)\n", qPrintable(term.left(i + 1)), ms[0], ms[1]);
    }
    for (int i = 0; i < 20; ++i) {
        t.start();
        const double cpu = cpuMs();
        bar->FindNext(true);
        worstNext[0] = std::max(worstNext[0], t.nsecsElapsed() / 1e6);
        worstNext[1] = std::max(worstNext[1], cpuMs() - cpu);
    }
    std::printf("first search (reads every card): %.1f ms (cpu %.1f ms)\n", first[0], first[1]);
    std::printf("slowest later keystroke:         %.1f ms (cpu %.1f ms)\n", worstKey[0], worstKey[1]);
    std::printf("slowest next hit (F3, may load): %.1f ms (cpu %.1f ms)\n", worstNext[0], worstNext[1]);
    const qint64 held = bar->Index().HeldBytes();
    std::printf("%d cards, %.1f MB RTF, %.1f M characters of plain text\n", count, rtfBytes / 1e6, plainChars / 1e6);
    std::printf("index holds %.2f MB = %.2f x the plain text (%.2f MB as UTF-16)\n", held / 1e6,
                double(held) / double(2 * plainChars), 2 * plainChars / 1e6);
    std::printf("status: %s\n", qPrintable(bar->Status()->text()));
    return 0;
}
