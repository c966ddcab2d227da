// The spell check: the item in "Extras", its view options, and the
// suggestions the editor's context menu offers over a misspelled word.

#include "kartolinounit.h"

#include "dialogs.h"
#include "guarded.h"
#include "hunspelldictionary.h"
#include "personaldictionary.h"
#include "profile.h"
#include "richedit.h"
#include "spellchecker.h"
#include "spellhighlighter.h"

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QTextBlock>

namespace ui {

namespace {
constexpr int kMaxSuggestions = 5;
const QString kNoDictionaryText =
    QStringLiteral("F\u00fcr die Rechtschreibpr\u00fcfung ist kein W\u00f6rterbuch installiert (Paket hunspell-de-de).");
} // namespace

void TfrmMain::createSpellCheck()
{
    m_spellHighlighter = new controls::TSpellHighlighter(m_editor);
    QAction *item = addMenuItem(m_mnuExtras, QStringLiteral("mnuRechtschreibung"), QStringLiteral("&Rechtschreibung pr\u00fcfen"), 0,
                                &TfrmMain::mnuRechtschreibungClick);
    item->setCheckable(true);
    m_mnuExtras->addSeparator()->setObjectName(QStringLiteral("trenner7"));
}

QStringList TfrmMain::dictionaryFolders() const
{
    return m_dictionaryFolders.isEmpty() ? platform::SystemDictionaryFolders() : m_dictionaryFolders;
}

void TfrmMain::applySpellSettings(const cards::SpellSettings &spell)
{
    m_spellLanguages = spell.languages;
    if (m_spellLanguages.isEmpty())
        m_spellLanguages = platform::DefaultDictionaries(QLocale().name(), platform::InstalledDictionaries(dictionaryFolders()));
    m_spellChecker.reset();
    // On by default only where there is something to check with.
    setSpellCheck(spell.check && spellChecker().HasDictionary());
}

platform::TSpellChecker &TfrmMain::spellChecker()
{
    if (!m_spellChecker)
        m_spellChecker = std::make_unique<platform::TSpellChecker>(
            m_spellLanguages, dictionaryFolders(), m_dataFolder + QString::fromLatin1(platform::kPersonalDictionaryName));
    return *m_spellChecker;
}

void TfrmMain::setSpellCheck(bool on)
{
    m_spellOn = on;
    MenuItem(QStringLiteral("mnuRechtschreibung"))->setChecked(on);
    m_spellHighlighter->SetChecker(on ? &spellChecker() : nullptr);
}

void TfrmMain::mnuRechtschreibungClick(QObject *)
{
    const bool on = !m_spellOn;
    setSpellCheck(on);
    if (on && !spellChecker().HasDictionary() && !m_noDictionarySaid) {
        m_noDictionarySaid = true;
        platform::MessageDlg(kNoDictionaryText, platform::MsgDlgType::Information, platform::mbOK, this);
    }
}

void TfrmMain::EditorContextMenu(const QPoint &pos)
{
    const QPoint global = m_editor->viewport()->mapToGlobal(pos);
    const QTextCursor word = m_spellOn && !m_editor->isReadOnly()
        ? m_spellHighlighter->MisspelledWordAt(m_editor->cursorForPosition(pos).position())
        : QTextCursor();
    if (word.isNull()) {
        m_popupMenu1->exec(global);
        return;
    }
    const QString text = word.selectedText();
    QList<QAction *> spellItems;
    auto add = [&](const QString &name, const QString &caption) {
        auto *action = new QAction(caption, m_popupMenu1);
        action->setObjectName(name);
        spellItems << action;
        return action;
    };
    for (const QString &suggestion : spellChecker().Suggestions(text, kMaxSuggestions))
        add(QStringLiteral("ppVorschlag"), QString(suggestion).replace(QLatin1Char('&'), QStringLiteral("&&")))->setData(suggestion);
    QAction *addWord = add(QStringLiteral("ppWoerterbuch"), QStringLiteral("Zum W\u00f6rterbuch hinzuf\u00fcgen"));
    QAction *ignore = add(QStringLiteral("ppIgnorieren"), QStringLiteral("Ignorieren"));
    add(QStringLiteral("ppTrennerRechtschreibung"), QString())->setSeparator(true);
    m_popupMenu1->insertActions(m_popupMenu1->actions().value(0), spellItems);
    QAction *chosen = m_popupMenu1->exec(global);
    for (QAction *action : spellItems)
        m_popupMenu1->removeAction(action);
    platform::Guarded([&] {
        if (chosen == addWord) {
            spellChecker().AddToDictionary(text);
            m_spellHighlighter->Recheck();
        } else if (chosen == ignore) {
            spellChecker().Ignore(text);
            m_spellHighlighter->Recheck();
        } else if (chosen && spellItems.contains(chosen)) {
            replaceWord(word, text, chosen->data().toString());
        }
    });
    qDeleteAll(spellItems);
}

void TfrmMain::replaceWord(QTextCursor word, const QString &was, const QString &with)
{
    // The menu let events through: the card may have been reloaded meanwhile.
    if (word.document() != m_editor->document() || word.selectedText() != was)
        return;
    // The word's own look, not that of the character before it.
    QTextCursor look(word.document());
    look.setPosition(word.selectionStart() + 1);
    const QTextCharFormat format = look.charFormat();
    word.beginEditBlock();
    word.insertText(with, format);
    word.endEditBlock();
    m_editor->setTextCursor(word);
}

void TfrmMain::saveSpellSettings(const platform::TIniFile &ini) const
{
    cards::WriteSpellSettings(ini, {m_spellOn, m_spellLanguages});
}

} // namespace ui
