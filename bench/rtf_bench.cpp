// Load and save speed of the RTF reader and writer on generated cards of
// 100 KB to 50 MB with a format change every few words, bullets and
// alignment, and on cards of many short paragraphs. Each is set against
// Qt's own work on the same document (building it through one cursor,
// toHtml, setPlainText); the ratios of process CPU time, each the median
// of rounds that run both right after each other, are printed at the end. --memory instead prints the resident memory a loaded
// 10 MB card costs.
//   build/bench/rtf_bench [--benchmark_filter=REGEX]
//   build/bench/rtf_bench --memory

#include "rtfreader.h"
#include "rtfwriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <map>
#include <memory>
#include <vector>

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

// The card make(key) gives, made once per key for all the runs that read it.
template <typename Key>
const QByteArray &cached(std::map<Key, QByteArray> &cards, Key key, QByteArray (*make)(Key))
{
    auto it = cards.find(key);
    if (it == cards.end())
        it = cards.emplace(key, make(key)).first;
    return it->second;
}

const QByteArray &card(qsizetype size)
{
    static std::map<qsizetype, QByteArray> cards;
    return cached(cards, size, generateCard);
}

// A card of short paragraphs as WordPad writes it, and the same text plain.
QByteArray shortCard(int paragraphs)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
                     "\\uc1\\pard\\f0\\fs20 ";
    for (int i = 0; i < paragraphs; ++i)
        rtf += "Zeile " + QByteArray::number(i) + "\\par\r\n";
    rtf += "}";
    return rtf;
}

QString shortText(int paragraphs)
{
    QString text;
    for (int i = 0; i < paragraphs; ++i)
        text += QStringLiteral("Zeile ") + QString::number(i) + QLatin1Char('\n');
    return text;
}

const QByteArray &shortCardOf(int paragraphs)
{
    static std::map<int, QByteArray> cards;
    return cached(cards, paragraphs, shortCard);
}

std::unique_ptr<QTextDocument> loaded(const QByteArray &bytes)
{
    auto document = std::make_unique<QTextDocument>();
    rtf::RtfReader(document.get()).read(bytes);
    return document;
}

// What Qt needs to build a document: its paragraphs with their formats,
// lists and runs of text, taken from a document the reader made.
struct Recipe {
    struct Run {
        QString text;
        QTextCharFormat format;
    };
    struct Paragraph {
        QTextBlockFormat format;
        QTextCharFormat charFormat;
        const QTextList *list = nullptr;
        QTextListFormat listFormat;
        std::vector<Run> runs;
    };
    std::vector<Paragraph> paragraphs;
    std::unique_ptr<QTextDocument> source; // keeps the list keys alive
};

const Recipe &recipe(qsizetype size)
{
    static std::map<qsizetype, Recipe> recipes;
    auto it = recipes.find(size);
    if (it != recipes.end())
        return it->second;
    Recipe r;
    r.source = loaded(card(size));
    for (QTextBlock block = r.source->begin(); block.isValid(); block = block.next()) {
        Recipe::Paragraph paragraph{block.blockFormat(), block.charFormat(), block.textList(), {}, {}};
        paragraph.format.setObjectIndex(-1); // the list it is in belongs to the source
        if (paragraph.list)
            paragraph.listFormat = paragraph.list->format();
        for (auto f = block.begin(); !f.atEnd(); ++f)
            paragraph.runs.push_back({f.fragment().text(), f.fragment().charFormat()});
        r.paragraphs.push_back(std::move(paragraph));
    }
    return recipes.emplace(size, std::move(r)).first->second;
}

void build(QTextDocument &document, const Recipe &r)
{
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    QHash<const QTextList *, QTextList *> lists;
    bool first = true;
    for (const Recipe::Paragraph &paragraph : r.paragraphs) {
        if (first)
            cursor.setBlockFormat(paragraph.format);
        else
            cursor.insertBlock(paragraph.format, paragraph.charFormat);
        first = false;
        if (paragraph.list) {
            if (QTextList *list = lists.value(paragraph.list))
                list->add(cursor.block());
            else
                lists.insert(paragraph.list, cursor.createList(paragraph.listFormat));
        }
        for (const Recipe::Run &run : paragraph.runs)
            cursor.insertText(run.text, run.format);
    }
    cursor.endEditBlock();
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

void BM_QtCursor(benchmark::State &state)
{
    const Recipe &r = recipe(state.range(0));
    for (auto _ : state) {
        QTextDocument document;
        build(document, r);
        benchmark::DoNotOptimize(document.characterCount());
    }
}

void BM_Save(benchmark::State &state)
{
    const auto document = loaded(card(state.range(0)));
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray out = rtf::RtfWriter(document.get()).write();
        written = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * written);
}

void BM_QtToHtml(benchmark::State &state)
{
    const auto document = loaded(card(state.range(0)));
    for (auto _ : state) {
        const QString html = document->toHtml();
        benchmark::DoNotOptimize(html.data());
    }
}

void BM_LoadShort(benchmark::State &state)
{
    const QByteArray &bytes = shortCardOf(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        rtf::RtfReader(&document).read(bytes);
        benchmark::DoNotOptimize(document.blockCount());
    }
}

void BM_QtSetPlainText(benchmark::State &state)
{
    const QString text = shortText(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        document.setUndoRedoEnabled(false);
        document.setPlainText(text);
        benchmark::DoNotOptimize(document.blockCount());
    }
}

double processSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Our work and Qt's on the same document, one right after the other in
// every round, in turns which goes first: a slow spell of the machine then
// slows both alike, and the median of the rounds' ratios holds where the
// ratio of two medians measured seconds apart does not.
template <typename Ours, typename Qts>
void paired(benchmark::State &state, Ours ours, Qts qts)
{
    std::vector<double> ratios;
    bool oursFirst = true;
    for (auto _ : state) {
        double mine = 0, theirs = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const double start = processSeconds();
            (turn == 0) == oursFirst ? ours() : qts();
            ((turn == 0) == oursFirst ? mine : theirs) = processSeconds() - start;
        }
        ratios.push_back(mine / theirs);
        oursFirst = !oursFirst;
    }
    std::nth_element(ratios.begin(), ratios.begin() + qsizetype(ratios.size() / 2), ratios.end());
    state.counters["ratio"] = ratios[ratios.size() / 2];
    state.counters["rounds"] = double(ratios.size());
}

void BM_LoadRatio(benchmark::State &state)
{
    const QByteArray &bytes = card(state.range(0));
    const Recipe &r = recipe(state.range(0));
    paired(state, [&] { QTextDocument document; rtf::RtfReader(&document).read(bytes); },
           [&] { QTextDocument document; build(document, r); });
}

void BM_SaveRatio(benchmark::State &state)
{
    const auto document = loaded(card(state.range(0)));
    paired(state, [&] { benchmark::DoNotOptimize(rtf::RtfWriter(document.get()).write().size()); },
           [&] { benchmark::DoNotOptimize(document->toHtml().size()); });
}

void BM_LoadShortRatio(benchmark::State &state)
{
    const QByteArray &bytes = shortCardOf(int(state.range(0)));
    const QString text = shortText(int(state.range(0)));
    paired(state, [&] { QTextDocument document; rtf::RtfReader(&document).read(bytes); },
           [&] {
               QTextDocument document;
               document.setUndoRedoEnabled(false);
               document.setPlainText(text);
           });
}

// Keeps the median of each benchmark, and the paired ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const std::string name = run.run_name.function_name + "/" + run.run_name.args;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[name] = run.GetAdjustedCPUTime();
            const auto ratio = run.counters.find("ratio");
            if (run.run_type == Run::RT_Iteration && ratio != run.counters.end())
                ratios[name] = {ratio->second.value, run.counters.at("rounds").value};
        }
    }
    void ratio(const char *what, const std::string &name) const
    {
        const auto it = ratios.find(name);
        if (it != ratios.end())
            std::printf("%-46s %5.2f  (%.0f rounds)\n", what, it->second.first, it->second.second);
    }
    std::map<std::string, double> medians;
    std::map<std::string, std::pair<double, double>> ratios; // median ratio, rounds
};

long residentKilobytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

void reportMemory()
{
    const QByteArray bytes = generateCard(10'000'000);
    malloc_trim(0);
    const long base = residentKilobytes();
    QTextDocument document;
    rtf::RtfReader(&document).read(bytes);
    malloc_trim(0);
    const long used = residentKilobytes() - base;
    std::printf("resident memory of a loaded %.1f MB card: %.1f MB = %.2f x file size\n", bytes.size() / 1e6,
                used / 1024.0, used * 1024.0 / double(bytes.size()));
}

} // namespace

#define KARTOLINO_BENCH_SIZES(b) \
    BENCHMARK(b)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Arg(50'000'000)->MinTime(0.2)->Repetitions(5) \
        ->ReportAggregatesOnly(true)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)
#define KARTOLINO_BENCH_PARAGRAPHS(b) \
    BENCHMARK(b)->Arg(200'000)->Arg(1'000'000)->MinTime(0.2)->Repetitions(5)->ReportAggregatesOnly(true) \
        ->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)
KARTOLINO_BENCH_SIZES(BM_Load);
KARTOLINO_BENCH_SIZES(BM_QtCursor);
KARTOLINO_BENCH_SIZES(BM_Save);
KARTOLINO_BENCH_SIZES(BM_QtToHtml);
KARTOLINO_BENCH_PARAGRAPHS(BM_LoadShort);
KARTOLINO_BENCH_PARAGRAPHS(BM_QtSetPlainText);
BENCHMARK(BM_LoadRatio)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Arg(50'000'000)->MinTime(1.5)
    ->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveRatio)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Arg(50'000'000)->MinTime(1.5)
    ->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadShortRatio)->Arg(200'000)->Arg(1'000'000)->MinTime(1.5)->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Alone in a fresh process, so that no freed heap of earlier runs hides the cost.
    if (argc > 1 && qstrcmp(argv[1], "--memory") == 0) {
        reportMemory();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nratios of process CPU time, median of paired rounds:\n");
    for (const char *size : {"100000", "1000000", "10000000", "50000000"}) {
        reporter.ratio(("load / QTextCursor build, " + std::string(size)).c_str(), std::string("BM_LoadRatio/") + size);
        reporter.ratio(("save / toHtml, " + std::string(size)).c_str(), std::string("BM_SaveRatio/") + size);
    }
    for (const char *count : {"200000", "1000000"})
        reporter.ratio(("short paragraphs load / setPlainText, " + std::string(count)).c_str(),
                       std::string("BM_LoadShortRatio/") + count);
    // Linearity: time per megabyte at each size.
    for (const char *name : {"BM_Load/", "BM_Save/"}) {
        for (const char *size : {"100000", "1000000", "10000000", "50000000"}) {
            const auto it = reporter.medians.find(name + std::string(size));
            if (it != reporter.medians.end())
                std::printf("%s%s: %.2f ms per MB\n", name, size, it->second / (std::stod(size) / 1e6));
        }
    }
    return 0;
}
