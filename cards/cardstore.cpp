#include "cards/cardstore.h"

#include "cards/mybib.h"
#include "platform/files.h"
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
    return platform::CreateDirectory(m_cardDir, errorCode);
}

QString TCardStore::CardPath(int index) const
{
    const QString caption = m_tabs->Tab(index);
    if (index < m_listed.size() && m_listed.at(index).caption == caption)
        return m_cardDir + m_listed.at(index).fileName;
    return CardFileName(caption);
}

void TCardStore::BuildCardList()
{
    QStringList files;
    ListFiles(m_cardDir, QStringLiteral("*.rtf"), files, 0);
    QStringList captions;
    m_listed.clear();
    for (const QString &file : std::as_const(files)) {
        captions.append(ExtractBaseName(platform::ReadableFileName(file)));
        m_listed.append({captions.last(), file});
    }
    m_tabs->AssignTabs(captions);
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
    if (index >= 0 && index < m_listed.size())
        m_listed.remove(index);
    if (m_editorCard == index)
        m_editorCard = -1;
    else if (m_editorCard > index)
        --m_editorCard;
}

void TCardStore::LoadCurrentCard()
{
    const int index = m_tabs->TabIndex();
    m_editor->LoadDocument(CardPath(index));
    SetEditorCard(index);
}

void TCardStore::SaveCurrentCard()
{
    const int index = m_tabs->TabIndex();
    const QString path = CardPath(index);
    if (m_editorCard != index)
        return;
    m_editor->SaveDocument(path);
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
