#pragma once
// Writes a QTextDocument out as RTF that the old rich-edit controls, word
// processors and converters all read: Windows-1252 with \uN for the rest,
// a font and a colour table of what is used, bullets in the \pn form.

#include <QByteArray>

class QTextDocument;
class QTextDocumentFragment;
class QTextCursor;

namespace rtf {

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument *document);

    // The whole document.
    QByteArray write() const;

    // A piece of text (for the clipboard). Pictures are looked up in the
    // writer's document, whose default font also stands for runs without one.
    QByteArray writeFragment(const QTextDocumentFragment &fragment) const;
    QByteArray writeSelection(const QTextCursor &cursor) const;

private:
    const QTextDocument *m_document;
};

} // namespace rtf
