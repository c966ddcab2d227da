// How long the card operations take with many cards and a big card:
// building the tab row from a folder of 2000 cards, and a tab switch that
// writes a changed 1 MB card and loads another 1 MB card. Then the tab row
// with many cards (10,000 unless given): its first show, making the last tab
// current, Ctrl+Tab and a resize, in one row and in several; process CPU
// time, medians. With the tab switch: the check that the card folder is
// still there, and placing the conflict copies, each against the work it
// goes with. A look at the folder while it is followed, and a card put into
// the row.
//
//   build/bench/cards_bench [cards] [kilobytes] [tab-row cards]

#include "cardfolder.h"
#include "cardorder.h"
#include "cardstore.h"
#include "conflictcopies.h"
#include "files.h"
#include "mybib.h"
#include "richedit.h"
#include "tabcontrol.h"
#include "rtfwriter.h"

#include "benchclock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QShortcut>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using bench::cpuMilliseconds;
using bench::cpuTime;
using bench::median;

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

void tabRow(int count, bool multiLine)
{
    QTemporaryDir dir;
    const QString cards = dir.path() + QStringLiteral("/KRT/");
    QDir().mkpath(cards);
    for (int i = 0; i < count; ++i) {
        QFile f(cards + QStringLiteral("Karte %1.rtf").arg(i, 5, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly);
        f.write("{\\rtf1\\ansi kurz}");
    }
    std::vector<double> show, last, next, resize;
    for (int round = 0; round < 5; ++round) {
        controls::TTabControl tabs;
        tabs.resize(800, 600);
        auto *editor = new controls::TRichEdit;
        tabs.SetDisplayWidget(editor);
        tabs.SetMultiLine(multiLine);
        cards::TCardStore store(&tabs, editor);
        store.SetCardDir(cards);
        tabs.OnChanging = [&](QObject *, bool &) { store.Leaving(); };
        tabs.OnChange = [&](QObject *) { store.Arriving(); };
        show.push_back(cpuTime([&] {
            store.BuildCardList();
            store.LoadCurrentCard();
            tabs.show();
            QCoreApplication::processEvents();
            tabs.repaint();
        }));
        last.push_back(cpuTime([&] {
            tabs.SetTabIndex(count - 1);
            tabs.repaint();
        }));
        tabs.SetTabIndex(count / 2);
        QShortcut *ctrlTab = nullptr;
        for (QShortcut *shortcut : tabs.findChildren<QShortcut *>())
            if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_Tab))
                ctrlTab = shortcut;
        next.push_back(cpuTime([&] {
            emit ctrlTab->activated();
            tabs.repaint();
        }));
        resize.push_back(cpuTime([&] {
            tabs.resize(700 + round, 500);
            tabs.repaint();
        }));
    }
    std::printf("tab row, %d cards, %s:\n", count, multiLine ? "several rows" : "one row");
    std::printf("  first show (list, load, show, paint): %.1f ms\n", median(show));
    std::printf("  last tab current:                     %.1f ms\n", median(last));
    std::printf("  Ctrl+Tab:                             %.1f ms\n", median(next));
    std::printf("  resize:                               %.1f ms\n", median(resize));
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

    controls::TTabControl tabs;
    tabs.resize(800, 600);
    auto *editor = new controls::TRichEdit;
    tabs.SetDisplayWidget(editor);
    tabs.SetMultiLine(true);
    tabs.show();
    cards::TCardStore store(&tabs, editor);
    store.SetCardDir(cards);
    editor->OnChange = [&](QObject *) { store.SetCardModified(true); };
    tabs.OnChanging = [&](QObject *, bool &) { store.Leaving(); };
    tabs.OnChange = [&](QObject *) { store.Arriving(); };

    std::vector<double> list, load, sw, check, order;
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
        // What every save point and folder change adds: is the folder there?
        t.start();
        const bool there = cards::StateOfCardFolder(cards) == cards::CardFolderState::HoldsCards;
        check.push_back(t.nsecsElapsed() / 1e6);
        if (!there)
            std::printf("card folder not seen\n");
        // What the card list adds: finding the sync engines' conflict copies.
        t.start();
        const QList<int> placed = cards::OrderWithConflictCopies(tabs.Tabs());
        order.push_back(t.nsecsElapsed() / 1e6);
        if (placed.size() != tabs.TabCount())
            std::printf("conflict order lost cards\n");
    }
    std::printf("cards %d, big card %.0f KB RTF\n", count, big.size() / 1024.0);
    std::printf("build card list: %.1f ms\n", median(list));
    std::printf("load big card:   %.1f ms\n", median(load));
    std::printf("tab switch (write changed big card, load big card): %.1f ms\n", median(sw));
    // What knowing the card's content adds to every load and write: the
    // file read once more and its bytes hashed (a write only hashes).
    std::vector<double> known;
    for (int round = 0; round < 5; ++round) {
        t.start();
        QByteArray bytes;
        platform::ReadRegularFile(cards + QStringLiteral("Karte 0000.rtf"), bytes);
        const QByteArray hash = cards::ContentHash(bytes);
        known.push_back(t.nsecsElapsed() / 1e6);
        Q_UNUSED(hash);
    }
    std::printf("content check of the big card (read + hash): %.1f ms, %.1f%% of a load, %.1f%% of a tab switch\n",
                median(known), 100 * median(known) / median(load), 100 * median(known) / median(sw));
    std::printf("card folder check: %.3f ms (%.2f %% of the tab switch)\n", median(check), 100 * median(check) / median(sw));
    std::printf("conflict copies placed: %.2f ms (%.1f %% of building the card list)\n", median(order),
                100 * median(order) / median(list));

    // The card order against the folder listing it sorts, round by round.
    std::vector<double> listing, sorting, ratio;
    for (int round = 0; round < 5; ++round) {
        QStringList files;
        t.start();
        cards::ListFiles(cards, QStringLiteral("*.rtf"), files, 0);
        listing.push_back(t.nsecsElapsed() / 1e6);
        t.start();
        cards::SortCardFiles(files);
        sorting.push_back(t.nsecsElapsed() / 1e6);
        ratio.push_back(sorting.back() / listing.back());
    }
    std::printf("list card files: %.2f ms, sort them: %.2f ms (median %.2f x the listing)\n", median(listing), median(sorting),
                median(ratio));

    // What following the folder adds: a look when nothing changed, against
    // the listing it starts from, and a card put into the row (the whole row
    // put into the card order), against building the row.
    std::vector<double> looked, lookRatio, inserted;
    for (int round = 0; round < 5; ++round) {
        QStringList files;
        t.start();
        cards::ListFiles(cards, QStringLiteral("*.rtf"), files, 0);
        const double listed = t.nsecsElapsed() / 1e6;
        cards::FolderChanges changes;
        t.start();
        store.FollowFolder(changes);
        looked.push_back(t.nsecsElapsed() / 1e6);
        lookRatio.push_back(looked.back() / listed);
        if (changes.Any())
            std::printf("a look saw changes in an unchanged folder\n");
        t.start();
        const int at = store.InsertCard(QStringLiteral("Karte 0999a"));
        inserted.push_back(t.nsecsElapsed() / 1e6);
        tabs.DeleteTab(at);
        store.TabDeleted(at);
    }
    // What the listing adds for telling a rename from a removal: a stamp per file.
    std::vector<double> stamped;
    for (int round = 0; round < 5; ++round) {
        QStringList files;
        cards::ListFiles(cards, QStringLiteral("*.rtf"), files, 0);
        t.start();
        qint64 sizes = 0;
        for (const QString &file : std::as_const(files))
            sizes += platform::StampOf(cards + file).size;
        stamped.push_back(t.nsecsElapsed() / 1e6);
        if (sizes <= 0)
            std::printf("no stamps taken\n");
    }
    std::printf("stamps at listing: %.2f ms (%.1f %% of building the card list)\n", median(stamped),
                100 * median(stamped) / median(list));
    std::printf("look at the unchanged folder: %.2f ms (median %.2f x the listing)\n", median(looked), median(lookRatio));
    std::printf("card put into the row: %.2f ms (%.1f %% of building the card list)\n", median(inserted),
                100 * median(inserted) / median(list));

    const int rowCards = argc > 3 ? atoi(argv[3]) : 10000;
    tabRow(rowCards, false);
    tabRow(rowCards, true);
    return 0;
}
