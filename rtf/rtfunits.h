#pragma once
// Lengths: RTF measures in twips (1/1440 inch), the document in pixels at
// 96 per inch, as Qt lays it out (paragraph margins, indents, image sizes).

#include <QtGlobal>

namespace rtf {

constexpr int kTwipsPerPixel = 15;

inline int PixelsToTwips(double pixels) { return qRound(pixels * kTwipsPerPixel); }
inline double TwipsToPixels(int twips) { return twips / double(kTwipsPerPixel); }

} // namespace rtf
