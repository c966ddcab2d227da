#pragma once
// The floating image of a speed bar item while it is dragged in edit mode:
// a borderless top-most window showing the item's button face that follows
// the pointer and lets the mouse pass through.

#include "buttonimage.h"

#include <QWidget>

namespace widgets {

class TBtnControl : public QWidget {
    Q_OBJECT
public:
    // hotSpot: where the pointer holds the face, in the face's coordinates.
    TBtnControl(const TButtonImage &face, QPoint hotSpot, QWidget *owner = nullptr);

    // Puts the face under the pointer at global.
    void FollowPointer(QPoint global);
    QPoint HotSpot() const { return m_hotSpot; }
    // The face as last drawn, at the ratio of the screen it was drawn on.
    const QImage &Face() const { return m_face; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TButtonImage m_source;
    QImage m_face;
    QPoint m_hotSpot;
};

} // namespace widgets
