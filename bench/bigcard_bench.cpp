// Typing in big cards: after a card of 10 MB, of 200 MB and of 1,000,000
// empty paragraphs first shows, how long Ctrl+End, a character typed at the
// end and the keystrokes after it take, how long the program is held at a
// stretch (what a close waits for), and what the loaded card costs in
// memory; the card editor beside a plain QTextEdit showing the same
// document. Each editor runs in a process of its own, stopped when it takes
// longer than a budget.
//
//   build/bench/bigcard_bench [--quick]   (--quick leaves out the 200 MB card)

#include "richedit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {

struct Case {
    const char *name;
    int paragraphs;
    int length; // characters per paragraph
    bool quick; // part of --quick
};

constexpr Case kCases[] = {
    {"10 MB", 1000, 10000, true},
    {"200 MB", 20000, 10000, false},
    {"10^6 paragraphs", 1000000, 0, true},
};

// A card as the program writes it: one font, paragraphs of words.
void writeCard(const QString &path, const Case &c)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\viewkind4\\uc1\\pard\\f0\\fs20 ");
    static const char *const words[] = {"Einkauf", "Termin", "Notiz", "Besprechung", "Garten", "Rechnung",
                                        "Urlaub",  "Kartoffel", "morgen", "bitte", "anrufen", "und"};
    QByteArray paragraph;
    for (int k = 0; paragraph.size() < c.length; ++k)
        paragraph += QByteArray(words[k % std::size(words)]) + ' ';
    paragraph.truncate(c.length);
    paragraph += "\\par\r\n";
    for (int i = 0; i < c.paragraphs; ++i)
        file.write(paragraph);
    file.write("}");
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// The longest the event loop was held while it ran for ms milliseconds,
// as a timer that wants to run every 5 ms sees it.
qint64 longestHold(int ms)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    tick.start(5);
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return longest;
}

void say(const char *figure, qint64 value)
{
    std::printf("%s %lld\n", figure, static_cast<long long>(value));
    std::fflush(stdout);
}

// One editor, one card: prints one line per figure as it gets it.
int measure(bool cardEditor, const QString &path)
{
    const qint64 base = residentBytes();
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QTextEdit> editor;
    if (cardEditor) {
        auto *edit = new controls::TRichEdit;
        edit->LoadDocument(path);
        editor.reset(edit);
    } else {
        editor = std::make_unique<QTextEdit>();
        std::unique_ptr<QTextDocument> doc = controls::TRichEdit::ReadDocument(path, editor->document()->defaultFont());
        doc->setParent(editor.get());
        editor->setDocument(doc.release());
    }
    editor->resize(800, 600);
    editor->show();
    if (!QTest::qWaitForWindowExposed(editor.get()))
        return 1;
    QCoreApplication::processEvents();
    say("show_ms", clock.elapsed());
    say("rss_above_base", residentBytes() - base);

    clock.restart();
    QTest::keyClick(editor.get(), Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    say("ctrl_end_ms", clock.elapsed());
    clock.restart();
    QTest::keyClick(editor.get(), Qt::Key_X);
    QCoreApplication::processEvents();
    say("char_at_end_ms", clock.elapsed());

    qint64 slowest = 0;
    for (int i = 0; i < 20; ++i) {
        clock.restart();
        QTest::keyClick(editor.get(), i % 5 == 4 ? Qt::Key_Return : Qt::Key_A);
        QCoreApplication::processEvents();
        slowest = std::max(slowest, clock.elapsed());
    }
    say("later_key_max_ms", slowest);
    say("idle_hold_max_ms", longestHold(1500));
    clock.restart();
    editor->close();
    QCoreApplication::processEvents();
    say("close_ms", clock.elapsed());
    // Freeing a document of hundreds of megabytes is no part of the figures.
    std::_Exit(0);
}

struct Figures {
    QMap<QString, qint64> values;
    bool finished = false;
};

Figures runChild(const QString &self, bool cardEditor, const QString &path, int budgetMs)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(self, {QStringLiteral("--one"), cardEditor ? QStringLiteral("card") : QStringLiteral("plain"), path});
    Figures f;
    f.finished = child.waitForFinished(budgetMs) && child.exitCode() == 0;
    if (!f.finished) {
        child.kill();
        child.waitForFinished();
    }
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            f.values.insert(QString::fromLatin1(parts[0]), parts[1].toLongLong());
    }
    return f;
}

QString cell(const Figures &f, const char *key, int budgetMs)
{
    const QString k = QString::fromLatin1(key);
    if (f.values.contains(k))
        return QString::number(f.values.value(k));
    return f.finished ? QStringLiteral("-") : QStringLiteral("> %1 s").arg(budgetMs / 1000);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--one"))
        return measure(args[2] == QLatin1String("card"), args[3]);
    const bool quick = args.contains(QStringLiteral("--quick"));

    QTemporaryDir dir;
    const char *const figures[] = {"show_ms", "ctrl_end_ms", "char_at_end_ms", "later_key_max_ms", "idle_hold_max_ms",
                                   "close_ms", "rss_above_base"};
    for (const Case &c : kCases) {
        if (quick && !c.quick)
            continue;
        const QString path = dir.filePath(QStringLiteral("card.rtf"));
        writeCard(path, c);
        const qint64 size = QFile(path).size();
        // The plain editor may never finish; the card editor gets room for a loaded machine.
        const int budget = c.paragraphs * qint64(c.length) > 50000000 ? 120000 : 40000;
        const Figures card = runChild(app.applicationFilePath(), true, path, budget);
        const Figures plain = runChild(app.applicationFilePath(), false, path, budget / 2);
        std::printf("\n%s card (%lld bytes of RTF)%s\n", c.name, static_cast<long long>(size),
                    card.finished ? "" : "  CARD EDITOR DID NOT FINISH");
        std::printf("  %-20s %14s %14s\n", "figure", "card editor", "QTextEdit");
        for (const char *figure : figures)
            std::printf("  %-20s %14s %14s\n", figure, qPrintable(cell(card, figure, budget)),
                        qPrintable(cell(plain, figure, budget / 2)));
        if (card.values.contains(QStringLiteral("rss_above_base")))
            std::printf("  card editor memory: %.2f x the file size above base\n",
                        double(card.values.value(QStringLiteral("rss_above_base"))) / double(size));
        std::fflush(stdout);
        QFile::remove(path);
    }
    return 0;
}
