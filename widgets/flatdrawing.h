#pragma once
// Drawing helpers of the flat button: the bevelled frame, the embossed look of
// a disabled glyph, shades of the face colour and the parent's background
// behind a see-through button. The pixels drawn here are what stored colour
// schemes and screenshots were made with, so they are exact, not antialiased.

#include "syscolors.h"

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>

class QPainter;
class QWidget;

namespace widgets {

enum class TShadeDirection { Lighten, Darken };

// Draws a frame of `width` rings just inside `rect`: per ring the left column
// and top row (without the top-right corner) in `topLeft`, the right column
// and bottom row (with both bottom corners) in `bottomRight`.
void DrawBevelFrame(QPainter &painter, const QRect &rect, const QColor &topLeft,
                    const QColor &bottomRight, int width);

// A new image of the same size in the face colour, with the source's black
// pixels drawn as a highlight shifted one pixel right and down and a shadow in
// place. Colours come from the palette (button face, highlight, shadow).
QImage MakeEmbossedGlyph(const QImage &image, const QPalette &palette);

// `fallback` for percent 0; else the base colour's lightness (0..240 scale)
// raised by 10, then lightened or darkened by percent and bounded to 0..100.
// The bound is 100, not 240: a lightened light colour comes out a mid grey,
// which colour schemes saved with this rule rely on.
platform::TColor ShadeColor(platform::TColor base, platform::TColor fallback, int percent,
                            TShadeDirection direction, const QPalette &palette);
platform::TColor ShadeColor(platform::TColor base, platform::TColor fallback, int percent,
                            TShadeDirection direction);

// Lets the control's parent paint its background and itself (not its
// children) into the painter, shifted so that the part under the control
// lands at the painter's origin. Nothing is drawn for a control without parent.
void PaintParentBackground(QPainter &painter, QWidget *control);

} // namespace widgets
