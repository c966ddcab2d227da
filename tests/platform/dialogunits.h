#pragma once
// Dialog units worked out here from the font, independently of the dialogs'
// own layout code: X is the average width of the 52 letters, Y the line height.

#include <QFont>
#include <QFontMetrics>
#include <cmath>

struct DialogTestUnits {
    double x;
    double y;
    int h(double n) const { return int(std::lround(n * x)); }
    int v(double n) const { return int(std::lround(n * y)); }
};

inline DialogTestUnits unitsOf(const QFont &font)
{
    const QFontMetrics fm(font);
    return {fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0,
            double(fm.height())};
}
