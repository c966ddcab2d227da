#include "buttonimage.h"

#include "syscolors.h"
#include "buttonlayout.h"
#include "glyphimages.h"
#include "imagelist.h"
#include "speedbar.h"
#include "speeditem.h"

#include <QPainter>

namespace widgets {

using namespace platform;

QImage TButtonImage::glyphFrame() const
{
    if (!m_picture.isNull())
        return m_picture;
    if (m_glyph.isNull() || m_glyph.width() <= 0)
        return QImage();
    const int frameWidth = m_glyph.width() / m_numGlyphs;
    const QImage frame = m_glyph.copy(0, 0, frameWidth, m_glyph.height());
    return MaskedImage(frame, BottomLeftColor(m_glyph));
}

QImage TButtonImage::Render(qreal pixelRatio) const
{
    QImage image(m_size.expandedTo(QSize(1, 1)) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    QPainter p(&image);
    QRect r(QPoint(0, 0), m_size);
    p.fillRect(r, ToQColor(clBtnFace, m_palette));
    DrawFrameRing(p, r, ToQColor(clBtnHighlight, m_palette), ToQColor(clWindowFrame, m_palette));
    DrawFrameRing(p, r, ToQColor(clBtnFace, m_palette), ToQColor(clBtnShadow, m_palette));

    const QImage glyph = glyphFrame();
    p.setFont(m_font);
    TButtonLayoutInput in;
    in.area = r;
    in.glyph = glyph.size();
    in.caption = m_caption;
    const TButtonLayoutResult layout = CalcButtonLayout(in, QFontMetrics(m_font));
    if (!glyph.isNull())
        p.drawImage(layout.glyphPos, ScaledGlyph(glyph, pixelRatio));
    if (!layout.caption.isEmpty()) {
        p.setPen(ToQColor(clBtnText, m_palette));
        p.drawText(layout.textBounds, CaptionTextFlags(in.alignment, in.wordWrap), layout.caption);
    }
    return image;
}

TButtonImage ButtonImageOf(const TSpeedItem *item)
{
    TButtonImage face;
    const TSpeedbarButton *button = item->Button();
    face.SetGlyph(item->Glyph());
    face.SetNumGlyphs(item->NumGlyphs());
    face.SetCaption(item->BtnCaption());
    face.SetFont(button->font());
    face.SetPalette(button->palette());
    if (const TSpeedBar *bar = item->SpeedBar()) {
        face.SetSize(QSize(bar->BtnWidth(), bar->BtnHeight()));
        const TImageList *images = bar->Images();
        if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->ImageCount())
            face.SetPicture(images->Image(item->ImageIndex()));
    }
    return face;
}

} // namespace widgets
