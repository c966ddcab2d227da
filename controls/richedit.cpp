#include "richedit.h"

#include "blockwindow.h"

#include "guarded.h"
#include "documentresources.h"
#include "editorkeys.h"
#include "exception.h"
#include "files.h"
#include "printing.h"
#include "streampieces.h"
#include "rtfproperties.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QFontInfo>
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
#include <QTextFragment>
#include <QTextLayout>
#include <QUrl>
#include <QVariant>
#include <QAbstractUndoItem>
#include <memory>

namespace controls {

namespace {

QString plainTextFromCrLf(QByteArray bytes)
{
    // After the piece handling every line end is CR LF.
    bytes.replace("\r\n", "\n");
    // A Linux editor saves UTF-8; everything else is the program's own 8-bit text.
    return platform::DecodeUtf8OrWindows1252(bytes);
}

} // namespace

TRichEdit::TRichEdit(QWidget *parent) : QTextEdit(parent), m_window(new TBlockWindow(this))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAcceptRichText(true);
    document()->setDocumentMargin(0);
    // The margins around the formatting rectangle belong to the writing
    // surface: painted like it, with the text cursor over them.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setCursor(Qt::IBeamCursor);
    connect(document(), &QTextDocument::contentsChanged, this, &TRichEdit::contentsChanged);
    // Hidden text of a loaded card stays hidden, but what is typed after
    // it must show.
    connect(this, &QTextEdit::currentCharFormatChanged, this, [this](const QTextCharFormat &format) {
        if (!format.boolProperty(rtf::HiddenTextProperty) || textCursor().hasSelection())
            return;
        QTextCharFormat shown = format;
        shown.clearProperty(rtf::HiddenTextProperty);
        shown.clearProperty(QTextFormat::FontPixelSize);
        setCurrentCharFormat(shown);
    });
    // m_defaultFormat starts empty: whatever it does not set shows the
    // document's font, which follows the widget's.
}

void TRichEdit::contentsChanged()
{
    if (m_loading || !OnChange)
        return;
    platform::Guarded([this] { OnChange(this); });
}

std::unique_ptr<QTextDocument> TRichEdit::ReadDocument(const QString &path, const QFont &baseFont)
{
    platform::InputFile file;
    if (!file.open(path))
        throw platform::Exception(QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(platform::ReadableFileName(path)));
    const qint64 start = file.position();
    QByteArray bytes;
    if (!ReadAll(file, bytes))
        throw platform::Exception(QStringLiteral("Das Laden des Streams ist mißlungen"));

    std::unique_ptr<QTextDocument> loaded(new QTextDocument(platform::ResourceGuard()));
    loaded->setDefaultFont(baseFont);
    loaded->setDocumentMargin(0);
    loaded->setUndoRedoEnabled(false);
    if (!rtf::RtfReader(loaded.get()).read(bytes)) {
        bytes.clear();
        if (!file.seek(start) || !ReadNormalizedPieces(file, bytes))
            throw platform::Exception(QStringLiteral("Das Laden des Streams ist mißlungen"));
        loaded->setPlainText(plainTextFromCrLf(bytes));
    }
    file.close();
    // Later paragraphs come with the format of their first run; the first
    // one keeps the empty format it was made with, so its bullet would be
    // drawn in the fallback font, a tiny raised dot. It takes its run's too.
    const QTextBlock first = loaded->begin();
    if (first.isValid() && !first.begin().atEnd() && first.charFormat().properties().isEmpty())
        QTextCursor(first).setBlockCharFormat(first.begin().fragment().charFormat());
    loaded->setUndoRedoEnabled(true);
    loaded->setModified(false);
    return loaded;
}

void TRichEdit::LoadDocument(const QString &path)
{
    // Parsed into a fresh document first, so a failure leaves the editor's
    // content untouched, and a success needs no copy: the new document
    // simply takes the old one's place (with an empty undo history).
    std::unique_ptr<QTextDocument> loaded = ReadDocument(path, document()->defaultFont());
    loaded->setDocumentMargin(document()->documentMargin());
    adoptDocument(loaded.release());
    m_textLimit = kMaxTextLimit;
}

void TRichEdit::SaveDocument(const QString &path) const
{
    const QByteArray bytes = rtf::RtfWriter(document()).write();
    switch (platform::ReplaceFileContents(path, bytes)) {
    case platform::ReplaceResult::Ok:
        return;
    case platform::ReplaceResult::CannotCreate:
        throw platform::Exception(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(platform::ReadableFileName(path)));
    case platform::ReplaceResult::WriteFailed:
        throw platform::Exception(QStringLiteral("Das Speichern des Streams ist mißlungen"));
    }
}

void TRichEdit::adoptDocument(QTextDocument *doc)
{
    QScopedValueRollback<bool> loading(m_loading, true);
    // The control deletes the document it made itself; ours we delete.
    QPointer<QTextDocument> old = document();
    disconnect(old.data(), &QTextDocument::contentsChanged, this, &TRichEdit::contentsChanged);
    doc->setParent(this);
    m_window->Prepare(doc, 0);
    setDocument(doc);
    connect(doc, &QTextDocument::contentsChanged, this, &TRichEdit::contentsChanged);
    if (old && old->parent() == this)
        delete old.data();
    moveCursor(QTextCursor::Start);
}

bool TRichEdit::HandleAllocated() const { return testAttribute(Qt::WA_WState_Created); }

void TRichEdit::UndoLastEdit()
{
    if (HandleAllocated())
        undo();
}

void TRichEdit::CutSelection() { cut(); }
void TRichEdit::CopySelection() { copy(); }
void TRichEdit::PasteClipboard() { paste(); }

qint64 TRichEdit::SelectionLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

QTextCharFormat TRichEdit::FirstSelectedCharFormat() const
{
    const QTextCursor selection = textCursor();
    QTextCursor first(document());
    first.setPosition(selection.selectionStart());
    // A cursor reports the character before it: step over the first one.
    if (selection.hasSelection())
        first.movePosition(QTextCursor::NextCharacter);
    return first.charFormat();
}

void TRichEdit::ChangeSelectionFormat(const std::function<void(QTextCharFormat &)> &change)
{
    const QTextCursor selection = textCursor();
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    if (start == end)
        return;
    // Each run keeps its other properties, so collect them all before the
    // first change splits or merges fragments.
    struct Run {
        int from, to;
        QTextCharFormat format;
    };
    QList<Run> runs;
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int from = qMax(f.position(), start);
            const int to = qMin(f.position() + f.length(), end);
            if (from < to)
                runs.append({from, to, f.charFormat()});
        }
    }
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (Run &run : runs) {
        change(run.format);
        edit.setPosition(run.from);
        edit.setPosition(run.to, QTextCursor::KeepAnchor);
        edit.setCharFormat(run.format);
    }
    edit.endEditBlock();
}

void TRichEdit::ChangeDefaultFormat(const std::function<void(QTextCharFormat &)> &change)
{
    change(m_defaultFormat);
    // The text already there keeps its look; what is typed next takes the
    // change. With a selection, typing replaces it and takes its format.
    if (textCursor().hasSelection())
        return;
    QTextCharFormat typing = currentCharFormat();
    change(typing);
    setCurrentCharFormat(typing);
}

void TRichEdit::SetNumberingNone() { ParagraphAttributes().SetNumbering(nsNone); }

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
    m_defaultFormat = QTextCharFormat();
    m_defaultFormat.setFontFamilies({name});
    m_defaultFormat.setFontPointSize(pointSize);
    SetStyleOfFormat(m_defaultFormat, StyleOfFont(font));
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

void TRichEdit::PrintDocument(platform::PrinterSession &session, const QString &title) const
{
    session.PrintDocument(*document(), title);
}

namespace {

// Where display line index starts, or -1 when there is no such line.
int lineStart(const QTextDocument *doc, int index)
{
    if (index == 0)
        return 0;
    const QTextBlock block = doc->findBlockByLineNumber(index);
    if (!block.isValid())
        return -1;
    const int local = index - block.firstLineNumber();
    const QTextLayout *layout = block.layout();
    if (layout && local > 0 && local < layout->lineCount())
        return block.position() + layout->lineAt(local).textStart();
    return block.position();
}

} // namespace

void TRichEdit::InsertLine(int index, const QString &text)
{
    QTextDocument *doc = document();
    const int position = index < 0 ? -1 : lineStart(doc, index);
    // The break counts as the two characters CR LF.
    if (position < 0 || TextLength() + text.size() + 2 > m_textLimit)
        throw platform::Exception(QString::fromUtf8(kInsertLineFailedText));
    QTextCursor cursor(doc);
    cursor.setPosition(position);
    const bool undoable = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    cursor.insertText(text);
    cursor.insertBlock();
    doc->setUndoRedoEnabled(undoable);
    setTextCursor(cursor);
    if (textCursor().position() != position + text.size() + 1)
        throw platform::Exception(QString::fromUtf8(kInsertLineFailedText));
}

QMimeData *TRichEdit::MimeDataFor(const QTextDocumentFragment &fragment, const QFont &baseFont)
{
    auto *data = new QMimeData;
    data->setText(fragment.toPlainText());
    data->setHtml(fragment.toHtml());
    QTextDocument piece;
    piece.setResourceProvider(platform::NoOutsideResource);
    piece.setDefaultFont(baseFont);
    QTextCursor(&piece).insertFragment(fragment);
    const QByteArray rtf = rtf::RtfWriter(&piece).write();
    data->setData(QString::fromLatin1(kRtfMimeType), rtf);
    data->setData(QString::fromLatin1(kRtfMimeTypeAlt), rtf);
    return data;
}

QMimeData *TRichEdit::createMimeDataFromSelection() const
{
    return MimeDataFor(textCursor().selection(), document()->defaultFont());
}

bool TRichEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source && (source->hasFormat(QString::fromLatin1(kRtfMimeType)) ||
                      source->hasFormat(QString::fromLatin1(kRtfMimeTypeAlt)) || QTextEdit::canInsertFromMimeData(source));
}

bool TRichEdit::insertRichFragment(const QMimeData *source)
{
    QByteArray bytes = source->data(QString::fromLatin1(kRtfMimeType));
    if (bytes.isEmpty())
        bytes = source->data(QString::fromLatin1(kRtfMimeTypeAlt));
    QTextDocument piece;
    piece.setResourceProvider(platform::NoOutsideResource);
    piece.setDefaultFont(document()->defaultFont());
    if (!bytes.isEmpty() && rtf::RtfReader(&piece).read(bytes)) {
        QTextCursor cursor = textCursor();
        cursor.insertFragment(QTextDocumentFragment(&piece));
        setTextCursor(cursor);
        return true;
    }
    if (source->hasHtml()) {
        QTextCursor cursor = textCursor();
        const int from = cursor.selectionStart();
        cursor.insertFragment(QTextDocumentFragment::fromHtml(source->html(), document()));
        const int to = cursor.position();
        // HTML leaves sizes unset or in pixels; the card file would then
        // carry the size of the run before. Each pasted run gets the size it
        // is shown in, in points.
        const double shownPoints = QFontInfo(document()->defaultFont()).pointSizeF();
        const double dpi = logicalDpiY();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
        ChangeSelectionFormat([&](QTextCharFormat &f) {
            if (f.hasProperty(QTextFormat::FontPointSize))
                return;
            const double points = f.hasProperty(QTextFormat::FontPixelSize)
                ? f.intProperty(QTextFormat::FontPixelSize) * 72.0 / dpi
                : shownPoints;
            f.clearProperty(QTextFormat::FontPixelSize);
            f.setFontPointSize(points);
        });
        cursor.setPosition(to);
        setTextCursor(cursor);
        return true;
    }
    return false;
}

void TRichEdit::ClearDocument()
{
    if (!document()->isEmpty())
        clear();
    // Qt keeps the caret's format through a clear; an emptied card starts
    // plain instead, in the base font, with no style or colour of the text
    // that was there. That is no edit of the card.
    QScopedValueRollback<bool> quiet(m_loading, true);
    SetStyleOfFormat(m_defaultFormat, 0);
    m_defaultFormat.clearForeground();
    QTextCursor(document()).setBlockCharFormat(m_defaultFormat);
    setCurrentCharFormat(m_defaultFormat);
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

bool TRichEdit::formattingKey(const QKeyEvent &event)
{
    // Menu shortcuts have been looked up before the key arrives here, so
    // none of them is shadowed.
    const TEditorKey key = EditorKeyOf(event);
    if (key == TEditorKey::None)
        return false;
    // A read-only text keeps its format as well.
    if (isReadOnly())
        return true;
    TTextAttributes current = SelectionLength() > 0 ? SelectionAttributes() : DefaultAttributes();
    switch (key) {
    case TEditorKey::Bold: ToggleStyle(current, fsBold); break;
    case TEditorKey::Italic: ToggleStyle(current, fsItalic); break;
    case TEditorKey::Underline: ToggleStyle(current, fsUnderline); break;
    case TEditorKey::AlignLeft: ParagraphAttributes().SetAlignment(taLeftJustify); break;
    case TEditorKey::AlignCenter: ParagraphAttributes().SetAlignment(taCenter); break;
    case TEditorKey::AlignRight: ParagraphAttributes().SetAlignment(taRightJustify); break;
    case TEditorKey::Redo: redo(); break;
    case TEditorKey::Refused:
    case TEditorKey::None: break;
    }
    return true;
}

void TRichEdit::keyPressEvent(QKeyEvent *event)
{
    if (formattingKey(*event)) {
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool inserts = !text.isEmpty() && (text.at(0).isPrint() || text == QLatin1String("\r") || text == QLatin1String("\t"));
    if (inserts && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && roomLeft() < 1) {
        QApplication::beep();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

QVariant TRichEdit::loadResource(int, const QUrl &name) { return platform::NoOutsideResource(name); }

namespace {

// Ends an undo step: typing right behind a paste would otherwise merge into
// the paste's insertion, and one undo would take back both.
class UndoStepEnd : public QAbstractUndoItem {
public:
    void undo() override {}
    void redo() override {}
};

} // namespace

void TRichEdit::insertFromMimeData(const QMimeData *source)
{
    // Data without a single format is nothing to paste; Qt 6.4's own paste
    // crashes on it, as on X11's primary selection (Ctrl+Shift+Insert) while
    // no program holds one.
    if (!source || isReadOnly() || source->formats().isEmpty())
        return;
    QTextCursor step = textCursor();
    const int revision = document()->revision();
    step.beginEditBlock();
    insertPasted(source);
    if (document()->revision() != revision)
        document()->appendUndoItem(new UndoStepEnd);
    step.endEditBlock();
}

void TRichEdit::insertPasted(const QMimeData *source)
{
    if (source->hasText() && source->text().size() > roomLeft()) {
        // Only what still fits goes in, as plain text.
        const qint64 room = qMax<qint64>(0, roomLeft());
        QTextCursor cursor = textCursor();
        cursor.insertText(source->text().left(room));
        setTextCursor(cursor);
        return;
    }
    if (insertRichFragment(source))
        return;
    if (source->hasText()) {
        QTextCursor cursor = textCursor();
        cursor.insertText(source->text());
        setTextCursor(cursor);
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

void TRichEdit::SetFormatRect(int left, int top, int right, int bottom)
{
    setViewportMargins(qMax(0, left), qMax(0, top), qMax(0, width() - right), qMax(0, height() - bottom));
}

} // namespace controls
