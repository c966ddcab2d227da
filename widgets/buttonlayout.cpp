#include "buttonlayout.h"

#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace widgets {

namespace {
constexpr int kMaxCaption = 255;

QString fitLine(const QString &line, int width, const QFontMetrics &metrics)
{
    if (metrics.horizontalAdvance(line) <= width)
        return line;
    const int length = int(line.size());
    QString attempt;
    for (int k = 1; k <= length; ++k) {
        attempt = line.left(std::max(0, length - k - 1)) + QStringLiteral("...");
        if (metrics.horizontalAdvance(attempt) <= width)
            break;
    }
    return attempt;
}

QString trimTrailing(QString text)
{
    while (!text.isEmpty() && (text.back() == QLatin1Char(' ') || text.back() == QLatin1Char('\n')
                               || text.back() == QLatin1Char('\r')))
        text.chop(1);
    return text;
}

bool glyphAlongX(TButtonLayout l) { return l == TButtonLayout::blGlyphLeft || l == TButtonLayout::blGlyphRight; }

// The axis along which glyph and caption follow each other, as plain numbers.
struct Axis {
    int client, glyph, text;
};

void placeAlongAxis(Axis a, int &margin, int &spacing)
{
    if (margin == -1 && spacing == -1) {
        margin = (a.client - (a.glyph + a.text)) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = a.client / 2 - (a.glyph + spacing + a.text) / 2;
    } else if (spacing == -1) {
        spacing = (a.client - (margin + a.glyph)) / 2 - a.text / 2;
    }
}
} // namespace

int CaptionTextFlags(TAlignment alignment, bool wordWrap)
{
    int flags = Qt::AlignVCenter | Qt::TextShowMnemonic;
    if (wordWrap)
        flags |= Qt::TextWordWrap;
    switch (alignment) {
    case TAlignment::taLeftJustify: flags |= Qt::AlignLeft; break;
    case TAlignment::taRightJustify: flags |= Qt::AlignRight; break;
    case TAlignment::taCenter: flags |= Qt::AlignHCenter; break;
    }
    return flags;
}

QString FitCaption(const QString &caption, int width, const QFontMetrics &metrics, bool wordWrap)
{
    if (wordWrap)
        return caption.left(kMaxCaption);
    QStringList lines = caption.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        line = fitLine(line, width, metrics);
    }
    return trimTrailing(lines.join(QLatin1Char('\n'))).left(kMaxCaption);
}

TButtonLayoutResult CalcButtonLayout(const TButtonLayoutInput &in, const QFontMetrics &metrics)
{
    TButtonLayoutResult out;
    const bool alongX = glyphAlongX(in.layout);
    const QSize client = in.area.size();
    QSize glyph = in.glyph;
    int margin = in.margin;
    int spacing = in.spacing;

    QSize textArea;
    if (alongX) {
        int w = client.width() - glyph.width();
        if (margin != -1) w -= margin;
        if (spacing != -1) w -= spacing;
        if (in.dropDownMark) w -= kDropDownMarkWidth;
        textArea = QSize(w, client.height());
    } else {
        int h = client.height() - glyph.height();
        if (margin != -1) h -= margin;
        if (spacing != -1) h -= spacing;
        textArea = QSize(client.width(), h);
    }
    textArea = textArea.expandedTo(QSize(0, 0));

    out.caption = FitCaption(in.caption, textArea.width(), metrics, in.wordWrap);
    QRect text;
    if (!out.caption.isEmpty()) {
        const int flags = CaptionTextFlags(in.alignment, in.wordWrap) | Qt::AlignHCenter;
        const QRect measured = metrics.boundingRect(QRect(0, 0, textArea.width(), 0), flags, out.caption);
        text = QRect(0, 0, std::min(measured.width(), textArea.width()),
                     std::min(measured.height(), textArea.height()));
    }
    const QSize measured = out.caption.isEmpty() ? QSize(0, 0) : text.size();
    QSize textSize = measured;

    if (in.dropDownMark) {
        if (glyph.width() == 0 || glyph.height() == 0 || in.layout == TButtonLayout::blGlyphLeft)
            textSize.rwidth() += kDropDownMarkWidth;
        else if (glyph.width() > 0)
            glyph.rwidth() += 6;
    }

    QPoint glyphPos, textPos;
    if (alongX) {
        glyphPos.setY(client.height() / 2 - glyph.height() / 2);
        textPos.setY(client.height() / 2 - textSize.height() / 2);
    } else {
        glyphPos.setX(client.width() / 2 - glyph.width() / 2);
        textPos.setX(client.width() / 2 - textSize.width() / 2);
    }

    if (textSize.width() == 0 || glyph.width() == 0)
        spacing = 0;

    if (alongX)
        placeAlongAxis({client.width(), glyph.width(), textSize.width()}, margin, spacing);
    else
        placeAlongAxis({client.height(), glyph.height(), textSize.height()}, margin, spacing);

    switch (in.layout) {
    case TButtonLayout::blGlyphLeft:
        glyphPos.setX(margin);
        textPos.setX(glyphPos.x() + glyph.width() + spacing);
        break;
    case TButtonLayout::blGlyphRight:
        glyphPos.setX(client.width() - margin - glyph.width());
        textPos.setX(glyphPos.x() - spacing - textSize.width());
        break;
    case TButtonLayout::blGlyphTop:
        glyphPos.setY(margin);
        textPos.setY(glyphPos.y() + glyph.height() + spacing);
        break;
    case TButtonLayout::blGlyphBottom:
        glyphPos.setY(client.height() - margin - glyph.height());
        textPos.setY(glyphPos.y() - spacing - textSize.height());
        break;
    }

    out.glyphPos = glyphPos + in.area.topLeft();
    // The mark's allowance moved the caption but is not part of its bounds.
    out.textBounds = QRect(in.area.topLeft() + textPos, measured);
    return out;
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
