#pragma once
// Reads RTF into a QTextDocument.

#include "rtfissues.h"

#include <QByteArrayView>

class QTextCursor;
class QTextDocument;

namespace rtf {

class RtfReader {
public:
    explicit RtfReader(QTextDocument *document);

    // Replaces the document's whole content by the RTF in bytes. Returns
    // false, leaving the document untouched, only when bytes do not start as
    // RTF; damaged RTF keeps what could be read. The load is not undoable
    // and leaves the document unmodified.
    bool read(QByteArrayView bytes);

    // What was damaged in the input of the last read (logged as well).
    ReadIssues issues() const { return m_issues; }

    // Inserts RTF at the cursor, replacing its selection, as one undoable
    // edit (for pasting). The paragraph the last inserted line lands in
    // keeps its format. Returns false, inserting nothing, when bytes do not
    // start as RTF.
    static bool insert(QTextCursor &cursor, QByteArrayView bytes, ReadIssues *issues = nullptr);

    // True when bytes start as RTF: "{\rtf", with white space before and
    // after the brace and a UTF-8 byte order mark allowed.
    static bool looksLikeRtf(QByteArrayView bytes);

private:
    QTextDocument *m_document;
    ReadIssues m_issues;
};

} // namespace rtf
