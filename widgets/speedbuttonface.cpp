// The speed button's face: what a paint draws from, taken from the button in
// one place, and the drawing from that alone.

#include "speedbuttonface.h"

#include "glyphcache.h"
#include "glyphimages.h"
#include "glyphspeedbutton.h"
#include "syscolors.h"

#include <QPainter>

namespace widgets {

namespace {

void drawFrame(QPainter &p, QRect &r, const TSpeedButtonOption &o, bool down)
{
    const QColor &highlight = o.Highlight, &shadow = o.Shadow, &frame = o.WindowFrame, &face = o.Face;
    if (o.NewStyle) {
        if (o.Flat) {
            down ? DrawFrameRing(p, r, frame, highlight) : DrawFrameRing(p, r, highlight, shadow);
        } else if (down) {
            DrawFrameRing(p, r, frame, highlight);
            DrawFrameRing(p, r, shadow, face);
        } else {
            DrawFrameRing(p, r, highlight, frame);
            DrawFrameRing(p, r, face, shadow);
        }
    } else if (o.Flat) {
        down ? DrawFrameRing(p, r, frame, highlight) : DrawFrameRing(p, r, highlight, frame);
    } else {
        DrawFrameRing(p, r, frame, frame);
        if (down) {
            // A shadow along the left and top of the inner rectangle.
            p.fillRect(QRect(r.left(), r.top(), 1, r.height()), shadow);
            p.fillRect(QRect(r.left(), r.top(), r.width(), 1), shadow);
            r.adjust(1, 1, -1, -1);
        } else {
            DrawFrameRing(p, r, highlight, shadow);
        }
    }
    r.adjust(1, 1, -1, -1);
}

void drawDropDownMark(QPainter &p, QPoint at, const TSpeedButtonOption &o)
{
    const auto triangle = [&p](int x, int y, const QColor &c) {
        p.fillRect(x, y - 1, 7, 1, c);
        p.fillRect(x + 1, y, 5, 1, c);
        p.fillRect(x + 2, y + 1, 3, 1, c);
        p.fillRect(x + 3, y + 2, 1, 1, c);
    };
    if (o.GlyphState == stDisabled) {
        triangle(at.x() + 1, at.y() + 1, o.Highlight);
        triangle(at.x(), at.y(), o.Shadow);
    } else {
        triangle(at.x(), at.y(), o.ButtonText);
    }
}

// Glyph, caption and drop-down mark inside the area the frame left.
void drawContent(QPainter &p, const QRect &area, const TSpeedButtonOption &o)
{
    TButtonLayoutInput in = o.Content;
    in.area = area;
    const TButtonLayoutResult out = CalcButtonLayout(in, QFontMetrics(p.font()));

    if (!o.Glyph.isNull())
        p.drawImage(out.glyphPos, o.Glyph);
    if (!out.caption.isEmpty())
        DrawButtonCaption(p, out.textBounds, CaptionTextFlags(in.alignment, in.wordWrap), out.caption,
                          o.GlyphState == stDisabled, {o.Highlight, o.Shadow, o.Text});
    if (!in.dropDownMark)
        return;
    QPoint mark;
    const bool glyphShown = in.glyph.width() > 0 && in.glyph.height() > 0;
    if (in.layout != TButtonLayout::blGlyphLeft && glyphShown) {
        mark = QPoint(out.glyphPos.x() + in.glyph.width() + 1, out.glyphPos.y() + in.glyph.height() / 2);
    } else {
        const QRect &t = out.textBounds;
        const int x = out.caption.isEmpty() ? (area.left() + area.left() + area.width() - 7) / 2
                                            : t.left() + t.width() + 3;
        mark = QPoint(x, t.top() + t.height() / 2);
    }
    drawDropDownMark(p, mark, o);
}

} // namespace

void PaintSpeedButtonFace(QPainter &p, const TSpeedButtonOption &o)
{
    p.setFont(o.Font);
    QRect area = o.Rect;
    if (o.Transparent)
        p.drawImage(area.topLeft(), o.Background);
    else
        p.fillRect(area, o.Face);

    const bool down = o.State == stDown || o.State == stExclusive;
    if (o.Drawn != stInactive || o.State == stExclusive)
        drawFrame(p, area, o, down);
    else if (o.Flat)
        area.adjust(2, 2, -2, -2);

    if (o.State == stExclusive && !o.Transparent && (!o.Flat || o.Drawn == stInactive)) {
        // A checkerboard: highlight where x and y are both even or both odd.
        QImage tile(2, 2, QImage::Format_RGB32);
        tile.fill(o.Face);
        tile.setPixel(0, 0, o.Highlight.rgb());
        tile.setPixel(1, 1, o.Highlight.rgb());
        p.fillRect(area.adjusted(-1, -1, 1, 1), QBrush(tile));
    }
    if (down)
        area.translate(1, 1);
    drawContent(p, area, o);
}

// --- the button's side ------------------------------------------------------------

TSpeedButtonOption TGlyphSpeedButton::PaintOption(qreal pixelRatio)
{
    TSpeedButtonOption o;
    o.Rect = rect();
    o.State = PaintState();
    o.Drawn = m_flat && !Hot() ? stInactive : o.State;
    o.GlyphState = (o.State == stDisabled || !m_grayedInactive) ? o.State : o.Drawn;
    o.Flat = m_flat;
    // Qt always draws three-dimensional controls, so automatic means new.
    o.NewStyle = m_style != TButtonStyle::bsWin31;
    o.Face = color(platform::clBtnFace);
    o.Highlight = color(platform::clBtnHighlight);
    o.Shadow = color(platform::clBtnShadow);
    o.WindowFrame = color(platform::clWindowFrame);
    o.Text = palette().color(QPalette::WindowText);
    o.ButtonText = color(platform::clBtnText);
    o.Font = font();

    TButtonLayoutInput &in = o.Content;
    in.glyph = GlyphExtent();
    in.caption = Caption();
    in.layout = m_layout;
    in.alignment = m_alignment;
    in.margin = m_margin;
    in.spacing = m_spacing;
    in.wordWrap = m_wordWrap;
    in.dropDownMark = m_markDropDown && m_menu;
    o.Glyph = GlyphPicture(o.GlyphState, pixelRatio);

    o.Transparent = m_transparent;
    if (o.Transparent) {
        o.Background = QImage(size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
        o.Background.setDevicePixelRatio(pixelRatio);
        o.Background.fill(o.Face);
        if (QWidget *parent = parentWidget()) {
            QPainter painter(&o.Background);
            // The parent alone, not its children (which include this button).
            parent->render(&painter, QPoint(0, 0), QRegion(geometry()), QWidget::DrawWindowBackground);
        }
    }
    return o;
}

QSize TGlyphSpeedButton::GlyphExtent() const { return m_glyph.GlyphSize(); }

QImage TGlyphSpeedButton::GlyphPicture(TButtonPaintState state, qreal pixelRatio)
{
    const int index = m_glyph.CreateButtonGlyph(state, palette());
    if (index < 0 || !m_glyph.List())
        return QImage();
    return m_glyph.List()->ImageAt(index, pixelRatio);
}

QSize TGlyphSpeedButton::sizeHint() const
{
    const QSize caption = Caption().isEmpty()
                              ? QSize(0, 0)
                              : fontMetrics().size(CaptionTextFlags(m_alignment, false), Caption());
    const bool horizontal = m_layout == TButtonLayout::blGlyphLeft || m_layout == TButtonLayout::blGlyphRight;
    return ButtonSizeHint(GlyphExtent(), caption, horizontal, m_margin, m_spacing);
}

QImage TGlyphSpeedButton::RenderFace(qreal pixelRatio)
{
    QImage image(size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    QPainter painter(&image);
    PaintSpeedButtonFace(painter, PaintOption(pixelRatio));
    return image;
}

void TGlyphSpeedButton::paintEvent(QPaintEvent *)
{
    // Straight onto the widget: Qt buffers it already, and a parent's image
    // is one of the option's own.
    QPainter painter(this);
    PaintSpeedButtonFace(painter, PaintOption(devicePixelRatioF()));
}

} // namespace widgets
