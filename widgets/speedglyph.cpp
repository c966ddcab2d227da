#include "speedglyph.h"

#include "syscolors.h"
#include "glyphcache.h"
#include "glyphimages.h"

namespace widgets {

namespace {
QRgb paletteRgb(platform::TColor c, const QPalette &palette)
{
    return platform::ToQColor(c, palette).rgb();
}
} // namespace

TSpeedGlyph::TSpeedGlyph()
{
    m_indexes.fill(-1);
    TGlyphCache::AddUser();
}

TSpeedGlyph::~TSpeedGlyph()
{
    Invalidate();
    TGlyphCache::RemoveUser();
}

void TSpeedGlyph::changed()
{
    if (OnChange)
        OnChange();
}

void TSpeedGlyph::SetGlyph(const QImage &glyph)
{
    Invalidate();
    m_glyph = glyph;
    if (m_glyph.height() > 0) {
        m_transparent = BottomLeftColor(m_glyph);
        if (m_glyph.width() % m_glyph.height() == 0) {
            int frames = m_glyph.width() / m_glyph.height();
            if (frames > kPaintStateCount)
                frames = 1;
            if (frames >= 1)
                m_numGlyphs = frames;
        }
    }
    changed();
}

void TSpeedGlyph::SetNumGlyphs(int value)
{
    if (value <= 0)
        return;
    value = std::min(value, kPaintStateCount);
    if (value == m_numGlyphs)
        return;
    Invalidate();
    m_numGlyphs = value;
    changed();
}

bool TSpeedGlyph::HasGlyph() const
{
    return !m_glyph.isNull() && m_glyph.width() > 0 && m_glyph.height() > 0;
}

QSize TSpeedGlyph::GlyphSize() const
{
    if (!HasGlyph())
        return QSize(0, 0);
    return QSize(m_glyph.width() / m_numGlyphs, m_glyph.height());
}

void TSpeedGlyph::Invalidate()
{
    if (!m_list)
        return;
    for (int &index : m_indexes) {
        if (index >= 0)
            m_list->Delete(index);
        index = -1;
    }
    TGlyphCache::Instance().ReturnList(m_list);
    m_list = nullptr;
}

QImage TSpeedGlyph::stateImage(TButtonPaintState state, int frame, const QPalette &palette,
                               QRgb &transparent) const
{
    const QSize size = GlyphSize();
    const QRgb face = paletteRgb(platform::clBtnFace, palette);
    transparent = m_transparent;
    if (state == stDisabled && m_numGlyphs < 2) {
        // The whole bitmap, as a single frame has nothing else to show.
        transparent = face;
        return EmbossedImage(m_glyph, face, paletteRgb(platform::clBtnHighlight, palette),
                             paletteRgb(platform::clBtnShadow, palette));
    }
    if (state == stInactive && m_numGlyphs < kPaintStateCount)
        return GrayedImage(m_glyph.copy(0, 0, size.width(), size.height()), m_transparent, face);
    return m_glyph.copy(frame * size.width(), 0, size.width(), size.height());
}

int TSpeedGlyph::CreateButtonGlyph(TButtonPaintState state, const QPalette &palette)
{
    if (!HasGlyph())
        return -1;
    if (state == stDown && m_numGlyphs < 3)
        state = stUp;
    int &slot = m_indexes[size_t(state)];
    if (slot >= 0)
        return slot;
    const QSize size = GlyphSize();
    if (size.width() <= 0)
        return -1;
    if (!m_list)
        m_list = TGlyphCache::Instance().GetList(size.width(), size.height());
    const int frame = int(state) < m_numGlyphs ? int(state) : 0;
    QRgb transparent;
    const QImage image = stateImage(state, frame, palette, transparent);
    slot = m_list->AddMasked(image, transparent);
    return slot;
}

} // namespace widgets
