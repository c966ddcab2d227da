#pragma once
// A flat-capable push button that paints itself: a glyph (grey while the
// mouse is elsewhere), an optional caption, radio groups among its siblings,
// auto-repeat while held and an attached drop-down menu. It takes no focus,
// like a control drawn on its parent's surface, and raises its own clicks.
//
// Pressing, latching, auto-repeat, the mnemonic and the click are the base's
// (abstractbutton.h); the face is drawn from a TSpeedButtonOption
// (speedbuttonface.h).

#include "abstractbutton.h"
#include "buttonlayout.h"
#include "speedglyph.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPointer>

#include <optional>

namespace widgets {

struct TSpeedButtonOption;

enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum class TDropDownMenuPos { dmpBottom, dmpRight };

class TGlyphSpeedButton : public TAbstractButton {
    Q_OBJECT
public:
    explicit TGlyphSpeedButton(QWidget *parent = nullptr);
    ~TGlyphSpeedButton() override;

    // Horizontal alignment of the caption in its rectangle; centre by default.
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    // Clicks repeat while the button is held; off by default, with a pause
    // of 500 ms before the first repeat and 100 ms between repeats.
    using TAbstractButton::AllowTimer;
    using TAbstractButton::SetAllowTimer;
    using TAbstractButton::InitPause;
    using TAbstractButton::SetInitPause;
    using TAbstractButton::RepeatInterval;
    using TAbstractButton::SetRepeatInterval;
    using TAbstractButton::RepeatTimerActive;
    // The auto-repeat timer, made by the first press that allows it; tests tick it.
    using TAbstractButton::RepeatTimer;
    // A menu opened by a left press; forgotten when the menu is destroyed.
    QMenu *DropDownMenu() const { return m_menu; }
    void SetDropDownMenu(QMenu *menu);
    TDropDownMenuPos MenuPosition() const { return m_menuPosition; }
    void SetMenuPosition(TDropDownMenuPos value);
    // The small triangle beside the glyph when a menu is attached; on by default.
    bool MarkDropDown() const { return m_markDropDown; }
    void SetMarkDropDown(bool value);
    // No frame unless the mouse is over the button or it is down; off by default.
    bool Flat() const { return m_flat; }
    void SetFlat(bool value);
    // The picture, possibly several frames side by side.
    const QImage &Glyph() const { return m_glyph.Glyph(); }
    void SetGlyph(const QImage &value);
    int NumGlyphs() const { return m_glyph.NumGlyphs(); }
    void SetNumGlyphs(int value);
    // Grey glyph while a flat button is not under the mouse; on by default.
    bool GrayedInactive() const { return m_grayedInactive; }
    void SetGrayedInactive(bool value);
    // Glyph on top of the caption by default.
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout value);
    // Pixels from the edge to the glyph; -1 (default) centres, below -1 is ignored.
    int Margin() const { return m_margin; }
    void SetMargin(int value);
    // Pixels between glyph and caption; 1 by default, -1 centres the caption.
    int Spacing() const { return m_spacing; }
    void SetSpacing(int value);
    // Frame style; automatic by default, which is the new style here.
    TButtonStyle Style() const { return m_style; }
    void SetStyle(TButtonStyle value);
    // Paints the parent's image under the face; off by default.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    // Wraps the caption instead of shortening it; off by default.
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);

    // A linked action: a click triggers it, a group button follows its
    // checked state, and a button without a glyph shows its icon.
    QAction *Action() const { return m_action; }
    void SetAction(QAction *action);

    // The hint; its short part is the tool tip.
    QString Hint() const { return m_hint; }
    void SetHint(const QString &value);
    // Whether tool tips show; with ParentShowHint the parent decides.
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool value);
    bool EffectiveShowHint() const;
    // Follows the parent's font until a font of its own is set.
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool value);
    void SetButtonFont(const QFont &font);

    // Looks at the pointer again and becomes hot or not.
    void RefreshHot();

    // The declaration is complete: the resting state's image is built now.
    void Loaded();

    // The whole face as it would be painted now, as an image of the button's
    // size with that many device pixels per pixel.
    QImage RenderFace(qreal pixelRatio = 1);
    // Glyph and caption as laid out, with the frame and the pressed offset.
    QSize sizeHint() const override;

    // Whether the program is the active application; hot states need it.
    static bool ApplicationIsActive();

protected:
    // The glyph's size for the layout, and its picture for a paint state at
    // a device's ratio; subclasses with other image sources override both.
    virtual QSize GlyphExtent() const;
    virtual QImage GlyphPicture(TButtonPaintState state, qreal pixelRatio);
    // Drops the images built from the glyph.
    virtual void InvalidateImages();

    TSpeedGlyph &SpeedGlyph() { return m_glyph; }
    // Hot or cold: a flat button repaints, and with notify OnMouseEnter or
    // OnMouseLeave is raised.
    void ChangeHot(bool hot, bool notify);
    void MouseEntered();
    void MouseLeft();
    // Builds the image for the resting state at once.
    void PrepareRestingImage();

    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

    void BeforePress(Qt::MouseButton button, QPoint pos) override;
    void Pressed(QPoint pos) override;
    void Released(bool endedPress, bool inside, QPoint pos) override;
    void ClickEvent() override;
    void ActivateByMnemonic() override;

private:
    // Face painting (speedbuttonface.cpp).
    TSpeedButtonOption PaintOption(qreal pixelRatio);

    bool isTopmostAt(QPoint local) const;
    void refreshHotAt(std::optional<QPoint> local);
    void runDropDownMenu();
    QPoint dropDownPoint() const;
    void actionChanged();
    QColor color(unsigned c) const;

    TSpeedGlyph m_glyph;

    TAlignment m_alignment = TAlignment::taCenter;
    QPointer<QMenu> m_menu;
    QPointer<QAction> m_action;
    TDropDownMenuPos m_menuPosition = TDropDownMenuPos::dmpBottom;
    bool m_markDropDown = true;
    bool m_flat = false;
    bool m_grayedInactive = true;
    TButtonLayout m_layout = TButtonLayout::blGlyphTop;
    int m_margin = -1;
    int m_spacing = 1;
    TButtonStyle m_style = TButtonStyle::bsAutoDetect;
    bool m_transparent = false;
    bool m_wordWrap = false;
    QString m_hint;
    bool m_showHint = true;
    bool m_parentShowHint = false;
    bool m_parentFont = true;
};

} // namespace widgets
