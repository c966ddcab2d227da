#pragma once
// Colours between RGB ($00BBGGRR) and hue, saturation and lightness on the
// 0..240 scale of the Windows colour dialog. Hue runs 0..239, saturation and
// lightness 0..240. Both directions round to the nearest integer, halves to
// even, so values stored by earlier versions come out the same.

#include "syscolors.h"

namespace widgets {

constexpr int HslScale = 240;

struct THsl240 {
    int Hue = 0;
    int Saturation = 0;
    int Lightness = 0;
    friend bool operator==(const THsl240 &, const THsl240 &) = default;
};

// rgb must be an RGB colour; system colours are to be resolved first.
THsl240 ColorToHsl240(platform::TColor rgb);
platform::TColor Hsl240ToColor(int hue, int saturation, int lightness);
inline platform::TColor Hsl240ToColor(const THsl240 &hsl)
{
    return Hsl240ToColor(hsl.Hue, hsl.Saturation, hsl.Lightness);
}

} // namespace widgets
