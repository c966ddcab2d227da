// A small window with a draggable speed bar for the end-to-end drag test.
// Prints one line per event on stdout:
//   ready client=<x>,<y>,<w>,<h> bar=<x>,<y>,<w>,<h>   (screen coordinates)
//   target <align>                                     (each asked target)
//   outline <x>,<y>,<w>,<h> shown=<0|1>                (while dragging, on change; screen)
//   pos align=<n> bar=<x>,<y>,<w>,<h>                  (after a drop, in the window)

#include "dragoutline.h"
#include "speedbar.h"
#include "speeditem.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWindow>
#include <QWidget>
#include <cstdio>

using namespace widgets;

namespace {
QString rectText(const QRect &r) { return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

void say(const QString &line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

QImage glyph(QRgb colour)
{
    QImage g(16, 16, QImage::Format_RGB32);
    g.fill(colour);
    g.setPixel(0, 15, qRgb(255, 0, 255));
    return g;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("speedbar_drag_probe"));
    window.resize(640, 400);
    auto *bar = new TSpeedBar(&window);
    bar->setObjectName(QStringLiteral("SpeedBar1"));
    const QRgb colours[] = {qRgb(200, 0, 0), qRgb(0, 150, 0), qRgb(0, 0, 200)};
    for (int i = 0; i < 3; ++i) {
        auto *item = new TSpeedItem(&window);
        item->setObjectName(QStringLiteral("sp%1").arg(i + 1));
        item->SetGlyph(glyph(colours[i]));
        bar->AttachItem(item, 0);
        item->SetLeft(3 + 24 * i);
        item->SetTop(3);
        item->SetVisible(true);
    }
    bar->OnApplyAlign = [](QObject *, TAlign align, bool &) { say(QStringLiteral("target %1").arg(int(align))); };
    bar->OnPosChanged = [bar](QObject *) {
        say(QStringLiteral("pos align=%1 bar=%2").arg(int(bar->Align())).arg(rectText(bar->geometry())));
    };
    window.show();
    // Reported once the window manager has placed the window: shown on screen
    // and in the same place for a few looks in a row.
    QTimer placed;
    QRect lastClient;
    int sameLooks = 0;
    QObject::connect(&placed, &QTimer::timeout, &window, [&] {
        if (!window.windowHandle() || !window.windowHandle()->isExposed())
            return;
        const QRect client(window.mapToGlobal(QPoint(0, 0)), window.size());
        sameLooks = client == lastClient ? sameLooks + 1 : 0;
        lastClient = client;
        if (sameLooks < 5)
            return;
        placed.stop();
        const QRect onScreen(bar->mapToGlobal(QPoint(0, 0)), bar->size());
        say(QStringLiteral("ready client=%1 bar=%2").arg(rectText(client), rectText(onScreen)));
    });
    placed.start(20);
    QTimer watch;
    QRect lastOutline;
    QObject::connect(&watch, &QTimer::timeout, bar, [&] {
        const QRect outline = bar->DragOutline();
        if (outline == lastOutline)
            return;
        lastOutline = outline;
        if (outline.isNull())
            return;
        const bool shown = bar->OutlineWindow() && bar->OutlineWindow()->isVisible()
                           && bar->OutlineWindow()->geometry() == outline;
        say(QStringLiteral("outline %1 shown=%2").arg(rectText(outline)).arg(shown ? 1 : 0));
    });
    watch.start(20);
    QTimer::singleShot(90000, &app, &QApplication::quit);
    return app.exec();
}
