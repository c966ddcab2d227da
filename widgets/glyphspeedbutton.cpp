#include "glyphspeedbutton.h"

#include "guarded.h"
#include "syscolors.h"
#include "glyphcache.h"
#include "glyphimages.h"
#include "hinttext.h"

#include <QApplication>
#include <QDialog>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QTimer>

namespace widgets {

using namespace platform;

struct TGlyphSpeedButton::FaceState {
    TButtonPaintState state;  // what the button is in
    TButtonPaintState drawn;  // what it looks like: a cold flat button is inactive
};

TGlyphSpeedButton::TGlyphSpeedButton(QWidget *parent) : QWidget(parent)
{
    resize(25, 25);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_glyph.OnChange = [this] { update(); };
}

TGlyphSpeedButton::~TGlyphSpeedButton()
{
    if (m_repeatTimer)
        m_repeatTimer->stop();
}

QColor TGlyphSpeedButton::color(unsigned c) const { return ToQColor(c, palette()); }

bool TGlyphSpeedButton::ApplicationIsActive() { return QApplication::activeWindow() != nullptr; }

// --- Properties -------------------------------------------------------------

void TGlyphSpeedButton::SetAlignment(TAlignment value)
{
    if (m_alignment == value)
        return;
    m_alignment = value;
    update();
}

void TGlyphSpeedButton::SetAllowAllUp(bool value)
{
    if (m_core.AllowAllUp == value)
        return;
    m_core.AllowAllUp = value;
    updateExclusive();
}

void TGlyphSpeedButton::SetAllowTimer(bool value)
{
    if (m_allowTimer == value)
        return;
    m_allowTimer = value;
    if (!value)
        m_repeatTimer.reset();
}

void TGlyphSpeedButton::SetInitPause(int ms) { m_initPause = std::clamp(ms, 0, 0xFFFF); }

void TGlyphSpeedButton::SetRepeatInterval(int ms) { m_repeatInterval = std::clamp(ms, 0, 0xFFFF); }

void TGlyphSpeedButton::SetGroupIndex(int value)
{
    if (m_core.GroupIndex == value)
        return;
    m_core.GroupIndex = value;
    updateExclusive();
}

void TGlyphSpeedButton::SetDown(bool value)
{
    if (m_core.GroupIndex == 0)
        value = false;
    if (value == m_core.Down)
        return;
    // Only another member of the group releases a down button, unless all
    // may be up.
    if (m_core.Down && !m_core.AllowAllUp)
        return;
    m_core.Down = value;
    update();
    if (value)
        updateExclusive();
}

void TGlyphSpeedButton::SetDropDownMenu(QMenu *menu)
{
    if (m_menu == menu)
        return;
    m_menu = menu;
    update();
}

void TGlyphSpeedButton::SetMenuPosition(TDropDownMenuPos value) { m_menuPosition = value; }

QSize TGlyphSpeedButton::sizeHint() const
{
    const QSize caption =
        m_caption.isEmpty() ? QSize(0, 0) : fontMetrics().size(CaptionTextFlags(m_alignment, false), m_caption);
    const bool horizontal = m_layout == TButtonLayout::blGlyphLeft || m_layout == TButtonLayout::blGlyphRight;
    return ButtonSizeHint(GlyphExtent(), caption, horizontal, m_margin, m_spacing);
}

void TGlyphSpeedButton::SetMarkDropDown(bool value)
{
    if (m_markDropDown == value)
        return;
    m_markDropDown = value;
    update();
}

void TGlyphSpeedButton::SetCaption(const QString &value)
{
    if (m_caption == value)
        return;
    m_caption = value;
    updateShortcut();
    update();
}

void TGlyphSpeedButton::SetFlat(bool value)
{
    if (m_flat == value)
        return;
    m_flat = value;
    update();
}

void TGlyphSpeedButton::SetGlyph(const QImage &value) { m_glyph.SetGlyph(value); }

void TGlyphSpeedButton::SetNumGlyphs(int value) { m_glyph.SetNumGlyphs(value); }

void TGlyphSpeedButton::SetGrayedInactive(bool value)
{
    if (m_grayedInactive == value)
        return;
    m_grayedInactive = value;
    update();
}

void TGlyphSpeedButton::SetLayout(TButtonLayout value)
{
    if (m_layout == value)
        return;
    m_layout = value;
    update();
}

void TGlyphSpeedButton::SetMargin(int value)
{
    if (m_margin == value || value < -1)
        return;
    m_margin = value;
    update();
}

void TGlyphSpeedButton::SetSpacing(int value)
{
    if (m_spacing == value)
        return;
    m_spacing = value;
    update();
}

void TGlyphSpeedButton::SetStyle(TButtonStyle value)
{
    if (m_style == value)
        return;
    m_style = value;
    update();
}

void TGlyphSpeedButton::SetTransparent(bool value)
{
    if (m_transparent == value)
        return;
    m_transparent = value;
    update();
}

void TGlyphSpeedButton::SetWordWrap(bool value)
{
    if (m_wordWrap == value)
        return;
    m_wordWrap = value;
    update();
}

void TGlyphSpeedButton::SetHint(const QString &value)
{
    if (m_hint == value)
        return;
    m_hint = value;
    setToolTip(GetShortHint(value));
}

void TGlyphSpeedButton::SetShowHint(bool value)
{
    m_showHint = value;
    m_parentShowHint = false;
}

void TGlyphSpeedButton::SetParentShowHint(bool value) { m_parentShowHint = value; }

bool TGlyphSpeedButton::EffectiveShowHint() const
{
    if (m_parentShowHint && parentWidget()) {
        const QVariant inherited = parentWidget()->property("ShowHint");
        if (inherited.isValid())
            return inherited.toBool();
    }
    return m_showHint;
}

void TGlyphSpeedButton::SetParentFont(bool value)
{
    if (m_parentFont == value)
        return;
    m_parentFont = value;
    if (value)
        setFont(QFont());
}

void TGlyphSpeedButton::SetButtonFont(const QFont &font)
{
    m_parentFont = false;
    setFont(font);
}

bool TGlyphSpeedButton::RepeatTimerActive() const { return m_repeatTimer && m_repeatTimer->isActive(); }

// --- Painting ---------------------------------------------------------------

bool TGlyphSpeedButton::newStyle() const
{
    // Qt always draws three-dimensional controls, so automatic means new.
    return m_style != TButtonStyle::bsWin31;
}

TButtonPaintState TGlyphSpeedButton::PaintState() const
{
    TButtonState s = m_core;
    s.Enabled = isEnabled();
    switch (FaceOf(s)) {
    case TButtonFace::Disabled: return stDisabled;
    case TButtonFace::Down: return stDown;
    case TButtonFace::Latched: return stExclusive;
    case TButtonFace::Up: break;
    }
    return stUp;
}

TGlyphSpeedButton::FaceState TGlyphSpeedButton::faceState() const
{
    FaceState s{PaintState(), PaintState()};
    if (m_flat && !m_mouseInControl)
        s.drawn = stInactive;
    return s;
}

QImage TGlyphSpeedButton::composeFace(qreal pixelRatio)
{
    QImage image(size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    QPainter painter(&image);
    painter.setFont(font());
    paintFace(painter, faceState());
    return image;
}

QImage TGlyphSpeedButton::RenderFace(qreal pixelRatio) { return composeFace(pixelRatio); }

void TGlyphSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_transparent) {
        // The parent's image goes into an image of our own first, made at
        // the screen's pixel ratio so that nothing is scaled up.
        painter.drawImage(0, 0, composeFace(devicePixelRatioF()));
        return;
    }
    // Otherwise straight onto the widget: Qt buffers it already.
    painter.setFont(font());
    paintFace(painter, faceState());
}

void TGlyphSpeedButton::drawFrame(QPainter &p, QRect &r, bool down)
{
    const QColor highlight = color(clBtnHighlight), shadow = color(clBtnShadow);
    const QColor frame = color(clWindowFrame), face = color(clBtnFace);
    if (newStyle()) {
        if (m_flat) {
            down ? DrawFrameRing(p, r, frame, highlight) : DrawFrameRing(p, r, highlight, shadow);
        } else if (down) {
            DrawFrameRing(p, r, frame, highlight);
            DrawFrameRing(p, r, shadow, face);
        } else {
            DrawFrameRing(p, r, highlight, frame);
            DrawFrameRing(p, r, face, shadow);
        }
    } else if (m_flat) {
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

void TGlyphSpeedButton::paintFace(QPainter &p, const FaceState &s)
{
    QRect area = rect();
    p.fillRect(area, color(clBtnFace));
    if (m_transparent)
        paintParentBackground(p);

    const bool down = s.state == stDown || s.state == stExclusive;
    if (s.drawn != stInactive || s.state == stExclusive)
        drawFrame(p, area, down);
    else if (m_flat)
        area.adjust(2, 2, -2, -2);

    if (s.state == stExclusive && !m_transparent && (!m_flat || s.drawn == stInactive)) {
        // A checkerboard: highlight where x and y are both even or both odd.
        QImage tile(2, 2, QImage::Format_RGB32);
        tile.fill(color(clBtnFace));
        tile.setPixel(0, 0, color(clBtnHighlight).rgb());
        tile.setPixel(1, 1, color(clBtnHighlight).rgb());
        p.fillRect(area.adjusted(-1, -1, 1, 1), QBrush(tile));
    }
    if (down)
        area.translate(1, 1);

    const TButtonPaintState glyphState =
        (s.state == stDisabled || !m_grayedInactive) ? s.state : s.drawn;
    DrawButtonGlyph(p, area, glyphState, m_markDropDown && m_menu);
}

void TGlyphSpeedButton::paintParentBackground(QPainter &p)
{
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    // The parent alone, not its children (which include this button).
    parent->render(&p, QPoint(0, 0), QRegion(geometry()), QWidget::DrawWindowBackground);
}

QSize TGlyphSpeedButton::GlyphExtent() const { return m_glyph.GlyphSize(); }

void TGlyphSpeedButton::DrawGlyphImage(QPainter &p, QPoint pos, TButtonPaintState state)
{
    const int index = m_glyph.CreateButtonGlyph(state, palette());
    if (index >= 0 && m_glyph.List())
        m_glyph.List()->Draw(p, pos.x(), pos.y(), index);
}

void TGlyphSpeedButton::DrawButtonGlyph(QPainter &p, const QRect &area, TButtonPaintState state,
                                        bool dropDownMark)
{
    TButtonLayoutInput in;
    in.area = area;
    in.glyph = GlyphExtent();
    in.caption = m_caption;
    in.layout = m_layout;
    in.alignment = m_alignment;
    in.margin = m_margin;
    in.spacing = m_spacing;
    in.wordWrap = m_wordWrap;
    in.dropDownMark = dropDownMark;
    const TButtonLayoutResult out = CalcButtonLayout(in, QFontMetrics(p.font()));

    DrawGlyphImage(p, out.glyphPos, state);
    if (!out.caption.isEmpty())
        DrawButtonCaption(p, out.textBounds, CaptionTextFlags(m_alignment, m_wordWrap), out.caption,
                          state == stDisabled,
                          {color(clBtnHighlight), color(clBtnShadow), palette().color(QPalette::WindowText)});
    if (!dropDownMark)
        return;
    QPoint mark;
    const bool glyphShown = in.glyph.width() > 0 && in.glyph.height() > 0;
    if (m_layout != TButtonLayout::blGlyphLeft && glyphShown) {
        mark = QPoint(out.glyphPos.x() + in.glyph.width() + 1, out.glyphPos.y() + in.glyph.height() / 2);
    } else {
        const QRect &t = out.textBounds;
        const int x = out.caption.isEmpty() ? (area.left() + area.left() + area.width() - 7) / 2
                                            : t.left() + t.width() + 3;
        mark = QPoint(x, t.top() + t.height() / 2);
    }
    drawDropDownMark(p, mark, state);
}

void TGlyphSpeedButton::drawDropDownMark(QPainter &p, QPoint at, TButtonPaintState state)
{
    const auto triangle = [&p](int x, int y, const QColor &c) {
        p.fillRect(x, y - 1, 7, 1, c);
        p.fillRect(x + 1, y, 5, 1, c);
        p.fillRect(x + 2, y + 1, 3, 1, c);
        p.fillRect(x + 3, y + 2, 1, 1, c);
    };
    if (state == stDisabled) {
        triangle(at.x() + 1, at.y() + 1, color(clBtnHighlight));
        triangle(at.x(), at.y(), color(clBtnShadow));
    } else {
        triangle(at.x(), at.y(), color(clBtnText));
    }
}

void TGlyphSpeedButton::InvalidateImages() { m_glyph.Invalidate(); }

void TGlyphSpeedButton::Loaded() { PrepareRestingImage(); }

void TGlyphSpeedButton::PrepareRestingImage()
{
    const TButtonPaintState resting = !isEnabled() ? stDisabled : m_flat ? stInactive : stUp;
    m_glyph.CreateButtonGlyph(resting, palette());
}

// --- Mouse ------------------------------------------------------------------

void TGlyphSpeedButton::mousePressEvent(QMouseEvent *event)
{
    if (m_menuTracking)
        return;
    const QPoint pos = event->position().toPoint();
    if (OnMouseDown)
        Guarded([&] { OnMouseDown(this, event->button(), event->modifiers(), pos); });
    if (isEnabled() && !m_mouseInControl) {
        m_mouseInControl = true;
        update();
    }
    if (event->button() == Qt::LeftButton && isEnabled())
        press(pos);
    else if (event->button() == Qt::RightButton)
        refreshHotAt(pos);
}

void TGlyphSpeedButton::press(QPoint pos)
{
    m_core.Pressing = true;
    m_core.PointerInside = true;
    update();
    m_menuTracking = true;
    if (m_menu) {
        Guarded([&] { runDropDownMenu(); });
        // The menu has closed: the press is over, without a click.
        releaseLogic(Qt::LeftButton, pos);
    }
    m_menuTracking = false;
    if (m_allowTimer) {
        if (!m_repeatTimer) {
            m_repeatTimer = std::make_unique<QTimer>();
            // A coarse timer may fire a little early; the pause is a promise.
            m_repeatTimer->setTimerType(Qt::PreciseTimer);
            connect(m_repeatTimer.get(), &QTimer::timeout, this, [this] { repeatTick(); });
        }
        m_repeatTimer->setInterval(m_initPause);
        m_repeatTimer->start();
    }
}

QPoint TGlyphSpeedButton::dropDownPoint() const
{
    return m_menuPosition == TDropDownMenuPos::dmpBottom ? QPoint(-1, height()) : QPoint(width(), -1);
}

void TGlyphSpeedButton::runDropDownMenu()
{
    // The click that closes the menu must not press the button again.
    m_menu->setAttribute(Qt::WA_NoMouseReplay);
    m_menu->exec(mapToGlobal(dropDownPoint()));
}

void TGlyphSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (OnMouseMove)
        Guarded([&] { OnMouseMove(this, event->modifiers(), pos); });
    if (!m_core.Pressing)
        return;
    const bool inside = HitsButton(size(), pos);
    if (inside != m_core.PointerInside) {
        m_core.PointerInside = inside;
        update();
    }
}

void TGlyphSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (OnMouseUp)
        Guarded([&] { OnMouseUp(this, event->button(), event->modifiers(), pos); });
    releaseLogic(event->button(), pos);
    if (m_repeatTimer)
        m_repeatTimer->stop();
}

void TGlyphSpeedButton::releaseLogic(Qt::MouseButton button, QPoint pos)
{
    if (m_core.Pressing && button == Qt::LeftButton) {
        m_core.Pressing = false;
        const bool inside = HitsButton(size(), pos);
        if (m_core.GroupIndex == 0)
            m_mouseInControl = false;
        else if (inside)
            SetDown(!m_core.Down);
        update();
        if (inside && !m_menuTracking)
            Guarded([this] { Click(); });
    }
    refreshHotAt(pos);
}

void TGlyphSpeedButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_menuTracking)
        return;
    // A further press: a plain button clicks once more on its release.
    mousePressEvent(event);
    if (m_core.Down && OnDblClick)
        Guarded([this] { OnDblClick(this); });
}

void TGlyphSpeedButton::repeatTick()
{
    m_repeatTimer->setInterval(m_repeatInterval);
    if (PaintState() != stDown)
        return;
    Guarded([this] {
        try {
            Click();
        } catch (...) {
            // Stopped before the error box can let further ticks in.
            m_repeatTimer->stop();
            throw;
        }
    });
}

void TGlyphSpeedButton::Click()
{
    if (m_modalResult != 0)
        if (auto *dialog = qobject_cast<QDialog *>(window()))
            dialog->done(m_modalResult);
    if (m_action)
        m_action->trigger();
    else if (OnClick)
        OnClick(this);
}

void TGlyphSpeedButton::SetAction(QAction *action)
{
    if (m_action == action)
        return;
    if (m_action)
        disconnect(m_action, nullptr, this, nullptr);
    m_action = action;
    if (!action)
        return;
    connect(action, &QAction::changed, this, [this] { actionChanged(); });
    actionChanged();
}

void TGlyphSpeedButton::actionChanged()
{
    if (!m_action)
        return;
    if (m_core.GroupIndex != 0)
        SetDown(m_action->isChecked());
    if (m_glyph.HasGlyph() || m_action->icon().isNull())
        return;
    const QList<QSize> sizes = m_action->icon().availableSizes();
    const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
    // Fuchsia under the picture, and at the bottom-left pixel that names it
    // as the transparent colour.
    QImage glyph(size, QImage::Format_RGB32);
    glyph.fill(qRgb(255, 0, 255));
    QPainter painter(&glyph);
    m_action->icon().paint(&painter, glyph.rect());
    painter.end();
    glyph.setPixel(0, size.height() - 1, qRgb(255, 0, 255));
    SetGlyph(glyph);
}

// --- Hot state --------------------------------------------------------------

void TGlyphSpeedButton::SetMouseInControl(bool hot, bool notify)
{
    m_mouseInControl = hot;
    if (m_flat)
        update();
    const Notify &handler = hot ? OnMouseEnter : OnMouseLeave;
    if (notify && handler)
        Guarded([&] { handler(this); });
}

void TGlyphSpeedButton::MouseEntered()
{
    if (!m_mouseInControl && isEnabled() && ApplicationIsActive())
        SetMouseInControl(true, true);
}

void TGlyphSpeedButton::MouseLeft()
{
    if (m_mouseInControl && isEnabled() && !m_core.Pressing)
        SetMouseInControl(false, true);
}

bool TGlyphSpeedButton::isTopmostAt(QPoint local) const
{
    if (!isVisible())
        return false;
    const QWidget *top = window();
    if (top == this)
        return rect().contains(local);
    return top->childAt(mapTo(top, local)) == this;
}

void TGlyphSpeedButton::refreshHotAt(std::optional<QPoint> local)
{
    const QPoint at = local ? *local : mapFromGlobal(QCursor::pos());
    const bool hot = isEnabled() && isTopmostAt(at) && ApplicationIsActive();
    if (hot == m_mouseInControl)
        return;
    hot ? MouseEntered() : MouseLeft();
}

void TGlyphSpeedButton::RefreshHot() { refreshHotAt(std::nullopt); }

void TGlyphSpeedButton::enterEvent(QEnterEvent *) { MouseEntered(); }

void TGlyphSpeedButton::leaveEvent(QEvent *) { MouseLeft(); }

void TGlyphSpeedButton::showEvent(QShowEvent *) { RefreshHot(); }

void TGlyphSpeedButton::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled())
            m_core.Pressing = false; // a disabled button drops a press in progress
        PrepareRestingImage();
        RefreshHot();
        update();
        break;
    case QEvent::PaletteChange:
        InvalidateImages();
        update();
        break;
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

// --- Groups -----------------------------------------------------------------

void TGlyphSpeedButton::updateExclusive()
{
    if (m_core.GroupIndex == 0)
        return;
    ForEachGroupSibling(this, [this](TGlyphSpeedButton *other) { other->groupChanged(this); });
}

void TGlyphSpeedButton::groupChanged(TGlyphSpeedButton *sender)
{
    if (FollowGroup(m_core, sender->m_core))
        update();
}

// --- Accelerator and hints ---------------------------------------------------

namespace {
QChar accelerator(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1];
        ++i;
    }
    return QChar();
}
} // namespace

bool TGlyphSpeedButton::DialogChar(QChar c)
{
    const QChar accel = accelerator(m_caption);
    if (accel.isNull() || !isEnabled() || accel.toUpper() != c.toUpper())
        return false;
    Click();
    return true;
}

void TGlyphSpeedButton::updateShortcut() { m_shortcutId = RegrabMnemonic(this, m_shortcutId, m_caption); }

bool TGlyphSpeedButton::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !EffectiveShowHint()) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::Shortcut) {
        auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->shortcutId() == m_shortcutId) {
            const QChar accel = accelerator(m_caption);
            Guarded([&] { DialogChar(accel); });
            return true;
        }
    }
    return QWidget::event(event);
}

} // namespace widgets
