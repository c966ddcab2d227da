// The bar's sections and the items in them: appending, finding, removing and
// moving sections, attaching and detaching items, visiting them all.

#include "speedbar.h"

#include "speedbarsection.h"
#include "speeditem.h"

#include <algorithm>

namespace widgets {

// --- Sections ---------------------------------------------------------------

int TSpeedBar::AppendSection(TSpeedbarSection *section)
{
    if (!section)
        return -1;
    if (section->m_bar == this)
        return IndexOfSection(section);
    if (section->m_bar)
        section->m_bar->RemoveSection(section->Index());
    QString candidate = section->m_caption;
    for (int n = 1; FindSection(candidate) >= 0; ++n)
        candidate = section->m_caption + QStringLiteral(" (%1)").arg(n);
    section->m_caption = candidate;
    m_sections.push_back(section);
    section->m_bar = this;
    const int index = int(m_sections.size()) - 1;
    for (TSpeedItem *item : section->m_items) {
        if (item->m_bar && item->m_bar != this)
            item->m_bar->DetachItem(item);
        item->m_sectionIndex = index;
        configureItem(item, !m_loading);
        item->Button()->hide();
        item->Button()->setParent(this);
    }
    return index;
}

int TSpeedBar::AddSectionNamed(const QString &caption)
{
    QObject *owner = parent() ? parent() : static_cast<QObject *>(this);
    auto *section = new TSpeedbarSection(owner);
    section->m_caption = caption;
    return AppendSection(section);
}

int TSpeedBar::FindSection(const QString &caption) const
{
    for (size_t i = 0; i < m_sections.size(); ++i)
        if (m_sections[i]->Caption() == caption)
            return int(i);
    return -1;
}

void TSpeedBar::RemoveSection(int index)
{
    if (index < 0 || index >= SectionCount())
        return;
    TSpeedbarSection *section = m_sections[size_t(index)];
    // The items stay in their section, which may be appended again later.
    for (TSpeedItem *item : section->m_items) {
        item->m_sectionName = section->m_caption;
        item->m_bar = nullptr;
        item->m_sectionIndex = -1;
        item->Button()->hide();
        item->Button()->setParent(nullptr);
    }
    section->m_bar = nullptr;
    m_sections.erase(m_sections.begin() + index);
    renumberItems();
}

TSpeedbarSection *TSpeedBar::Section(int index) const
{
    if (index < 0 || index >= SectionCount())
        return nullptr;
    return m_sections[size_t(index)];
}

int TSpeedBar::IndexOfSection(const TSpeedbarSection *section) const
{
    const auto it = std::find(m_sections.begin(), m_sections.end(), section);
    return it == m_sections.end() ? -1 : int(it - m_sections.begin());
}

void TSpeedBar::MoveSection(int from, int to)
{
    if (from < 0 || from >= SectionCount())
        return;
    to = std::clamp(to, 0, SectionCount() - 1);
    TSpeedbarSection *section = m_sections[size_t(from)];
    m_sections.erase(m_sections.begin() + from);
    m_sections.insert(m_sections.begin() + to, section);
    renumberItems();
}

void TSpeedBar::renumberItems()
{
    for (size_t i = 0; i < m_sections.size(); ++i)
        for (TSpeedItem *item : m_sections[i]->m_items)
            item->m_sectionIndex = int(i);
}

// --- Items ------------------------------------------------------------------

void TSpeedBar::configureItem(TSpeedItem *item, bool resize)
{
    item->m_bar = this;
    TSpeedbarButton *button = item->Button();
    if (resize)
        button->SetBounds(0, 0, m_btnWidth, m_btnHeight);
    button->SetStyle(TButtonStyle::bsNew);
    button->SetFlat(m_options.testFlag(sbFlatBtns));
    button->SetTransparent(m_options.testFlag(sbTransparentBtns));
    button->SetGrayedInactive(m_options.testFlag(sbGrayedBtns));
    setItemEditMode(item);
}

void TSpeedBar::AttachItem(TSpeedItem *item, int section)
{
    if (!item || section < 0)
        return;
    if (item->m_bar && item->m_bar != this)
        item->m_bar->DetachItem(item);
    if (const auto found = LocateItem(item)) {
        m_sections[size_t(found->first)]->remove(item);
        section = std::min(section, SectionCount() - 1);
        m_sections[size_t(section)]->append(item);
        item->m_sectionIndex = section;
        return;
    }
    if (m_sections.empty())
        section = AddSectionNamed(QString());
    else
        section = std::min(section, SectionCount() - 1);
    if (item->m_section)
        item->m_section->remove(item);
    m_sections[size_t(section)]->append(item);
    item->m_sectionIndex = section;
    configureItem(item, !m_loading);
    item->Button()->hide();
    item->Button()->setParent(this);
}

void TSpeedBar::DetachItem(TSpeedItem *item)
{
    const auto found = LocateItem(item);
    if (!found)
        return;
    TSpeedbarSection *section = m_sections[size_t(found->first)];
    item->m_sectionName = section->m_caption;
    section->remove(item);
    item->m_bar = nullptr;
    item->m_sectionIndex = -1;
    if (TSpeedbarButton *button = item->Button()) {
        button->hide();
        button->setParent(nullptr);
    }
}

void TSpeedBar::LoadItem(TSpeedItem *item)
{
    const QString name = item->SectionName();
    const int index = name.isEmpty() ? -1 : FindSection(name);
    AttachItem(item, std::max(index, 0));
}

std::optional<std::pair<int, int>> TSpeedBar::LocateItem(const TSpeedItem *item) const
{
    for (size_t s = 0; s < m_sections.size(); ++s) {
        const auto &items = m_sections[s]->m_items;
        const auto it = std::find(items.begin(), items.end(), item);
        if (it != items.end())
            return std::make_pair(int(s), int(it - items.begin()));
    }
    return std::nullopt;
}

TSpeedItem *TSpeedBar::FindItemByName(const QString &name) const
{
    TSpeedItem *found = nullptr;
    VisitItems([&](TSpeedItem *item) {
        if (!found && item->objectName().compare(name, Qt::CaseInsensitive) == 0)
            found = item;
    });
    return found;
}

void TSpeedBar::VisitItems(const std::function<void(TSpeedItem *)> &visit) const
{
    std::vector<TSpeedItem *> all;
    for (const TSpeedbarSection *section : m_sections)
        for (TSpeedItem *item : section->m_items)
            if (item)
                all.push_back(item);
    for (TSpeedItem *item : all)
        visit(item);
}

} // namespace widgets
