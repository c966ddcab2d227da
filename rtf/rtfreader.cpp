#include "rtfreader.h"

#include "rtfinterpreter.h"

#include <QTextCursor>
#include <QTextDocument>

namespace rtf {

Q_LOGGING_CATEGORY(lcRtf, "kartolino.rtf")

namespace {

void logIssues(ReadIssues issues)
{
    if (issues)
        qCWarning(lcRtf) << "damaged RTF read as far as possible, issues" << Qt::hex << issues.toInt();
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where "\rtf" starts, or -1 when bytes are no RTF. Word and LibreOffice
// read past a UTF-8 byte order mark and white space before and after the
// opening brace, and so do we.
qsizetype rtfStart(QByteArrayView bytes)
{
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && isSpace(bytes[i]))
        ++i;
    if (i >= bytes.size() || bytes[i] != '{')
        return -1;
    ++i;
    while (i < bytes.size() && isSpace(bytes[i]))
        ++i;
    return bytes.sliced(i).startsWith("\\rtf") ? i : -1;
}

} // namespace

RtfReader::RtfReader(QTextDocument *document) : m_document(document) {}

bool RtfReader::looksLikeRtf(QByteArrayView bytes)
{
    return rtfStart(bytes) >= 0;
}

bool RtfReader::read(QByteArrayView bytes)
{
    m_issues = {};
    const qsizetype start = rtfStart(bytes);
    if (!m_document || start < 0)
        return false;
    // A load starts a fresh history; recording it would only cost time and
    // memory.
    const bool undo = m_document->isUndoRedoEnabled();
    m_document->setUndoRedoEnabled(false);
    m_document->clear();
    {
        QTextCursor cursor(m_document);
        cursor.beginEditBlock();
        Interpreter interpreter(cursor, false);
        interpreter.run(bytes.sliced(start));
        cursor.endEditBlock();
        m_issues = interpreter.issues();
    }
    m_document->setUndoRedoEnabled(undo);
    m_document->setModified(false); // it now holds what the bytes hold
    logIssues(m_issues);
    return true;
}

bool RtfReader::insert(QTextCursor &cursor, QByteArrayView bytes, ReadIssues *issues)
{
    if (issues)
        *issues = {};
    const qsizetype start = rtfStart(bytes);
    if (cursor.isNull() || start < 0)
        return false;
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    {
        Interpreter interpreter(cursor, true);
        interpreter.run(bytes.sliced(start));
        logIssues(interpreter.issues());
        if (issues)
            *issues = interpreter.issues();
    }
    cursor.endEditBlock();
    return true;
}

} // namespace rtf
