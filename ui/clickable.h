#pragma once
// A widget that reports a click: the left button pressed and released on it.
// The banner of the main window and the links of the about window are made
// of these.

#include "guarded.h"

#include <QMouseEvent>
#include <functional>

namespace ui {

template <class Base>
class TClickable : public Base {
public:
    using Base::Base;
    std::function<void()> OnClick;

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
        if (click && OnClick)
            platform::Guarded(OnClick);
    }

private:
    bool m_pressed = false;
};

} // namespace ui
