#include "hslcolors.h"

#include <algorithm>
#include <cmath>

namespace widgets {

namespace {

// Nearest integer, halves to even (the FPU's default rounding).
int nearest(double x) { return int(std::nearbyint(x)); }

// A lightness above the scale (a shade of a very light colour) would give a
// channel above 255; it saturates instead of wrapping round to a dark value.
int channelByte(double v) { return std::clamp(nearest(v * 255), 0, 255); }

double channel(double m1, double m2, double x)
{
    if (x < 0)
        x += 1;
    if (x > 1)
        x -= 1;
    double v;
    if (6 * x < 1)
        v = m1 + (m2 - m1) * 6 * x;
    else if (2 * x < 1)
        v = m2;
    else if (3 * x < 2)
        v = m1 + (m2 - m1) * (2.0 / 3.0 - x) * 6;
    else
        v = m1;
    return v;
}

} // namespace

THsl240 ColorToHsl240(platform::TColor rgb)
{
    const double r = double(rgb & 0xFF) / 255;
    const double g = double((rgb >> 8) & 0xFF) / 255;
    const double b = double((rgb >> 16) & 0xFF) / 255;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double l = (max + min) / 2;
    double h = 0;
    double s = 0;
    if (max != min) {
        const double d = max - min;
        s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
        if (max == r)
            h = (g - b) / d;
        else if (max == g)
            h = 2 + (b - r) / d;
        else
            h = 4 + (r - g) / d;
        h /= 6;
        if (h < 0)
            h += 1;
    }
    return {nearest(h * (HslScale - 1)), nearest(s * HslScale), nearest(l * HslScale)};
}

platform::TColor Hsl240ToColor(int hue, int saturation, int lightness)
{
    const double h = double(hue) / (HslScale - 1);
    const double s = double(saturation) / HslScale;
    const double l = double(lightness) / HslScale;
    if (s == 0) {
        const int v = channelByte(l);
        return platform::RGBColor(v, v, v);
    }
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    const int r = channelByte(channel(m1, m2, h + 1.0 / 3));
    const int g = channelByte(channel(m1, m2, h));
    const int b = channelByte(channel(m1, m2, h - 1.0 / 3));
    return platform::RGBColor(r, g, b);
}

} // namespace widgets
