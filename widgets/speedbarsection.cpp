#include "speedbarsection.h"

#include "speedbar.h"
#include "speedbarerror.h"
#include "speeditem.h"

namespace widgets {

TSpeedbarSection::TSpeedbarSection(QObject *owner) : QObject(owner) {}

TSpeedbarSection::~TSpeedbarSection()
{
    // An item leaves this list as it is destroyed.
    while (!m_items.empty())
        delete m_items.back();
    if (m_bar)
        m_bar->RemoveSection(Index());
}

void TSpeedbarSection::SetCaption(const QString &value)
{
    if (value == m_caption)
        return;
    if (m_bar && !m_bar->Loading() && m_bar->FindSection(value) >= 0)
        throw ESpeedbarError(QStringLiteral("In der Stringliste sind Duplikate nicht erlaubt"));
    m_caption = value;
}

int TSpeedbarSection::Index() const { return m_bar ? m_bar->IndexOfSection(this) : -1; }

void TSpeedbarSection::SetIndex(int value)
{
    if (m_bar)
        m_bar->MoveSection(Index(), value);
}

void TSpeedbarSection::append(TSpeedItem *item)
{
    m_items.push_back(item);
    item->m_section = this;
}

void TSpeedbarSection::remove(TSpeedItem *item)
{
    std::erase(m_items, item);
    if (item->m_section == this)
        item->m_section = nullptr;
}

TSpeedItem *TSpeedbarSection::Item(int index) const
{
    if (index < 0 || index >= ItemCount())
        return nullptr;
    return m_items[size_t(index)];
}

} // namespace widgets
