#include "findbar.h"

#include "cardmatcher.h"
#include "cardstore.h"
#include "richedit.h"
#include "tabcontrol.h"

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
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(m_field, 1);
    row->addWidget(m_german);
    row->addWidget(m_status, 1);
    connect(m_field, &QLineEdit::textEdited, this, [this] { search(Step::Typing); });
    connect(m_german, &QCheckBox::toggled, this, [this] { search(Step::Typing); });
}

void TFindBar::Open()
{
    // Cards written in place by other programs meanwhile are read again.
    m_index.FolderChanged();
    show();
    m_field->setFocus();
    m_field->selectAll();
}

void TFindBar::Close()
{
    hide();
    m_editor->setFocus();
}

void TFindBar::FindNext(bool forward) { search(forward ? Step::Forward : Step::Backward); }

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
    if (!isAncestorOf(widget))
        return false;
    if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && (mods & ~Qt::ShiftModifier) == 0) {
        FindNext(!(mods & Qt::ShiftModifier));
        return true;
    }
    if (event.key() == Qt::Key_Escape && mods == 0) {
        Close();
        return true;
    }
    return false;
}

void TFindBar::search(Step step)
{
    if (step != Step::Typing)
        m_holdCard = false;
    const cards::TCardMatcher matcher(m_field->text(), m_german->isChecked());
    if (matcher.IsEmpty()) {
        m_status->clear();
        return;
    }
    m_index.SetFolder(m_cards.CardDir());
    m_index.SetGerman(matcher.German());

    const QStringList tabs = m_tabs->Tabs();
    const int count = int(tabs.size());
    if (tabs != m_slotTabs || m_cards.CardDir() != m_slotFolder) {
        m_slotTabs = tabs;
        m_slotFolder = m_cards.CardDir();
        m_slots.clear();
        m_slots.reserve(std::size_t(count));
        for (int i = 0; i < count; ++i)
            m_slots.push_back(m_index.Slot(m_cards.CardPath(i)));
    }
    const int current = m_tabs->TabIndex();
    // The current card is searched in the editor, which may hold unsaved text.
    const bool live = current >= 0 && m_cards.EditorCard() == current;
    QList<int> hits(count, 0);
    QList<cards::TTextRange> here;
    int unreadable = 0;
    for (int i = 0; i < count; ++i) {
        if (i == current && live) {
            here = matcher.Find(m_editor->document()->toPlainText());
            hits[i] = int(here.size());
            continue;
        }
        const cards::TCardIndex::Card &card = m_index.Text(m_slots[std::size_t(i)]);
        if (!card.readable)
            ++unreadable;
        hits[i] = matcher.Count(card.folded);
    }
    auto total = [&] {
        int sum = 0, withHits = 0;
        for (int n : hits) {
            sum += n;
            withHits += n > 0;
        }
        return std::pair{sum, withHits};
    };
    if (total().first == 0 || current < 0) {
        report(0, 0, 0, unreadable);
        return;
    }

    // The hit in the current card from the selection on.
    const QTextCursor cursor = m_editor->textCursor();
    const qsizetype from = cursor.selectionStart();
    int hit = -1;
    if (live) {
        for (int k = 0; k < here.size(); ++k) {
            const qsizetype start = here[k].start;
            if (step == Step::Backward ? start < from : step == Step::Typing ? start >= from : start > from || (start == from && !cursor.hasSelection())) {
                hit = k;
                if (step != Step::Backward)
                    break;
            }
        }
    }
    int target = current;
    if (hit < 0) {
        for (int s = 1; s <= count; ++s) {
            const int i = ((step == Step::Backward ? current - s : current + s) % count + count) % count;
            if (hits[i] > 0) {
                target = i;
                break;
            }
        }
        if (target != current) {
            // Picking the tab writes the leaving card and loads the arriving
            // one; a refused pick leaves everything where it was.
            const bool moved = !m_holdCard && m_tabs->SelectByUser(target) && m_tabs->TabIndex() == target
                               && m_cards.EditorCard() == target;
            if (!moved) {
                m_holdCard = m_holdCard || step == Step::Typing;
                const auto [sum, withHits] = total();
                report(0, sum, withHits, unreadable);
                return;
            }
            here = matcher.Find(m_editor->document()->toPlainText());
            hits[target] = int(here.size());
        }
        hit = here.isEmpty() ? -1 : step == Step::Backward ? int(here.size()) - 1 : 0;
    }
    int number = 0;
    if (hit >= 0) {
        QTextCursor select(m_editor->document());
        select.setPosition(int(here[hit].start));
        select.setPosition(int(here[hit].start + here[hit].length), QTextCursor::KeepAnchor);
        m_editor->setTextCursor(select);
        m_editor->ensureCursorVisible();
        for (int j = 0; j < target; ++j)
            number += hits[j];
        number += hit + 1;
    }
    const auto [sum, withHits] = total();
    report(number, sum, withHits, unreadable);
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
