#pragma once
// Shared pieces of the speed bar tests: a host window with a palette whose
// button colours are all different, mouse events sent straight to a widget,
// and small glyph bitmaps.

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

namespace speedbartest {

inline const QColor kFace(200, 200, 200);
inline const QColor kHighlight(255, 255, 255);
inline const QColor kShadow(128, 128, 128);
inline const QColor kFrame(0, 0, 0);

inline QPalette testPalette()
{
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Button, kFace);
    p.setColor(QPalette::Light, kHighlight);
    p.setColor(QPalette::Dark, kShadow);
    p.setColor(QPalette::Shadow, kFrame);
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::ButtonText, Qt::black);
    return p;
}

inline void sendMouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                  : type == QEvent::MouseMove        ? Qt::MouseButtons(Qt::LeftButton)
                                                                     : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void press(QWidget *w, QPoint pos) { sendMouse(w, QEvent::MouseButtonPress, pos); }
inline void move(QWidget *w, QPoint pos) { sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton); }
inline void release(QWidget *w, QPoint pos) { sendMouse(w, QEvent::MouseButtonRelease, pos); }
inline void click(QWidget *w, QPoint pos)
{
    press(w, pos);
    release(w, pos);
}

inline void enter(QWidget *w, QPoint pos)
{
    const QPointF local(pos);
    QEnterEvent event(local, local, QPointF(w->mapToGlobal(pos)));
    QApplication::sendEvent(w, &event);
}

inline void leave(QWidget *w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

// White 16 x 16 glyph with a red top-left pixel, a blue top-right pixel, a
// black pixel at (5, 5) and a fuchsia (transparent) bottom-left pixel.
inline QImage sampleGlyph()
{
    QImage g(16, 16, QImage::Format_RGB32);
    g.fill(Qt::white);
    g.setPixel(0, 0, qRgb(255, 0, 0));
    g.setPixel(15, 0, qRgb(0, 0, 255));
    g.setPixel(5, 5, qRgb(0, 0, 0));
    g.setPixel(0, 15, qRgb(255, 0, 255));
    return g;
}

inline QRgb rgbAt(const QImage &image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
inline QRgb rgb(const QColor &c) { return c.rgb() & 0xFFFFFF; }
inline QRgb grey(int v) { return qRgb(v, v, v) & 0xFFFFFF; }

} // namespace speedbartest
