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
#include <QList>
#include <QString>
#include <QTextFormat>
#include <QVariant>

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
    struct Run {
        int position; // into m_text, which is indexed as the document is
        int length;
        int format;   // into m_formats
    };
    struct Block {
        int format; // block format, into m_formats
        int runEnd; // one past its last run in m_runs
    };

    QString m_text;
    QList<QTextFormat> m_formats;
    QHash<int, QTextFormat> m_lists; // list formats by the original's object index
    QHash<QString, QVariant> m_pictures;
    QFont m_defaultFont;
    std::vector<Block> m_blocks;
    std::vector<Run> m_runs;
};

} // namespace controls
