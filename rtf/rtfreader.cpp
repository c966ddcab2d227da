#include "rtf/rtfreader.h"

#include "rtf/rtfinterpreter.h"

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

} // namespace

RtfReader::RtfReader(QTextDocument *document) : m_document(document) {}

bool RtfReader::looksLikeRtf(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.sliced(i).startsWith("{\\rtf");
}

bool RtfReader::read(QByteArrayView bytes)
{
    m_issues = {};
    if (!m_document || !looksLikeRtf(bytes))
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
        interpreter.run(bytes);
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
    if (cursor.isNull() || !looksLikeRtf(bytes))
        return false;
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    {
        Interpreter interpreter(cursor, true);
        interpreter.run(bytes);
        logIssues(interpreter.issues());
        if (issues)
            *issues = interpreter.issues();
    }
    cursor.endEditBlock();
    return true;
}

} // namespace rtf
