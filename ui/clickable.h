#pragma once
// A widget that reports a click: the left button pressed and released on it.
// The banner of the main window and the links of the about window are made
// of these; assistive tools see them as links (accessibility.h).

#include "guarded.h"

#include <QMouseEvent>
#include <functional>

namespace ui {

// What every clickable widget is, whatever widget it is made from.
class TClickTarget {
public:
    virtual ~TClickTarget() = default;
    std::function<void()> OnClick;
    // The click, as a release over the widget gives it; errors are shown.
    void Click()
    {
        if (OnClick)
            platform::Guarded(OnClick);
    }
};

template <class Base>
class TClickable : public Base, public TClickTarget {
public:
    using Base::Base;

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        m_pressed = e->button() == Qt::LeftButton;
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        const bool click = m_pressed && e->button() == Qt::LeftButton && this->rect().contains(e->position().toPoint());
        m_pressed = false;
        // Accepted, so a label's click is not also its parent panel's.
        e->accept();
        if (click)
            Click();
    }

private:
    bool m_pressed = false;
};

} // namespace ui
