#pragma once
// The face of a speed button as a pure function of what it is drawn from:
// the button builds a TSpeedButtonOption from its state in one place
// (TGlyphSpeedButton::PaintOption), and every repaint, the composed face and
// the tests draw from that alone.

#include "buttonlayout.h"
#include "buttonpaintstate.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

class QPainter;

namespace widgets {

struct TSpeedButtonOption {
    QRect Rect;
    TButtonPaintState State = stUp;      // what the button is in
    TButtonPaintState Drawn = stUp;      // what it looks like: a cold flat button is inactive
    TButtonPaintState GlyphState = stUp; // the image the glyph is drawn with
    bool Flat = false;
    bool NewStyle = true;                // the three-dimensional frame
    // Transparent: Background holds the parent's image on the face colour,
    // at the device's ratio, instead of a plain fill.
    bool Transparent = false;
    QImage Background;
    QColor Face, Highlight, Shadow, WindowFrame, Text, ButtonText;
    QFont Font;
    // Glyph size, caption and their placement; the area is the face inside
    // the frame, which the painting finds.
    TButtonLayoutInput Content;
    QImage Glyph;                        // for GlyphState, at the device's ratio; empty for none
};

// Fill, frame, the latched checkerboard, then glyph, caption and drop-down
// mark laid out in what the frame leaves.
void PaintSpeedButtonFace(QPainter &painter, const TSpeedButtonOption &option);

} // namespace widgets
