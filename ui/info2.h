#pragma once
// The about window: the maker's logo, web and mail address (both open
// through the desktop shell), the rights notice and an OK button. Made
// afresh for every showing by ShowInfoWindow(), modal, released afterwards.

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

class QFrame;
class QLabel;

namespace widgets {
class TFlatButton;
}

namespace ui {

class TfrmInfo : public QDialog {
    Q_OBJECT

public:
    explicit TfrmInfo(QWidget *owner);

    QLabel *Image1;    // the logo; a click opens the web site
    QLabel *lURL;      // the web host, a click opens the web site
    QLabel *lMail;     // the mail address, a click starts a mail to it
    QFrame *Bevel1;    // the dividing line
    QLabel *Label1;    // the rights notice
    widgets::TFlatButton *BitBtn1; // "OK"

    void FormShow();
    void lURLClick();
    void lMailClick();

    // Sizes the address labels to their texts and places them: the web
    // address from the left at 57, the mail address ending at 314, both at
    // 112 when they fit side by side, else stacked above the dividing line.
    void PlaceAddressLabels();

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
};

// Top-left corner for a window of `size` centred over `ownerFrame` (outer
// bounds in screen coordinates); each half truncates toward zero, and the
// result may lie off the screen just as the owner may.
QPoint CentredOver(const QRect &ownerFrame, QSize size);

// "&Info": the about window centred over the main window, shown modally.
void ShowInfoWindow(QWidget *mainWindow);

} // namespace ui
