#include "syscolors.h"

#include <QGuiApplication>

namespace platform {

namespace {
QColor systemColor(std::uint32_t index, const QPalette &p)
{
    switch (index) {
    case COLOR_WINDOW: return p.color(QPalette::Base);
    case COLOR_WINDOWFRAME:
    case COLOR_3DDKSHADOW: return p.color(QPalette::Shadow);
    case COLOR_WINDOWTEXT: return p.color(QPalette::WindowText);
    case COLOR_HIGHLIGHT: return p.color(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT: return p.color(QPalette::HighlightedText);
    case COLOR_BTNFACE: return p.color(QPalette::Button);
    case COLOR_BTNSHADOW: return p.color(QPalette::Dark);
    case COLOR_GRAYTEXT: return p.color(QPalette::Disabled, QPalette::Text);
    case COLOR_BTNTEXT: return p.color(QPalette::ButtonText);
    case COLOR_BTNHIGHLIGHT: return p.color(QPalette::Light);
    case COLOR_3DLIGHT: return p.color(QPalette::Midlight);
    default: return p.color(QPalette::Window);
    }
}
} // namespace

QColor ToQColor(TColor c, const QPalette &palette)
{
    if (IsSystemColor(c))
        return systemColor(c & 0xFF, palette);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QColor ToQColor(TColor c) { return ToQColor(c, QGuiApplication::palette()); }

TColor ColorToRGB(TColor c, const QPalette &palette) { return FromQColor(ToQColor(c, palette)); }

TColor ColorToRGB(TColor c) { return ColorToRGB(c, QGuiApplication::palette()); }

TColor FromQColor(const QColor &c) { return RGBColor(c.red(), c.green(), c.blue()); }

} // namespace platform
