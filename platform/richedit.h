#pragma once
// The card editor: a multi-line, word-wrapping rich text control without
// border or scroll bars whose document format is RTF.

#include <QTextEdit>
#include <functional>

namespace platform {

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
    // Writes the whole content as RTF, replacing the file atomically. Throws
    // "Datei %s kann nicht erstellt werden" or "Das Speichern des Streams ist
    // mißlungen"; on failure the previous file stays whole.
    void SaveDocument(const QString &path) const;
    // Empties the content and raises the change event; nothing when empty.
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

    // Editing operations.
    void UndoLastEdit();
    void CutSelection();
    void CopySelection();
    void PasteClipboard();
    // Paragraph numbering off for the selected paragraphs.
    void SetNumberingNone();
    // The control's base font: a change copies the whole font into the
    // default character format, so text typed next takes it.
    void SetBaseFont(const QString &name, int pointSize);

    // Raised for every change of the content (text or format) made while the
    // control is not loading a document.
    std::function<void(QObject *sender)> OnChange;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void contentsChanged();
    void adoptDocument(QTextDocument *doc);
    qint64 roomLeft() const;

    qint64 m_textLimit = kInitialTextLimit;
    bool m_loading = false;
};

} // namespace platform
