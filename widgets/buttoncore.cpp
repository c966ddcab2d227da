#include "buttoncore.h"

#include <QKeySequence>
#include <QPainter>
#include <QRect>

#include <algorithm>

namespace widgets {

TButtonFace FaceOf(const TButtonState &s)
{
    if (!s.Enabled)
        return TButtonFace::Disabled;
    if (s.Down)
        return TButtonFace::Latched;
    if ((s.Pressing && s.PointerInside) || s.KeyHeld)
        return TButtonFace::Down;
    return TButtonFace::Up;
}

bool HitsButton(QSize size, QPoint p)
{
    return p.x() >= 0 && p.x() < size.width() && p.y() >= 0 && p.y() <= size.height();
}

bool FollowGroup(TButtonState &self, const TButtonState &sender)
{
    if (self.GroupIndex == 0 || sender.GroupIndex != self.GroupIndex)
        return false;
    self.AllowAllUp = sender.AllowAllUp;
    if (!(sender.Down && self.Down))
        return false;
    self.Down = false;
    return true;
}

QSize ButtonSizeHint(QSize glyph, QSize caption, bool horizontal, int margin, int spacing)
{
    glyph = glyph.expandedTo(QSize(0, 0));
    caption = caption.expandedTo(QSize(0, 0));
    const bool both = !glyph.isEmpty() && !caption.isEmpty();
    const int gap = both ? std::max(spacing, 0) : 0;
    const QSize content =
        horizontal ? QSize(glyph.width() + gap + caption.width(), std::max(glyph.height(), caption.height()))
                   : QSize(std::max(glyph.width(), caption.width()), glyph.height() + gap + caption.height());
    const int edge = 2 * (4 + std::max(margin, 0)) + 1;
    return content + QSize(edge, edge);
}

int RegrabMnemonic(QWidget *widget, int previousId, const QString &caption)
{
    if (previousId != 0)
        widget->releaseShortcut(previousId);
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    return mnemonic.isEmpty() ? 0 : widget->grabShortcut(mnemonic);
}

void DrawButtonCaption(QPainter &painter, const QRect &bounds, int flags, const QString &caption,
                       bool disabled, const TCaptionColors &colors)
{
    if (disabled) {
        painter.setPen(colors.Highlight);
        painter.drawText(bounds.translated(1, 1), flags, caption);
        painter.setPen(colors.Shadow);
    } else {
        painter.setPen(colors.Text);
    }
    painter.drawText(bounds, flags, caption);
}

} // namespace widgets
