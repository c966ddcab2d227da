// What keeping versions adds to a save point: a card of 1 MB and of 10 MB
// (or the sizes given) is written as a tab switch writes it (serialised and
// replaced atomically), once alone and once with its replaced bytes read,
// compared and kept as a version; rounds run both in turns, medians of wall
// time and their ratio (the version itself is written on a thread of its
// own; the time it takes there is shown too). Then one thinning over a
// folder of many versions.
//
//   build/bench/versions_bench [kilobytes...]

#include "versions.h"
#include "richedit.h"

#include "benchclock.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextCursor>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::median;

void fill(controls::TRichEdit &editor, int kilobytes, int round)
{
    QTextCursor c(editor.document());
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    QTextCharFormat plain, bold;
    bold.setFontWeight(QFont::Bold);
    int words = 0;
    while (editor.document()->characterCount() < kilobytes * 1024) {
        c.insertText(QStringLiteral("Einkauf Notiz Termin %1 ").arg(round), (++words % 4) ? plain : bold);
        if (words % 40 == 0)
            c.insertBlock();
    }
}

template <typename Step>
double wallMs(Step step)
{
    QElapsedTimer t;
    t.start();
    step();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const std::vector<int> sizes = bench::kilobytesFrom(argc, argv);
    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("Karte.rtf"));
    cards::TVersions versions(dir.filePath(QStringLiteral("Fassungen")));
    controls::TRichEdit editor;

    for (int kb : sizes) {
        std::vector<double> alone, kept, ratio, background, own;
        for (int round = 0; round < 7; ++round) {
            fill(editor, kb, 2 * round);
            const double a = wallMs([&] { editor.SaveDocument(card); });
            fill(editor, kb, 2 * round + 1);
            double reads = 0;
            const double k = wallMs([&] {
                reads += wallMs([&] { versions.Replacing(card); });
                editor.SaveDocument(card);
                reads += wallMs([&] { versions.Replaced(card); });
            });
            own.push_back(reads);
            // Not on the save point's thread, and not left to overlap the next round.
            background.push_back(wallMs([&] { versions.WaitForWrites(); }));
            alone.push_back(a);
            kept.push_back(k);
            ratio.push_back(k / a);
        }
        std::printf("save point, %d KB card: alone %.1f ms, keeping a version %.1f ms (of which reading and "
                    "comparing %.1f ms), ratio %.2f; the version's write on its own thread afterwards %.1f ms "
                    "(medians of 7)\n",
                    kb, median(alone), median(kept), median(own), median(ratio), median(background));
    }

    // Many cards with many versions: 200 cards of 20 small versions each,
    // named as the program names them.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int c = 0; c < 200; ++c) {
        const QString folder = dir.filePath(QStringLiteral("Fassungen/%1/").arg(c));
        QDir().mkpath(folder);
        for (int v = 0; v < 20; ++v) {
            const QByteArray bytes = QByteArray(2048, 'x') + QByteArray::number(c * 100 + v);
            QFile f(folder + QString::number(now - v * 60000) + QLatin1Char('-')
                    + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())
                    + QStringLiteral(".fassung"));
            if (f.open(QIODevice::WriteOnly))
                f.write(bytes);
        }
    }
    std::vector<double> thin;
    for (int round = 0; round < 7; ++round)
        thin.push_back(wallMs([&] { versions.Thin(); }));
    std::printf("thinning 4,000 versions of 200 cards: %.1f ms (median of 7)\n", median(thin));
    return 0;
}
