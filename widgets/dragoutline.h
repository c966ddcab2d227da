#pragma once
// The outline of a speed bar being dragged to another edge: three nested
// dotted rectangles, each one pixel inside the previous, in a frameless
// top-level window of their own that the mouse passes through. Only the
// three rings belong to the window (it is masked), so it needs no
// compositor and nothing is drawn onto other windows.

#include <QWidget>

namespace widgets {

class TDragOutline : public QWidget {
    Q_OBJECT
public:
    explicit TDragOutline(QWidget *owner = nullptr);

    // Shows the outline around the rectangle (screen coordinates).
    void ShowAt(const QRect &screenRect);
    QRect Outline() const { return m_outline; }

    // How many nested rings are drawn.
    static constexpr int kRings = 3;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect m_outline;
};

} // namespace widgets
