#pragma once
// What the about and help windows share: their font, their white face and
// their release once the modal loop is over.

#include <QFont>
#include <QPointer>
#include <QWidget>

namespace ui {

// "Tahoma" at a fixed pixel height (not scaled with the desktop's text size),
// falling back to a similar sans-serif face where Tahoma is not installed.
QFont WindowFont(int pixelSize);

// The window's outer size, frame included as far as the platform can tell
// before the window is shown (the native window is created for that).
QSize OuterSize(QWidget *window);

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
