// libFuzzer entry for the RTF reader: any bytes, read into a document and
// written back, must neither crash nor hang nor grow without bound, and
// their plain text must be the text of the document.

#include "rtfplaintext.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    // Damaged input is the norm here; its warnings would only slow the run.
    QLoggingCategory::setFilterRules(QStringLiteral("kartolino.rtf.warning=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    rtf::RtfReader reader(&document);
    if (!reader.read(bytes))
        return 0;
    // The find index reads cards without a document, through the same interpreter.
    if (rtf::PlainText(bytes) != document.toPlainText())
        std::abort();
    const QByteArray written = rtf::RtfWriter(&document).write();
    // What we write must read again, with the same text.
    QTextDocument again;
    if (!rtf::RtfReader(&again).read(written) || again.toPlainText() != document.toPlainText())
        std::abort();
    // Writing is stable: what was written once reads and writes the same.
    if (rtf::RtfWriter(&again).write() != written)
        std::abort();
    // And pasting the same bytes into a document must work as well.
    QTextCursor cursor(&again);
    rtf::RtfReader::insert(cursor, bytes);
    return 0;
}
