#pragma once
// A copy of a document that is cheap to take and can be made into a document
// again on another thread: what a background write of a big card takes from
// the editor. Taking it copies the text once and, per paragraph and per run,
// a few numbers; the formats, lists and pictures are Qt's implicitly shared
// values. Paragraphs come back in order with their formats, lists and
// runs; tables and other frames come back as the paragraphs they hold, and
// paragraph marks without a format of their own (asking a paragraph for its
// mark's format searches the document): all a writer that walks paragraphs
// and runs sees of them.

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QList>
#include <QString>
#include <QTextFormat>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class QTextDocument;

namespace controls {

class TDocumentSnapshot {
public:
    // Taken on the document's thread.
    explicit TDocumentSnapshot(const QTextDocument &document);

    // A new document with the copied content, on any thread. It reads no
    // resource by name: every picture it shows was copied.
    std::unique_ptr<QTextDocument> Rebuild() const;
    // The copy as RTF, byte for byte what rtf::RtfWriter writes of the
    // original; on any thread.
    QByteArray Rtf() const;

private:
    friend class TDocumentCopier;
    TDocumentSnapshot() = default;
    // The text and runs of the document's paragraphs from where the copy
    // stopped on, until the clock's budget is spent (a slice may stop inside
    // a paragraph). True when the last paragraph is in.
    bool copyBlocks(const QTextDocument &document, qint64 budgetNs);
    // The paragraphs from the one holding position on are copied again.
    void dropFrom(int position);
    // What the paragraphs refer to, taken once they are all in.
    void copyFormats(const QTextDocument &document);

    struct Run {
        int position; // into m_text, which is indexed as the document is
        int length;
        int format;   // into m_formats
    };
    struct Block {
        int format; // block format, into m_formats
        int runEnd; // one past its last run in m_runs
        int textStart; // where its text begins in m_text
    };

    QString m_text;
    QList<QTextFormat> m_formats;
    QHash<int, QTextFormat> m_lists; // list formats by the original's object index
    QHash<QString, QVariant> m_pictures;
    QFont m_defaultFont;
    std::vector<Block> m_blocks;
    std::vector<Run> m_runs;
    // A paragraph whose runs a slice took only in part: where its text
    // begins and how many of its runs are in.
    int m_partialStart = 0;
    int m_partialRuns = 0;
};

// Takes a TDocumentSnapshot of a document over several turns of the event
// loop, a few milliseconds each, so that even the copy of a big card never
// holds up the typing for long. An edit between two turns makes it take
// again the paragraphs from the edited one on, so what it hands over is the
// document as it was at the last turn. It hands over no copy (null) when
// the document went meanwhile (another card was loaded), and nothing at all
// when it is destroyed first.
class TDocumentCopier : public QObject {
public:
    using Done = std::function<void(std::shared_ptr<const TDocumentSnapshot>)>;
    static constexpr int kSliceMs = 4;

    // Starts at the next turn of the event loop.
    TDocumentCopier(QTextDocument *document, Done done, int sliceMs = kSliceMs);

    // One turn's slice; true when the copy was handed over.
    bool Step();

private:
    QPointer<QTextDocument> m_document;
    Done m_done;
    qint64 m_sliceNs;
    std::shared_ptr<TDocumentSnapshot> m_copy;
    QTimer m_turns;
};

} // namespace controls
