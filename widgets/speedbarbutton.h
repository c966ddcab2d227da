#pragma once
// The button that every speed bar item owns. It takes its picture from the
// bar's image list when the item names an image, and the bar keeps it inside
// the button rows.

#include "glyphimages.h"
#include "glyphspeedbutton.h"

namespace widgets {

class TSpeedItem;

class TSpeedbarButton : public TGlyphSpeedButton {
    Q_OBJECT
public:
    explicit TSpeedbarButton(TSpeedItem *item);

    TSpeedItem *Item() const { return m_item; }

    // Moves and sizes the button; on a bar its coordinate across the bar's
    // axis is raised to at least the bar's offset on that axis.
    void SetBounds(int left, int top, int width, int height);

    // Drops every image built for this button (the item's image index or
    // the bar's image list changed).
    void InvalidateImages() override;

protected:
    QSize GlyphExtent() const override;
    QImage GlyphPicture(TButtonPaintState state, qreal pixelRatio) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const class TImageList *usableImages() const;

    TSpeedItem *m_item;
    QImage m_grayImage;
    int m_grayIndex = -1;
    TScaledGlyphs m_grayScaled;
    QImage m_disabledImage; // EmbossedSilhouette of the picture m_disabledKey names
    qint64 m_disabledKey = 0;
};

} // namespace widgets
