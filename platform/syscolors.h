#pragma once
// Colour values as the program stores them: $00BBGGRR for an RGB colour, or a
// system colour index with the top bit set, resolved against the current
// palette when drawn.

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace platform {

using TColor = std::uint32_t;

constexpr TColor kSystemColorFlag = 0x80000000u;

enum SystemColorIndex : std::uint32_t {
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_WINDOWTEXT = 8,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
};

constexpr TColor SystemColor(std::uint32_t index) { return kSystemColorFlag | index; }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);

constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) != 0; }
constexpr TColor RGBColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

// Resolves a colour against a palette (system colours) to a QColor.
QColor ToQColor(TColor c, const QPalette &palette);
QColor ToQColor(TColor c);
// The RGB value of a colour ($00BBGGRR), system colours resolved.
TColor ColorToRGB(TColor c, const QPalette &palette);
TColor ColorToRGB(TColor c);
TColor FromQColor(const QColor &c);

} // namespace platform
