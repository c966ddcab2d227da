#pragma once
// Glyph and caption of a self-drawn button: which side the glyph takes, where
// both go inside a speed button's face, how a caption is shortened to fit,
// the size a button asks for and how a caption is drawn.

#include <QColor>
#include <QFontMetrics>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace widgets {

// The side of the caption on which the glyph sits.
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The width a drop-down mark takes beside a caption or a missing glyph.
constexpr int kDropDownMarkWidth = 9;

struct TButtonLayoutInput {
    QRect area;                    // the face inside the frame
    QSize glyph;                   // 0 x 0 when there is none
    QString caption;
    TButtonLayout layout = TButtonLayout::blGlyphTop;
    TAlignment alignment = TAlignment::taCenter;
    int margin = -1;               // -1 centres
    int spacing = 1;               // -1 centres the caption in what is left
    bool wordWrap = false;
    bool dropDownMark = false;
};

struct TButtonLayoutResult {
    QPoint glyphPos;               // in the painter's coordinates
    QRect textBounds;              // ditto; zero-sized for no caption
    QString caption;               // the fitted caption that is drawn
};

// Qt text flags used both to measure and to draw a caption.
int CaptionTextFlags(TAlignment alignment, bool wordWrap);

// Lines wider than width lose characters from their end in favour of "...";
// the result is at most 255 characters. A wrapped caption is only cut.
QString FitCaption(const QString &caption, int width, const QFontMetrics &metrics, bool wordWrap);

TButtonLayoutResult CalcButtonLayout(const TButtonLayoutInput &in, const QFontMetrics &metrics);

// The size a button asks for: glyph and caption side by side (horizontal) or
// stacked with the spacing between them, the margin on both sides, two frame
// rings and a free ring around, and one pixel for the pressed offset.
QSize ButtonSizeHint(QSize glyph, QSize caption, bool horizontal, int margin, int spacing);

struct TCaptionColors {
    QColor Highlight, Shadow, Text;
};
// A disabled caption is engraved: highlight one pixel right and down, shadow
// on top; any other is drawn in the text colour.
void DrawButtonCaption(QPainter &painter, const QRect &bounds, int flags, const QString &caption,
                       bool disabled, const TCaptionColors &colors);

} // namespace widgets
