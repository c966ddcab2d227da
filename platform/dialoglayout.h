#pragma once
// Geometry of the message dialogs and the input box, worked out from the
// dialog font alone so that it can be checked without showing anything.
//
// Everything is measured in dialog units: X is the average width of the 52
// letters A-Z and a-z, Y the font's line height. Pixel values are rounded to
// the nearest pixel.

#include <QFont>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QFontMetrics;

namespace platform {

struct DialogUnits {
    double x = 0; // pixels per horizontal unit
    double y = 0; // pixels per vertical unit

    int h(double units) const;
    int v(double units) const;
};

DialogUnits DialogUnitsOf(const QFontMetrics &metrics);

// The system's message font, or the default font when none is set.
QFont DialogFont();

// The caption as it is shown: "&" marks the mnemonic, "&&" stands for "&".
QString StripMnemonic(const QString &caption);

// One message-dialog button: its bit in the button set, its caption, its
// object name and the modal result it closes the dialog with.
struct DialogButton {
    unsigned bit;
    const char *caption;
    const char *name;
    int result;
};

// The buttons of a set, in the fixed left-to-right order.
QList<DialogButton> ButtonsOf(unsigned buttons);

// The button bit that Enter presses and the one that Esc and the close box
// choose; 0 when the set has none of the candidates.
unsigned DefaultButtonOf(unsigned buttons);
unsigned CancelButtonOf(unsigned buttons);

struct MessageLayout {
    QSize client;          // client area of the dialog
    QRect icon;            // empty when there is no icon
    QRect text;            // the message text, wrapped
    QString shownText;     // the text with breaks inside words too long for a line
    QList<QRect> buttons;  // one per caption, left to right
};

// wrapWidth: where the text wraps (half the screen width).
MessageLayout LayoutMessageDialog(const QFontMetrics &metrics, const QString &text, bool hasIcon,
                                  const QStringList &captions, int wrapWidth);

// The text with a line break inside every word that is wider than a line
// of width pixels, where the line is full; word wrap does the rest at the
// blanks, and then no line is wider than width.
QString WrapMessageText(const QFontMetrics &metrics, const QString &text, int width);

// Flags the message text is measured and drawn with.
int MessageTextFlags();

struct InputLayout {
    QSize client;
    QPoint prompt;
    QRect edit;
    QRect ok;
    QRect cancel;
};

// editHeight: the natural height of a one-line edit in the dialog font.
InputLayout LayoutInputDialog(const DialogUnits &units, int editHeight);

// Windows draws a carriage return as a line break; Qt would draw a blank.
QString NormalizeLineBreaks(const QString &text);

} // namespace platform
