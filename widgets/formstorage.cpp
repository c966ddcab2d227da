#include "formstorage.h"

#include <algorithm>

namespace widgets {

TFormStorage::TFormStorage(QObject *owner) : QObject(owner) {}

QString TFormStorage::SectionFor(const QString &rest) const
{
    return m_section.isEmpty() ? rest : m_section + QLatin1Char('\\') + rest;
}

void TFormStorage::Hook(QObject *component, std::function<void()> save, std::function<void()> restore)
{
    Unhook(component);
    m_links.push_back({component, std::move(save), std::move(restore)});
}

void TFormStorage::Unhook(QObject *component)
{
    std::erase_if(m_links, [component](const Link &l) { return !l.component || l.component == component; });
}

std::vector<TFormStorage::Link> TFormStorage::liveLinks()
{
    std::erase_if(m_links, [](const Link &l) { return !l.component; });
    // A part may hook or unhook others while it runs.
    return m_links;
}

void TFormStorage::SaveFormPlacement()
{
    for (const Link &link : liveLinks())
        if (link.component && link.save)
            link.save();
}

void TFormStorage::RestoreFormPlacement()
{
    for (const Link &link : liveLinks())
        if (link.component && link.restore)
            link.restore();
}

} // namespace widgets
