// Shows the program's tray icon through the real notification-area layer and
// prints what happens, one line each, for the end-to-end script:
//   tray=<0|1>   whether a notification area appeared within 10 s
//   added=<0|1>  whether the icon was added
//   down/click/up/dblclick <button> ...   the component's events
//   destroyed    after a middle-button release, whose handler destroys the
//                component (the icon must leave the notification area)
// It runs until it is killed (or 60 s pass).

#include "notifyicon.h"
#include "programicon.h"
#include "trayicon.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <utility>

using widgets::TTrayIcon;

namespace {

void Say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

bool WaitForNotificationArea(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!platform::NotificationAreaAvailable()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

TTrayIcon::TMouseEvent Reporter(const char *what)
{
    return [what](QObject *, TTrayIcon::TMouseButton button, TTrayIcon::TShiftState, int x, int y) {
        const char *names[] = {"L", "R", "M"};
        Say(QString("%1 %2 %3 %4").arg(what, names[button]).arg(x).arg(y));
    };
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Say(QString("tray=%1").arg(WaitForNotificationArea(10000)));

    auto *tray = new TTrayIcon(&app);
    tray->OnMouseDown = Reporter("down");
    tray->OnClick = Reporter("click");
    const TTrayIcon::TMouseEvent reportUp = Reporter("up");
    tray->OnMouseUp = [&tray, reportUp](QObject *sender, TTrayIcon::TMouseButton button, TTrayIcon::TShiftState shift,
                                        int x, int y) {
        reportUp(sender, button, shift, x, y);
        if (button == TTrayIcon::mbMiddle) {
            // This handler goes with the component: nothing of it is touched
            // after the delete.
            TTrayIcon *doomed = std::exchange(tray, nullptr);
            Say("destroyed");
            delete doomed;
            // Runs once the component's own code has returned to the event loop.
            QTimer::singleShot(0, qApp, [] { Say("returned"); });
        }
    };
    tray->OnDblClick = [](QObject *) { Say("dblclick"); };
    tray->SetHint("Kartolino anzeigen");
    tray->SetIcon(ui::ProgramIcon());
    Say(QString("added=%1").arg(tray->Added()));

    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
