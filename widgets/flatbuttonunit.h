#pragma once
// TFlatButton: a push button that draws itself. A flat face in a plain colour
// with a thin border, an optional glyph from a strip of up to four images and
// a one-line caption. The border rises while the mouse is over the button or
// while it has the focus and sinks while it is pressed; grouped buttons latch.
// A click hands the button's ModalResult to the dialog that holds it.
//
// All flat buttons share one 100 ms timer that notices the pointer leaving
// the hovered button; it exists while at least one button exists and runs
// only while a button is hovered by the mouse.

#include "syscolors.h"
#include "buttoncore.h"
#include "glyphimages.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>
#include <vector>

class QTimer;

namespace widgets {

class TFlatButton : public QWidget {
    Q_OBJECT
public:
    // Where the background comes from: always the parent's image, the
    // parent's image unless hovered, or always the button's own colours.
    enum TTransparentMode { tmAlways, tmNotFocused, tmNone };
    // The side of the caption on which the glyph sits.
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    // ffsDown: pressed by mouse or space bar; ffsLatched: a grouped button that is Down.
    enum TFlatFaceState { ffsUp, ffsDisabled, ffsDown, ffsLatched };

    using TNotifyEvent = std::function<void(TFlatButton *sender)>;
    using TMouseEvent = std::function<void(TFlatButton *sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers shift, int x, int y)>;
    using TMouseMoveEvent =
        std::function<void(TFlatButton *sender, Qt::KeyboardModifiers shift, int x, int y)>;

    explicit TFlatButton(QWidget *parent = nullptr);
    ~TFlatButton() override;

    // Default tmNone.
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode value);
    // Default false: the up face without hover gets a 2-pixel border.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    // Default false: whether a group may have all its buttons up. Shared by
    // the whole group: a change is copied to the other buttons.
    bool AllowAllUp() const { return state_.AllowAllUp; }
    void SetAllowAllUp(bool value);
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
    // Default 0 (no group): latching buttons among the children of one parent.
    int GroupIndex() const { return state_.GroupIndex; }
    void SetGroupIndex(int value);
    // Default false; only a grouped button can be Down.
    bool Down() const { return state_.Down; }
    void SetDown(bool value);
    // Default empty; one line, "&" marks the mnemonic (Alt + that letter).
    QString Caption() const { return caption_; }
    void SetCaption(const QString &value);
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
    // Default blGlyphTop.
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
    // Default 0: given to the holding dialog on every click; a non-zero
    // value ends the dialog's modal loop with it.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick; // only while Down
    TMouseEvent OnMouseDown; // every mouse event, before the button's own handling
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter; // the pointer entering or leaving; not the hover look
    TNotifyEvent OnMouseLeave;

    // The click: the holding dialog's result becomes ModalResult, then OnClick.
    void Click();

    TFlatFaceState FaceState() const;
    bool Hovered() const { return hovered_; }
    bool Pressing() const { return state_.Pressing; }

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

    // The shared hover timer and the button it watches (null when none).
    static QTimer *HoverPollTimer();
    static TFlatButton *HoveredButton();
    static int InstanceCount();

    // How the buttons learn where the pointer is, which control is under a
    // screen point (disabled controls count) and whether the application has
    // an active window. Empty members use the real desktop; tests set them.
    struct TPointerProbe {
        std::function<QPoint()> CursorPos;
        std::function<QWidget *(const QPoint &screenPos)> ControlAt;
        std::function<bool()> ApplicationActive;
    };
    static void SetPointerProbe(TPointerProbe probe);

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

    // A button of `groupIndex` was latched or changed its group settings.
    virtual void GroupButtonPressed(int groupIndex, TFlatButton *sender);

private:
    struct TPaintState;

    TPaintState MakePaintState() const;
    void DrawFace(QPainter &painter, const TPaintState &state);
    QImage ComposeFace(const TPaintState &state, qreal pixelRatio);
    static bool ShowsParent(const TPaintState &state);
    QSize glyphSize() const;
    void RebuildGlyphImages();
    void PaintBackground(QPainter &painter, const TPaintState &state);

    void NotifyGroup();
    void ApplyAdvColors();
    void ParentColorChanged();
    platform::TColor ParentBackgroundColor() const;
    void EnterStep();
    void LeaveStep();
    void StopWatching();
    void RecheckHover();
    void WatchHover(const QPoint &screenPos);
    static void HoverPollTimerTimer();

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
    QString caption_;
    QImage glyph_;
    TButtonLayout layout_ = blGlyphTop;
    int margin_ = -1;
    int numGlyphs_ = 1;
    bool parentColor_ = true;
    bool tabStop_ = false;
    int spacing_ = 4;
    int modalResult_ = 0;

    TButtonState state_; // Enabled is taken from the widget when used
    bool hovered_ = false;
    std::vector<QImage> glyphImages_; // the strip's images, masked
    QImage embossedGlyph_;
    TScaledGlyphs scaledGlyphs_;      // the same for a screen of more device pixels
    int mnemonicId_ = 0;
};

} // namespace widgets
