#include "speedbarbutton.h"

#include "syscolors.h"
#include "glyphimages.h"
#include "imagelist.h"
#include "speedbar.h"
#include "speeditem.h"

#include <QMouseEvent>

namespace widgets {

TSpeedbarButton::TSpeedbarButton(TSpeedItem *item) : m_item(item)
{
    hide();
    SetStyle(TButtonStyle::bsNew);
    SetParentShowHint(true);
    SetParentFont(true);
}

void TSpeedbarButton::SetBounds(int left, int top, int width, int height)
{
    QRect bounds(left, top, width, height);
    if (TSpeedBar *bar = m_item ? m_item->SpeedBar() : nullptr)
        bounds = bar->ConstrainButtonRect(bounds);
    setGeometry(bounds);
}

void TSpeedbarButton::InvalidateImages()
{
    TGlyphSpeedButton::InvalidateImages();
    m_grayImage = QImage();
    m_grayIndex = -1;
    m_grayScaled.Clear();
    m_disabledImage = QImage();
    update();
}

const TImageList *TSpeedbarButton::usableImages() const
{
    const TSpeedBar *bar = m_item ? m_item->SpeedBar() : nullptr;
    const TImageList *images = bar ? bar->Images() : nullptr;
    if (!images || m_item->ImageIndex() < 0 || m_item->ImageIndex() >= images->ImageCount()
        || images->Width() <= 0)
        return nullptr;
    return images;
}

QSize TSpeedbarButton::GlyphExtent() const
{
    if (const TImageList *images = usableImages())
        return images->ImageSize();
    return TGlyphSpeedButton::GlyphExtent();
}

QImage TSpeedbarButton::GlyphPicture(TButtonPaintState state, qreal pixelRatio)
{
    const TImageList *images = usableImages();
    if (!images)
        return TGlyphSpeedButton::GlyphPicture(state, pixelRatio);
    const int index = m_item->ImageIndex();
    const QImage &image = images->Image(index);
    if (state == stDisabled) {
        // Made once, not at every paint: disabled buttons are repainted
        // with every hover of the bar.
        if (m_disabledImage.isNull() || m_disabledKey != image.cacheKey()
            || m_disabledImage.devicePixelRatio() != pixelRatio) {
            m_disabledImage = EmbossedSilhouette(image, pixelRatio, platform::ToQColor(platform::clBtnHighlight, palette()),
                                                 platform::ToQColor(platform::clBtnShadow, palette()));
            m_disabledKey = image.cacheKey();
        }
        return m_disabledImage;
    }
    if (state == stInactive) {
        if (m_grayIndex != index || m_grayImage.isNull()) {
            m_grayImage = GrayedMaskedImage(image, platform::ToQColor(platform::clBtnFace, palette()).rgb());
            m_grayIndex = index;
            m_grayScaled.Clear();
        }
        return m_grayScaled.At(m_grayImage, pixelRatio);
    }
    return images->ImageAt(index, pixelRatio);
}

void TSpeedbarButton::mousePressEvent(QMouseEvent *event)
{
    // Under a customisation editor the bar takes the button's mouse events
    // and drags it instead; a press that still gets here must not press it.
    if (m_item && m_item->EditMode())
        return;
    TGlyphSpeedButton::mousePressEvent(event);
}

} // namespace widgets
