#pragma once
// The splash window shown while the program starts: the maker's logo on a
// silver panel, no frame, centred on the screen.

#include <QWidget>

namespace app {

class TSplashForm : public QWidget {
public:
    TSplashForm();
    // Shows the window and paints it before returning.
    void ShowAndPaint();

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace app
