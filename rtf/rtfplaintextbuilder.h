#pragma once
// The text of the document that the document builder would make, without
// the document: what QTextDocument::toPlainText() gives for it. It follows
// the builder's rules for the text alone: a paragraph end is held until
// more content follows, a cell's tab until the row goes on, and a note's
// mark is the text since the last change of character format.

#include "rtfsink.h"

#include <QString>
#include <QTextCharFormat>

namespace rtf {

class PlainTextBuilder final : public Sink {
public:
    bool takesParagraphFormats() const override { return false; }
    void setCharFormat(const QTextCharFormat &format) override;
    void appendText(QStringView text) override;
    void appendChar(QChar ch) override;
    void appendMapped(QByteArrayView bytes, const char16_t *table) override;
    void appendImage(const QByteArray &data, double width, double height) override;
    void endCell() override { m_tabPending = true; }
    void endParagraph(const QTextBlockFormat &format, const ListPlace &list) override;
    void joinPendingParagraph() override { m_blockPending = false; }
    bool paragraphPending() const override { return m_blockPending; }
    void finish(const QTextBlockFormat &format, const ListPlace &list, bool insertMode) override;
    bool markPendingRun(int property, const QVariant &value) override;
    int lastNoteId() const override { return 0; }
    void appendNoteParagraph(const QTextBlockFormat &format, bool reuseEmpty) override;
    void appendNoteText(QStringView text, bool superscript) override;

    // The text, with paragraph and line separators as line feeds and no-break
    // spaces as spaces, as toPlainText() gives them.
    QString takeText();

private:
    void beginContent();

    QString m_text;
    QTextCharFormat m_format;
    qsizetype m_runStart = 0; // where the text since the last format change starts
    bool m_blockPending = false;
    bool m_tabPending = false;
};

} // namespace rtf
