#pragma once
// The tab row's measures in pixels, shared by its layout and its painting.

namespace controls::tabmetrics {

constexpr int kTabPaddingX = 6;   // blank space left and right of a caption
constexpr int kTabPaddingY = 3;   // above and below
constexpr int kButtonGap = 3;     // between button-style tabs
constexpr int kFrame = 2;         // the display area's frame
constexpr int kScrollButton = 16; // the arrows of a single scrolling row
constexpr int kMinTabWidth = 24;

} // namespace controls::tabmetrics
