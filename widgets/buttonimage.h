#pragma once
// A stand-alone raised button face with a glyph and a caption, drawn at a
// given size: what a customisation editor shows for an item, and the face
// of an item's floating drag image. Not a control.

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QSize>
#include <QString>
#include <algorithm>

namespace widgets {

class TSpeedItem;

class TButtonImage {
public:
    TButtonImage() = default;

    // The glyph bitmap, possibly several frames side by side; the first is
    // drawn. Its bottom-left colour is transparent.
    const QImage &Glyph() const { return m_glyph; }
    void SetGlyph(const QImage &value) { m_glyph = value; }
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int value) { m_numGlyphs = std::max(1, value); }
    // A picture with real transparency instead of a glyph bitmap.
    void SetPicture(const QImage &value) { m_picture = value; }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value) { m_caption = value; }
    // 24 x 23 by default.
    QSize Size() const { return m_size; }
    void SetSize(QSize value) { m_size = value; }
    void SetFont(const QFont &font) { m_font = font; }
    void SetPalette(const QPalette &palette) { m_palette = palette; }

    // The face with that many device pixels per pixel, for the screen it goes to.
    QImage Render(qreal pixelRatio = 1) const;

private:
    QImage glyphFrame() const;

    QImage m_glyph;
    QImage m_picture;
    int m_numGlyphs = 1;
    QString m_caption;
    QSize m_size{24, 23};
    QFont m_font;
    QPalette m_palette;
};

// The face of an item's button as the edit mode shows it: its glyph (or its
// picture of the bar's image list), its button caption, the bar's button size.
TButtonImage ButtonImageOf(const TSpeedItem *item);

} // namespace widgets
