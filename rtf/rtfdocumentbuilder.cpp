#include "rtfdocumentbuilder.h"

#include "rtfbytetable.h"

#include <QCryptographicHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>
#include <algorithm>
#include <cstring>

namespace rtf {

namespace {

// Nested lists deeper than this are shown at this level.
constexpr int MaxListLevel = 8;

// Qt revisits every item of a list when one is added, so a list of n items
// costs n squared. Long lists are therefore split into lists of the same
// format, which look the same; numbered ones only much later, as their
// numbers start again.
int maxListItems(QTextListFormat::Style style)
{
    const bool numbered = style == QTextListFormat::ListDecimal || style == QTextListFormat::ListLowerAlpha
        || style == QTextListFormat::ListUpperAlpha || style == QTextListFormat::ListLowerRoman
        || style == QTextListFormat::ListUpperRoman;
    return numbered ? 1000 : 100;
}

} // namespace

// Held edits are handed on at a format change once there are this many:
// enough that the cursor's work runs on with its data at hand, few enough
// that the held text and what was read of the file stay in the caches too.
constexpr qsizetype BatchChars = 8 * 1024;
constexpr size_t BatchEdits = 256;

DocumentBuilder::DocumentBuilder(const QTextCursor &cursor)
    : m_cursor(cursor), m_landingFormat(cursor.blockFormat()), m_blockInList(cursor.block().textList())
{
    m_edits.reserve(BatchEdits + BatchEdits / 4);
}

void DocumentBuilder::setCharFormat(const QTextCharFormat &format)
{
    // States that differ only in what a format does not show (a default
    // font named or not) go on in one run.
    if (format == m_format)
        return;
    closeRun();
    m_format = format;
    m_formatIndex = -1;
    if (m_text.size() >= BatchChars || m_edits.size() >= BatchEdits)
        commit();
}

void DocumentBuilder::beginContent()
{
    if (m_blockPending) {
        if (m_plainBlock) {
            // Qt gives a block that a separator in inserted text starts the
            // format of the block the text goes into: this one's.
            m_blockSeparator = m_text.size();
            m_blockEdit = -1;
            m_text.append(QChar::ParagraphSeparator);
        } else {
            closeRun();
            addBlock(m_lastFormat);
            m_blockEdit = qsizetype(m_edits.size() - 1);
            m_blockSeparator = -1;
            m_plainBlock = true;
            m_blockInList = false;
        }
        m_runStart = m_text.size();
        m_blockPending = false;
        m_hasLastFormat = true;
    }
    if (m_tabPending) {
        m_text.append(u'\t');
        m_tabPending = false;
    }
}

void DocumentBuilder::appendText(QStringView text)
{
    if (text.isEmpty())
        return;
    beginContent();
    noteBreaks(text);
    m_text.append(text);
}

void DocumentBuilder::appendChar(QChar ch)
{
    beginContent();
    noteBreaks(QStringView(&ch, 1));
    m_text.append(ch.unicode());
}

void DocumentBuilder::noteBreaks(QStringView text)
{
    // A file may name these as characters; the paragraph they start is
    // then the one a later format is for, and only Qt knows where it is.
    const auto breaks = [](QChar ch) {
        return ch == QChar::ParagraphSeparator || ch == QChar(0xFDD0) || ch == QChar(0xFDD1);
    };
    if (std::any_of(text.begin(), text.end(), breaks)) {
        m_blockSeparator = -1;
        m_blockEdit = -1;
    }
}

void DocumentBuilder::appendMapped(QByteArrayView bytes, const char16_t *table)
{
    const qsizetype first = FirstShownByte(bytes, table);
    if (first == bytes.size())
        return;
    beginContent();
    // Decoded straight into the held run: no copy per run of text.
    char16_t *const begin = m_text.extend(bytes.size() - first);
    m_text.truncate(begin - m_text.begin() + MapBytes(bytes.sliced(first), table, begin));
}

void DocumentBuilder::HeldText::append(QStringView text)
{
    if (!text.isEmpty())
        std::memcpy(extend(text.size()), text.utf16(), size_t(text.size()) * sizeof(char16_t));
}

void DocumentBuilder::HeldText::grow(qsizetype needed)
{
    // Room for a whole batch from the start: growing to it step by step
    // touched twice the memory, and fresh memory costs a page fault.
    const qsizetype capacity = std::max({needed, 2 * m_capacity, 2 * BatchChars});
    auto chars = std::make_unique_for_overwrite<char16_t[]>(size_t(capacity));
    if (m_size > 0)
        std::memcpy(chars.get(), m_chars.get(), size_t(m_size) * sizeof(char16_t));
    m_chars = std::move(chars);
    m_capacity = capacity;
}

int DocumentBuilder::addCharFormat(const QTextCharFormat &format)
{
    m_charFormats.push_back(format);
    return int(m_charFormats.size() - 1);
}

int DocumentBuilder::addBlockFormat(const QTextBlockFormat &format)
{
    m_blockFormats.push_back(format);
    return int(m_blockFormats.size() - 1);
}

int DocumentBuilder::currentFormat()
{
    if (m_formatIndex < 0)
        m_formatIndex = addCharFormat(m_format);
    return m_formatIndex;
}

void DocumentBuilder::addRun(int format, qsizetype end)
{
    Edit &run = m_edits.emplace_back(Edit::Text);
    run.charFormat = format;
    run.end = end;
    m_runBegin = end;
}

void DocumentBuilder::addBlock(const QTextBlockFormat &format)
{
    Edit &block = m_edits.emplace_back(Edit::Block);
    block.blockFormat = addBlockFormat(format);
    block.charFormat = currentFormat();
}

void DocumentBuilder::closeRun()
{
    if (m_text.size() > m_runBegin)
        addRun(currentFormat(), m_text.size());
    m_runStart = m_text.size();
}

void DocumentBuilder::appendImage(const QByteArray &data, double width, double height)
{
    beginContent();
    closeRun();
    // Equal pictures share one resource; the name stays stable across reads.
    const QByteArray hash = QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex().left(20);
    const QUrl name(QStringLiteral("rtfimage:%1").arg(QString::fromLatin1(hash)));
    m_cursor.document()->addResource(QTextDocument::ImageResource, name, data);
    QTextImageFormat image;
    image.merge(m_format);
    image.setName(name.toString());
    if (width > 0 && height > 0) {
        image.setWidth(width);
        image.setHeight(height);
    }
    m_edits.emplace_back(Edit::Image).charFormat = addCharFormat(image);
}

void DocumentBuilder::endCell()
{
    m_tabPending = true;
}

void DocumentBuilder::endParagraph(const QTextBlockFormat &format, const ListPlace &list)
{
    m_tabPending = false; // the row's last cell has no tab after it
    beginContent();
    m_blockPending = true;
    if (m_hasLastFormat && !list.isList && format == m_lastFormat) {
        // The paragraph has its format already and is in no list: nothing
        // to set, so its text and end stay held with what follows.
        m_hasLastFormat = false;
        if (m_listsOpen)
            m_edits.emplace_back(Edit::EndLists);
        m_listsOpen = false;
        m_runStart = m_text.size();
        return;
    }
    closeRun();
    applyParagraph(format, list);
}

void DocumentBuilder::finish(const QTextBlockFormat &format, const ListPlace &list, bool insertMode)
{
    closeRun();
    if (!insertMode) {
        if (!m_blockPending)
            applyParagraph(format, list);
    } else if (m_blockPending) {
        // Inserted RTF that ends with a paragraph mark ends its paragraph;
        // what follows the insertion point keeps the paragraph format it had.
        addBlock(m_landingFormat);
    }
    commit();
}

void DocumentBuilder::applyParagraph(const QTextBlockFormat &format, const ListPlace &list)
{
    Edit &paragraph = m_edits.emplace_back(Edit::Paragraph);
    paragraph.setFormat = !m_hasLastFormat || !(format == m_lastFormat);
    if (paragraph.setFormat) {
        m_lastFormat = format;
        if (m_blockEdit >= 0) {
            m_blockFormats[size_t(m_edits[size_t(m_blockEdit)].blockFormat)] = format;
            paragraph.setFormat = false;
        } else if (m_blockSeparator >= 0) {
            m_separators.push_back({m_blockSeparator, addBlockFormat(format)});
            paragraph.setFormat = false;
        } else {
            paragraph.blockFormat = addBlockFormat(format);
        }
    }
    // A second paragraph mark for the same block (a row that goes on after
    // a cell) sets its format the usual way, after the first one's list.
    m_blockSeparator = -1;
    m_blockEdit = -1;
    m_hasLastFormat = false;
    paragraph.list = list;
    if (!paragraph.setFormat && !list.isList && !m_blockInList)
        paragraph.kind = Edit::EndLists; // no list to leave: the document need not look
    // A block that leaves a list has its indent changed by that, so it no
    // longer has m_lastFormat.
    m_plainBlock = !list.isList && !m_blockInList;
    m_blockInList = list.isList;
    m_listsOpen = list.isList;
}

void DocumentBuilder::commit()
{
    closeRun();
    ReplayPlace place;
    for (const Edit &edit : m_edits)
        replay(edit, place);
    m_edits.clear();
    m_charFormats.clear();
    m_blockFormats.clear();
    m_formatIndex = -1;
    m_separators.clear();
    m_blockSeparator = -1;
    m_blockEdit = -1;
    m_text.truncate(0); // keeps its buffer for the next batch
    m_runBegin = 0;
    m_runStart = 0;
}

void DocumentBuilder::replay(const Edit &edit, ReplayPlace &place)
{
    switch (edit.kind) {
    case Edit::Text: {
        const QTextCharFormat &format = m_charFormats[size_t(edit.charFormat)];
        // Qt would give the block a separator starts the format of the one
        // before; these start a block of their own format instead.
        for (; place.separator < m_separators.size() && m_separators[place.separator].at < edit.end;
             ++place.separator) {
            const FormattedSeparator &separator = m_separators[place.separator];
            insertHeld(place.text, separator.at, format);
            m_cursor.insertBlock(m_blockFormats[size_t(separator.blockFormat)], format);
            place.text = separator.at + 1;
        }
        insertHeld(place.text, edit.end, format);
        place.text = edit.end;
        break;
    }
    case Edit::Block:
        m_cursor.insertBlock(m_blockFormats[size_t(edit.blockFormat)], m_charFormats[size_t(edit.charFormat)]);
        break;
    case Edit::Paragraph:
        if (edit.setFormat)
            m_cursor.setBlockFormat(m_blockFormats[size_t(edit.blockFormat)]);
        placeInList(m_cursor.block(), edit.list);
        break;
    case Edit::Image:
        m_cursor.insertImage(m_charFormats[size_t(edit.charFormat)].toImageFormat());
        break;
    case Edit::EndLists:
        m_openLists.clear();
        break;
    }
}

void DocumentBuilder::insertHeld(qsizetype begin, qsizetype end, const QTextCharFormat &format)
{
    // The document copies the text: no need to copy it out of m_text first.
    if (end > begin)
        m_cursor.insertText(QString::fromRawData(m_text.data() + begin, end - begin), format);
}

void DocumentBuilder::placeInList(const QTextBlock &block, const ListPlace &list)
{
    if (!list.isList) {
        if (QTextList *old = block.textList())
            old->remove(block); // which changes its indent
        m_openLists.clear();
        return;
    }
    const int level = qBound(0, list.level, MaxListLevel);
    // A shallower item ends the deeper lists under it.
    if (m_openLists.size() > size_t(level + 1))
        m_openLists.resize(size_t(level + 1));
    if (m_openLists.size() < size_t(level + 1))
        m_openLists.resize(size_t(level + 1));
    OpenList &open = m_openLists[size_t(level)];
    if (open.list && open.key == list.key && open.style == list.style && open.items < maxListItems(list.style)) {
        if (block.textList() != open.list)
            open.list->add(block);
        ++open.items;
        return;
    }
    QTextListFormat listFormat;
    listFormat.setStyle(list.style);
    // The top level is not indented by the list itself: \li carries it.
    listFormat.setIndent(level);
    open = {list.key, list.style, m_cursor.createList(listFormat), 1};
}

} // namespace rtf
