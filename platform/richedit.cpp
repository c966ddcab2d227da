#include "platform/richedit.h"

#include "platform/application.h"
#include "platform/exception.h"
#include "platform/files.h"
#include "platform/streampieces.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextList>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QApplication>
#include <memory>

namespace platform {

namespace {

// Plain-text cards: a Linux editor saves UTF-8; everything else is the
// program's own 8-bit Windows-1252.
QString decodePlainText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError())
        return asUtf8;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

QString plainTextFromCrLf(QByteArray bytes)
{
    // After the piece handling every line end is CR LF.
    bytes.replace("\r\n", "\n");
    return decodePlainText(bytes);
}

} // namespace

TRichEdit::TRichEdit(QWidget *parent) : QTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAcceptRichText(true);
    document()->setDocumentMargin(0);
    connect(document(), &QTextDocument::contentsChanged, this, &TRichEdit::contentsChanged);
}

void TRichEdit::contentsChanged()
{
    if (m_loading || !OnChange)
        return;
    platform::Guarded([this] { OnChange(this); });
}

void TRichEdit::LoadDocument(const QString &path)
{
    InputFile file;
    if (!file.open(path))
        throw Exception(QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(path));
    const qint64 start = file.position();
    QByteArray bytes;
    if (!ReadNormalizedPieces(file, bytes))
        throw Exception(QStringLiteral("Das Laden des Streams ist mißlungen"));

    // Parse into a fresh document first, so a failure leaves the editor's
    // content untouched, and a success needs no copy: the new document
    // simply takes the old one's place (with an empty undo history).
    auto loaded = std::make_unique<QTextDocument>();
    loaded->setDefaultFont(document()->defaultFont());
    loaded->setDocumentMargin(document()->documentMargin());
    loaded->setUndoRedoEnabled(false);
    if (!rtf::RtfReader(loaded.get()).read(bytes)) {
        bytes.clear();
        if (!file.seek(start) || !ReadNormalizedPieces(file, bytes))
            throw Exception(QStringLiteral("Das Laden des Streams ist mißlungen"));
        loaded->setPlainText(plainTextFromCrLf(bytes));
    }
    file.close();
    loaded->setUndoRedoEnabled(true);
    loaded->setModified(false);
    adoptDocument(loaded.release());
    m_textLimit = kMaxTextLimit;
}

void TRichEdit::SaveDocument(const QString &path) const
{
    const QByteArray bytes = rtf::RtfWriter(document()).write();
    switch (ReplaceFileContents(path, bytes)) {
    case ReplaceResult::Ok:
        return;
    case ReplaceResult::CannotCreate:
        throw Exception(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
    case ReplaceResult::WriteFailed:
        throw Exception(QStringLiteral("Das Speichern des Streams ist mißlungen"));
    }
}

void TRichEdit::adoptDocument(QTextDocument *doc)
{
    QScopedValueRollback<bool> loading(m_loading, true);
    // The control deletes the document it made itself; ours we delete.
    QPointer<QTextDocument> old = document();
    disconnect(old.data(), &QTextDocument::contentsChanged, this, &TRichEdit::contentsChanged);
    doc->setParent(this);
    setDocument(doc);
    connect(doc, &QTextDocument::contentsChanged, this, &TRichEdit::contentsChanged);
    if (old && old->parent() == this)
        delete old.data();
    moveCursor(QTextCursor::Start);
}

void TRichEdit::UndoLastEdit() { undo(); }
void TRichEdit::CutSelection() { cut(); }
void TRichEdit::CopySelection() { copy(); }
void TRichEdit::PasteClipboard() { paste(); }

void TRichEdit::SetNumberingNone()
{
    QTextCursor cursor = textCursor();
    if (QTextList *list = cursor.currentList()) {
        QTextBlockFormat format = cursor.blockFormat();
        list->remove(cursor.block());
        format.setIndent(0);
        cursor.setBlockFormat(format);
    }
}

void TRichEdit::SetBaseFont(const QString &name, int pointSize)
{
    QFont font = document()->defaultFont();
    if (font.family() == name && font.pointSize() == pointSize)
        return;
    // Setting the base font is no edit of the card.
    QScopedValueRollback<bool> quiet(m_loading, true);
    font.setFamily(name);
    font.setPointSize(pointSize);
    document()->setDefaultFont(font);
    QTextCharFormat format;
    format.setFontFamilies({name});
    format.setFontPointSize(pointSize);
    if (document()->isEmpty()) {
        // An empty card's first paragraph carries what will be typed into it.
        QTextCursor first(document());
        first.mergeBlockCharFormat(format);
    }
    mergeCurrentCharFormat(format);
}

void TRichEdit::ClearDocument()
{
    if (document()->isEmpty())
        return;
    clear();
}

qint64 TRichEdit::TextLength() const
{
    // QTextDocument counts one character per paragraph end; the control two.
    const QTextDocument *doc = document();
    return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

qint64 TRichEdit::roomLeft() const
{
    const QTextCursor c = textCursor();
    return m_textLimit - (TextLength() - (c.selectionEnd() - c.selectionStart()));
}

void TRichEdit::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool inserts = !text.isEmpty() && (text.at(0).isPrint() || text == QLatin1String("\r") || text == QLatin1String("\t"));
    if (inserts && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && roomLeft() < 1) {
        QApplication::beep();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TRichEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText() || source->text().size() <= roomLeft()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    // Only what still fits goes in, as plain text.
    const qint64 room = qMax<qint64>(0, roomLeft());
    textCursor().insertText(source->text().left(room));
}

void TRichEdit::SetFormatRect(int left, int top, int right, int bottom)
{
    setViewportMargins(qMax(0, left), qMax(0, top), qMax(0, width() - right), qMax(0, height() - bottom));
}

} // namespace platform
