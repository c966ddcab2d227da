#include "splash2.h"

#include "makerlogo.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QWindow>

namespace app {

namespace {
constexpr int kWidth = 272;
constexpr int kHeight = 104;
} // namespace

TSplashForm::TSplashForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(kWidth, kHeight);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    if (const QScreen *s = QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        move(area.left() + (area.width() - kWidth) / 2, area.top() + (area.height() - kHeight) / 2);
    }
}

void TSplashForm::ShowAndPaint()
{
    show();
    // The window system maps the window asynchronously; wait for it (briefly)
    // so the paint below reaches the screen before the start-up pause.
    QElapsedTimer timer;
    timer.start();
    while (windowHandle() && !windowHandle()->isExposed() && timer.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplashForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(192, 192, 192));
    // Outer bevel raised, inner bevel lowered, one pixel each.
    const QColor light(255, 255, 255), dark(128, 128, 128);
    auto bevel = [&p](QRect r, const QColor &topLeft, const QColor &bottomRight) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    };
    bevel(rect().adjusted(0, 0, -1, -1), light, dark);
    bevel(rect().adjusted(1, 1, -2, -2), dark, light);
    p.drawImage(QRect(2, 2, 268, 100), ui::MakerLogo(), QRect(0, 0, 268, 100));
}

} // namespace app
