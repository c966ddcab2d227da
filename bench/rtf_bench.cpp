// Load and save speed of the RTF reader and writer on generated cards of
// about 100 KB, 1 MB and 10 MB with a format change every few words,
// bullets and alignment.
//   build/bench/rtf_bench --benchmark_counters_tabular=true

#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <map>

namespace {

// A card as a rich-edit control or WordPad would write it.
QByteArray generateCard(qsizetype targetBytes)
{
    static const char *const words[] = {"Kartolino", "Notiz", "einkaufen", "Termin", "morgen", "Zahnarzt",
                                        "Br\\'f6tchen", "Gr\\'fc\\'dfe", "und", "die", "der", "das", "mit",
                                        "Telefon", "Stra\\'dfe", "Rechnung", "bezahlt", "offen", "\\u8364?",
                                        "wichtig", "Projekt", "Besprechung", "um", "Uhr"};
    static const char *const formats[] = {"\\b ", "\\b0 ", "\\i ", "\\i0 ", "\\ul ", "\\ulnone ", "\\cf1 ",
                                          "\\cf2 ", "\\cf0 ", "\\fs24 ", "\\fs20 ", "\\f1 ", "\\f0 "};
    QRandomGenerator random(7);
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                     "{\\f1\\fnil\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n"
                     "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n\\uc1\\pard\\f0\\fs20 ";
    rtf.reserve(targetBytes + 1024);
    int paragraph = 0;
    while (rtf.size() < targetBytes) {
        const int kind = paragraph++ % 10;
        if (kind == 3 || kind == 4 || kind == 5)
            rtf += "\\pard{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li200 ";
        else if (kind == 7)
            rtf += "\\pard\\qc ";
        else if (kind == 8)
            rtf += "\\pard\\qr ";
        else
            rtf += "\\pard ";
        const int length = 8 + int(random.bounded(40));
        for (int w = 0; w < length; ++w) {
            if (random.bounded(4) == 0)
                rtf += formats[random.bounded(int(std::size(formats)))];
            rtf += words[random.bounded(int(std::size(words)))];
            rtf += ' ';
        }
        rtf += "\\par\r\n";
    }
    rtf += "}";
    return rtf;
}

const QByteArray &card(qsizetype size)
{
    static std::map<qsizetype, QByteArray> cards;
    auto it = cards.find(size);
    if (it == cards.end())
        it = cards.emplace(size, generateCard(size)).first;
    return it->second;
}

void BM_Load(benchmark::State &state)
{
    const QByteArray &bytes = card(state.range(0));
    for (auto _ : state) {
        QTextDocument document;
        rtf::RtfReader(&document).read(bytes);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_Save(benchmark::State &state)
{
    const QByteArray &bytes = card(state.range(0));
    QTextDocument document;
    rtf::RtfReader(&document).read(bytes);
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray out = rtf::RtfWriter(&document).write();
        written = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * written);
}

} // namespace

BENCHMARK(BM_Load)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Save)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
