#include "flatbuttonunit.h"

#include "guarded.h"
#include "flatdrawing.h"
#include "hoverwatcher.h"

#include <QMouseEvent>

#include <algorithm>

namespace widgets {

TFlatButton::TFlatButton(QWidget *parent) : TAbstractButton(staticMetaObject, parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 25, 25);
    if (parent)
        color_ = ParentBackgroundColor();
    THoverWatcher::AddUser();
}

TFlatButton::~TFlatButton()
{
    THoverWatcher::StopWatching(this);
    THoverWatcher::RemoveUser();
}

QPalette TFlatButton::ActivePalette() const
{
    QPalette p = palette();
    p.setCurrentColorGroup(QPalette::Active);
    return p;
}

// --- properties -------------------------------------------------------------

void TFlatButton::SetTransparentMode(TTransparentMode value)
{
    if (transparentMode_ == value)
        return;
    transparentMode_ = value;
    update();
}

void TFlatButton::SetDefault(bool value)
{
    if (default_ == value)
        return;
    default_ = value;
    update();
}

void TFlatButton::SetColor(platform::TColor value)
{
    if (color_ == value)
        return;
    color_ = value;
    parentColor_ = false;
    update();
}

void TFlatButton::SetColorFocused(platform::TColor value)
{
    if (colorFocused_ == value)
        return;
    colorFocused_ = value;
    update();
}

void TFlatButton::SetColorDown(platform::TColor value)
{
    if (colorDown_ == value)
        return;
    colorDown_ = value;
    update();
}

void TFlatButton::SetColorBorder(platform::TColor value)
{
    if (colorBorder_ == value)
        return;
    colorBorder_ = value;
    update();
}

void TFlatButton::SetColorHighLight(platform::TColor value)
{
    if (colorHighLight_ == value)
        return;
    colorHighLight_ = value;
    update();
}

void TFlatButton::SetColorShadow(platform::TColor value)
{
    if (colorShadow_ == value)
        return;
    colorShadow_ = value;
    update();
}

void TFlatButton::SetAdvColorFocused(int value)
{
    value = std::clamp(value, 0, 100);
    if (advColorFocused_ == value)
        return;
    advColorFocused_ = value;
    ApplyAdvColors();
    update();
}

void TFlatButton::SetAdvColorDown(int value)
{
    value = std::clamp(value, 0, 100);
    if (advColorDown_ == value)
        return;
    advColorDown_ = value;
    ApplyAdvColors();
    update();
}

void TFlatButton::SetAdvColorBorder(int value)
{
    value = std::clamp(value, 0, 100);
    if (advColorBorder_ == value)
        return;
    advColorBorder_ = value;
    ApplyAdvColors();
    update();
}

void TFlatButton::SetUseAdvColors(bool value)
{
    if (useAdvColors_ == value)
        return;
    useAdvColors_ = value;
    SetParentColor(value);
    ApplyAdvColors();
    update();
}

void TFlatButton::SetParentFont(bool value)
{
    if (ParentFont() == value)
        return;
    if (value) {
        // An empty font resets every attribute to the inherited one.
        setFont(QFont());
        return;
    }
    QFont own = font();
    own.setResolveMask(QFont::AllPropertiesResolved);
    setFont(own);
}

void TFlatButton::SetGlyph(const QImage &value)
{
    if (!glyph_.isNull() && value.cacheKey() == glyph_.cacheKey())
        return;
    glyph_ = value.copy();
    if (!glyph_.isNull() && glyph_.width() % glyph_.height() == 0) {
        const int images = glyph_.width() / glyph_.height();
        numGlyphs_ = images > 4 ? 1 : images;
    }
    RebuildGlyphImages();
    update();
}

void TFlatButton::SetLayout(TButtonLayout value)
{
    if (layout_ == value)
        return;
    layout_ = value;
    update();
}

void TFlatButton::SetMargin(int value)
{
    if (value < -1 || margin_ == value)
        return;
    margin_ = value;
    update();
}

void TFlatButton::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (numGlyphs_ == value)
        return;
    numGlyphs_ = value;
    RebuildGlyphImages();
    update();
}

void TFlatButton::SetParentColor(bool value)
{
    if (parentColor_ == value)
        return;
    parentColor_ = value;
    if (parentWidget())
        ParentColorChanged();
}

void TFlatButton::SetTabStop(bool value)
{
    if (tabStop_ == value)
        return;
    tabStop_ = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

void TFlatButton::SetSpacing(int value)
{
    if (spacing_ == value)
        return;
    spacing_ = value;
    update();
}

// --- colours ----------------------------------------------------------------

void TFlatButton::ApplyAdvColors()
{
    if (!useAdvColors_)
        return;
    const QPalette pal = ActivePalette();
    colorFocused_ = ShadeColor(color_, colorFocused_, advColorFocused_, TShadeDirection::Lighten, pal);
    colorDown_ = ShadeColor(color_, colorDown_, advColorDown_, TShadeDirection::Darken, pal);
    colorBorder_ = ShadeColor(color_, colorBorder_, advColorBorder_, TShadeDirection::Darken, pal);
}

platform::TColor TFlatButton::ParentBackgroundColor() const
{
    const QWidget *parent = parentWidget();
    if (!parent)
        return color_;
    return platform::FromQColor(parent->palette().color(QPalette::Active, parent->backgroundRole()));
}

// The parent's colour or the system colours changed, or the button got a
// parent or was told to follow it again.
void TFlatButton::ParentColorChanged()
{
    if (parentColor_)
        color_ = ParentBackgroundColor();
    if (useAdvColors_) {
        parentColor_ = true;
        color_ = ParentBackgroundColor();
        ApplyAdvColors();
    }
    update();
}

// --- hover ------------------------------------------------------------------

void TFlatButton::EnterStep()
{
    if (!isEnabled() || Hot())
        return;
    SetHot(true);
    update();
}

void TFlatButton::LeaveStep()
{
    if (!isEnabled() || !Hot() || Pressing())
        return;
    SetHot(false);
    THoverWatcher::StopWatching(this);
    update();
}

void TFlatButton::RecheckHover()
{
    if (!isEnabled())
        return;
    // Force the step that matches where the pointer really is.
    if (THoverWatcher::ControlAt(THoverWatcher::CursorPos()) == this) {
        SetHot(false);
        EnterStep();
    } else {
        SetHot(true);
        LeaveStep();
    }
}

void TFlatButton::WatchHover(const QPoint &screenPos)
{
    QWidget *watched = THoverWatcher::Watched();
    if (watched == this || THoverWatcher::ControlAt(screenPos) != this)
        return;
    if (auto *previous = qobject_cast<TFlatButton *>(watched))
        previous->LeaveStep();
    if (!THoverWatcher::ApplicationActive())
        return;
    THoverWatcher::Watch(this, [this] { LeaveStep(); });
    EnterStep();
}

// --- mouse ------------------------------------------------------------------

void TFlatButton::Pressed(QPoint) { setFocus(Qt::MouseFocusReason); }

// Any button's release ends the press, as a mouse-up does whichever button
// it is for.
bool TFlatButton::ReleaseEndsPress(Qt::MouseButton) const { return true; }

void TFlatButton::Released(bool endedPress, bool inside, QPoint)
{
    if (!endedPress)
        return;
    if (!inside)
        LeaveStep();
    RecheckHover();
}

void TFlatButton::mouseDoubleClickEvent(QMouseEvent *e)
{
    // The double click comes first, then the press it also is.
    if (Down())
        RaiseEvent(OnDblClick);
    TAbstractButton::mousePressEvent(e);
}

void TFlatButton::mouseMoveEvent(QMouseEvent *e)
{
    TAbstractButton::mouseMoveEvent(e);
    WatchHover(e->globalPosition().toPoint());
}

void TFlatButton::enterEvent(QEnterEvent *e)
{
    TAbstractButton::enterEvent(e);
    RaiseEvent(OnMouseEnter);
}

void TFlatButton::leaveEvent(QEvent *e)
{
    TAbstractButton::leaveEvent(e);
    RaiseEvent(OnMouseLeave);
}

// --- focus --------------------------------------------------------------------

void TFlatButton::focusInEvent(QFocusEvent *e)
{
    TAbstractButton::focusInEvent(e);
    // A focused button shows the hover look; there is no separate focus mark.
    if (isEnabled()) {
        SetHot(true);
        update();
    }
}

void TFlatButton::focusOutEvent(QFocusEvent *e)
{
    TAbstractButton::focusOutEvent(e);
    LeaveStep();
}

// --- framework notifications ----------------------------------------------------

bool TFlatButton::event(QEvent *e)
{
    if (e->type() == QEvent::ParentChange)
        ParentColorChanged();
    return TAbstractButton::event(e);
}

void TFlatButton::changeEvent(QEvent *e)
{
    TAbstractButton::changeEvent(e);
    switch (e->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            SetHot(false);
            THoverWatcher::StopWatching(this);
        }
        RecheckHover();
        update();
        break;
    case QEvent::FontChange:
        update();
        break;
    case QEvent::PaletteChange:
        RebuildGlyphImages();
        ParentColorChanged();
        break;
    default:
        break;
    }
}

void TFlatButton::moveEvent(QMoveEvent *e)
{
    TAbstractButton::moveEvent(e);
    if (transparentMode_ != tmNone)
        update();
}

void TFlatButton::resizeEvent(QResizeEvent *e)
{
    TAbstractButton::resizeEvent(e);
    if (transparentMode_ != tmNone)
        update();
}

} // namespace widgets
