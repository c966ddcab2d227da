#include "secondarywindow.h"

#include <QEvent>
#include <QPalette>
#include <QWindow>
#include <QStringList>

namespace ui {

QFont WindowFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

QSize OuterSize(QWidget *window)
{
    window->winId();
    QSize outer = window->size();
    if (const QWindow *handle = window->windowHandle())
        outer = outer.grownBy(handle->frameMargins());
    return outer;
}

namespace {

class FramePlacement : public QObject {
public:
    FramePlacement(QWidget *window, std::function<QPoint(QSize)> place)
        : QObject(window), m_window(window), m_place(std::move(place))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && m_window->isVisible()) {
            watched->removeEventFilter(this);
            const QRect frame = m_window->frameGeometry();
            const QPoint target = m_place(frame.size());
            if (frame.topLeft() != target)
                m_window->move(target);
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
    std::function<QPoint(QSize)> m_place;
};

} // namespace

void PlaceByOuterFrame(QWidget *window, std::function<QPoint(QSize outer)> place)
{
    window->move(place(OuterSize(window)));
    if (QWindow *handle = window->windowHandle())
        handle->installEventFilter(new FramePlacement(window, std::move(place)));
}

void SetWhiteBackground(QWidget *window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Qt::white);
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

} // namespace ui
