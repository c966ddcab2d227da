#include "textattributes.h"

#include "richedit.h"

#include <QFontInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

namespace controls {

namespace {

constexpr int kMaxFaceNameLength = 31;
constexpr double kBulletOffsetPoints = 10.0;

double toPixels(double points) { return points * kMarginPixelsPerPoint; }
double toPoints(double pixels) { return pixels / kMarginPixelsPerPoint; }

bool hasOwnColour(const QTextCharFormat &format)
{
    return format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush;
}

// Where a paragraph's first line starts and how far the following lines
// hang behind it, both in points. A list item that came in with a negative
// first-line indent (as RTF writes bullets) reads the same way as any other
// paragraph; one laid out by us starts its text behind the bullet.
struct Indents {
    double start = 0;
    double offset = 0;
};

Indents indentsOf(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    const double left = toPoints(format.leftMargin());
    const double first = toPoints(format.textIndent());
    if (block.textList() && first >= 0)
        return {0, left};
    return {left + first, -first};
}

void applyIndents(QTextBlockFormat &format, const Indents &indents, bool bulleted)
{
    format.setLeftMargin(toPixels(indents.start + indents.offset));
    format.setTextIndent(bulleted ? 0 : toPixels(-indents.offset));
}

// The paragraphs the editor's selection touches, the caret's when nothing is
// selected.
QList<QTextBlock> touchedBlocks(const TRichEdit &editor)
{
    const QTextCursor cursor = editor.textCursor();
    const QTextDocument *doc = editor.document();
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    QList<QTextBlock> blocks;
    for (QTextBlock b = doc->findBlock(cursor.selectionStart()); b.isValid(); b = b.next()) {
        blocks.append(b);
        if (b == last)
            break;
    }
    return blocks;
}

void setBlockFormat(QTextDocument *doc, const QTextBlock &block, const QTextBlockFormat &format)
{
    QTextCursor c(doc);
    c.setPosition(block.position());
    c.setBlockFormat(format);
}

} // namespace

TFontStyles StyleOfFormat(const QTextCharFormat &format)
{
    TFontStyles style = 0;
    if (format.fontWeight() >= QFont::DemiBold)
        style |= fsBold;
    if (format.fontItalic())
        style |= fsItalic;
    if (format.fontUnderline())
        style |= fsUnderline;
    if (format.fontStrikeOut())
        style |= fsStrikeOut;
    return style;
}

TFontStyles StyleOfFont(const QFont &font)
{
    TFontStyles style = 0;
    style |= font.bold() ? TFontStyles(fsBold) : 0u;
    style |= font.italic() ? TFontStyles(fsItalic) : 0u;
    style |= font.underline() ? TFontStyles(fsUnderline) : 0u;
    style |= font.strikeOut() ? TFontStyles(fsStrikeOut) : 0u;
    return style;
}

void SetStyleOfFormat(QTextCharFormat &format, TFontStyles style)
{
    format.setFontWeight((style & fsBold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style & fsItalic);
    format.setFontUnderline(style & fsUnderline);
    format.setFontStrikeOut(style & fsStrikeOut);
}

// --- character attributes ---

QTextCharFormat TTextAttributes::read() const
{
    if (!m_editor.HandleAllocated())
        return {};
    QTextCharFormat format = m_type == TAttributeType::atSelected ? m_editor.FirstSelectedCharFormat()
                                                                  : m_editor.DefaultCharFormat();
    // Unset font fields show the document's font; report what is shown.
    const QFont shown = m_editor.document()->defaultFont();
    if (format.fontFamilies().toStringList().isEmpty())
        format.setFontFamilies({shown.family()});
    if (format.fontPointSize() <= 0) // a font given in pixels has no point size of its own
        format.setFontPointSize(QFontInfo(shown).pointSizeF());
    return format;
}

template <class Change>
void TTextAttributes::write(Change change)
{
    if (!m_editor.HandleAllocated())
        return;
    if (m_type == TAttributeType::atSelected)
        m_editor.ChangeSelectionFormat(change);
    else
        m_editor.ChangeDefaultFormat(change);
}

QString TTextAttributes::Name() const
{
    if (!m_editor.HandleAllocated())
        return {};
    const QStringList families = read().fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

void TTextAttributes::SetName(const QString &name)
{
    const QString face = name.left(kMaxFaceNameLength);
    write([&](QTextCharFormat &f) { f.setFontFamilies({face}); });
}

int TTextAttributes::Size() const
{
    if (!m_editor.HandleAllocated())
        return 0;
    return static_cast<int>(read().fontPointSize());
}

void TTextAttributes::SetSize(int points)
{
    if (points <= 0)
        return;
    write([&](QTextCharFormat &f) { f.setFontPointSize(points); });
}

TFontStyles TTextAttributes::Style() const { return StyleOfFormat(read()); }

void TTextAttributes::SetStyle(TFontStyles style)
{
    write([&](QTextCharFormat &f) { SetStyleOfFormat(f, style); });
}

platform::TColor TTextAttributes::Color() const
{
    if (!m_editor.HandleAllocated())
        return platform::clBlack; // an empty format has neither a colour nor "automatic"
    const QTextCharFormat format = read();
    if (!hasOwnColour(format))
        return platform::clWindowText;
    return platform::FromQColor(format.foreground().color());
}

void TTextAttributes::SetColor(platform::TColor color)
{
    if (color == platform::clWindowText) {
        write([](QTextCharFormat &f) { f.clearForeground(); });
        return;
    }
    const QColor rgb = platform::ToQColor(platform::ColorToRGB(color));
    write([&](QTextCharFormat &f) { f.setForeground(rgb); });
}

void ToggleStyle(TTextAttributes attributes, TFontStyles flag)
{
    const TFontStyles style = attributes.Style();
    attributes.SetStyle((style & flag) ? (style & ~flag) : (style | flag));
}

// --- paragraph attributes ---

TAlignment TParaAttributes::Alignment() const
{
    const QList<QTextBlock> blocks = touchedBlocks(m_editor);
    if (blocks.isEmpty())
        return taLeftJustify;
    const Qt::Alignment a = blocks.first().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        return taCenter;
    if (a & Qt::AlignRight)
        return taRightJustify;
    return taLeftJustify;
}

void TParaAttributes::SetAlignment(TAlignment alignment)
{
    QTextBlockFormat modifier;
    switch (alignment) {
    case taLeftJustify:
        modifier.setAlignment(Qt::AlignLeft);
        break;
    case taRightJustify:
        modifier.setAlignment(Qt::AlignRight);
        break;
    case taCenter:
        modifier.setAlignment(Qt::AlignHCenter);
        break;
    }
    QTextCursor cursor = m_editor.textCursor();
    cursor.mergeBlockFormat(modifier);
}

TNumberingStyle TParaAttributes::Numbering() const
{
    const QList<QTextBlock> blocks = touchedBlocks(m_editor);
    return !blocks.isEmpty() && blocks.first().textList() ? nsBullet : nsNone;
}

void TParaAttributes::SetNumbering(TNumberingStyle numbering)
{
    QTextDocument *doc = m_editor.document();
    const QList<QTextBlock> blocks = touchedBlocks(m_editor);
    QTextCursor edit(doc);
    edit.beginEditBlock();
    if (numbering == nsBullet) {
        QTextList *list = nullptr;
        for (const QTextBlock &block : blocks) {
            Indents indents = indentsOf(block);
            indents.offset = std::max(indents.offset, kBulletOffsetPoints);
            QTextBlockFormat format = block.blockFormat();
            applyIndents(format, indents, true);
            setBlockFormat(doc, block, format);
            if (QTextList *old = block.textList(); old && old != list)
                old->remove(block);
            if (!list) {
                QTextCursor c(doc);
                c.setPosition(block.position());
                QTextListFormat listFormat;
                listFormat.setStyle(QTextListFormat::ListDisc);
                listFormat.setIndent(0);
                list = c.createList(listFormat);
            } else if (block.textList() != list) {
                list->add(block);
            }
        }
    } else {
        for (const QTextBlock &block : blocks) {
            Indents indents = indentsOf(block);
            indents.offset = 0;
            if (QTextList *list = block.textList())
                list->remove(block);
            QTextBlockFormat format = block.blockFormat();
            applyIndents(format, indents, false);
            format.setIndent(0);
            setBlockFormat(doc, block, format);
        }
    }
    edit.endEditBlock();
}

double TParaAttributes::Offset() const
{
    const QList<QTextBlock> blocks = touchedBlocks(m_editor);
    return blocks.isEmpty() ? 0 : indentsOf(blocks.first()).offset;
}

void TParaAttributes::SetOffset(double points)
{
    QTextDocument *doc = m_editor.document();
    QTextCursor edit(doc);
    edit.beginEditBlock();
    for (const QTextBlock &block : touchedBlocks(m_editor)) {
        Indents indents = indentsOf(block);
        indents.offset = points;
        QTextBlockFormat format = block.blockFormat();
        applyIndents(format, indents, block.textList() != nullptr);
        setBlockFormat(doc, block, format);
    }
    edit.endEditBlock();
}

} // namespace controls
