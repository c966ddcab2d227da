#include "cardstore.h"

#include "cardorder.h"
#include "mybib.h"
#include "files.h"
#include "programfolders.h"
#include "richedit.h"
#include "tabcontrol.h"

namespace cards {

const QString kNoCardHint = QStringLiteral("Noch keine Karte vorhanden. Legen Sie mit \u201EKarte \u2192 Neu\u201C die erste Karte an, dann können Sie schreiben.");

QString CardFolderIn(const QString &programFolder) { return programFolder + QStringLiteral("KRT/"); }

TCardStore::TCardStore(controls::TTabControl *tabs, controls::TRichEdit *editor) : m_tabs(tabs), m_editor(editor) {}

QString TCardStore::CardFileName(const QString &name) const { return m_cardDir + name + QStringLiteral(".rtf"); }

bool TCardStore::EnsureCardFolder(int *errorCode) const
{
    if (platform::DirectoryExists(m_cardDir))
        return true;
    // In the per-user data folder the folders above KRT/ are ours to make.
    platform::MakeParentFolders(m_cardDir);
    return platform::CreateDirectory(m_cardDir, errorCode);
}

QString TCardStore::CardPath(int index) const
{
    if (index < 0 || index >= m_tabs->TabCount())
        return QString();
    const QString caption = m_tabs->Tab(index);
    if (index < m_listed.size() && m_listed.at(index).caption == caption)
        return m_cardDir + m_listed.at(index).fileName;
    return CardFileName(caption);
}

void TCardStore::BuildCardList()
{
    QStringList files;
    ListFiles(m_cardDir, QStringLiteral("*.rtf"), files, 0);
    SortCardFiles(files);
    QStringList captions;
    m_listed.clear();
    for (const QString &file : std::as_const(files)) {
        captions.append(ExtractBaseName(platform::ReadableFileName(file)));
        m_listed.append({captions.last(), file});
    }
    m_tabs->AssignTabs(captions);
    SetEditorCard(m_editorCard);
}

QString TCardStore::fileNameOf(int index) const
{
    const QString caption = m_tabs->Tab(index);
    if (index < m_listed.size() && m_listed.at(index).caption == caption)
        return m_listed.at(index).fileName;
    return caption + QStringLiteral(".rtf");
}

QStringList TCardStore::fileNames() const
{
    QStringList names;
    for (int i = 0; i < m_tabs->TabCount(); ++i)
        names.append(fileNameOf(i));
    return names;
}

QVector<TCardStore::ListedCard> TCardStore::listedTabs() const
{
    QVector<ListedCard> listed;
    for (int i = 0; i < m_tabs->TabCount(); ++i)
        listed.append({m_tabs->Tab(i), fileNameOf(i)});
    return listed;
}

int TCardStore::InsertCard(const QString &name)
{
    // Every tab gets its entry first, so the entries stay beside their tabs.
    m_listed = listedTabs();
    const QString fileName = name + QStringLiteral(".rtf");
    const int index = CardOrderPosition(fileNames(), fileName);
    m_tabs->InsertTab(index, name);
    m_listed.insert(index, ListedCard{name, fileName});
    if (m_editorCard >= index)
        ++m_editorCard;
    return index;
}

int TCardStore::CardRenamed(int index)
{
    // Out of the row first: the others stay sorted, and the renamed card
    // goes where its new name sorts among them.
    m_listed = listedTabs();
    QStringList names = fileNames();
    const QString renamed = names.takeAt(index);
    const int to = CardOrderPosition(names, renamed);
    m_listed.move(index, to);
    m_tabs->MoveTab(index, to);
    if (m_editorCard == index)
        m_editorCard = to;
    else if (index < m_editorCard && m_editorCard <= to)
        --m_editorCard;
    else if (to <= m_editorCard && m_editorCard < index)
        ++m_editorCard;
    return to;
}

void TCardStore::SetEditorCard(int index)
{
    m_editorCard = index;
    // Text typed without a card, or into a selected card whose text is not
    // in the editor, could never be written anywhere.
    const bool noCard = m_tabs->TabIndex() < 0;
    m_editor->setReadOnly(noCard || m_editorCard != m_tabs->TabIndex());
    m_editor->setPlaceholderText(noCard ? kNoCardHint : QString());
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
    if (index < 0) {
        // No card: nothing to load, and the editor says how to make one.
        SetEditorCard(-1);
        return;
    }
    const QString path = CardPath(index);
    m_editor->LoadDocument(path);
    SetEditorCard(index);
    if (OnLoaded)
        OnLoaded(path);
}

void TCardStore::SaveCurrentCard()
{
    const int index = m_tabs->TabIndex();
    if (index < 0 || m_editorCard != index)
        return;
    const QString path = CardPath(index);
    if (OnBeforeWrite && !OnBeforeWrite(path))
        return;
    m_editor->SaveDocument(path);
    if (OnWritten)
        OnWritten(path);
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
