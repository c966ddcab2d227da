#pragma once
// The glyph images of all speed buttons, kept in one image list per glyph
// size for the whole process, so a bar of many 16 x 16 glyphs uses one list.
// GUI thread only.

#include "imagelist.h"

#include <memory>
#include <vector>

namespace widgets {

// An image list whose slots can be handed back and reused.
class TGlyphList : public TImageList {
    Q_OBJECT
public:
    explicit TGlyphList(QSize imageSize);

    // Takes the lowest free slot, growing the list when every slot is used.
    int AddMasked(const QImage &image, QRgb transparent);
    void Delete(int index);
    int Count() const { return m_count; }

private:
    std::vector<bool> m_used;
    int m_count = 0;
};

class TGlyphCache {
public:
    // The process's cache, created on first use.
    static TGlyphCache &Instance();
    // Whether the cache currently exists (for tests and the teardown rule).
    static bool Exists();

    // The list for glyphs of this size; the most recently added fits first.
    TGlyphList *GetList(int width, int height);
    // A list handed back is destroyed once it holds no glyph.
    void ReturnList(TGlyphList *list);
    int ListCount() const { return int(m_lists.size()); }

    // Every glyph object registers itself; when the last one goes and no
    // list remains, the cache goes too.
    static void AddUser();
    static void RemoveUser();

private:
    TGlyphCache() = default;
    std::vector<std::unique_ptr<TGlyphList>> m_lists;
};

} // namespace widgets
