#pragma once
// The card editor: a multi-line, word-wrapping rich text control without
// border or scroll bars whose document format is RTF. Keys of its own besides
// Qt's editing keys (editorkeys.h): Ctrl+B, Ctrl+I (and Ctrl+K), Ctrl+U and
// Ctrl+Shift+F, K, U toggle bold, italic, underline of the selection or, with
// nothing selected, of the default format; Ctrl+L, Ctrl+E, Ctrl+R align
// left, centred, right; Ctrl+Y redoes.

#include "textattributes.h"

#include <QTextCharFormat>
#include <QTextEdit>
#include <functional>
#include <memory>

class QTextDocumentFragment;

namespace platform {
class PrinterSession;
}

namespace controls {

class TBlockWindow;

// Clipboard formats the editor offers with its own RTF.
inline constexpr auto kRtfMimeType = "text/rtf";
inline constexpr auto kRtfMimeTypeAlt = "application/rtf";
inline constexpr auto kInsertLineFailedText = "Fehler bei Einfügen von RichEdit-Zeile";

class TRichEdit : public QTextEdit {
    Q_OBJECT
public:
    // Until the first successful load the control keeps the classic limit of
    // a fresh rich edit control; a load raises it to kMaxTextLimit.
    static constexpr qint64 kInitialTextLimit = 32767;
    static constexpr qint64 kMaxTextLimit = 0x7FFFFFF0;

    explicit TRichEdit(QWidget *parent = nullptr);

    // Replaces the whole content by the file's, read as RTF or else as plain
    // text. Throws "Datei %s kann nicht geöffnet werden" or "Das Laden des
    // Streams ist mißlungen"; on failure the content stays as it was. Raises
    // no change event.
    void LoadDocument(const QString &path);
    // The file read into a new document as LoadDocument reads it, in the
    // base font baseFont and without the document margin; throws as
    // LoadDocument does. Reads no resource from outside the card.
    static std::unique_ptr<QTextDocument> ReadDocument(const QString &path, const QFont &baseFont);
    // Writes the whole content as RTF, replacing the file atomically. Throws
    // "Datei %s kann nicht erstellt werden" or "Das Speichern des Streams ist
    // mißlungen"; on failure the previous file stays whole.
    void SaveDocument(const QString &path) const;
    // Empties the content and raises the change event (none when it was
    // empty). What is typed next takes the base font without any style.
    void ClearDocument();

    qint64 TextLimit() const { return m_textLimit; }
    void SetTextLimit(qint64 limit) { m_textLimit = limit; }
    // Characters as the control counts them (paragraph ends count as CR LF).
    qint64 TextLength() const;

    // The formatting rectangle in client pixels (right and bottom exclusive):
    // text keeps inside it. The margins it leaves stay as they are when the
    // control is resized later.
    void SetFormatRect(int left, int top, int right, int bottom);
    QMargins FormatMargins() const { return viewportMargins(); }
    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }

    // Whether the control's window exists; before, attribute reads give an
    // empty format, attribute writes and undo do nothing.
    bool HandleAllocated() const;

    // Editing operations. Undo is skipped while the window does not exist.
    // Copy and cut offer plain text, RTF (text/rtf and application/rtf) and
    // HTML; paste takes RTF first, then HTML, then plain text.
    void UndoLastEdit();
    void CutSelection();
    void CopySelection();
    void PasteClipboard();

    // Inserts text and a paragraph break at the start of display line index,
    // without an undo record (the undo history is dropped: earlier steps
    // would no longer fit the text). The caret ends right behind the break;
    // throws kInsertLineFailedText when it cannot, e.g. the line does not
    // exist or the text limit leaves no room, and then nothing is inserted.
    void InsertLine(int index, const QString &text);

    // Selected characters.
    qint64 SelectionLength() const;
    // The selection's and the default character format (see
    // textattributes.h), and the selected paragraphs.
    TTextAttributes SelectionAttributes() { return TTextAttributes(*this, TAttributeType::atSelected); }
    TTextAttributes DefaultAttributes() { return TTextAttributes(*this, TAttributeType::atDefaultText); }
    TParaAttributes ParagraphAttributes() { return TParaAttributes(*this); }

    // Paragraph numbering off for the selected paragraphs.
    void SetNumberingNone();
    // The control's base font: a change copies the whole font into the
    // default character format, so text typed next takes it; an unchanged
    // value does nothing.
    QFont BaseFont() const { return document()->defaultFont(); }
    void SetBaseFont(const QString &name, int pointSize);

    // Prints the whole content as one job named title.
    void PrintDocument(platform::PrinterSession &session, const QString &title) const;

    // Used by the attribute objects.
    QTextCharFormat FirstSelectedCharFormat() const;
    const QTextCharFormat &DefaultCharFormat() const { return m_defaultFormat; }
    void ChangeSelectionFormat(const std::function<void(QTextCharFormat &)> &change);
    void ChangeDefaultFormat(const std::function<void(QTextCharFormat &)> &change);

    // What copy offers for a piece of text: plain text, RTF and HTML.
    static QMimeData *MimeDataFor(const QTextDocumentFragment &fragment, const QFont &baseFont);

    // Raised for every change of the content (text or format) made while the
    // control is not loading a document.
    std::function<void(QObject *sender)> OnChange;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    QMimeData *createMimeDataFromSelection() const override;
    // Pictures and style sheets come only from the card itself (or a data:
    // address): a pasted name of a local file or device is never read.
    QVariant loadResource(int type, const QUrl &name) override;

private:
    void contentsChanged();
    bool formattingKey(const QKeyEvent &event);
    void adoptDocument(QTextDocument *doc);
    qint64 roomLeft() const;
    bool insertRichFragment(const QMimeData *source);
    void insertPasted(const QMimeData *source);

    QTextCharFormat m_defaultFormat;
    // Shows a big card through a window of paragraphs (blockwindow.h).
    TBlockWindow *m_window;

    qint64 m_textLimit = kInitialTextLimit;
    bool m_loading = false;
};

} // namespace controls
