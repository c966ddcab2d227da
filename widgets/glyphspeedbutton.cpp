#include "glyphspeedbutton.h"

#include "guarded.h"
#include "hinttext.h"
#include "syscolors.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace widgets {

using namespace platform;

TGlyphSpeedButton::TGlyphSpeedButton(QWidget *parent) : TAbstractButton(staticMetaObject, parent)
{
    resize(25, 25);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_glyph.OnChange = [this] { update(); };
}

TGlyphSpeedButton::~TGlyphSpeedButton() = default;

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

void TGlyphSpeedButton::SetDropDownMenu(QMenu *menu)
{
    if (m_menu == menu)
        return;
    m_menu = menu;
    update();
}

void TGlyphSpeedButton::SetMenuPosition(TDropDownMenuPos value) { m_menuPosition = value; }

void TGlyphSpeedButton::SetMarkDropDown(bool value)
{
    if (m_markDropDown == value)
        return;
    m_markDropDown = value;
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

void TGlyphSpeedButton::InvalidateImages() { m_glyph.Invalidate(); }

void TGlyphSpeedButton::Loaded() { PrepareRestingImage(); }

void TGlyphSpeedButton::PrepareRestingImage()
{
    const TButtonPaintState resting = !isEnabled() ? stDisabled : m_flat ? stInactive : stUp;
    m_glyph.CreateButtonGlyph(resting, palette());
}

// --- Mouse ------------------------------------------------------------------

void TGlyphSpeedButton::BeforePress(Qt::MouseButton button, QPoint pos)
{
    if (isEnabled() && !Hot()) {
        SetHot(true);
        update();
    }
    if (button == Qt::RightButton)
        refreshHotAt(pos);
}

void TGlyphSpeedButton::Pressed(QPoint pos)
{
    if (!m_menu)
        return;
    Guarded([&] { runDropDownMenu(); });
    // The menu has closed: the press is over, without a click.
    ReleaseAt(Qt::LeftButton, pos);
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

void TGlyphSpeedButton::Released(bool, bool, QPoint pos) { refreshHotAt(pos); }

// --- Click, action and accelerator ---------------------------------------------

void TGlyphSpeedButton::ClickEvent()
{
    if (m_action)
        m_action->trigger();
    else
        TAbstractButton::ClickEvent();
}

// An accelerator only clicks: latching is left to the mouse and to Down.
void TGlyphSpeedButton::ActivateByMnemonic() { Click(); }

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
    if (GroupIndex() != 0)
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

void TGlyphSpeedButton::ChangeHot(bool hot, bool notify)
{
    SetHot(hot);
    if (m_flat)
        update();
    if (notify)
        RaiseEvent(hot ? OnMouseEnter : OnMouseLeave);
}

void TGlyphSpeedButton::MouseEntered()
{
    if (!Hot() && isEnabled() && ApplicationIsActive())
        ChangeHot(true, true);
}

void TGlyphSpeedButton::MouseLeft()
{
    if (Hot() && isEnabled() && !Pressing())
        ChangeHot(false, true);
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
    if (hot == Hot())
        return;
    hot ? MouseEntered() : MouseLeft();
}

void TGlyphSpeedButton::RefreshHot() { refreshHotAt(std::nullopt); }

void TGlyphSpeedButton::enterEvent(QEnterEvent *) { MouseEntered(); }

void TGlyphSpeedButton::leaveEvent(QEvent *) { MouseLeft(); }

void TGlyphSpeedButton::showEvent(QShowEvent *) { RefreshHot(); }

void TGlyphSpeedButton::changeEvent(QEvent *event)
{
    TAbstractButton::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
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
}

bool TGlyphSpeedButton::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !EffectiveShowHint()) {
        event->ignore();
        return true;
    }
    return TAbstractButton::event(event);
}

} // namespace widgets
