// The flat button's face: what a paint draws from, taken from the button in
// one place, and the drawing from that alone.

#include "flatbuttonface.h"

#include "flatbuttonunit.h"
#include "flatdrawing.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace widgets {

namespace {

constexpr int kCaptionFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

QSize captionSize(const QString &caption, const QFont &font)
{
    if (caption.isEmpty())
        return {0, 0};
    return QFontMetrics(font).size(kCaptionFlags, caption);
}

// Which image of the strip (1-based) a face shows, and whether it is to be
// embossed because the strip has no image of its own for the disabled look.
struct TGlyphChoice {
    int Index;
    bool Embossed;
};

TGlyphChoice chooseGlyph(int numGlyphs, TButtonPaintState face)
{
    switch (face) {
    case stDisabled:
        return numGlyphs == 1 ? TGlyphChoice{1, true} : TGlyphChoice{2, false};
    case stDown:
        return {numGlyphs >= 3 ? 3 : 1, false};
    case stExclusive:
        return {numGlyphs >= 3 ? std::min(numGlyphs, 4) : 1, false};
    case stUp:
    case stInactive:
        break;
    }
    return {1, false};
}

// Image k of the strip as a w x h image. The strip's last image reaches the
// strip's right edge, so any columns left over by the division are squeezed
// into it.
QImage glyphImage(const QImage &strip, int numGlyphs, int k)
{
    const int w = strip.width() / numGlyphs;
    const int h = strip.height();
    const int x0 = (k - 1) * w;
    const int x1 = k == numGlyphs ? strip.width() : k * w;
    QImage image = strip.copy(x0, 0, x1 - x0, h).convertToFormat(QImage::Format_RGB32);
    if (image.width() != w)
        image = image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image;
}

// The image with every pixel of the mask colour left out.
QImage masked(const QImage &image, QRgb mask)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = mask & 0xFFFFFFu;
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == key)
                line[x] = 0;
    }
    return result;
}

QColor backgroundFill(const TFlatButtonOption &o)
{
    switch (o.Face) {
    case stDisabled: return o.Color;
    case stDown: return o.ColorDown;
    case stExclusive: return o.Hovered ? o.ColorFocused : o.ColorDown;
    case stUp:
    case stInactive: break;
    }
    return o.Hovered ? o.ColorFocused : o.Color;
}

// The palette's text colour, unless it would nearly vanish on the face (a
// dark palette's light text on the about window's white button): then black
// or white, whichever stands out.
QColor readableOn(const QColor &text, const QColor &face)
{
    constexpr int kLeastContrast = 96;
    const int faceGray = qGray(face.rgb());
    if (std::abs(qGray(text.rgb()) - faceGray) >= kLeastContrast)
        return text;
    return faceGray < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace

void PaintFlatButtonFace(QPainter &painter, const TFlatButtonOption &o)
{
    painter.setFont(o.Font);
    if (o.ShowsParent)
        painter.drawImage(o.Client.topLeft(), o.ParentImage);
    else
        painter.fillRect(o.Client, backgroundFill(o));

    const bool up = o.Face == stUp || o.Face == stInactive;
    if (up && o.Hovered)
        DrawBevelFrame(painter, o.Client, o.ColorHighLight, o.ColorShadow, 1);
    else if (up && o.Default)
        DrawBevelFrame(painter, o.Client, o.ColorBorder, o.ColorBorder, 2);
    else if (up || o.Face == stDisabled)
        DrawBevelFrame(painter, o.Client, o.ColorBorder, o.ColorBorder, 1);
    else
        DrawBevelFrame(painter, o.Client, o.ColorShadow, o.ColorHighLight, 1);

    if (!o.Glyph.isNull())
        painter.drawImage(o.GlyphOrigin, o.Glyph);

    if (!o.Caption.isEmpty())
        DrawButtonCaption(painter, o.CaptionRect, Qt::AlignCenter | kCaptionFlags, o.Caption,
                          o.Face == stDisabled,
                          {o.BtnHighlight, o.BtnShadow, readableOn(o.Text, o.ShowsParent ? o.Color : backgroundFill(o))});
}

TFlatButton::TGlyphCaptionLayout
TFlatButton::LayoutGlyphAndCaption(const QRect &client, QSize glyph, QSize caption,
                                   TButtonLayout layout, int margin, int spacing, QPoint offset)
{
    const int cw = client.width(), ch = client.height();
    // An empty QSize() counts as no glyph or no caption.
    const int gw = std::max(0, glyph.width()), gh = std::max(0, glyph.height());
    const int tw = std::max(0, caption.width()), th = std::max(0, caption.height());
    const bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    QPoint glyphPos, captionPos;

    if (horizontal) {
        glyphPos.setY((ch - gh + 1) / 2);
        captionPos.setY((ch - th + 1) / 2);
    } else {
        glyphPos.setX((cw - gw + 1) / 2);
        captionPos.setX((cw - tw + 1) / 2);
    }
    if (tw == 0 || gw == 0)
        spacing = 0;

    const int c = horizontal ? cw : ch;
    const int g = horizontal ? gw : gh;
    const int t = horizontal ? tw : th;
    if (margin == -1 && spacing == -1) {
        margin = (c - g - t) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (c - (g + spacing + t) + 1) / 2;
    } else if (spacing == -1) {
        spacing = ((c - (margin + g)) - t) / 2;
    }

    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        glyphPos.setX(margin);
        captionPos.setX(margin + gw + spacing);
        break;
    case TButtonLayout::blGlyphRight:
        glyphPos.setX(cw - margin - gw);
        captionPos.setX(glyphPos.x() - spacing - tw);
        break;
    case TButtonLayout::blGlyphTop:
        glyphPos.setY(margin);
        captionPos.setY(margin + gh + spacing);
        break;
    case TButtonLayout::blGlyphBottom:
        glyphPos.setY(ch - margin - gh);
        captionPos.setY(glyphPos.y() - spacing - th);
        break;
    }
    return {glyphPos + client.topLeft() + offset,
            QRect(captionPos + client.topLeft() + offset, QSize(tw, th))};
}

TFlatButtonOption TFlatButton::PaintOption(qreal pixelRatio)
{
    TFlatButtonOption o;
    o.Client = rect();
    o.Font = font();
    o.Face = PaintState();
    const bool sunken = o.Face == stDown || o.Face == stExclusive;
    const TGlyphCaptionLayout placed =
        LayoutGlyphAndCaption(o.Client, glyphSize(), captionSize(Caption(), o.Font), layout_, margin_,
                              spacing_, sunken ? QPoint(1, 1) : QPoint(0, 0));
    o.GlyphOrigin = placed.GlyphOrigin;
    o.CaptionRect = placed.CaptionRect;
    o.Hovered = Hot();
    o.Default = default_;
    o.ShowsParent = transparentMode_ == tmAlways || (transparentMode_ == tmNotFocused && !o.Hovered);

    const QPalette pal = ActivePalette();
    o.Color = platform::ToQColor(color_, pal);
    o.ColorFocused = platform::ToQColor(colorFocused_, pal);
    o.ColorDown = platform::ToQColor(colorDown_, pal);
    o.ColorBorder = platform::ToQColor(colorBorder_, pal);
    o.ColorHighLight = platform::ToQColor(colorHighLight_, pal);
    o.ColorShadow = platform::ToQColor(colorShadow_, pal);
    o.BtnHighlight = platform::ToQColor(platform::clBtnHighlight, pal);
    o.BtnShadow = platform::ToQColor(platform::clBtnShadow, pal);
    o.Text = pal.color(QPalette::WindowText);

    if (!glyphImages_.empty()) {
        const TGlyphChoice choice = chooseGlyph(numGlyphs_, o.Face);
        const QImage &chosen =
            choice.Embossed ? embossedGlyph_ : glyphImages_[size_t(std::min(choice.Index, numGlyphs_) - 1)];
        o.Glyph = scaledGlyphs_.At(chosen, pixelRatio);
    }
    o.Caption = Caption();

    if (o.ShowsParent) {
        // Rendered at the device's ratio, so that nothing is scaled up; where
        // the parent paints nothing the face colour shows.
        o.ParentImage = QImage(o.Client.size() * pixelRatio, QImage::Format_RGB32);
        o.ParentImage.setDevicePixelRatio(pixelRatio);
        o.ParentImage.fill(o.Color);
        QPainter painter(&o.ParentImage);
        PaintParentBackground(painter, this);
    }
    return o;
}

QSize TFlatButton::glyphSize() const
{
    return glyph_.isNull() ? QSize(0, 0) : QSize(glyph_.width() / numGlyphs_, glyph_.height());
}

// The masked images of the strip, made when the strip, its count or the
// colours change rather than on every paint.
void TFlatButton::RebuildGlyphImages()
{
    glyphImages_.clear();
    embossedGlyph_ = QImage();
    scaledGlyphs_.Clear();
    if (glyph_.isNull() || glyphSize().width() <= 0)
        return;
    const QRgb mask = glyph_.pixel(0, glyph_.height() - 1);
    for (int k = 1; k <= numGlyphs_; ++k)
        glyphImages_.push_back(masked(glyphImage(glyph_, numGlyphs_, k), mask));
    const QImage embossed = MakeEmbossedGlyph(glyphImage(glyph_, numGlyphs_, 1), ActivePalette());
    embossedGlyph_ = masked(embossed, embossed.pixel(0, embossed.height() - 1));
}

QSize TFlatButton::sizeHint() const
{
    return ButtonSizeHint(glyphSize(), captionSize(Caption(), font()),
                          layout_ == TButtonLayout::blGlyphLeft || layout_ == TButtonLayout::blGlyphRight,
                          margin_, spacing_);
}

QImage TFlatButton::ComposeFace(const TFlatButtonOption &o, qreal pixelRatio) const
{
    QImage image(o.Client.size() * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    // Where nothing paints (a see-through button without parent) the face
    // colour shows rather than uninitialised memory.
    image.fill(o.Color);
    QPainter painter(&image);
    PaintFlatButtonFace(painter, o);
    return image;
}

QImage TFlatButton::PaintFace(qreal pixelRatio) { return ComposeFace(PaintOption(pixelRatio), pixelRatio); }

void TFlatButton::paintEvent(QPaintEvent *)
{
    // Straight onto the widget: Qt buffers it already, and a parent's image
    // is one of the option's own.
    QPainter painter(this);
    PaintFlatButtonFace(painter, PaintOption(devicePixelRatioF()));
}

} // namespace widgets
