#pragma once
// The glyph of a speed button: the source bitmap with one or more frames side
// by side, and the images built from it for each paint state, kept lazily in
// the shared glyph lists.

#include "buttonpaintstate.h"

#include <QImage>
#include <QPalette>
#include <array>
#include <functional>

namespace widgets {

class TGlyphList;

class TSpeedGlyph {
public:
    TSpeedGlyph();
    ~TSpeedGlyph();
    TSpeedGlyph(const TSpeedGlyph &) = delete;
    TSpeedGlyph &operator=(const TSpeedGlyph &) = delete;

    // The source bitmap. A new bitmap drops the cached images, takes its
    // bottom-left colour as the transparent colour and, when its width is a
    // whole multiple of its height, that many frames (more than 5 give 1).
    const QImage &Glyph() const { return m_glyph; }
    void SetGlyph(const QImage &glyph);

    // Frames in the bitmap, 1 ... 5; larger values store 5, 0 is ignored.
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int value);

    // Fuchsia until a bitmap arrives.
    QRgb TransparentColor() const { return m_transparent; }

    // The size of one frame; 0 x 0 for a missing or empty bitmap.
    QSize GlyphSize() const;
    bool HasGlyph() const;

    // Builds (once) the image for the state and gives its slot in List();
    // -1 when there is nothing to draw.
    int CreateButtonGlyph(TButtonPaintState state, const QPalette &palette);
    TGlyphList *List() const { return m_list; }

    // Hands every cached image back to the shared lists.
    void Invalidate();

    // Raised after any change that alters what is drawn.
    std::function<void()> OnChange;

private:
    QImage stateImage(TButtonPaintState state, int frame, const QPalette &palette, QRgb &transparent) const;
    void changed();

    QImage m_glyph;
    int m_numGlyphs = 1;
    QRgb m_transparent = qRgb(255, 0, 255);
    TGlyphList *m_list = nullptr;
    std::array<int, kPaintStateCount> m_indexes;
};

} // namespace widgets
