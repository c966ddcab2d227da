#pragma once
// Rich-text documents read no resource by name from outside themselves: a
// picture naming "/dev/zero" or a local file (pasted HTML can name anything)
// shows nothing instead of being read. Qt reads a local file before it asks
// a document's resource provider, but asks the document's parent first when
// that has an invokable loadResource(int, QUrl); the editor is such a parent,
// and documents without an editor (copies for printing and export, cards
// read for export) take ResourceGuard() as theirs.

#include <QObject>
#include <QUrl>
#include <QVariant>

#include <memory>

class QTextDocument;

namespace platform {

// What a document may fetch by name: an empty answer for every name but a
// data: address, which the document decodes itself (an invalid QVariant).
QVariant NoOutsideResource(const QUrl &name);

// A parent for documents without an editor; it answers NoOutsideResource.
// It lives as long as the program; GUI thread only.
QObject *ResourceGuard();

// A copy of document whose parent is ResourceGuard().
std::unique_ptr<QTextDocument> CopyDocument(const QTextDocument &document);

} // namespace platform
