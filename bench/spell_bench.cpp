// What the spell check costs: a character typed into a 1 MB card and the
// load of a 10 MB card, each with the check on against the same without it,
// in one run; the idle slices that check the rest of the big card; and the
// memory two loaded dictionaries take.
//
//   build/bench/spell_bench [typing card bytes] [loading card bytes] [wrong words per 1000]

#include "richedit.h"
#include "spellchecker.h"
#include "spellhighlighter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QAbstractTextDocumentLayout>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

// German text with English words and wrongPerMille wrong words, in
// paragraphs of about a line, as RTF of about size bytes.
QByteArray card(int size, int wrongPerMille)
{
    static const char *const words[] = {"Einkauf", "Termin", "Notiz", "Besprechung", "M\\'fcller", "Stra\\'dfe",
                                        "Garten", "Rechnung", "\\'c4rger", "Urlaub", "Kartoffel", "Zahnarzt",
                                        "Geburtstag", "morgen", "bitte", "anrufen", "wegen", "der", "und", "mit",
                                        "Meeting", "Deadline", "Feedback"};
    static const char *const wrong[] = {"Hauss", "Garrten", "Terrmin"};
    QRandomGenerator random(28);
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\pard\\f0\\fs20 ";
    int line = 0;
    while (rtf.size() < size - 8) {
        const QByteArray word = random.bounded(1000) < wrongPerMille ? wrong[random.bounded(int(std::size(wrong)))]
                                                                     : words[random.bounded(int(std::size(words)))];
        rtf += word + ' ';
        if ((line += word.size()) > 70) {
            rtf += "\\par\r\n";
            line = 0;
        }
    }
    return rtf + "\\par}";
}

long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

void settle(controls::TSpellHighlighter &highlighter)
{
    while (!highlighter.Finished())
        QCoreApplication::processEvents();
}

// Milliseconds for count characters typed in the middle of the card, each
// with what it makes the program do (layout, check, paint).
double typing(controls::TRichEdit &editor, int count)
{
    QTextCursor middle(editor.document());
    middle.setPosition(editor.document()->characterCount() / 2);
    editor.setTextCursor(middle);
    editor.ensureCursorVisible();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(&editor, i % 7 == 6 ? ' ' : char('a' + i % 26));
        QCoreApplication::processEvents();
    }
    return clock.nsecsElapsed() / 1e6;
}

// Milliseconds from the load to the card shown, checked where visible.
double loading(controls::TRichEdit &editor, const QString &path, controls::TSpellHighlighter *highlighter)
{
    QElapsedTimer clock;
    clock.start();
    editor.LoadDocument(path);
    QCoreApplication::processEvents();
    if (highlighter)
        highlighter->MisspelledWordAt(0); // as a context menu would, nothing more
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int typingSize = argc > 1 ? atoi(argv[1]) : 1 << 20;
    const int loadingSize = argc > 2 ? atoi(argv[2]) : 10 << 20;
    const int wrongPerMille = argc > 3 ? atoi(argv[3]) : 20;

    const long before = residentKb();
    QElapsedTimer clock;
    clock.start();
    const QTemporaryDir dir;
    platform::TSpellChecker checker({QStringLiteral("de_DE"), QStringLiteral("en_US")}, platform::SystemDictionaryFolders(),
                                    dir.filePath(QStringLiteral("Woerterbuch.txt")));
    const double dictionaryMs = clock.nsecsElapsed() / 1e6;
    const long after = residentKb();
    if (!checker.HasDictionary()) {
        std::fprintf(stderr, "no dictionary (hunspell-de-de, hunspell-en-us)\n");
        return 1;
    }
    std::printf("dictionaries %s: %.0f ms to load, resident memory %ld KB -> %ld KB (+%.1f MB)\n",
                qPrintable(checker.Languages().join(QLatin1Char(','))), dictionaryMs, before, after, (after - before) / 1024.0);
    clock.restart();
    const QStringList suggestions = checker.Suggestions(QStringLiteral("Garrten"));
    std::printf("suggestions for a German word: %.1f ms (%s)\n", clock.nsecsElapsed() / 1e6,
                qPrintable(suggestions.join(QLatin1Char(','))));

    const QString typingCard = dir.filePath(QStringLiteral("typing.rtf"));
    const QString loadingCard = dir.filePath(QStringLiteral("loading.rtf"));
    for (const auto &[path, size] : {std::pair{typingCard, typingSize}, std::pair{loadingCard, loadingSize}}) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(card(size, wrongPerMille)) < 0)
            return 1;
    }

    controls::TRichEdit editor;
    editor.resize(800, 600);
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor))
        return 1;
    controls::TSpellHighlighter highlighter(&editor);

    // Typing, rounds with and without the check in turn.
    editor.LoadDocument(typingCard);
    // Qt lays a big card out late; typing costs more once all of it is laid
    // out, so both sides start from a finished layout.
    editor.document()->documentLayout()->documentSize();
    constexpr int kRounds = 6, kKeys = 150;
    double with = 0, without = 0;
    for (int round = 0; round < kRounds; ++round) {
        const bool on = round % 2 == 0;
        highlighter.SetChecker(on ? &checker : nullptr);
        settle(highlighter);
        (on ? with : without) += typing(editor, kKeys);
    }
    const double keys = kKeys * kRounds / 2.0;
    std::printf("%d wrong words in 1000\n", wrongPerMille);
    std::printf("typing into %d KB: %.3f ms a key with the check, %.3f ms without: ratio %.3f\n", typingSize / 1024,
                with / keys, without / keys, with / without);

    // Loading, in turn as well, after one load that warms the caches; then
    // the event loop until the rest of the card is checked, against the same
    // time of the event loop without the check (Qt lays big cards out late).
    loading(editor, loadingCard, nullptr);
    double loadWith = 0, loadWithout = 0, longestWith = 0, longestWithout = 0, background = 0;
    constexpr int kLoads = 6;
    for (int round = 0; round < kLoads; ++round) {
        const bool on = round % 2 == 1;
        highlighter.SetChecker(on ? &checker : nullptr);
        (on ? loadWith : loadWithout) += loading(editor, loadingCard, on ? &highlighter : nullptr);
        QElapsedTimer all;
        all.start();
        double &longest = on ? longestWith : longestWithout;
        while (on ? !highlighter.Finished() : all.elapsed() < qMax(200.0, background)) {
            QElapsedTimer turn;
            turn.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            longest = qMax(longest, turn.nsecsElapsed() / 1e6);
        }
        if (on)
            background = all.nsecsElapsed() / 1e6;
    }
    std::printf("loading %d KB: %.0f ms with the check, %.0f ms without: ratio %.3f\n", loadingSize / 1024,
                loadWith / (kLoads / 2), loadWithout / (kLoads / 2), loadWith / loadWithout);
    std::printf("checking the rest of it: %.0f ms in idle slices; the longest event loop turn %.1f ms with the check, "
                "%.1f ms without\n", background, longestWith, longestWithout);
    return 0;
}
