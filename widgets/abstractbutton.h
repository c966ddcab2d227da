#pragma once
// TAbstractButton: what a self-drawn push button is, whatever it looks like,
// in the shape of QAbstractButton. It owns pressing by mouse and space bar,
// the release that clicks, latching in a group (Down), the mnemonic, auto-
// repeat while held and the click with its modal result; the flat button and
// the speed button add their properties, their hover look and their painting.
//
// In QAbstractButton's terms: Caption() is text(), IsCheckable() and Down()
// are isCheckable() and isChecked(), IsPressed() is isDown(), Click() is the
// click a release gives.

#include "buttonpaintstate.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QTimer;

namespace widgets {

class TAbstractButton : public QWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject *sender)>;
    using TMouseEvent = std::function<void(QObject *sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers shift, QPoint pos)>;
    using TMouseMoveEvent = std::function<void(QObject *sender, Qt::KeyboardModifiers shift, QPoint pos)>;

    ~TAbstractButton() override;

    // Default empty: the text on the button; "&" marks the mnemonic, which
    // Alt + that letter presses.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value);
    // Default 0 (no group): buttons of one kind among the children of one
    // parent with the same index latch in turn.
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value);
    // Default false: latched. Only a grouped button can be Down, and without
    // AllowAllUp only another member of its group releases it.
    bool Down() const { return m_down; }
    void SetDown(bool value);
    // Default false: whether the group may have all its buttons up. The
    // group shares it: a change is copied to the other members.
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value);
    // Default 0: given to the holding dialog on every click; a non-zero value
    // ends the dialog's modal loop with it.
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int value) { m_modalResult = value; }

    // What the face is drawn for: stDisabled, stExclusive while Down, stDown
    // while pressed with the pointer over it or held by the space bar, else
    // stUp. A re-enabled button leaves stDisabled by itself.
    TButtonPaintState PaintState() const;
    // It latches: it belongs to a group.
    bool IsCheckable() const { return m_groupIndex != 0; }
    // Pressed right now, so drawn sunken (not the latch, that is Down()).
    bool IsPressed() const { return PaintState() == stDown; }
    // The left mouse button went down on the button and is still held,
    // wherever the pointer is now.
    bool Pressing() const { return m_pressing; }
    // Drawn as under the pointer: the hover look.
    bool Hot() const { return m_hot; }

    // The click: the holding dialog's result becomes ModalResult, then the
    // button's click event runs (OnClick, unless a button says otherwise).
    void Click();
    // A click without a pointer (an assistive tool's press action): the
    // enabled button is pressed and released inside as by the left mouse
    // button, so a grouped one toggles Down and a drop-down menu opens.
    // Throws what the press or the click throws.
    void PerformClick();
    // A dialog character: when it is the caption's mnemonic (either case) and
    // the button is enabled, the button is activated as by its mnemonic and
    // the result is true.
    bool DialogChar(QChar c);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick; // only while Down
    TMouseEvent OnMouseDown; // every mouse event, before the button's own handling
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    // Buttons form groups only with their own kind: those made with the same
    // groupKind (their class's meta-object).
    TAbstractButton(const QMetaObject &groupKind, QWidget *parent);

    // Auto-repeat, for the buttons that publish it. Default off: while held
    // with the pointer over it, the button clicks after InitPause (500 ms)
    // and then every RepeatInterval (100 ms), both 0..65535.
    bool AllowTimer() const { return m_allowTimer; }
    void SetAllowTimer(bool value);
    int InitPause() const { return m_initPause; }
    void SetInitPause(int ms);
    int RepeatInterval() const { return m_repeatInterval; }
    void SetRepeatInterval(int ms);
    bool RepeatTimerActive() const;
    // Made by the first press that allows it.
    QTimer *RepeatTimer() const { return m_repeatTimer.get(); }

    // Hooks, in the order a press runs them:
    // every mouse press, after OnMouseDown, before the left button presses;
    virtual void BeforePress(Qt::MouseButton button, QPoint pos);
    // the left button has pressed the enabled button (its face is down).
    // Releases that arrive meanwhile end the press without a click, and
    // further presses are ignored;
    virtual void Pressed(QPoint pos);
    // whether the release of that mouse button ends the press (the left one);
    virtual bool ReleaseEndsPress(Qt::MouseButton button) const;
    // after every release, once a press it ended has clicked or not.
    virtual void Released(bool endedPress, bool inside, QPoint pos);
    // The click event proper, after the modal result (OnClick).
    virtual void ClickEvent();
    // The mnemonic was pressed on the enabled button: a grouped one latches,
    // then it clicks.
    virtual void ActivateByMnemonic();

    // The release logic at pos: a left press ends, a grouped button toggles
    // Down when inside, the button clicks when inside and not still inside
    // its press handling.
    void ReleaseAt(Qt::MouseButton button, QPoint pos);
    // The press handler runs (a drop-down menu may be open in it).
    bool HandlingPress() const { return m_handlingPress; }
    // Stores the hover look; the caller repaints.
    void SetHot(bool hot) { m_hot = hot; }
    // Raises the event with the button as sender, errors shown and absorbed.
    void RaiseEvent(const TNotifyEvent &event);

    bool event(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void press(QPoint pos);
    void notifyGroup();
    void announceDown();
    void GroupButtonPressed(int groupIndex, TAbstractButton *sender);
    void repeatTick();

    const QMetaObject *m_groupKind;
    QString m_caption;
    int m_mnemonicId = 0;
    int m_groupIndex = 0;
    bool m_down = false;
    bool m_allowAllUp = false;
    int m_modalResult = 0;

    bool m_pressing = false;
    bool m_pointerInside = false; // while pressing: the pointer is over the button
    bool m_keyHeld = false;       // the space bar holds it down
    bool m_handlingPress = false;
    bool m_hot = false;

    bool m_allowTimer = false;
    int m_initPause = 500;
    int m_repeatInterval = 100;
    std::unique_ptr<QTimer> m_repeatTimer;
};

} // namespace widgets
