#include "findbar.h"

#include "cardmatcher.h"
#include "cardstore.h"
#include "richedit.h"
#include "tabcontrol.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace ui {

TFindBar::TFindBar(controls::TTabControl *tabs, controls::TRichEdit *editor, cards::TCardStore &cards, QWidget *parent)
    : QWidget(parent), m_tabs(tabs), m_editor(editor), m_cards(cards), m_field(new QLineEdit(this)),
      m_german(new QCheckBox(QStringLiteral("ä = ae, ö = oe, ü = ue, ß = ss"), this)), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("FindBar"));
    m_field->setObjectName(QStringLiteral("FindText"));
    m_field->setPlaceholderText(QStringLiteral("Suchen in allen Karten"));
    m_field->setClearButtonEnabled(true);
    m_german->setObjectName(QStringLiteral("FindGerman"));
    m_status->setObjectName(QStringLiteral("FindStatus"));
    // Names for screen readers; the status label is read by its text.
    setAccessibleName(QStringLiteral("Suchleiste"));
    m_field->setAccessibleName(QStringLiteral("Suchen in allen Karten"));
    m_german->setAccessibleName(QStringLiteral("Umlaute auch als ae, oe, ue und ß als ss finden"));
    m_status->setAccessibleDescription(QStringLiteral("Suchergebnis"));
    // Qt's clear button is named after its action.
    if (auto *clear = m_field->findChild<QAction *>(QStringLiteral("_q_qlineeditclearaction")))
        clear->setText(QStringLiteral("Suchtext löschen"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(m_field, 1);
    row->addWidget(m_german);
    row->addWidget(m_status, 1);
    connect(m_field, &QLineEdit::textEdited, this, [this] { search(TFindStep::Typing); });
    connect(m_german, &QCheckBox::toggled, this, [this] { search(TFindStep::Typing); });
}

void TFindBar::Open()
{
    // Cards written in place by other programs meanwhile are read again.
    m_index.FolderChanged();
    // A word selected in the card is what the user wants to find; a count
    // of an earlier search would tell about texts that may have changed.
    const QString selected = m_editor->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator) && !selected.contains(QChar::LineSeparator))
        m_field->setText(selected);
    m_status->clear();
    markStart();
    show();
    m_field->setFocus();
    m_field->selectAll();
}

void TFindBar::markStart()
{
    const QTextCursor cursor = m_editor->textCursor();
    m_start = {m_tabs->TabIndex(), cursor.anchor(), cursor.position()};
}

void TFindBar::backToStart()
{
    if (m_start.card < 0 || m_start.card >= m_tabs->TabCount())
        return;
    if (m_tabs->TabIndex() != m_start.card && !m_tabs->SelectByUser(m_start.card))
        return;
    if (m_cards.EditorCard() != m_start.card)
        return;
    const int end = m_editor->document()->characterCount() - 1;
    QTextCursor cursor(m_editor->document());
    cursor.setPosition(qBound(0, m_start.anchor, end));
    cursor.setPosition(qBound(0, m_start.position, end), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    m_editor->ensureCursorVisible();
}

void TFindBar::Close()
{
    hide();
    m_editor->setFocus();
}

void TFindBar::FindNext(bool forward) { search(forward ? TFindStep::Forward : TFindStep::Backward); }

bool TFindBar::LeavesKeyToField(QObject *watched, const QKeyEvent &event) const
{
    if (watched != m_field)
        return false;
    for (const auto key : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo,
                           QKeySequence::SelectAll})
        if (event.matches(key))
            return true;
    return false;
}

bool TFindBar::HandleKey(QObject *watched, const QKeyEvent &event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != window())
        return false;
    const Qt::KeyboardModifiers mods = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (event.key() == Qt::Key_F && mods == Qt::ControlModifier) {
        Open();
        return true;
    }
    if (isHidden())
        return false;
    if (event.key() == Qt::Key_F3 && (mods & ~Qt::ShiftModifier) == 0) {
        FindNext(!(mods & Qt::ShiftModifier));
        return true;
    }
    // Escape also from the editor, where the hits are shown.
    if (event.key() == Qt::Key_Escape && mods == 0 && (isAncestorOf(widget) || widget == m_editor || widget == m_editor->viewport())) {
        Close();
        return true;
    }
    if (!isAncestorOf(widget))
        return false;
    if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && (mods & ~Qt::ShiftModifier) == 0) {
        FindNext(!(mods & Qt::ShiftModifier));
        return true;
    }
    return false;
}

void TFindBar::search(TFindStep step)
{
    if (step != TFindStep::Typing)
        m_typingStaysInCard = false;
    const cards::TCardMatcher matcher(m_field->text(), m_german->isChecked());
    if (matcher.IsEmpty()) {
        m_status->clear();
        return;
    }
    m_index.SetFolder(m_cards.CardDir());
    m_index.SetGerman(matcher.German());

    const TFindCards input = cardsToSearch();
    TFindRun run = RunFind(matcher, input, step);
    if (run.card < 0) {
        // Typing on past the last hit leaves the user where the search began,
        // not in the card of a hit of the shorter term.
        if (step == TFindStep::Typing)
            backToStart();
        report(0, 0, 0, run.unreadable);
        return;
    }
    if (run.card != input.current) {
        if (!reachCard(run.card, step)) {
            report(0, run.Total(), run.CardsWithHits(), run.unreadable);
            return;
        }
        run.Arrived(matcher.Find(m_editor->document()->toPlainText()), step);
    }
    selectHit(run);
    // A hit asked for with F3 or Return is where typing on starts from.
    if (step != TFindStep::Typing)
        markStart();
}

TFindCards TFindBar::cardsToSearch()
{
    const QStringList tabs = m_tabs->Tabs();
    if (tabs != m_tabEntriesCaptions || m_cards.CardDir() != m_tabEntriesFolder) {
        m_tabEntriesCaptions = tabs;
        m_tabEntriesFolder = m_cards.CardDir();
        m_tabEntries.clear();
        m_tabEntries.reserve(std::size_t(tabs.size()));
        for (int i = 0; i < tabs.size(); ++i)
            m_tabEntries.push_back(m_index.EntryFor(m_cards.CardPath(i)));
    }
    TFindCards input;
    input.count = int(m_tabEntries.size());
    input.current = m_tabs->TabIndex();
    // The current card is searched in the editor, which may hold unsaved text.
    input.live = input.current >= 0 && m_cards.EditorCard() == input.current;
    if (input.live)
        input.editorText = m_editor->document()->toPlainText();
    const QTextCursor cursor = m_editor->textCursor();
    input.selectionStart = cursor.selectionStart();
    input.hasSelection = cursor.hasSelection();
    input.indexed = [this](int tab) -> const cards::TCardIndex::Card & { return m_index.FreshCard(m_tabEntries[std::size_t(tab)]); };
    return input;
}

bool TFindBar::reachCard(int card, TFindStep step)
{
    // Picking the tab writes the leaving card and loads the arriving one; a
    // refused pick leaves everything where it was.
    const bool moved = !m_typingStaysInCard && m_tabs->SelectByUser(card) && m_tabs->TabIndex() == card
                       && m_cards.EditorCard() == card;
    if (!moved && step == TFindStep::Typing)
        m_typingStaysInCard = true;
    return moved;
}

void TFindBar::selectHit(const TFindRun &run)
{
    if (run.hit >= 0) {
        const cards::TTextRange &range = run.here[run.hit];
        QTextCursor select(m_editor->document());
        select.setPosition(int(range.start));
        select.setPosition(int(range.start + range.length), QTextCursor::KeepAnchor);
        m_editor->setTextCursor(select);
        m_editor->ensureCursorVisible();
    }
    report(run.Number(), run.Total(), run.CardsWithHits(), run.unreadable);
}

void TFindBar::report(int number, int total, int cards, int unreadable)
{
    QString text;
    if (total == 0) {
        text = QStringLiteral("Nicht gefunden");
    } else {
        const QString found = total == 1 ? QStringLiteral("Treffer") : number > 0 ? QStringLiteral("Treffern") : QStringLiteral("Treffer");
        const QString where = QStringLiteral("in %1 %2").arg(cards).arg(cards == 1 ? QStringLiteral("Karte") : QStringLiteral("Karten"));
        text = number > 0 ? QStringLiteral("%1 von %2 %3 %4").arg(number).arg(total).arg(found, where)
                          : QStringLiteral("%1 %2 %3").arg(total).arg(found, where);
    }
    if (unreadable > 0)
        text += QStringLiteral(", %1 %2 nicht lesbar").arg(unreadable).arg(unreadable == 1 ? QStringLiteral("Karte") : QStringLiteral("Karten"));
    m_status->setText(text);
}

} // namespace ui
