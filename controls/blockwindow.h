#pragma once
// Qt's text layout lays a document out from its start: what is typed or
// where the caret goes waits until everything before it is laid out, minutes
// for a card of hundreds of megabytes, and past about eight million pixels of
// height it does not finish at all. A card that big shows through a window:
// only the paragraphs around the caret are visible to the layout, the others
// stay in the document (saved, found, printed and copied as ever) but hidden,
// and the window follows the caret and the scrolling, long before either
// reaches its edge.

#include <QObject>

class QTextDocument;
class QTextEdit;

namespace controls {

class TBlockWindow : public QObject {
    Q_OBJECT
public:
    // A document with more paragraphs or characters than this shows through
    // a window.
    static constexpr int kBigBlocks = 20000;
    static constexpr int kBigCharacters = 4000000;
    // The window reaches this far to each side of the caret's paragraph, in
    // paragraphs and in characters, whichever comes first.
    static constexpr int kSideBlocks = 1000;
    static constexpr int kSideCharacters = 400000;

    explicit TBlockWindow(QTextEdit *edit);

    // Before the edit shows doc: a big one gets its window at position (no
    // layout runs yet), a small one shows whole.
    void Prepare(QTextDocument *doc, int position);
    bool Active() const { return m_active; }
    // Paragraph numbers, first and last shown (the whole document when not active).
    int First() const { return m_first; }
    int Last() const { return m_last; }

private:
    void follow();
    void followScroll();
    bool needsMove(int block) const;
    void moveTo(int block);
    void track();
    static void span(const QTextDocument &doc, int block, int &first, int &last);
    void setShown(int from, int to, bool shown);

    QTextEdit *m_edit;
    QTextDocument *m_doc = nullptr; // the one prepared
    bool m_active = false;
    bool m_moving = false;
    // Paragraph numbers: the window and the paragraph it was laid round,
    // with the document's paragraph count then (edits happen in the window,
    // so only its end moves with them).
    int m_first = 0;
    int m_last = 0;
    int m_center = 0;
    int m_count = 0;
};

} // namespace controls
