#pragma once
// TFlatButton: a push button that draws itself. A flat face in a plain colour
// with a thin border, an optional glyph from a strip of up to four images and
// a one-line caption. The border rises while the mouse is over the button or
// while it has the focus and sinks while it is pressed; grouped buttons latch.
// A click hands the button's ModalResult to the dialog that holds it.
//
// Pressing, latching, the mnemonic and the click are the base's
// (abstractbutton.h); the pointer leaving is noticed by the shared hover
// watcher (hoverwatcher.h); the face is drawn from a TFlatButtonOption
// (flatbuttonface.h).

#include "abstractbutton.h"
#include "buttonlayout.h"
#include "glyphimages.h"
#include "syscolors.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <vector>

namespace widgets {

struct TFlatButtonOption;

class TFlatButton : public TAbstractButton {
    Q_OBJECT
public:
    // Where the background comes from: always the parent's image, the
    // parent's image unless hovered, or always the button's own colours.
    enum TTransparentMode { tmAlways, tmNotFocused, tmNone };

    explicit TFlatButton(QWidget *parent = nullptr);
    ~TFlatButton() override;

    // Default tmNone.
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode value);
    // Default false: the up face without hover gets a 2-pixel border.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    // Face colour; the parent's background colour while ParentColor is on
    // (default), clBtnFace without a parent. Writing it turns ParentColor off.
    platform::TColor Color() const { return color_; }
    void SetColor(platform::TColor value);
    // Default $E1EAEB: face while hovered or focused.
    platform::TColor ColorFocused() const { return colorFocused_; }
    void SetColorFocused(platform::TColor value);
    // Default $C5D6D9: face while down.
    platform::TColor ColorDown() const { return colorDown_; }
    void SetColorDown(platform::TColor value);
    // Default $8396A0: border of the flat face.
    platform::TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(platform::TColor value);
    // Default white: light edge of the raised and sunken border.
    platform::TColor ColorHighLight() const { return colorHighLight_; }
    void SetColorHighLight(platform::TColor value);
    // Default black: dark edge of the raised and sunken border.
    platform::TColor ColorShadow() const { return colorShadow_; }
    void SetColorShadow(platform::TColor value);
    // Percentages 0..100 (defaults 10, 10, 50) by which ColorFocused is
    // lightened and ColorDown and ColorBorder are darkened from Color while
    // UseAdvColors is on.
    int AdvColorFocused() const { return advColorFocused_; }
    void SetAdvColorFocused(int value);
    int AdvColorDown() const { return advColorDown_; }
    void SetAdvColorDown(int value);
    int AdvColorBorder() const { return advColorBorder_; }
    void SetAdvColorBorder(int value);
    // Default false: derive the three colours above from Color.
    bool UseAdvColors() const { return useAdvColors_; }
    void SetUseAdvColors(bool value);
    // Default true.
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool value) { setEnabled(value); }
    // The caption font, the parent's while ParentFont is on (default).
    QFont Font() const { return font(); }
    void SetFont(const QFont &value) { setFont(value); }
    bool ParentFont() const { return !testAttribute(Qt::WA_SetFont); }
    void SetParentFont(bool value);
    // Default empty: a strip of NumGlyphs images side by side. A strip whose
    // width is a whole multiple of its height sets NumGlyphs (1 beyond 4).
    QImage Glyph() const { return glyph_; }
    void SetGlyph(const QImage &value);
    // Default glyph top.
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    // Default -1 (centres glyph and caption); pixels from the edge to the
    // glyph. Values below -1 are ignored.
    int Margin() const { return margin_; }
    void SetMargin(int value);
    // Default 1; 1..4 images in the glyph strip.
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    // Default true: Color follows the parent's background colour.
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    // Default false: whether Tab reaches the button.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    // Default 4: pixels between glyph and caption; -1 spreads them evenly.
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    // The face exactly as a repaint draws it, as an image of the button's size
    // with that many device pixels per pixel.
    QImage PaintFace(qreal pixelRatio = 1);
    // Glyph and caption as laid out, with the frame and the pressed offset.
    QSize sizeHint() const override;

    struct TGlyphCaptionLayout {
        QPoint GlyphOrigin;
        QRect CaptionRect;
    };
    // Places glyph and caption in the client rectangle. Across the layout
    // axis both are centred; along it Margin and Spacing apply, -1 meaning
    // spread evenly. Integer divisions truncate toward zero.
    static TGlyphCaptionLayout LayoutGlyphAndCaption(const QRect &client, QSize glyph,
                                                     QSize caption, TButtonLayout layout,
                                                     int margin, int spacing, QPoint offset);

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

    void Pressed(QPoint pos) override;
    bool ReleaseEndsPress(Qt::MouseButton button) const override;
    void Released(bool endedPress, bool inside, QPoint pos) override;

private:
    // Face painting (flatbuttonface.cpp).
    TFlatButtonOption PaintOption(qreal pixelRatio);
    QImage ComposeFace(const TFlatButtonOption &option, qreal pixelRatio) const;
    QSize glyphSize() const;
    void RebuildGlyphImages();

    // System colours do not change with the widget's state, so they are
    // always taken from the active colour group.
    QPalette ActivePalette() const;
    void ApplyAdvColors();
    void ParentColorChanged();
    platform::TColor ParentBackgroundColor() const;
    // The hover look.
    void EnterStep();
    void LeaveStep();
    void RecheckHover();
    void WatchHover(const QPoint &screenPos);

    TTransparentMode transparentMode_ = tmNone;
    bool default_ = false;
    platform::TColor color_ = platform::clBtnFace;
    platform::TColor colorFocused_ = 0xE1EAEB;
    platform::TColor colorDown_ = 0xC5D6D9;
    platform::TColor colorBorder_ = 0x8396A0;
    platform::TColor colorHighLight_ = platform::clWhite;
    platform::TColor colorShadow_ = platform::clBlack;
    int advColorFocused_ = 10;
    int advColorDown_ = 10;
    int advColorBorder_ = 50;
    bool useAdvColors_ = false;
    QImage glyph_;
    TButtonLayout layout_ = TButtonLayout::blGlyphTop;
    int margin_ = -1;
    int numGlyphs_ = 1;
    bool parentColor_ = true;
    bool tabStop_ = false;
    int spacing_ = 4;

    std::vector<QImage> glyphImages_; // the strip's images, masked
    QImage embossedGlyph_;
    TScaledGlyphs scaledGlyphs_;      // the same for a screen of more device pixels
};

} // namespace widgets
