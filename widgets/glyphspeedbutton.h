#pragma once
// A flat-capable push button that paints itself: a glyph (grey while the
// mouse is elsewhere), an optional caption, radio groups among its siblings,
// auto-repeat while held and an attached drop-down menu. It takes no focus,
// like a control drawn on its parent's surface, and raises its own clicks.

#include "buttoncore.h"
#include "buttonlayout.h"
#include "speedglyph.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include <QAction>
#include <QMenu>
class QTimer;

namespace widgets {

enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum class TDropDownMenuPos { dmpBottom, dmpRight };

class TGlyphSpeedButton : public QWidget {
    Q_OBJECT
public:
    using Notify = std::function<void(QObject *sender)>;
    using MouseNotify = std::function<void(QObject *sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers modifiers, QPoint pos)>;
    using MoveNotify = std::function<void(QObject *sender, Qt::KeyboardModifiers modifiers, QPoint pos)>;

    explicit TGlyphSpeedButton(QWidget *parent = nullptr);
    ~TGlyphSpeedButton() override;

    // Horizontal alignment of the caption in its rectangle; centre by default.
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    // In a group, whether the down button may be released; off by default.
    bool AllowAllUp() const { return m_core.AllowAllUp; }
    void SetAllowAllUp(bool value);
    // Clicks repeat while the button is held; off by default.
    bool AllowTimer() const { return m_allowTimer; }
    void SetAllowTimer(bool value);
    // Delay before the first repeat, 500 ms by default.
    int InitPause() const { return m_initPause; }
    void SetInitPause(int ms);
    // Delay between repeats, 100 ms by default.
    int RepeatInterval() const { return m_repeatInterval; }
    void SetRepeatInterval(int ms);
    // 0: a plain button; otherwise a radio group among sibling buttons.
    int GroupIndex() const { return m_core.GroupIndex; }
    void SetGroupIndex(int value);
    // Held down; only a group member can be down.
    bool Down() const { return m_core.Down; }
    void SetDown(bool value);
    // A menu opened by a left press; forgotten when the menu is destroyed.
    QMenu *DropDownMenu() const { return m_menu; }
    void SetDropDownMenu(QMenu *menu);
    TDropDownMenuPos MenuPosition() const { return m_menuPosition; }
    void SetMenuPosition(TDropDownMenuPos value);
    // The small triangle beside the glyph when a menu is attached; on by default.
    bool MarkDropDown() const { return m_markDropDown; }
    void SetMarkDropDown(bool value);
    // Text on the button; "&" marks the accelerator. Empty by default.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value);
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
    // Handed to a containing dialog on every click; 0 by default.
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int value) { m_modalResult = value; }

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

    TButtonPaintState PaintState() const;
    bool MouseInControl() const { return m_mouseInControl; }
    bool Dragging() const { return m_core.Pressing; }
    bool RepeatTimerActive() const;
    // The auto-repeat timer, made by the first press that allows it; tests tick it.
    QTimer *RepeatTimer() const { return m_repeatTimer.get(); }

    // Raises the click as a user's release over the button does.
    virtual void Click();
    // Handles an accelerator character; true when it matched and clicked.
    bool DialogChar(QChar c);
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

    Notify OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
    MouseNotify OnMouseDown, OnMouseUp;
    MoveNotify OnMouseMove;

protected:
    // Draws glyph, caption and drop-down mark into the face.
    virtual void DrawButtonGlyph(QPainter &painter, const QRect &area, TButtonPaintState state,
                                 bool dropDownMark);
    // The glyph's size for the layout; subclasses with other image sources override.
    virtual QSize GlyphExtent() const;
    virtual void DrawGlyphImage(QPainter &painter, QPoint pos, TButtonPaintState state);
    // Drops the images built from the glyph.
    virtual void InvalidateImages();

    TSpeedGlyph &SpeedGlyph() { return m_glyph; }
    void SetMouseInControl(bool hot, bool notify);
    void MouseEntered();
    void MouseLeft();
    // Builds the image for the resting state at once.
    void PrepareRestingImage();

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct FaceState;
    FaceState faceState() const;
    QImage composeFace(qreal pixelRatio);
    void paintFace(QPainter &painter, const FaceState &s);
    void drawFrame(QPainter &painter, QRect &rect, bool down);
    void drawDropDownMark(QPainter &painter, QPoint at, TButtonPaintState state);
    void paintParentBackground(QPainter &painter);
    bool newStyle() const;
    bool isTopmostAt(QPoint local) const;
    void refreshHotAt(std::optional<QPoint> local);
    void press(QPoint pos);
    void releaseLogic(Qt::MouseButton button, QPoint pos);
    void runDropDownMenu();
    QPoint dropDownPoint() const;
    void updateExclusive();
    void notifyGroup();
    void groupChanged(TGlyphSpeedButton *sender);
    void repeatTick();
    void updateShortcut();
    void actionChanged();
    QColor color(unsigned c) const;

    TSpeedGlyph m_glyph;
    TButtonState m_core; // Enabled is taken from the widget when used
    bool m_mouseInControl = false;
    bool m_menuTracking = false;
    std::unique_ptr<QTimer> m_repeatTimer;

    TAlignment m_alignment = TAlignment::taCenter;
    bool m_allowTimer = false;
    int m_initPause = 500;
    int m_repeatInterval = 100;
    QPointer<QMenu> m_menu;
    QPointer<QAction> m_action;
    TDropDownMenuPos m_menuPosition = TDropDownMenuPos::dmpBottom;
    bool m_markDropDown = true;
    QString m_caption;
    bool m_flat = false;
    bool m_grayedInactive = true;
    TButtonLayout m_layout = TButtonLayout::blGlyphTop;
    int m_margin = -1;
    int m_spacing = 1;
    TButtonStyle m_style = TButtonStyle::bsAutoDetect;
    bool m_transparent = false;
    bool m_wordWrap = false;
    int m_modalResult = 0;
    QString m_hint;
    bool m_showHint = true;
    bool m_parentShowHint = false;
    bool m_parentFont = true;
    int m_shortcutId = 0;
};

} // namespace widgets
