#include "flatbuttonunit.h"

#include "guarded.h"
#include "flatdrawing.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>
#include <QTimer>

#include <algorithm>

namespace widgets {

namespace {

int g_instanceCount = 0;
QTimer *g_hoverPollTimer = nullptr;
TFlatButton *g_hoveredButton = nullptr;
TFlatButton::TPointerProbe g_probe;

QPoint cursorPos() { return g_probe.CursorPos ? g_probe.CursorPos() : QCursor::pos(); }

QWidget *controlAt(const QPoint &screenPos)
{
    return g_probe.ControlAt ? g_probe.ControlAt(screenPos) : QApplication::widgetAt(screenPos);
}

bool applicationActive()
{
    return g_probe.ApplicationActive ? g_probe.ApplicationActive()
                                     : QApplication::activeWindow() != nullptr;
}

// System colours do not change with the widget's state, so they are always
// taken from the active colour group.
QPalette activePalette(const QWidget *w)
{
    QPalette p = w->palette();
    p.setCurrentColorGroup(QPalette::Active);
    return p;
}

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

TGlyphChoice chooseGlyph(int numGlyphs, TFlatButton::TFlatFaceState face)
{
    switch (face) {
    case TFlatButton::ffsDisabled:
        return numGlyphs == 1 ? TGlyphChoice{1, true} : TGlyphChoice{2, false};
    case TFlatButton::ffsDown:
        return {numGlyphs >= 3 ? 3 : 1, false};
    case TFlatButton::ffsLatched:
        return {numGlyphs >= 3 ? std::min(numGlyphs, 4) : 1, false};
    case TFlatButton::ffsUp:
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

} // namespace

// Everything one paint draws from, taken from the button in one place.
struct TFlatButton::TPaintState {
    QRect Client;
    TFlatFaceState Face = ffsUp;
    bool Hovered = false;
    TTransparentMode Mode = tmNone;
    bool Default = false;
    QColor Color, ColorFocused, ColorDown, ColorBorder, ColorHighLight, ColorShadow;
    QColor BtnHighlight, BtnShadow, Text;
    QImage Glyph; // the chosen image, masked; empty for none
    QPoint GlyphOrigin;
    QString Caption;
    QFont Font;
    QRect CaptionRect;
};

TFlatButton::TFlatButton(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 25, 25);
    if (parent)
        color_ = ParentBackgroundColor();
    if (++g_instanceCount == 1) {
        g_hoverPollTimer = new QTimer;
        g_hoverPollTimer->setInterval(100);
        QObject::connect(g_hoverPollTimer, &QTimer::timeout, &TFlatButton::HoverPollTimerTimer);
    }
}

TFlatButton::~TFlatButton()
{
    StopWatching();
    if (--g_instanceCount == 0) {
        delete g_hoverPollTimer;
        g_hoverPollTimer = nullptr;
    }
}

QTimer *TFlatButton::HoverPollTimer() { return g_hoverPollTimer; }
TFlatButton *TFlatButton::HoveredButton() { return g_hoveredButton; }
int TFlatButton::InstanceCount() { return g_instanceCount; }
void TFlatButton::SetPointerProbe(TPointerProbe probe) { g_probe = std::move(probe); }

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

void TFlatButton::SetAllowAllUp(bool value)
{
    if (state_.AllowAllUp == value)
        return;
    state_.AllowAllUp = value;
    NotifyGroup();
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

void TFlatButton::SetGroupIndex(int value)
{
    if (state_.GroupIndex == value)
        return;
    state_.GroupIndex = value;
    NotifyGroup();
}

void TFlatButton::SetDown(bool value)
{
    if (state_.GroupIndex == 0)
        value = false;
    // A latched button of a group that must keep one button down is only
    // released by latching another one.
    if (value == state_.Down || (state_.Down && !state_.AllowAllUp))
        return;
    state_.Down = value;
    update();
    if (value)
        NotifyGroup();
}

void TFlatButton::SetCaption(const QString &value)
{
    if (caption_ == value)
        return;
    caption_ = value;
    mnemonicId_ = RegrabMnemonic(this, mnemonicId_, caption_);
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

// --- colours and groups -----------------------------------------------------

void TFlatButton::ApplyAdvColors()
{
    if (!useAdvColors_)
        return;
    const QPalette pal = activePalette(this);
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

void TFlatButton::NotifyGroup()
{
    if (state_.GroupIndex == 0)
        return;
    ForEachGroupSibling(this, [this](TFlatButton *sibling) { sibling->GroupButtonPressed(state_.GroupIndex, this); });
}

void TFlatButton::GroupButtonPressed(int groupIndex, TFlatButton *sender)
{
    if (sender == this)
        return;
    TButtonState from = sender->state_;
    from.GroupIndex = groupIndex;
    if (FollowGroup(state_, from))
        update();
}

TFlatButton::TFlatFaceState TFlatButton::FaceState() const
{
    TButtonState s = state_;
    s.Enabled = isEnabled();
    switch (FaceOf(s)) {
    case TButtonFace::Disabled: return ffsDisabled;
    case TButtonFace::Down: return ffsDown;
    case TButtonFace::Latched: return ffsLatched;
    case TButtonFace::Up: break;
    }
    return ffsUp;
}

// --- click, mnemonic ----------------------------------------------------------

void TFlatButton::Click()
{
    if (parentWidget()) {
        if (auto *dialog = qobject_cast<QDialog *>(window())) {
            // Like a form's ModalResult: any value is stored, a non-zero one
            // ends a running modal loop; a dialog not shown modally stays.
            dialog->setResult(modalResult_);
            if (modalResult_ != 0 && dialog->isVisible() && dialog->isModal())
                dialog->done(modalResult_);
        }
    }
    if (OnClick)
        platform::Guarded([this] { OnClick(this); });
}

bool TFlatButton::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::Shortcut:
        if (static_cast<QShortcutEvent *>(e)->shortcutId() == mnemonicId_ && mnemonicId_ != 0) {
            if (isEnabled()) {
                if (state_.GroupIndex != 0)
                    SetDown(true);
                Click();
            }
            return true;
        }
        break;
    case QEvent::ParentChange:
        ParentColorChanged();
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

// --- mouse ------------------------------------------------------------------

void TFlatButton::mousePressEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (OnMouseDown)
        platform::Guarded([&] { OnMouseDown(this, e->button(), e->modifiers(), pos.x(), pos.y()); });
    if (e->button() != Qt::LeftButton || !isEnabled())
        return;
    state_.Pressing = true;
    state_.PointerInside = true;
    update();
    setFocus(Qt::MouseFocusReason);
}

void TFlatButton::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (state_.Down && OnDblClick)
        platform::Guarded([this] { OnDblClick(this); });
    mousePressEvent(e);
}

void TFlatButton::WatchHover(const QPoint &screenPos)
{
    if (g_hoveredButton == this || controlAt(screenPos) != this)
        return;
    if (g_hoveredButton)
        g_hoveredButton->LeaveStep();
    if (!applicationActive())
        return;
    g_hoverPollTimer->stop();
    g_hoveredButton = this;
    g_hoverPollTimer->start();
    EnterStep();
}

void TFlatButton::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (OnMouseMove)
        platform::Guarded([&] { OnMouseMove(this, e->modifiers(), pos.x(), pos.y()); });
    WatchHover(e->globalPosition().toPoint());
    if (!state_.Pressing)
        return;
    const bool inside = HitsButton(size(), pos);
    if (inside != state_.PointerInside) {
        state_.PointerInside = inside;
        update();
    }
}

void TFlatButton::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (OnMouseUp)
        platform::Guarded([&] { OnMouseUp(this, e->button(), e->modifiers(), pos.x(), pos.y()); });
    if (!state_.Pressing)
        return;
    // Released away from the button: a latched one stays latched, any other
    // returns to up rather than keeping the pressed look.
    state_.Pressing = false;
    const bool inside = HitsButton(size(), pos);
    if (state_.GroupIndex == 0)
        hovered_ = false;
    else if (inside)
        SetDown(!state_.Down);
    update();
    const QPointer<TFlatButton> alive(this);
    if (inside)
        Click();
    else
        LeaveStep();
    if (alive)
        RecheckHover();
}

void TFlatButton::enterEvent(QEnterEvent *e)
{
    QWidget::enterEvent(e);
    if (OnMouseEnter)
        platform::Guarded([this] { OnMouseEnter(this); });
}

void TFlatButton::leaveEvent(QEvent *e)
{
    QWidget::leaveEvent(e);
    if (OnMouseLeave)
        platform::Guarded([this] { OnMouseLeave(this); });
}

// --- hover ------------------------------------------------------------------

void TFlatButton::EnterStep()
{
    if (!isEnabled() || hovered_)
        return;
    hovered_ = true;
    update();
}

void TFlatButton::LeaveStep()
{
    if (!isEnabled() || !hovered_ || state_.Pressing)
        return;
    hovered_ = false;
    StopWatching();
    update();
}

void TFlatButton::StopWatching()
{
    if (g_hoveredButton != this)
        return;
    g_hoverPollTimer->stop();
    g_hoveredButton = nullptr;
}

void TFlatButton::RecheckHover()
{
    if (!isEnabled())
        return;
    // Force the step that matches where the pointer really is.
    if (controlAt(cursorPos()) == this) {
        hovered_ = false;
        EnterStep();
    } else {
        hovered_ = true;
        LeaveStep();
    }
}

void TFlatButton::HoverPollTimerTimer()
{
    if (g_hoveredButton && controlAt(cursorPos()) != g_hoveredButton)
        g_hoveredButton->LeaveStep();
}

// --- keyboard and focus -------------------------------------------------------

void TFlatButton::keyPressEvent(QKeyEvent *e)
{
    if (e->key() != Qt::Key_Space) {
        QWidget::keyPressEvent(e);
        return;
    }
    // A held space bar keeps the face down until its release.
    if (!e->isAutoRepeat()) {
        if (state_.GroupIndex != 0)
            SetDown(true);
        else
            state_.KeyHeld = true;
        update();
    }
    e->accept();
}

void TFlatButton::keyReleaseEvent(QKeyEvent *e)
{
    if (e->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(e);
        return;
    }
    e->accept();
    if (e->isAutoRepeat())
        return;
    if (state_.GroupIndex != 0)
        SetDown(false);
    else
        state_.KeyHeld = false;
    const QPointer<TFlatButton> alive(this);
    Click();
    if (alive)
        update();
}

void TFlatButton::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    // A focused button shows the hover look; there is no separate focus mark.
    if (isEnabled()) {
        hovered_ = true;
        update();
    }
}

void TFlatButton::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    LeaveStep();
}

// --- framework notifications ----------------------------------------------------

void TFlatButton::changeEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            // A disabled button drops a press in progress.
            hovered_ = false;
            state_.Pressing = false;
            state_.KeyHeld = false;
            StopWatching();
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
    QWidget::changeEvent(e);
}

void TFlatButton::moveEvent(QMoveEvent *e)
{
    QWidget::moveEvent(e);
    if (transparentMode_ != tmNone)
        update();
}

void TFlatButton::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    if (transparentMode_ != tmNone)
        update();
}

// --- painting ---------------------------------------------------------------

TFlatButton::TGlyphCaptionLayout
TFlatButton::LayoutGlyphAndCaption(const QRect &client, QSize glyph, QSize caption,
                                   TButtonLayout layout, int margin, int spacing, QPoint offset)
{
    const int cw = client.width(), ch = client.height();
    // An empty QSize() counts as no glyph or no caption.
    const int gw = std::max(0, glyph.width()), gh = std::max(0, glyph.height());
    const int tw = std::max(0, caption.width()), th = std::max(0, caption.height());
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
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
    case blGlyphLeft:
        glyphPos.setX(margin);
        captionPos.setX(margin + gw + spacing);
        break;
    case blGlyphRight:
        glyphPos.setX(cw - margin - gw);
        captionPos.setX(glyphPos.x() - spacing - tw);
        break;
    case blGlyphTop:
        glyphPos.setY(margin);
        captionPos.setY(margin + gh + spacing);
        break;
    case blGlyphBottom:
        glyphPos.setY(ch - margin - gh);
        captionPos.setY(glyphPos.y() - spacing - th);
        break;
    }
    return {glyphPos + client.topLeft() + offset,
            QRect(captionPos + client.topLeft() + offset, QSize(tw, th))};
}

TFlatButton::TPaintState TFlatButton::MakePaintState() const
{
    TPaintState s;
    s.Client = rect();
    s.Font = font();
    s.Face = FaceState();
    const QPoint offset = (s.Face == ffsDown || s.Face == ffsLatched) ? QPoint(1, 1) : QPoint(0, 0);
    const TGlyphCaptionLayout placed = LayoutGlyphAndCaption(
        s.Client, glyphSize(), captionSize(caption_, s.Font), layout_, margin_, spacing_, offset);
    s.GlyphOrigin = placed.GlyphOrigin;
    s.CaptionRect = placed.CaptionRect;
    s.Hovered = hovered_;
    s.Mode = transparentMode_;
    s.Default = default_;

    const QPalette pal = activePalette(this);
    s.Color = platform::ToQColor(color_, pal);
    s.ColorFocused = platform::ToQColor(colorFocused_, pal);
    s.ColorDown = platform::ToQColor(colorDown_, pal);
    s.ColorBorder = platform::ToQColor(colorBorder_, pal);
    s.ColorHighLight = platform::ToQColor(colorHighLight_, pal);
    s.ColorShadow = platform::ToQColor(colorShadow_, pal);
    s.BtnHighlight = platform::ToQColor(platform::clBtnHighlight, pal);
    s.BtnShadow = platform::ToQColor(platform::clBtnShadow, pal);
    s.Text = pal.color(QPalette::WindowText);

    if (!glyphImages_.empty()) {
        const TGlyphChoice choice = chooseGlyph(numGlyphs_, s.Face);
        s.Glyph = choice.Embossed ? embossedGlyph_
                                  : glyphImages_[size_t(std::min(choice.Index, numGlyphs_) - 1)];
    }
    s.Caption = caption_;
    return s;
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
    const QImage embossed = MakeEmbossedGlyph(glyphImage(glyph_, numGlyphs_, 1), activePalette(this));
    embossedGlyph_ = masked(embossed, embossed.pixel(0, embossed.height() - 1));
}

bool TFlatButton::ShowsParent(const TPaintState &s)
{
    return s.Mode == tmAlways || (s.Mode == tmNotFocused && !s.Hovered);
}

void TFlatButton::PaintBackground(QPainter &painter, const TPaintState &s)
{
    if (ShowsParent(s)) {
        PaintParentBackground(painter, this);
        return;
    }
    QColor fill;
    switch (s.Face) {
    case ffsUp: fill = s.Hovered ? s.ColorFocused : s.Color; break;
    case ffsDisabled: fill = s.Color; break;
    case ffsDown: fill = s.ColorDown; break;
    case ffsLatched: fill = s.Hovered ? s.ColorFocused : s.ColorDown; break;
    }
    painter.fillRect(s.Client, fill);
}

QSize TFlatButton::sizeHint() const
{
    return ButtonSizeHint(glyphSize(), captionSize(caption_, font()),
                          layout_ == blGlyphLeft || layout_ == blGlyphRight, margin_, spacing_);
}

void TFlatButton::DrawFace(QPainter &painter, const TPaintState &s)
{
    painter.setFont(s.Font);
    PaintBackground(painter, s);

    if (s.Face == ffsUp && s.Hovered)
        DrawBevelFrame(painter, s.Client, s.ColorHighLight, s.ColorShadow, 1);
    else if (s.Face == ffsUp && s.Default)
        DrawBevelFrame(painter, s.Client, s.ColorBorder, s.ColorBorder, 2);
    else if (s.Face == ffsUp || s.Face == ffsDisabled)
        DrawBevelFrame(painter, s.Client, s.ColorBorder, s.ColorBorder, 1);
    else
        DrawBevelFrame(painter, s.Client, s.ColorShadow, s.ColorHighLight, 1);

    if (!s.Glyph.isNull())
        scaledGlyphs_.Draw(painter, s.GlyphOrigin, s.Glyph);

    if (!s.Caption.isEmpty())
        DrawButtonCaption(painter, s.CaptionRect, Qt::AlignCenter | kCaptionFlags, s.Caption,
                          s.Face == ffsDisabled, {s.BtnHighlight, s.BtnShadow, s.Text});
}

QImage TFlatButton::ComposeFace(const TPaintState &s, qreal pixelRatio)
{
    QImage image(s.Client.size() * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    // Where nothing paints (a see-through button without parent) the face
    // colour shows rather than uninitialised memory.
    image.fill(s.Color);
    QPainter painter(&image);
    DrawFace(painter, s);
    return image;
}

QImage TFlatButton::PaintFace(qreal pixelRatio) { return ComposeFace(MakePaintState(), pixelRatio); }

void TFlatButton::paintEvent(QPaintEvent *)
{
    const TPaintState s = MakePaintState();
    QPainter painter(this);
    if (ShowsParent(s)) {
        // The parent's image is rendered into an image of our own first,
        // made at the screen's pixel ratio so that nothing is scaled up.
        painter.drawImage(0, 0, ComposeFace(s, devicePixelRatioF()));
        return;
    }
    // Otherwise straight onto the widget: Qt buffers it already.
    DrawFace(painter, s);
}

} // namespace widgets
