#include "abstractbutton.h"

#include "guarded.h"

#include <QAccessible>
#include <QDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>
#include <QTimer>

#include <algorithm>

namespace widgets {

namespace {

// The row just below the bottom edge still counts as inside; the column just
// right of the right edge does not.
bool hitsButton(QSize size, QPoint p)
{
    return p.x() >= 0 && p.x() < size.width() && p.y() >= 0 && p.y() <= size.height();
}

} // namespace

TAbstractButton::TAbstractButton(const QMetaObject &groupKind, QWidget *parent)
    : QWidget(parent), m_groupKind(&groupKind)
{
}

TAbstractButton::~TAbstractButton() = default;

// --- properties -------------------------------------------------------------

void TAbstractButton::SetCaption(const QString &value)
{
    if (m_caption == value)
        return;
    m_caption = value;
    if (m_mnemonicId != 0)
        releaseShortcut(m_mnemonicId);
    const QKeySequence mnemonic = QKeySequence::mnemonic(m_caption);
    m_mnemonicId = mnemonic.isEmpty() ? 0 : grabShortcut(mnemonic);
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
    }
}

void TAbstractButton::SetGroupIndex(int value)
{
    if (m_groupIndex == value)
        return;
    m_groupIndex = value;
    notifyGroup();
}

void TAbstractButton::SetDown(bool value)
{
    if (m_groupIndex == 0)
        value = false;
    // A latched button of a group that must keep one button down is only
    // released by latching another one.
    if (value == m_down || (m_down && !m_allowAllUp))
        return;
    m_down = value;
    update();
    announceDown();
    if (value)
        notifyGroup();
}

void TAbstractButton::SetAllowAllUp(bool value)
{
    if (m_allowAllUp == value)
        return;
    m_allowAllUp = value;
    notifyGroup();
}

void TAbstractButton::SetAllowTimer(bool value)
{
    if (m_allowTimer == value)
        return;
    m_allowTimer = value;
    if (!value)
        m_repeatTimer.reset();
}

void TAbstractButton::SetInitPause(int ms) { m_initPause = std::clamp(ms, 0, 0xFFFF); }

void TAbstractButton::SetRepeatInterval(int ms) { m_repeatInterval = std::clamp(ms, 0, 0xFFFF); }

bool TAbstractButton::RepeatTimerActive() const { return m_repeatTimer && m_repeatTimer->isActive(); }

TButtonPaintState TAbstractButton::PaintState() const
{
    if (!isEnabled())
        return stDisabled;
    // A latched button stays latched while pressed.
    if (m_down)
        return stExclusive;
    if ((m_pressing && m_pointerInside) || m_keyHeld)
        return stDown;
    return stUp;
}

// --- groups -------------------------------------------------------------------

void TAbstractButton::notifyGroup()
{
    if (m_groupIndex == 0)
        return;
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    for (QObject *child : parent->children())
        if (auto *other = qobject_cast<TAbstractButton *>(child); other && other != this)
            other->GroupButtonPressed(m_groupIndex, this);
}

void TAbstractButton::GroupButtonPressed(int groupIndex, TAbstractButton *sender)
{
    if (sender->m_groupKind != m_groupKind || m_groupIndex == 0 || groupIndex != m_groupIndex)
        return;
    m_allowAllUp = sender->m_allowAllUp;
    if (sender->m_down && m_down) {
        m_down = false;
        update();
        announceDown();
    }
}

void TAbstractButton::announceDown()
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State checked;
    checked.checked = true;
    QAccessibleStateChangeEvent change(this, checked);
    QAccessible::updateAccessibility(&change);
}

// --- click and mnemonic -------------------------------------------------------

void TAbstractButton::Click()
{
    if (auto *dialog = qobject_cast<QDialog *>(window())) {
        // Like a form's ModalResult: any value is stored, a non-zero one
        // ends a running modal loop; a dialog not shown modally stays.
        dialog->setResult(m_modalResult);
        if (m_modalResult != 0 && dialog->isVisible() && dialog->isModal())
            dialog->done(m_modalResult);
    }
    ClickEvent();
}

void TAbstractButton::ClickEvent()
{
    if (OnClick)
        OnClick(this);
}

void TAbstractButton::ActivateByMnemonic()
{
    if (m_groupIndex != 0)
        SetDown(true);
    Click();
}

void TAbstractButton::PerformClick()
{
    if (!isEnabled() || m_pressing || m_handlingPress)
        return;
    const QPoint centre = rect().center();
    const QPointer<TAbstractButton> alive(this);
    press(centre);
    if (alive)
        ReleaseAt(Qt::LeftButton, centre);
    if (alive && m_repeatTimer)
        m_repeatTimer->stop();
}

bool TAbstractButton::DialogChar(QChar c)
{
    const QKeySequence mnemonic = QKeySequence::mnemonic(m_caption);
    if (mnemonic.isEmpty() || !isEnabled()
        || mnemonic != QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(c.toUpper().unicode()))))
        return false;
    ActivateByMnemonic();
    return true;
}

void TAbstractButton::RaiseEvent(const TNotifyEvent &event)
{
    if (event)
        platform::Guarded([&] { event(this); });
}

bool TAbstractButton::event(QEvent *e)
{
    if (e->type() == QEvent::Shortcut && m_mnemonicId != 0
        && static_cast<QShortcutEvent *>(e)->shortcutId() == m_mnemonicId) {
        if (isEnabled())
            platform::Guarded([this] { ActivateByMnemonic(); });
        return true;
    }
    return QWidget::event(e);
}

// --- mouse ------------------------------------------------------------------

void TAbstractButton::BeforePress(Qt::MouseButton, QPoint) {}

void TAbstractButton::Pressed(QPoint) {}

bool TAbstractButton::ReleaseEndsPress(Qt::MouseButton button) const { return button == Qt::LeftButton; }

void TAbstractButton::Released(bool, bool, QPoint) {}

void TAbstractButton::mousePressEvent(QMouseEvent *e)
{
    if (m_handlingPress)
        return;
    const QPoint pos = e->position().toPoint();
    if (OnMouseDown)
        platform::Guarded([&] { OnMouseDown(this, e->button(), e->modifiers(), pos); });
    BeforePress(e->button(), pos);
    if (e->button() == Qt::LeftButton && isEnabled())
        press(pos);
}

void TAbstractButton::press(QPoint pos)
{
    m_pressing = true;
    m_pointerInside = true;
    update();
    const QPointer<TAbstractButton> alive(this);
    m_handlingPress = true;
    try {
        Pressed(pos);
    } catch (...) {
        if (alive)
            m_handlingPress = false;
        throw;
    }
    if (!alive)
        return;
    m_handlingPress = false;
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

void TAbstractButton::repeatTick()
{
    m_repeatTimer->setInterval(m_repeatInterval);
    if (PaintState() != stDown)
        return;
    platform::Guarded([this] {
        try {
            Click();
        } catch (...) {
            // Stopped before the error box can let further ticks in.
            m_repeatTimer->stop();
            throw;
        }
    });
}

void TAbstractButton::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (m_handlingPress)
        return;
    // A further press: a plain button clicks once more on its release.
    const QPointer<TAbstractButton> alive(this);
    mousePressEvent(e);
    if (alive && m_down)
        RaiseEvent(OnDblClick);
}

void TAbstractButton::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (OnMouseMove)
        platform::Guarded([&] { OnMouseMove(this, e->modifiers(), pos); });
    if (!m_pressing)
        return;
    const bool inside = hitsButton(size(), pos);
    if (inside != m_pointerInside) {
        m_pointerInside = inside;
        update();
    }
}

void TAbstractButton::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (OnMouseUp)
        platform::Guarded([&] { OnMouseUp(this, e->button(), e->modifiers(), pos); });
    const QPointer<TAbstractButton> alive(this);
    ReleaseAt(e->button(), pos);
    if (alive && m_repeatTimer)
        m_repeatTimer->stop();
}

void TAbstractButton::ReleaseAt(Qt::MouseButton button, QPoint pos)
{
    const bool ends = m_pressing && ReleaseEndsPress(button);
    bool inside = false;
    const QPointer<TAbstractButton> alive(this);
    if (ends) {
        // Released away from the button: a latched one stays latched, any
        // other returns to up rather than keeping the pressed look.
        m_pressing = false;
        inside = hitsButton(size(), pos);
        if (m_groupIndex == 0)
            m_hot = false;
        else if (inside)
            SetDown(!m_down);
        update();
        if (inside && !m_handlingPress)
            platform::Guarded([this] { Click(); });
    }
    if (alive)
        Released(ends, inside, pos);
}

// --- keyboard -----------------------------------------------------------------

void TAbstractButton::keyPressEvent(QKeyEvent *e)
{
    if (e->key() != Qt::Key_Space) {
        QWidget::keyPressEvent(e);
        return;
    }
    // A held space bar keeps the face down until its release.
    if (!e->isAutoRepeat()) {
        if (m_groupIndex != 0)
            SetDown(true);
        else
            m_keyHeld = true;
        update();
    }
    e->accept();
}

void TAbstractButton::keyReleaseEvent(QKeyEvent *e)
{
    if (e->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(e);
        return;
    }
    e->accept();
    if (e->isAutoRepeat())
        return;
    if (m_groupIndex != 0)
        SetDown(false);
    else
        m_keyHeld = false;
    const QPointer<TAbstractButton> alive(this);
    platform::Guarded([this] { Click(); });
    if (alive)
        update();
}

void TAbstractButton::changeEvent(QEvent *e)
{
    // A disabled button drops a press in progress.
    if (e->type() == QEvent::EnabledChange && !isEnabled()) {
        m_pressing = false;
        m_keyHeld = false;
    }
    QWidget::changeEvent(e);
}

} // namespace widgets
