#include "ui/secondarywindow.h"

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

void SetWhiteBackground(QWidget *window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Qt::white);
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

} // namespace ui
