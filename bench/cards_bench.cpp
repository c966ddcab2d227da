// How long the card operations take with many cards and a big card:
// building the tab row from a folder of 2000 cards, and a tab switch that
// writes a changed 1 MB card and loads another 1 MB card.
//
//   build/bench/cards_bench [cards] [kilobytes]

#include "cards/cardstore.h"
#include "platform/richedit.h"
#include "platform/tabcontrol.h"
#include "rtf/rtfwriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray bigCard(int kilobytes)
{
    // Realistic text: a format change every few words, some bullets.
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat plain, bold;
    bold.setFontWeight(QFont::Bold);
    int words = 0;
    while (doc.characterCount() < kilobytes * 1024) {
        c.insertText(QStringLiteral("Einkauf Notiz Termin "), (++words % 4) ? plain : bold);
        if (words % 40 == 0)
            c.insertBlock();
    }
    return rtf::RtfWriter(&doc).write();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 2000;
    const int kilobytes = argc > 2 ? atoi(argv[2]) : 1024;

    QTemporaryDir dir;
    const QString cards = dir.path() + QStringLiteral("/KRT/");
    QDir().mkpath(cards);
    const QByteArray big = bigCard(kilobytes);
    for (int i = 0; i < count; ++i) {
        QFile f(cards + QStringLiteral("Karte %1.rtf").arg(i, 4, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly);
        f.write(i < 2 ? big : QByteArray("{\\rtf1\\ansi kurz}"));
    }

    platform::TTabControl tabs;
    tabs.resize(800, 600);
    auto *editor = new platform::TRichEdit;
    tabs.SetDisplayWidget(editor);
    tabs.SetMultiLine(true);
    tabs.show();
    cards::TCardStore store(&tabs, editor);
    store.SetCardDir(cards);
    editor->OnChange = [&](QObject *) { store.SetCardModified(true); };
    tabs.OnChanging = [&](QObject *, bool &) { store.Leaving(); };
    tabs.OnChange = [&](QObject *) { store.Arriving(); };

    std::vector<double> list, load, sw;
    QElapsedTimer t;
    for (int round = 0; round < 5; ++round) {
        t.start();
        store.BuildCardList();
        list.push_back(t.nsecsElapsed() / 1e6);
        const int bigA = tabs.Tabs().indexOf(QStringLiteral("Karte 0000"));
        const int bigB = tabs.Tabs().indexOf(QStringLiteral("Karte 0001"));
        tabs.SetTabIndex(bigA);
        t.start();
        store.LoadCurrentCard();
        load.push_back(t.nsecsElapsed() / 1e6);
        QTextCursor(editor->document()).insertText(QStringLiteral("x"));
        t.start();
        tabs.SelectByUser(bigB);
        sw.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("cards %d, big card %.0f KB RTF\n", count, big.size() / 1024.0);
    std::printf("build card list: %.1f ms\n", median(list));
    std::printf("load big card:   %.1f ms\n", median(load));
    std::printf("tab switch (write changed big card, load big card): %.1f ms\n", median(sw));
    return 0;
}
