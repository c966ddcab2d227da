#pragma once
// Underlines the misspelled words of an editor with a red wave (the style's
// spell-check underline). Display only: the waves are drawn on a transparent
// layer above the editor's text, so they never reach the document, its undo
// steps, its RTF, the clipboard or a printout.
//
// Each paragraph's verdict is kept with the paragraph. The visible
// paragraphs are checked at once (after a load, a scroll or an edit), the
// rest of the card in short slices while the program is idle, so a big card
// neither loads nor types slower. The word being typed at the caret is left
// alone until the caret leaves it.

#include "spellwords.h"

#include <QObject>
#include <QPointer>
#include <QTextCursor>
#include <QTimer>

class QTextEdit;
class QTextDocument;
class QTextBlock;

namespace platform {
class TSpellChecker;
}

namespace controls {

class TSpellHighlighter : public QObject {
    Q_OBJECT
public:
    explicit TSpellHighlighter(QTextEdit *editor);
    ~TSpellHighlighter() override;

    // The checker to use, null to check nothing (the underlines go). It must
    // outlive its use here.
    void SetChecker(const platform::TSpellChecker *checker);
    const platform::TSpellChecker *Checker() const { return m_checker; }
    // Checks everything again: the checker's verdicts changed.
    void Recheck();

    // The misspelled word at position (inside or at either end of it),
    // selected; a null cursor when there is none.
    QTextCursor MisspelledWordAt(int position);
    // The words underlined on the screen now, in order.
    const QList<QTextCursor> &Underlines() const { return m_underlines; }
    // Whether every paragraph of the card has been checked.
    bool Finished() const;
    // Paragraphs checked so far for the current verdicts.
    int CheckedBlocks() const;

    // The longest idle slice, in milliseconds.
    static constexpr int kSliceMs = 4;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool followDocument();
    void attachDocument();
    void contentsChange(int position, int removed, int added);
    void updateVisible();
    void idleSlice();
    bool isChecked(const QTextBlock &block) const;
    const QList<platform::TWordRange> &verdict(QTextBlock block);
    void showUnderlines(const QTextBlock &first, const QTextBlock &last);
    void setUnderlines(QList<QTextCursor> underlines);

    QTextEdit *m_editor;
    QWidget *m_layer;
    QList<QTextCursor> m_underlines;
    QPointer<QTextDocument> m_document;
    const platform::TSpellChecker *m_checker = nullptr;
    // Verdicts of an older round count as unchecked.
    int m_round = 0;
    int m_checkerGeneration = 0;
    QTimer m_visible;
    QTimer m_idle;
    int m_scanPosition = 0;
    // Where the last edit happened, for the word being typed.
    int m_editPosition = -1;
};

} // namespace controls
