#include "rtfreader.h"

#include "rtfdocumentbuilder.h"
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

} // namespace

RtfReader::RtfReader(QTextDocument *document) : m_document(document) {}

bool RtfReader::looksLikeRtf(QByteArrayView bytes)
{
    return Interpreter::rtfStart(bytes) >= 0;
}

bool RtfReader::read(QByteArrayView bytes)
{
    m_issues = {};
    const qsizetype start = Interpreter::rtfStart(bytes);
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
        DocumentBuilder builder(cursor);
        Interpreter interpreter(builder, false);
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
    const qsizetype start = Interpreter::rtfStart(bytes);
    if (cursor.isNull() || start < 0)
        return false;
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    {
        DocumentBuilder builder(cursor);
        Interpreter interpreter(builder, true);
        interpreter.run(bytes.sliced(start));
        logIssues(interpreter.issues());
        if (issues)
            *issues = interpreter.issues();
    }
    cursor.endEditBlock();
    return true;
}

} // namespace rtf
