#pragma once
// Where a speed button's glyph and caption go inside the button face, and how
// a caption is shortened to fit.

#include <QFontMetrics>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace widgets {

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

} // namespace widgets
