// Each card's caret, selection and scroll position for the run of the
// program: a tab switch brings a card back as it was left, so text typed
// after a tab click lands where the user last stood, not at the top.

#include "kartolinounit.h"

#include "cardstore.h"
#include "richedit.h"

#include <QPointer>
#include <QScrollBar>
#include <QTimer>

namespace ui {

void TfrmMain::rememberCardView()
{
    const QString card = CurrentCardFile();
    if (card.isEmpty())
        return;
    const QTextCursor cursor = m_editor->textCursor();
    m_cardViews.insert(card, CardView{cursor.anchor(), cursor.position(), m_editor->verticalScrollBar()->value(),
                                      m_editor->horizontalScrollBar()->value()});
}

void TfrmMain::restoreCardView()
{
    const QString card = CurrentCardFile();
    const auto it = m_cardViews.constFind(card);
    if (card.isEmpty() || it == m_cardViews.constEnd())
        return;
    const CardView view = *it;
    // The card may have changed outside since: what no longer exists is cut
    // to the end of the text.
    const int end = m_editor->document()->characterCount() - 1;
    QTextCursor cursor(m_editor->document());
    cursor.setPosition(qBound(0, view.anchor, end));
    cursor.setPosition(qBound(0, view.position, end), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    const int anchor = cursor.anchor(), position = cursor.position();
    const auto scroll = [editor = QPointer<controls::TRichEdit>(m_editor), view, anchor, position] {
        // Someone moved the caret since (the find bar's jump to a hit): its
        // view is the one to keep.
        if (!editor || editor->textCursor().anchor() != anchor || editor->textCursor().position() != position)
            return;
        editor->verticalScrollBar()->setValue(view.vertical);
        editor->horizontalScrollBar()->setValue(view.horizontal);
    };
    scroll();
    // The scroll range grows while the layout catches up with a freshly
    // loaded card; once more after it had its turn.
    QTimer::singleShot(0, m_editor, scroll);
}

void TfrmMain::cardViewRenamed(const QString &oldCardFile, const QString &newCardFile)
{
    if (const auto it = m_cardViews.find(oldCardFile); it != m_cardViews.end()) {
        const CardView view = *it;
        m_cardViews.erase(it);
        m_cardViews.insert(newCardFile, view);
    }
}

} // namespace ui
