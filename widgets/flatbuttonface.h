#pragma once
// The face of a flat button as a pure function of what it is drawn from: the
// button builds a TFlatButtonOption from its state in one place
// (TFlatButton::PaintOption), and every repaint, the composed face and the
// tests draw from that alone.

#include "buttonpaintstate.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

namespace widgets {

struct TFlatButtonOption {
    QRect Client;
    TButtonPaintState Face = stUp; // never stInactive
    bool Hovered = false;          // the hover look: pointer over it, or focused
    bool Default = false;
    // The parent's image instead of a fill (by TransparentMode); then
    // ParentImage holds it, on the face colour, at the device's ratio.
    bool ShowsParent = false;
    QImage ParentImage;
    QColor Color, ColorFocused, ColorDown, ColorBorder, ColorHighLight, ColorShadow;
    // Text is the palette's; the caption takes black or white instead where
    // it would not stand out from the face.
    QColor BtnHighlight, BtnShadow, Text;
    QImage Glyph; // the chosen image, masked, at the device's ratio; empty for none
    QPoint GlyphOrigin;
    QString Caption;
    QFont Font;
    QRect CaptionRect;
};

// Background, bevelled border, glyph and caption, in that order.
void PaintFlatButtonFace(QPainter &painter, const TFlatButtonOption &option);

} // namespace widgets
