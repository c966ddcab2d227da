#pragma once
// What the about and help windows share: their font, their white face and
// their release once the modal loop is over.

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace ui {

// "Tahoma" at a fixed pixel height (not scaled with the desktop's text size),
// falling back to a similar sans-serif face where Tahoma is not installed.
QFont WindowFont(int pixelSize);

// The window's outer size, frame included as far as the platform can tell
// before the window is shown (the native window is created for that).
QSize OuterSize(QWidget *window);

// Places the window at place(outer size) now, with the frame as far as it
// is known, and once more when it is first exposed: only then has the
// window manager told the size of its frame.
void PlaceByOuterFrame(QWidget *window, std::function<QPoint(QSize outer)> place);

// Paints the window's background white.
void SetWhiteBackground(QWidget *window);

// Releases a secondary window when the scope ends, however it ends: the
// window is destroyed once the pending events have been handled.
class ReleaseAfterModal {
public:
    explicit ReleaseAfterModal(QWidget *window) : window_(window) {}
    ~ReleaseAfterModal()
    {
        if (window_)
            window_->deleteLater();
    }
    ReleaseAfterModal(const ReleaseAfterModal &) = delete;
    ReleaseAfterModal &operator=(const ReleaseAfterModal &) = delete;

private:
    QPointer<QWidget> window_;
};

} // namespace ui
