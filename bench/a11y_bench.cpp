// What the tab row's accessibility costs: filling it with many tabs, a
// switch to the next tab and a rename, each with the accessibility bridge
// active (the tab row's interfaces installed, every event sent on to the
// AT-SPI bus) against the same work with it inactive, in turns within one
// run; process CPU time, medians of the rounds' ratios. Qt has a bridge only
// on a desktop platform with an accessibility bus, for example
//
//   QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 xvfb-run -a dbus-run-session -- sh -c
//     '/usr/libexec/at-spi-bus-launcher --launch-immediately & build/bench/a11y_bench [tabs] [rounds]'

#include "tabcontrol.h"
#include "tabcontrolaccessible.h"

#include "benchclock.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using bench::cpuMilliseconds;
using bench::cpuTime;
using bench::median;

struct Times {
    double fill = 0, next = 0, rename = 0;
};

Times run(const QStringList &captions, bool active)
{
    QAccessible::setActive(active);
    if (QAccessible::isActive() != active)
        std::printf("the bridge cannot be made %s here\n", active ? "active" : "inactive");
    controls::TTabControl tabs;
    tabs.resize(800, 600);
    tabs.show();
    Times t;
    t.fill = cpuTime([&] { tabs.AssignTabs(captions); });
    t.next = cpuTime([&] {
        for (int i = 1; i <= 200; ++i)
            tabs.SelectByUser(i);
    });
    t.rename = cpuTime([&] {
        for (int i = 0; i < 200; ++i)
            tabs.PutTab(i, captions.at(i) + QStringLiteral(" neu"));
    });
    return t;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(300, atoi(argv[1])) : 2000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    QAccessible::installFactory(controls::TabControlAccessibleFactory);
    // The bridge comes up once it has reached the accessibility bus.
    QElapsedTimer waited;
    waited.start();
    while (!QAccessible::isActive() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QStringList captions;
    for (int i = 0; i < count; ++i)
        captions << QStringLiteral("Karte %1").arg(i, 5, 10, QLatin1Char('0'));

    std::vector<double> fill, next, rename, fillMs, nextMs, renameMs;
    for (int round = 0; round < rounds; ++round) {
        const Times off = run(captions, false);
        const Times on = run(captions, true);
        fill.push_back(on.fill / off.fill);
        next.push_back(on.next / off.next);
        rename.push_back(on.rename / off.rename);
        fillMs.push_back(on.fill);
        nextMs.push_back(on.next / 200);
        renameMs.push_back(on.rename / 200);
    }
    std::printf("%d tabs, %d rounds, bridge active against inactive (CPU time, median ratio):\n", count, rounds);
    std::printf("  fill the row      %.2f x  (%.1f ms active)\n", median(fill), median(fillMs));
    std::printf("  switch to next    %.2f x  (%.3f ms a switch active)\n", median(next), median(nextMs));
    std::printf("  rename a tab      %.2f x  (%.3f ms a rename active)\n", median(rename), median(renameMs));
    return 0;
}
