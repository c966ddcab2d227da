#include "rtfunits.h"
#include "rtfwritersession.h"

#include "rtffontname.h"
#include "rtfpicture.h"
#include "rtfnumbers.h"
#include "rtfproperties.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>

namespace rtf {

namespace {


bool isBullet(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare || style == QTextListFormat::ListStyleUndefined;
}

using ListLook = WriterSession::ListLook;

ListLook listLook(QTextListFormat::Style style)
{
    if (isBullet(style))
        return ListLook::Bullet;
    switch (style) {
    case QTextListFormat::ListLowerAlpha: return ListLook::LowerAlpha;
    case QTextListFormat::ListUpperAlpha: return ListLook::UpperAlpha;
    case QTextListFormat::ListLowerRoman: return ListLook::LowerRoman;
    case QTextListFormat::ListUpperRoman: return ListLook::UpperRoman;
    default: return ListLook::Decimal;
    }
}

const char *numberWord(ListLook look)
{
    switch (look) {
    case ListLook::LowerAlpha: return "pnlcltr";
    case ListLook::UpperAlpha: return "pnucltr";
    case ListLook::LowerRoman: return "pnlcrm";
    case ListLook::UpperRoman: return "pnucrm";
    default: return "pndec";
    }
}

const char *underlineWord(int style)
{
    switch (style) {
    case QTextCharFormat::DashUnderline: return "uldash";
    case QTextCharFormat::DotLine: return "uld";
    case QTextCharFormat::DashDotLine: return "uldashd";
    case QTextCharFormat::DashDotDotLine: return "uldashdd";
    case QTextCharFormat::WaveUnderline: return "ulwave";
    default: return "ul";
    }
}

QString letterNumber(int n)
{
    QString text;
    for (; n > 0; n = (n - 1) / 26)
        text.prepend(QChar(u'a' + (n - 1) % 26));
    return text;
}

// The label of the n-th item (from 1), as the list shows it.
QString itemLabel(const QTextListFormat &format, int n)
{
    QString number;
    switch (format.style()) {
    case QTextListFormat::ListLowerAlpha: number = letterNumber(n); break;
    case QTextListFormat::ListUpperAlpha: number = letterNumber(n).toUpper(); break;
    case QTextListFormat::ListLowerRoman: number = RomanNumber(n); break;
    case QTextListFormat::ListUpperRoman: number = RomanNumber(n).toUpper(); break;
    default: number = QString::number(n); break;
    }
    // Like QTextList, a list without a suffix of its own shows a full stop.
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                              : QStringLiteral(".");
    return format.numberPrefix() + number + suffix;
}

} // namespace

WriterSession::WriterSession(const QTextDocument *content, const QTextDocument *resources, bool fragment)
    : m_content(content), m_resources(resources), m_out(m_bytes), m_fragment(fragment)
{
    const QFont font = content->defaultFont();
    m_defaultFamily = font.family();
    if (font.pointSizeF() > 0)
        m_defaultPointSize = font.pointSizeF();
}

QByteArray WriterSession::write()
{
    m_bytes.reserve(qsizetype(m_content->characterCount() * 1.2) + 512);
    collectTables();
    writeHeader();
    for (QTextBlock block = m_content->begin(); block.isValid(); block = block.next())
        writeBlock(block);
    m_out.closeGroup();
    m_bytes += "\r\n";
    return m_bytes;
}

QString WriterSession::familyOf(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return m_defaultFamily;
}

int WriterSession::fontIndex(const QString &family)
{
    const auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.cend())
        return *it;
    // Names that differ only in what a font table cannot hold are one font;
    // one left empty is the default font.
    const QString name = cleanFontName(family);
    int index = name.isEmpty() && !m_fonts.isEmpty() ? 0 : m_fontByName.value(name, -1);
    if (index < 0) {
        m_fonts.append(name);
        index = int(m_fonts.size() - 1);
        m_fontByName.insert(name, index);
    }
    m_fontIndex.insert(family, index);
    return index;
}

int WriterSession::colorIndex(const QColor &color)
{
    const QRgb rgb = color.rgb();
    const auto it = m_colorIndex.constFind(rgb);
    if (it != m_colorIndex.cend())
        return *it;
    m_colors.push_back(color);
    m_colorIndex.insert(rgb, int(m_colors.size() - 1));
    return int(m_colors.size() - 1);
}

void WriterSession::collectTables()
{
    m_colors.push_back(QColor()); // \cf0: automatic
    bool bullets = false;
    // What a run needs depends on its format alone: each is looked at once.
    std::vector<bool> registered; // by the document's format index
    for (QTextBlock block = m_content->begin(); block.isValid(); block = block.next()) {
        collectNote(block);
        if (const QTextList *list = block.textList())
            bullets = bullets || isBullet(list->format().style());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const size_t slot = size_t(fragment.charFormatIndex() + 1);
            if (slot < registered.size() && registered[slot])
                continue;
            if (slot >= registered.size())
                registered.resize(slot + 1);
            registered[slot] = true;
            const QTextCharFormat format = fragment.charFormat();
            if (const int id = anchorIdOf(fragment, format); id > 0)
                m_anchors.insert(id);
            if (!isImage(fragment, format) || isWritten(format))
                runFormatOf(fragment, format); // registers fonts and colours
        }
    }
    // Only fonts in use, so \f0 (the \deff0 of the header) is the first
    // one used; text-less cards get the editor's.
    if (m_fonts.isEmpty())
        fontIndex(m_defaultFamily);
    if (bullets)
        m_symbolFont = fontIndex(QStringLiteral("Symbol"));
}

bool WriterSession::isWritten(const QTextCharFormat &format)
{
    // A picture that cannot be written leaves no trace, not even its format.
    return !format.isImageFormat() || !picture(format.toImageFormat()).bytes.isEmpty();
}

WriterSession::RunFormat WriterSession::runFormat(const QTextCharFormat &format)
{
    RunFormat run;
    run.font = fontIndex(familyOf(format));
    const double points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                         : m_defaultPointSize;
    run.halfPoints = std::clamp(qRound(points * 2), 2, 3276);
    run.bold = format.fontWeight() >= QFont::DemiBold;
    run.italic = format.fontItalic();
    run.strike = format.fontStrikeOut();
    run.underline = format.underlineStyle();
    if (run.underline == QTextCharFormat::NoUnderline && format.boolProperty(QTextFormat::FontUnderline))
        run.underline = QTextCharFormat::SingleUnderline;
    if (run.underline == QTextCharFormat::SpellCheckUnderline)
        run.underline = QTextCharFormat::NoUnderline;
    run.hidden = format.boolProperty(HiddenTextProperty);
    run.position = format.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 1
        : format.verticalAlignment() == QTextCharFormat::AlignSubScript            ? 2
                                                                                   : 0;
    const QBrush fore = format.foreground();
    if (fore.style() != Qt::NoBrush)
        run.foreColor = colorIndex(fore.color());
    const QBrush back = format.background();
    if (back.style() != Qt::NoBrush)
        run.backColor = colorIndex(back.color());
    return run;
}

void WriterSession::writeHeader()
{
    m_out.raw("{\\rtf1\\ansi\\ansicpg1252\\deff0");
    m_out.openGroup();
    m_out.word("fonttbl");
    for (int i = 0; i < m_fonts.size(); ++i) {
        m_out.openGroup();
        m_out.word("f", i);
        m_out.word(i == m_symbolFont ? "ftech" : "fnil");
        m_out.word("fcharset", i == m_symbolFont ? 2 : 0);
        m_out.text(m_fonts[i]);
        m_out.raw(";");
        m_out.closeGroup();
    }
    m_out.closeGroup();
    m_out.raw("\r\n");
    if (m_colors.size() > 1) {
        m_out.openGroup();
        m_out.word("colortbl");
        m_out.raw(" ;");
        for (size_t i = 1; i < m_colors.size(); ++i) {
            m_out.word("red", m_colors[i].red());
            m_out.word("green", m_colors[i].green());
            m_out.word("blue", m_colors[i].blue());
            m_out.raw(";");
        }
        m_out.closeGroup();
        m_out.raw("\r\n");
    }
    m_out.word("uc", 1);
    m_out.word("plain");
    m_written = RunFormat();
    m_written.font = 0;
}

WriterSession::ParaFormat WriterSession::paraFormat(const QTextBlock &block) const
{
    const QTextBlockFormat format = block.blockFormat();
    ParaFormat para;
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        para.alignment = 1;
    else if (align & (Qt::AlignRight))
        para.alignment = 2;
    else if (align & Qt::AlignJustify)
        para.alignment = 3;
    para.leftIndent = PixelsToTwips(format.leftMargin());
    para.rightIndent = PixelsToTwips(format.rightMargin());
    para.firstIndent = PixelsToTwips(format.textIndent());
    para.spaceBefore = PixelsToTwips(format.topMargin());
    para.spaceAfter = PixelsToTwips(format.bottomMargin());
    if (const QTextList *list = block.textList()) {
        para.listStyle = listLook(list->format().style());
        para.listLevel = std::clamp(list->format().indent(), 0, 8);
        // The bullet hangs in the left margin, as word processors write it.
        if (para.firstIndent == 0)
            para.firstIndent = -para.leftIndent;
    }
    return para;
}

namespace {

template <typename Format, typename Make>
const Format &cachedAt(std::vector<std::optional<Format>> &cache, int index, Make make)
{
    const size_t slot = size_t(index + 1); // -1, no format of the document, has the first slot
    if (slot >= cache.size())
        cache.resize(slot + 1);
    if (!cache[slot])
        cache[slot] = make();
    return *cache[slot];
}

} // namespace

const WriterSession::RunFormat &WriterSession::runFormatOf(const QTextFragment &fragment,
                                                           const QTextCharFormat &format)
{
    return cachedAt(m_runFormats, fragment.charFormatIndex(), [&] { return runFormat(format); });
}

// A block's format index stands for its list too: the list is a property
// of the format.
const WriterSession::ParaFormat &WriterSession::paraFormatOf(const QTextBlock &block)
{
    return cachedAt(m_paraFormats, block.blockFormatIndex(), [&] { return paraFormat(block); });
}

bool WriterSession::isImage(const QTextFragment &fragment, const QTextCharFormat &format)
{
    return cachedAt(m_images, fragment.charFormatIndex(), [&] { return format.isImageFormat(); });
}

int WriterSession::anchorIdOf(const QTextFragment &fragment, const QTextCharFormat &format)
{
    return cachedAt(m_anchorIds, fragment.charFormatIndex(), [&] { return format.intProperty(NoteAnchorProperty); });
}

void WriterSession::writeBlock(const QTextBlock &block)
{
    if (isNoteWrittenElsewhere(block))
        return;
    const ParaFormat para = paraFormatOf(block);
    if (!m_paraWritten || !(para == m_writtenPara)) {
        writeParaFormat(para);
        m_writtenPara = para;
        m_paraWritten = true;
    }
    if (para.listStyle != ListLook::NotInList)
        writeListText(block, para);
    else
        m_itemNumbers.clear();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        const bool image = isImage(fragment, format);
        if (image && !isWritten(format))
            continue;
        writeRunFormat(runFormatOf(fragment, format));
        if (image) {
            for (qsizetype i = 0; i < fragment.length(); ++i)
                writeImage(format.toImageFormat());
            continue;
        }
        m_out.text(fragment.text());
        writeNoteAfter(anchorIdOf(fragment, format));
    }
    if (m_fragment && !block.next().isValid())
        return;
    if (m_written.hidden) {
        // A hidden paragraph mark would join this paragraph to the next.
        m_out.word("v", 0);
        m_written.hidden = false;
    }
    m_out.word("par");
    m_out.raw("\r\n");
}

void WriterSession::writeParaFormat(const ParaFormat &para)
{
    m_out.word("pard");
    static const char *const alignments[] = {"ql", "qc", "qr", "qj"};
    if (para.alignment != 0)
        m_out.word(alignments[para.alignment]);
    if (para.leftIndent)
        m_out.word("li", para.leftIndent);
    if (para.rightIndent)
        m_out.word("ri", para.rightIndent);
    if (para.firstIndent)
        m_out.word("fi", para.firstIndent);
    if (para.spaceBefore)
        m_out.word("sb", para.spaceBefore);
    if (para.spaceAfter)
        m_out.word("sa", para.spaceAfter);
    if (para.listStyle == ListLook::NotInList)
        return;
    m_out.openGroup();
    m_out.raw("\\*");
    m_out.word("pn");
    if (para.listStyle == ListLook::Bullet) {
        m_out.word("pnlvlblt");
        m_out.word("pnf", m_symbolFont);
        m_out.word("pnindent", 0);
        m_out.raw("{\\pntxtb\\'b7}");
    } else {
        m_out.word("pnlvlbody");
        m_out.word("pnf", 0);
        m_out.word("pnindent", 0);
        m_out.word("pnstart", 1);
        m_out.word(numberWord(para.listStyle));
        m_out.raw("{\\pntxta.}");
    }
    m_out.closeGroup();
    if (para.listLevel > 0)
        m_out.word("ilvl", para.listLevel);
}

int WriterSession::nextItemNumber(const ParaFormat &para)
{
    // As a reader numbers: a shallower item ends the deeper lists under it,
    // and a change of style starts a new count.
    const size_t level = size_t(para.listLevel);
    m_itemNumbers.resize(level + 1);
    auto &[style, number] = m_itemNumbers[level];
    if (style != para.listStyle)
        number = 0;
    style = para.listStyle;
    return ++number;
}

void WriterSession::writeListText(const QTextBlock &block, const ParaFormat &para)
{
    // Readers that know nothing of \pn show this text instead.
    const QTextListFormat format = block.textList()->format();
    // Counted here: asking the list for an item's number costs a search.
    const int number = nextItemNumber(para);
    m_out.openGroup();
    m_out.word("pntext");
    if (isBullet(format.style())) {
        m_out.word("f", m_symbolFont);
        m_out.raw("\\'b7");
    } else {
        m_out.word("f", 0);
        m_out.text(itemLabel(format, number));
    }
    m_out.word("tab");
    m_out.closeGroup();
}

void WriterSession::writeRunFormat(const RunFormat &run)
{
    RunFormat &was = m_written;
    if (run == was)
        return;
    if (run.font != was.font)
        m_out.word("f", run.font);
    if (run.halfPoints != was.halfPoints)
        m_out.word("fs", run.halfPoints);
    if (run.bold != was.bold)
        run.bold ? m_out.word("b") : m_out.word("b", 0);
    if (run.italic != was.italic)
        run.italic ? m_out.word("i") : m_out.word("i", 0);
    if (run.strike != was.strike)
        run.strike ? m_out.word("strike") : m_out.word("strike", 0);
    if (run.underline != was.underline)
        run.underline ? m_out.word(underlineWord(run.underline)) : m_out.word("ulnone");
    if (run.position != was.position)
        m_out.word(run.position == 1 ? "super" : run.position == 2 ? "sub" : "nosupersub");
    if (run.foreColor != was.foreColor)
        m_out.word("cf", run.foreColor);
    if (run.backColor != was.backColor)
        m_out.word("highlight", run.backColor);
    if (run.hidden != was.hidden)
        run.hidden ? m_out.word("v") : m_out.word("v", 0);
    was = run;
}

const PictureBytes &WriterSession::picture(const QTextImageFormat &format)
{
    const QString name = format.name();
    auto it = m_pictures.find(name);
    if (it == m_pictures.end()) {
        QVariant resource = m_content->resource(QTextDocument::ImageResource, QUrl(name));
        if (!resource.isValid() && m_resources)
            resource = m_resources->resource(QTextDocument::ImageResource, QUrl(name));
        it = m_pictures.insert(name, pictureFromResource(resource));
    }
    return *it;
}

void WriterSession::writeImage(const QTextImageFormat &format)
{
    const PictureBytes &picture = this->picture(format);
    const double width = format.width() > 0 ? format.width() : picture.size.width();
    const double height = format.height() > 0 ? format.height() : picture.size.height();
    m_out.openGroup();
    m_out.word("pict");
    m_out.word(picture.jpeg ? "jpegblip" : "pngblip");
    m_out.word("picw", picture.size.width());
    m_out.word("pich", picture.size.height());
    // A goal of 0 would mean the picture's own size on reading.
    m_out.word("picwgoal", std::max(1, qRound(width * kTwipsPerPixel)));
    m_out.word("pichgoal", std::max(1, qRound(height * kTwipsPerPixel)));
    m_out.hexData(picture.bytes);
    m_out.closeGroup();
}

} // namespace rtf
