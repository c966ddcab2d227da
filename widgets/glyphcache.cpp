#include "glyphcache.h"

#include <algorithm>

namespace widgets {

TGlyphList::TGlyphList(QSize imageSize) : TImageList(imageSize) {}

int TGlyphList::AddMasked(const QImage &image, QRgb transparent)
{
    const auto free = std::find(m_used.begin(), m_used.end(), false);
    int index;
    if (free == m_used.end()) {
        index = Add(image, transparent);
        m_used.resize(size_t(index) + 1, false);
    } else {
        index = int(free - m_used.begin());
        Replace(index, image, transparent);
    }
    m_used[size_t(index)] = true;
    ++m_count;
    return index;
}

void TGlyphList::Delete(int index)
{
    if (index < 0 || index >= int(m_used.size()) || !m_used[size_t(index)])
        return;
    m_used[size_t(index)] = false;
    --m_count;
}

namespace {
TGlyphCache *g_cache = nullptr;
int g_users = 0;
} // namespace

TGlyphCache &TGlyphCache::Instance()
{
    if (!g_cache)
        g_cache = new TGlyphCache;
    return *g_cache;
}

bool TGlyphCache::Exists() { return g_cache != nullptr; }

TGlyphList *TGlyphCache::GetList(int width, int height)
{
    for (auto it = m_lists.rbegin(); it != m_lists.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height)
            return it->get();
    m_lists.push_back(std::make_unique<TGlyphList>(QSize(width, height)));
    return m_lists.back().get();
}

void TGlyphCache::ReturnList(TGlyphList *list)
{
    if (!list || list->Count() != 0)
        return;
    std::erase_if(m_lists, [list](const auto &owned) { return owned.get() == list; });
}

void TGlyphCache::AddUser() { ++g_users; }

void TGlyphCache::RemoveUser()
{
    if (--g_users == 0 && g_cache && g_cache->m_lists.empty()) {
        delete g_cache;
        g_cache = nullptr;
    }
}

} // namespace widgets
