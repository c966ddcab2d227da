#include "cards/cardstore.h"

#include "cards/mybib.h"
#include "platform/files.h"
#include "platform/programfolders.h"
#include "platform/richedit.h"
#include "platform/tabcontrol.h"

namespace cards {

QString CardFolderIn(const QString &programFolder) { return programFolder + QStringLiteral("KRT/"); }

TCardStore::TCardStore(platform::TTabControl *tabs, platform::TRichEdit *editor) : m_tabs(tabs), m_editor(editor) {}

QString TCardStore::CardFileName(const QString &name) const { return m_cardDir + name + QStringLiteral(".rtf"); }

bool TCardStore::EnsureCardFolder(int *errorCode) const
{
    if (platform::DirectoryExists(m_cardDir))
        return true;
    // In the per-user data folder the folders above KRT/ are ours to make.
    platform::MakeParentFolders(m_cardDir);
    return platform::CreateDirectory(m_cardDir, errorCode);
}

void TCardStore::BuildCardList()
{
    QStringList list;
    ListFiles(m_cardDir, QStringLiteral("*.rtf"), list, lfBaseName);
    m_tabs->AssignTabs(list);
    SetEditorCard(m_editorCard);
}

void TCardStore::SetEditorCard(int index)
{
    m_editorCard = index;
    // A selected card whose text is not in the editor must not be typed into:
    // that text could never be written anywhere.
    m_editor->setReadOnly(m_tabs->TabIndex() >= 0 && m_editorCard != m_tabs->TabIndex());
}

void TCardStore::TabDeleted(int index)
{
    if (m_editorCard == index)
        m_editorCard = -1;
    else if (m_editorCard > index)
        --m_editorCard;
}

void TCardStore::LoadCurrentCard()
{
    const int index = m_tabs->TabIndex();
    m_editor->LoadDocument(CardFileName(m_tabs->Tab(index)));
    SetEditorCard(index);
}

void TCardStore::SaveCurrentCard()
{
    const int index = m_tabs->TabIndex();
    const QString name = m_tabs->Tab(index);
    if (m_editorCard != index)
        return;
    m_editor->SaveDocument(CardFileName(name));
}

void TCardStore::Leaving()
{
    if (m_cardModified && m_tabs->TabIndex() >= 0)
        SaveCurrentCard();
}

void TCardStore::Arriving()
{
    try {
        LoadCurrentCard();
    } catch (...) {
        // Go back to the card whose text is still on screen, so that text can
        // never be written under the picked card's name.
        m_tabs->SetTabIndex(m_editorCard);
        SetEditorCard(m_editorCard);
        throw;
    }
    m_cardModified = false;
}

} // namespace cards
