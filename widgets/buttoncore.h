#pragma once
// What the flat button and the glyph speed button share: the few facts that
// decide a self-drawn button's face, the pure function from them to the face
// (used by paint, size hint and hit test alike), latching among the buttons
// of one parent, the mnemonic shortcut and the disabled caption.

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>

class QPainter;
class QRect;

namespace widgets {

enum class TButtonFace { Up, Disabled, Down, Latched };

struct TButtonState {
    bool Enabled = true;
    int GroupIndex = 0;         // 0: no group
    bool Down = false;          // latched; only a grouped button is
    bool AllowAllUp = false;    // shared by the group
    bool Pressing = false;      // the left mouse button went down on it and is held
    bool PointerInside = false; // while pressing: the pointer is over the button
    bool KeyHeld = false;       // the space bar holds it down
};

// Disabled wins; a latched button stays latched while pressed; a press shows
// down only while the pointer is over the button.
TButtonFace FaceOf(const TButtonState &state);

// The row just below the bottom edge still counts as inside; the column just
// right of the right edge does not.
bool HitsButton(QSize size, QPoint pos);

// A button of `sender`'s group latched or changed its settings: `self`, when
// in that group, is released if both are down and takes over AllowAllUp.
// True when `self` was released.
bool FollowGroup(TButtonState &self, const TButtonState &sender);

// Calls each(sibling) for every other direct child of the button's parent
// that is a Button (which needs Q_OBJECT for the cast to tell).
template <class Button, class Each>
void ForEachGroupSibling(Button *button, Each each)
{
    QWidget *parent = button->parentWidget();
    if (!parent)
        return;
    for (QObject *child : parent->children())
        if (auto *other = qobject_cast<Button *>(child); other && other != button)
            each(other);
}

// Releases `previousId` and grabs Alt + the caption's "&" letter on the
// widget; the new shortcut id, 0 for a caption without one.
int RegrabMnemonic(QWidget *widget, int previousId, const QString &caption);

// The size a button asks for: glyph and caption side by side (horizontal) or
// stacked with the spacing between them, the margin on both sides, two frame
// rings and a free ring around, and one pixel for the pressed offset.
QSize ButtonSizeHint(QSize glyph, QSize caption, bool horizontal, int margin, int spacing);

struct TCaptionColors {
    QColor Highlight, Shadow, Text;
};
// A disabled caption is engraved: highlight one pixel right and down, shadow
// on top; any other is drawn in the text colour.
void DrawButtonCaption(QPainter &painter, const QRect &bounds, int flags, const QString &caption,
                       bool disabled, const TCaptionColors &colors);

} // namespace widgets
