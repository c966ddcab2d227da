#include "documentsnapshot.h"

#include "rtfwriter.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace controls {

namespace {

// The copy asks nobody for a resource by name, not even the file system:
// what it shows was copied with it.
class CopiedDocument : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl &) override { return {}; }
};

// A picture as a value that may cross threads: a pixmap belongs to the GUI
// thread, its image does not.
QVariant portable(QVariant resource)
{
    if (resource.userType() == QMetaType::QPixmap)
        return resource.value<QPixmap>().toImage();
    return resource;
}

} // namespace

TDocumentSnapshot::TDocumentSnapshot(const QTextDocument &document)
{
    copyBlocks(document, std::numeric_limits<qint64>::max());
    copyFormats(document);
}

void TDocumentSnapshot::copyFormats(const QTextDocument &document)
{
    // Formats are only ever added to a document, so those taken last serve
    // every paragraph taken before.
    m_formats = document.allFormats();
    m_defaultFont = document.defaultFont();
    for (const QTextFormat &format : std::as_const(m_formats)) {
        if (format.isImageFormat()) {
            const QString name = format.toImageFormat().name();
            if (!m_pictures.contains(name))
                m_pictures.insert(name, portable(document.resource(QTextDocument::ImageResource, QUrl(name))));
        } else if (format.isBlockFormat() && format.objectIndex() >= 0) {
            if (const auto *list = qobject_cast<const QTextList *>(document.object(format.objectIndex())))
                m_lists.insert(format.objectIndex(), list->format());
        }
    }
}

bool TDocumentSnapshot::copyBlocks(const QTextDocument &document, qint64 budgetNs)
{
    if (m_text.isEmpty()) {
        m_blocks.reserve(size_t(document.blockCount()));
        // Room for a run every few words: growing the list of half a million
        // runs of a big card would copy it over and over.
        m_runs.reserve(size_t(document.blockCount()) + size_t(document.characterCount()) / 16);
        m_text.reserve(document.characterCount());
    }
    QElapsedTimer clock;
    clock.start();
    // Reading the clock costs more than a run: it is read after a measure of
    // work, a run counting one and a paragraph eight.
    int work = 0;
    const auto spent = [&](int done) {
        const int before = work;
        work += done;
        return before / 128 != work / 128 && clock.nsecsElapsed() >= budgetNs;
    };
    // The text run by run, each paragraph with a separator behind it, so that
    // it is indexed as the document is (QTextDocument::toRawText takes
    // several times as long on some big cards, and a paragraph's own text
    // comes whole, however long it is).
    int skip = m_partialRuns;
    QTextBlock block = m_text.isEmpty() ? document.begin()
                                        : document.findBlock(skip > 0 ? m_partialStart : int(m_text.size()));
    for (; block.isValid(); block = block.next()) {
        const int start = skip > 0 ? m_partialStart : int(m_text.size());
        int taken = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it, ++taken) {
            // Taken in the slice before: the paragraph was not edited since.
            if (taken < skip)
                continue;
            const QTextFragment fragment = it.fragment();
            const QString text = fragment.text();
            m_runs.push_back({int(m_text.size()), int(text.size()), fragment.charFormatIndex()});
            m_text += text;
            if (spent(1)) {
                m_partialStart = start;
                m_partialRuns = taken + 1;
                return false;
            }
        }
        skip = 0;
        m_partialRuns = 0;
        m_text += QChar::ParagraphSeparator;
        m_blocks.push_back({block.blockFormatIndex(), int(m_runs.size()), start});
        if (spent(8))
            return !block.next().isValid();
    }
    return true;
}

void TDocumentSnapshot::dropFrom(int position)
{
    // An edit right behind a paragraph's last run taken may have grown that
    // run: a paragraph begun is taken again from its start.
    if (m_partialRuns > 0 && position >= m_partialStart && position <= m_text.size()) {
        m_partialRuns = 0;
        m_text.resize(m_partialStart);
        m_runs.resize(m_blocks.empty() ? 0 : size_t(m_blocks.back().runEnd));
        return;
    }
    if (position >= m_text.size())
        return;
    m_partialRuns = 0;
    const auto held = std::upper_bound(m_blocks.begin(), m_blocks.end(), position,
                                       [](int at, const Block &block) { return at < block.textStart; });
    const size_t keep = held == m_blocks.begin() ? 0 : size_t(held - m_blocks.begin()) - 1;
    m_text.resize(m_blocks[keep].textStart);
    m_runs.resize(keep == 0 ? 0 : size_t(m_blocks[keep - 1].runEnd));
    m_blocks.resize(keep);
}

std::unique_ptr<QTextDocument> TDocumentSnapshot::Rebuild() const
{
    auto document = std::make_unique<CopiedDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(m_defaultFont);
    for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it)
        document->addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());

    // The original's objects mean nothing in the copy: the formats lose
    // their object index, and each list is made anew at its first item.
    QList<QTextFormat> formats = m_formats;
    for (QTextFormat &format : formats)
        format.clearProperty(QTextFormat::ObjectIndex);
    const auto formatAt = [&formats](int index) {
        return index >= 0 && index < formats.size() ? formats.at(index) : QTextFormat();
    };
    QHash<int, int> madeLists; // the copy's object index by the original's

    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    size_t run = 0;
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        const Block &block = m_blocks[i];
        QTextBlockFormat blockFormat = formatAt(block.format).toBlockFormat();
        const int list = block.format >= 0 && block.format < m_formats.size() ? m_formats.at(block.format).objectIndex()
                                                                               : -1;
        const auto made = madeLists.constFind(list);
        if (made != madeLists.cend())
            blockFormat.setObjectIndex(*made);
        if (i == 0)
            cursor.setBlockFormat(blockFormat);
        else
            cursor.insertBlock(blockFormat, QTextCharFormat());
        if (made == madeLists.cend() && m_lists.contains(list))
            madeLists.insert(list, cursor.createList(m_lists.value(list).toListFormat())->objectIndex());
        for (; run < size_t(block.runEnd); ++run) {
            const Run &r = m_runs[run];
            cursor.insertText(QString::fromRawData(m_text.constData() + r.position, r.length),
                              formatAt(r.format).toCharFormat());
        }
    }
    cursor.endEditBlock();
    return document;
}

QByteArray TDocumentSnapshot::Rtf() const { return rtf::RtfWriter(Rebuild().get()).write(); }

TDocumentCopier::TDocumentCopier(QTextDocument *document, Done done, int sliceMs)
    : m_document(document), m_done(std::move(done)), m_sliceNs(qint64(sliceMs) * 1000000),
      m_copy(new TDocumentSnapshot)
{
    // Without a layout a document tells no edits.
    document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this,
            [this](int position, int, int) { m_copy->dropFrom(position); });
    m_turns.setSingleShot(true);
    m_turns.setInterval(0);
    connect(&m_turns, &QTimer::timeout, this, [this] {
        if (!Step())
            m_turns.start();
    });
    m_turns.start();
}

bool TDocumentCopier::Step()
{
    if (!m_done)
        return true;
    if (m_document && !m_copy->copyBlocks(*m_document, m_sliceNs))
        return false;
    if (m_document) {
        m_copy->copyFormats(*m_document);
        disconnect(m_document, nullptr, this, nullptr);
    } else {
        m_copy.reset();
    }
    m_turns.stop();
    // Last: the receiver may delete the copier.
    const Done done = std::exchange(m_done, nullptr);
    done(std::move(m_copy));
    return true;
}

} // namespace controls
