// Re-docking a speed bar by dragging it to another edge of its parent, and
// resizing it by its inner edge while a customisation editor is attached.

#include "guarded.h"
#include "dragoutline.h"
#include "speedbar.h"

#include <QMouseEvent>
#include <cmath>
#include <cstdlib>

namespace widgets {

namespace {
bool isEdge(TAlign a) { return a == alTop || a == alBottom || a == alLeft || a == alRight; }

// The order in which a parent's edges are given out to docked children.
int edgeOrder(TAlign a)
{
    switch (a) {
    case alTop: return 0;
    case alBottom: return 1;
    case alLeft: return 2;
    case alRight: return 3;
    default: return 4;
    }
}

// Whether a sibling on the same edge lies between that edge and the bar.
bool liesOutside(const QRect &sibling, const QRect &bar, TAlign edge)
{
    switch (edge) {
    case alTop: return sibling.top() < bar.top();
    case alBottom: return sibling.bottom() > bar.bottom();
    case alLeft: return sibling.left() < bar.left();
    case alRight: return sibling.right() > bar.right();
    default: return false;
    }
}

// Moves that are this small still count as a click on the bar.
bool beyondDragThreshold(QPoint delta) { return std::abs(delta.x()) > 4 || std::abs(delta.y()) >= 5; }

constexpr int kResizeGrip = 4;
} // namespace

TAlign DockTargetAt(QPoint p, QSize client)
{
    // Multiplied out so that an empty parent divides by nothing.
    const qint64 x = p.x(), y = p.y(), w = client.width(), h = client.height();
    const bool belowMain = y * w > h * x;       // y > (H / W) * x
    const bool aboveAnti = y * w < h * (w - x); // y < H * (1 - x / W)
    if (belowMain && aboveAnti)
        return alLeft;
    if (belowMain)
        return alBottom;
    if (aboveAnti)
        return alTop;
    return alRight;
}

TAlign DockedEdgeOf(const QWidget *widget)
{
    if (const auto *bar = qobject_cast<const TSpeedBar *>(widget))
        return bar->Align();
    bool ok = false;
    const int value = widget->property("Align").toInt(&ok);
    return ok && value >= alNone && value <= alClient ? TAlign(value) : alNone;
}

bool TSpeedBar::canDrag() const
{
    return m_options.testFlag(sbAllowDrag) && isEdge(m_align) && parentWidget();
}

QRect TSpeedBar::DockOutline(TAlign edge) const
{
    const QWidget *parent = parentWidget();
    if (!parent || !isEdge(edge))
        return geometry();
    QRect area = parent->rect();
    for (const QObject *child : parent->children()) {
        const auto *sibling = qobject_cast<const QWidget *>(child);
        if (!sibling || sibling == this || sibling->isWindow() || !sibling->isVisibleTo(parent))
            continue;
        const TAlign other = DockedEdgeOf(sibling);
        if (!isEdge(other))
            continue;
        const bool before = edgeOrder(other) < edgeOrder(edge)
                            || (other == edge && liesOutside(sibling->geometry(), geometry(), edge));
        if (!before)
            continue;
        switch (other) {
        case alTop: area.setTop(area.top() + sibling->height()); break;
        case alBottom: area.setBottom(area.bottom() - sibling->height()); break;
        case alLeft: area.setLeft(area.left() + sibling->width()); break;
        case alRight: area.setRight(area.right() - sibling->width()); break;
        default: break;
        }
    }
    const int thickness = m_orientation == TBarOrientation::boHorizontal ? height() : width();
    switch (edge) {
    case alTop: area.setHeight(thickness); break;
    case alBottom: area.setTop(area.bottom() + 1 - thickness); break;
    case alLeft: area.setWidth(thickness); break;
    case alRight: area.setLeft(area.right() + 1 - thickness); break;
    default: break;
    }
    return area;
}

TAlign TSpeedBar::askApplyAlign(TAlign target)
{
    bool apply = true;
    if (OnApplyAlign)
        platform::Guarded([&] { OnApplyAlign(this, target, apply); });
    return apply ? target : alNone;
}

void TSpeedBar::showOutline(const QRect &screenRect)
{
    m_drag.outline = screenRect;
    if (!m_outlineWindow)
        m_outlineWindow = new TDragOutline(this);
    m_outlineWindow->ShowAt(screenRect);
}

void TSpeedBar::startDrag()
{
    showSizeCursor(false);
    m_drag.dragging = true;
    m_drag.align = m_align;
    m_drag.hadCursor = testAttribute(Qt::WA_SetCursor);
    m_drag.cursor = cursor();
    showOutline(QRect(mapToGlobal(QPoint(0, 0)), size()));
    setCursor(Qt::SizeAllCursor);
}

void TSpeedBar::dragTo(QPoint global)
{
    QWidget *parent = parentWidget();
    const TAlign accepted = askApplyAlign(DockTargetAt(parent->mapFromGlobal(global), parent->size()));
    if (accepted == alNone)
        return; // vetoed: the outline stays where it is
    m_drag.align = accepted;
    const QRect local = DockOutline(accepted);
    const QRect outline(parent->mapToGlobal(local.topLeft()), local.size());
    if (outline != m_drag.outline)
        showOutline(outline);
}

void TSpeedBar::dropAt(QPoint global)
{
    m_drag.dragging = false;
    if (m_outlineWindow)
        m_outlineWindow->hide();
    restoreCursor();
    QWidget *parent = parentWidget();
    if (!parent || !isEdge(m_align))
        return;
    const TAlign accepted = askApplyAlign(DockTargetAt(parent->mapFromGlobal(global), parent->size()));
    const TAlign final = accepted != alNone ? accepted : m_drag.align;
    const bool updates = parent->updatesEnabled();
    parent->setUpdatesEnabled(false);
    platform::Guarded([&] { SetAlign(final); });
    parent->setUpdatesEnabled(updates);
    if (OnPosChanged)
        platform::Guarded([&] { OnPosChanged(this); });
}

bool TSpeedBar::nearInnerEdge(QPoint p) const
{
    switch (m_align) {
    case alTop: return p.y() >= height() - kResizeGrip;
    case alBottom: return p.y() < kResizeGrip;
    case alLeft: return p.x() >= width() - kResizeGrip;
    case alRight: return p.x() < kResizeGrip;
    default: return false;
    }
}

void TSpeedBar::resizeTo(QPoint p)
{
    const QWidget *parent = parentWidget();
    if (!parent)
        return;
    const bool rows = m_align == alTop || m_align == alBottom;
    const int reach = m_align == alTop ? p.y() : m_align == alBottom ? height() - p.y()
                    : m_align == alLeft ? p.x() : width() - p.x();
    const int extent = rows ? m_btnHeight : m_btnWidth;
    const int offset = rows ? m_offsetVert : m_offsetHorz;
    const int limit = rows ? parent->height() : parent->width();
    if (extent <= 0)
        return;
    int n = std::max(1, int(std::lround(double(reach - 2 * offset) / extent)));
    while (n > 1 && n * extent + 2 * offset > limit)
        --n;
    const int size = std::min(n * extent + 2 * offset, limit);
    if (rows)
        resize(width(), size);
    else
        resize(size, height());
    dock();
}

void TSpeedBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (m_editor && m_options.testFlag(sbAllowResize) && nearInnerEdge(pos)) {
        // Qt keeps sending this bar the moves until the release (implicit grab).
        m_drag.resizing = true;
        showSizeCursor(true);
        event->accept();
        return;
    }
    if (!canDrag()) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_drag.pressed = true;
    m_drag.pressPoint = pos;
    event->accept();
}

void TSpeedBar::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const bool leftHeld = event->buttons().testFlag(Qt::LeftButton);
    if (m_drag.resizing && leftHeld) {
        resizeTo(pos);
    } else if (m_drag.pressed && leftHeld) {
        if (m_drag.dragging)
            dragTo(event->globalPosition().toPoint());
        else if (beyondDragThreshold(pos - m_drag.pressPoint) && canDrag())
            startDrag();
    } else {
        showSizeCursor(m_editor && m_options.testFlag(sbAllowResize) && nearInnerEdge(pos));
        QWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
}

void TSpeedBar::showSizeCursor(bool show)
{
    if (show == m_drag.sizeCursor)
        return;
    m_drag.sizeCursor = show;
    if (show) {
        m_drag.hadCursor = testAttribute(Qt::WA_SetCursor);
        m_drag.cursor = cursor();
        setCursor(m_align == alTop || m_align == alBottom ? Qt::SizeVerCursor : Qt::SizeHorCursor);
    } else {
        restoreCursor();
    }
}

void TSpeedBar::restoreCursor()
{
    if (m_drag.hadCursor)
        setCursor(m_drag.cursor);
    else
        unsetCursor();
}

void TSpeedBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (m_drag.resizing) {
        m_drag.resizing = false;
        showSizeCursor(nearInnerEdge(event->position().toPoint()));
    }
    m_drag.pressed = false;
    // A click without a drag leaves the bar where it is.
    if (m_drag.dragging)
        dropAt(event->globalPosition().toPoint());
    event->accept();
}

} // namespace widgets
