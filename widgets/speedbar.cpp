#include "speedbar.h"

#include "guarded.h"
#include "syscolors.h"
#include "btncontrol.h"
#include "dragoutline.h"
#include "formstorage.h"
#include "glyphimages.h"
#include "imagelist.h"
#include "speedbarerror.h"
#include "speedbarsection.h"
#include "speeditem.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <cmath>

namespace widgets {

using namespace platform;

int SpeedbarGridStep(int extent)
{
    if (extent <= 1)
        return 1;
    int step = std::max(1, std::min(8, extent / 3));
    while (extent % step != 0)
        ++step;
    if (step == extent) {
        --step;
        while (step > 1 && extent % step != 0)
            --step;
    }
    return step;
}

namespace {
int scaled(int value, int m, int d) { return int(std::lround(double(value) * m / d)); }

// Halves go to the even neighbour.
int roundEven(double v) { return int(std::nearbyint(v)); }
} // namespace

TSpeedBar::TSpeedBar(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_offsetHorz = m_offsetVert = MinButtonOffset();
    resize(width(), 2 * m_offsetVert + m_btnHeight);
    m_options = TSpeedbarOptions(sbAllowDrag) | sbGrayedBtns;
    // Not the virtual ApplySystemFont: a derived bar is not built yet.
    setFont(systemFont());
    watchParent();
    SetAlign(alTop);
    updateGridStep();
}

TSpeedBar::~TSpeedBar()
{
    m_destroying = true;
    OnVisibleChanged = nullptr;
    OnApplyAlign = nullptr;
    OnPosChanged = nullptr;
    if (m_storage)
        m_storage->Unhook(this);
    m_wallpaper = QImage();
    notifyEditor(snBarDestroyed);
    m_editor = nullptr;
    // Each section destroys its items and then leaves this list.
    while (!m_sections.empty())
        delete m_sections.back();
    if (m_watchedParent)
        m_watchedParent->removeEventFilter(this);
}

// --- Loading ----------------------------------------------------------------

void TSpeedBar::EndLoad()
{
    m_loading = false;
    updateGridStep();
    VisitItems([this](TSpeedItem *item) {
        item->Button()->SetBounds(item->Left(), item->Top(), m_btnWidth, m_btnHeight);
        item->Button()->Loaded();
        item->applyVisible();
    });
    dock();
}

// --- Options, offsets and sizes ---------------------------------------------

int TSpeedBar::MinButtonOffset() const
{
    int offset = m_options.testFlag(sbFlatBtns) ? 0 : 2;
    offset += m_borderWidth;
    if (m_bevelOuter != bvNone)
        offset += m_bevelWidth;
    if (m_bevelInner != bvNone)
        offset += m_bevelWidth;
    return offset;
}

void TSpeedBar::SetOptions(TSpeedbarOptions value)
{
    if (value == m_options)
        return;
    const bool flatChanged = value.testFlag(sbFlatBtns) != m_options.testFlag(sbFlatBtns);
    m_options = value;
    VisitItems([value, this](TSpeedItem *item) {
        item->Button()->SetFlat(value.testFlag(sbFlatBtns) && !m_editor);
        item->Button()->SetTransparent(value.testFlag(sbTransparentBtns));
        item->Button()->SetGrayedInactive(value.testFlag(sbGrayedBtns));
    });
    updateGridStep();
    if (flatChanged)
        realign();
    update();
}

void TSpeedBar::SetBtnOffsetHorz(int value)
{
    value = std::max(value, MinButtonOffset());
    m_marks.offsetHorz = true;
    if (value == m_offsetHorz)
        return;
    const int dx = value - m_offsetHorz;
    m_offsetHorz = value;
    moveButtons(dx, 0);
}

void TSpeedBar::SetBtnOffsetVert(int value)
{
    value = std::max(value, MinButtonOffset());
    m_marks.offsetVert = true;
    if (value == m_offsetVert)
        return;
    const int dy = value - m_offsetVert;
    m_offsetVert = value;
    moveButtons(0, dy);
}

void TSpeedBar::SetBtnWidth(int value)
{
    m_marks.btnWidth = true;
    if (value == m_btnWidth)
        return;
    m_btnWidth = value;
    updateGridStep();
    if (!m_loading)
        growToButtons();
    sizeButtons();
    notifyEditor(snButtonsChanged);
}

void TSpeedBar::SetBtnHeight(int value)
{
    m_marks.btnHeight = true;
    if (value == m_btnHeight)
        return;
    m_btnHeight = value;
    updateGridStep();
    if (!m_loading)
        growToButtons();
    sizeButtons();
    notifyEditor(snButtonsChanged);
}

void TSpeedBar::growToButtons()
{
    if (m_orientation == TBarOrientation::boHorizontal)
        resize(width(), std::max(height(), 2 * m_offsetVert + m_btnHeight));
    else
        resize(std::max(width(), 2 * m_offsetHorz + m_btnWidth), height());
}

void TSpeedBar::sizeButtons()
{
    VisitItems([this](TSpeedItem *item) {
        item->Button()->SetBounds(item->Left(), item->Top(), m_btnWidth, m_btnHeight);
    });
}

void TSpeedBar::moveButtons(int dx, int dy)
{
    VisitItems([=, this](TSpeedItem *item) {
        item->Button()->SetBounds(item->Left() + dx, item->Top() + dy, m_btnWidth, m_btnHeight);
    });
}

void TSpeedBar::updateGridStep()
{
    if (m_orientation == TBarOrientation::boHorizontal) {
        m_stepX = SpeedbarGridStep(m_btnWidth);
        m_stepY = m_btnHeight;
    } else {
        m_stepX = m_btnWidth;
        m_stepY = SpeedbarGridStep(m_btnHeight);
    }
}

QRect TSpeedBar::ConstrainButtonRect(QRect bounds) const
{
    if (m_orientation == TBarOrientation::boHorizontal)
        bounds.moveTop(std::max(m_offsetVert, bounds.top()));
    else
        bounds.moveLeft(std::max(m_offsetHorz, bounds.left()));
    return bounds;
}

void TSpeedBar::SetBoundLines(TBoundLines value)
{
    if (value == m_boundLines)
        return;
    m_boundLines = value;
    realign();
    update();
}

void TSpeedBar::SetWallpaper(const QImage &value)
{
    m_wallpaper = value;
    update();
}

void TSpeedBar::SetImages(TImageList *value)
{
    if (m_images == value)
        return;
    if (m_images)
        disconnect(m_images, nullptr, this, nullptr);
    m_images = value;
    const auto imagesChanged = [this] {
        VisitItems([](TSpeedItem *item) { item->Button()->InvalidateImages(); });
    };
    if (m_images)
        connect(m_images, &TImageList::changed, this, imagesChanged);
    imagesChanged();
}

void TSpeedBar::SetBevelInner(TPanelBevel value)
{
    if (value == m_bevelInner)
        return;
    m_bevelInner = value;
    realign();
    update();
}

void TSpeedBar::SetBevelOuter(TPanelBevel value)
{
    if (value == m_bevelOuter)
        return;
    m_bevelOuter = value;
    realign();
    update();
}

void TSpeedBar::SetBevelWidth(int value)
{
    if (value == m_bevelWidth || value < 1)
        return;
    m_bevelWidth = value;
    realign();
    update();
}

void TSpeedBar::SetBorderWidth(int value)
{
    if (value == m_borderWidth || value < 0)
        return;
    m_borderWidth = value;
    realign();
    update();
}

// --- Visibility and enabling ------------------------------------------------

bool TSpeedBar::Visible() const
{
    return !(testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden));
}

bool TSpeedBar::Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

void TSpeedBar::setVisible(bool visible)
{
    const bool was = Visible();
    QWidget::setVisible(visible);
    if (m_destroying || was == Visible())
        return;
    if (!m_loading)
        VisitItems([](TSpeedItem *item) { item->applyVisible(); });
    if (OnVisibleChanged)
        Guarded([this] { OnVisibleChanged(this); });
}

void TSpeedBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !m_loading && !m_destroying)
        VisitItems([](TSpeedItem *item) { item->applyEnabled(); });
    if (event->type() == QEvent::ParentChange) {
        watchParent();
        dock();
    }
    QWidget::changeEvent(event);
}

// --- Docking and axis -------------------------------------------------------

void TSpeedBar::SetAlign(TAlign value)
{
    if (value == m_align)
        return;
    if (m_position == TBarPosition::bpAuto && (value == alNone || value == alClient))
        throw ESpeedbarError(QStringLiteral("Cannot set this property value while Position is bpAuto"));
    const QSize before = size();
    TBarOrientation axis = m_orientation;
    if (m_position == TBarPosition::bpAuto)
        axis = (value == alTop || value == alBottom) ? TBarOrientation::boHorizontal : TBarOrientation::boVertical;
    m_align = value;
    if (axis != m_orientation) {
        if (m_loading) {
            m_orientation = axis;
            updateGridStep();
        } else {
            // The bar keeps its thickness when it turns.
            resize(height(), width());
            switchAxis(axis);
        }
    }
    dock();
    if (m_loading)
        resize(before);
}

void TSpeedBar::switchAxis(TBarOrientation axis)
{
    m_paintSuspended = true;
    m_orientation = axis;
    std::swap(m_btnWidth, m_btnHeight);
    std::swap(m_stepX, m_stepY);
    std::swap(m_offsetHorz, m_offsetVert);
    VisitItems([this](TSpeedItem *item) {
        const QPoint old = item->Button()->pos();
        item->Button()->SetBounds(old.y(), old.x(), m_btnWidth, m_btnHeight);
    });
    m_paintSuspended = false;
    update();
    notifyEditor(snButtonsChanged);
}

int TSpeedBar::Thickness() const
{
    switch (m_align) {
    case alTop:
    case alBottom: return height();
    case alLeft:
    case alRight: return width();
    default: return m_orientation == TBarOrientation::boHorizontal ? height() : width();
    }
}

void TSpeedBar::watchParent()
{
    if (m_watchedParent == parentWidget())
        return;
    if (m_watchedParent)
        m_watchedParent->removeEventFilter(this);
    m_watchedParent = parentWidget();
    if (m_watchedParent)
        m_watchedParent->installEventFilter(this);
}

void TSpeedBar::dock()
{
    QWidget *parent = parentWidget();
    if (!parent || m_loading || m_destroying)
        return;
    const QRect area = parent->rect();
    switch (m_align) {
    case alTop: setGeometry(0, 0, area.width(), height()); break;
    case alBottom: setGeometry(0, area.height() - height(), area.width(), height()); break;
    case alLeft: setGeometry(0, 0, width(), area.height()); break;
    case alRight: setGeometry(area.width() - width(), 0, width(), area.height()); break;
    case alClient: setGeometry(area); break;
    case alNone: break;
    }
}

bool TSpeedBar::eventFilter(QObject *watched, QEvent *event)
{
    // A hidden parent gets its resize events only when it is shown.
    if (watched == m_watchedParent && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        dock();
    if (m_editor)
        if (auto *button = qobject_cast<TSpeedbarButton *>(watched); button && buttonMouseEvent(button, event))
            return true;
    return QWidget::eventFilter(watched, event);
}

void TSpeedBar::resizeEvent(QResizeEvent *event)
{
    realign();
    QWidget::resizeEvent(event);
}

void TSpeedBar::realign()
{
    if (m_realignSuspended || m_destroying)
        return;
    // Bound lines would narrow the room of aligned children; the bar docks
    // none of its own, so only the offsets need care here.
    const int minimum = MinButtonOffset();
    const int dx = std::max(0, minimum - m_offsetHorz);
    const int dy = std::max(0, minimum - m_offsetVert);
    m_offsetHorz += dx;
    m_offsetVert += dy;
    if (!m_loading && (dx || dy))
        moveButtons(dx, dy);
}

// --- Scaling and the grid ---------------------------------------------------

void TSpeedBar::ScaleBy(int m, int d)
{
    if (d == 0)
        return;
    m_realignSuspended = true;
    const bool all = !m_loading;
    if ((all || m_marks.btnWidth) && minimumWidth() != maximumWidth())
        m_btnWidth = scaled(m_btnWidth, m, d);
    if ((all || m_marks.btnHeight) && minimumHeight() != maximumHeight())
        m_btnHeight = scaled(m_btnHeight, m, d);
    if (all || m_marks.offsetHorz)
        m_offsetHorz = scaled(m_offsetHorz, m, d);
    if (all || m_marks.offsetVert)
        m_offsetVert = scaled(m_offsetVert, m, d);
    updateGridStep();

    resize(scaled(width(), m, d), scaled(height(), m, d));
    for (QObject *child : children())
        if (auto *w = qobject_cast<QWidget *>(child); w && !w->isWindow())
            w->setGeometry(scaled(w->x(), m, d), scaled(w->y(), m, d), scaled(w->width(), m, d),
                           scaled(w->height(), m, d));

    sizeButtons();
    notifyEditor(snButtonsChanged);
    VisitItems([this](TSpeedItem *item) {
        if (!item->Visible())
            return;
        const QPoint snapped = SnapToGrid(item->Button()->pos());
        item->Button()->SetBounds(snapped.x(), snapped.y(), m_btnWidth, m_btnHeight);
    });
    m_marks = {};
    m_realignSuspended = false;
    dock();
}

QPoint TSpeedBar::SnapToGrid(QPoint p) const
{
    // Buttons of no extent would give a step of 0.
    const int stepX = std::max(1, m_stepX), stepY = std::max(1, m_stepY);
    const double fx = double(p.x() - m_offsetHorz) / stepX;
    const double fy = double(p.y() - m_offsetVert) / stepY;
    const bool horizontal = m_orientation == TBarOrientation::boHorizontal;
    const int cx = horizontal ? roundEven(fx) : int(std::trunc(fx));
    const int cy = horizontal ? int(std::trunc(fy)) : roundEven(fy);
    return QPoint(cx * stepX + m_offsetHorz, cy * stepY + m_offsetVert);
}

bool TSpeedBar::PlaceItemAt(TSpeedItem *item, int x, int y)
{
    if (!item || !LocateItem(item))
        return false;
    const QPoint snapped = SnapToGrid(QPoint(x, y));
    item->Button()->SetBounds(snapped.x(), snapped.y(), m_btnWidth, m_btnHeight);
    if (rect().contains(snapped)) {
        item->Button()->raise();
        item->SetVisible(true);
        return true;
    }
    item->Button()->lower();
    item->SetVisible(false);
    return false;
}

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

QFont TSpeedBar::systemFont() { return QApplication::font("QMenu"); }

void TSpeedBar::ApplySystemFont() { setFont(systemFont()); }

// --- Painting ---------------------------------------------------------------

QRect TSpeedBar::InnerRect() const
{
    int b = m_borderWidth;
    if (m_bevelOuter != bvNone)
        b += m_bevelWidth;
    if (m_bevelInner != bvNone)
        b += m_bevelWidth;
    return rect().adjusted(b, b, -b, -b);
}

void TSpeedBar::paintBevels(QPainter &p, QRect &r)
{
    const QColor highlight = ToQColor(clBtnHighlight, palette()), shadow = ToQColor(clBtnShadow, palette());
    const auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone)
            return;
        const bool lowered = kind == bvLowered;
        for (int i = 0; i < m_bevelWidth; ++i)
            DrawFrameRing(p, r, lowered ? shadow : highlight, lowered ? highlight : shadow);
    };
    bevel(m_bevelOuter);
    r.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
    bevel(m_bevelInner);
}

void TSpeedBar::paintWallpaper(QPainter &p, const QRect &inner)
{
    const int w = m_wallpaper.width(), h = m_wallpaper.height();
    if (m_wallpaper.isNull() || w <= 0 || h <= 0)
        return;
    p.save();
    p.setClipRect(inner);
    if (m_options.testFlag(sbStretchBitmap)) {
        p.drawImage(inner, m_wallpaper);
    } else {
        const int b = inner.left();
        for (int c = 0; c <= (width() - 2 * b) / w; ++c)
            for (int r = 0; r <= (height() - 2 * b) / h; ++r)
                p.drawImage(inner.left() + c * w, inner.top() + r * h, m_wallpaper);
    }
    p.restore();
}

void TSpeedBar::paintBoundLines(QPainter &p, const QRect &inner)
{
    const QColor shadow = ToQColor(clBtnShadow, palette()), highlight = ToQColor(clBtnHighlight, palette());
    const int l = inner.left(), t = inner.top();
    const int r = inner.left() + inner.width(), bm = inner.top() + inner.height();
    // Lines run from a start point to an end point that is not drawn.
    const auto hline = [&](int x0, int x1, int y, const QColor &c) { p.fillRect(x0, y, x1 - x0, 1, c); };
    const auto vline = [&](int x, int y0, int y1, const QColor &c) { p.fillRect(x, y0, 1, y1 - y0, c); };
    if (m_boundLines.testFlag(blTop)) {
        hline(l, r, t, shadow);
        hline(l, r, t + 1, highlight);
    }
    if (m_boundLines.testFlag(blLeft)) {
        vline(l, t, bm, shadow);
        vline(l + 1, m_boundLines.testFlag(blTop) ? t + 1 : t, bm, highlight);
    }
    if (m_boundLines.testFlag(blBottom)) {
        hline(l, r, bm - 2, shadow);
        hline(l, r, bm - 1, highlight);
    }
    if (m_boundLines.testFlag(blRight)) {
        vline(r - 2, t, m_boundLines.testFlag(blBottom) ? bm - 1 : bm, shadow);
        vline(r - 1, t, bm, highlight);
    }
}

void TSpeedBar::paintEvent(QPaintEvent *)
{
    if (m_paintSuspended)
        return;
    QPainter p(this);
    QRect r = rect();
    p.fillRect(r, ToQColor(clBtnFace, palette()));
    paintBevels(p, r);
    const QRect inner = InnerRect();
    paintWallpaper(p, inner);
    paintBoundLines(p, inner);
}

} // namespace widgets
