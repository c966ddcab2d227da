#include "speedbar.h"

#include "guarded.h"
#include "formstorage.h"
#include "imagelist.h"
#include "speedbarerror.h"
#include "speedbarsection.h"
#include "speeditem.h"

#include <QApplication>
#include <QEvent>
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

// --- Font -------------------------------------------------------------------

QFont TSpeedBar::systemFont() { return QApplication::font("QMenu"); }

void TSpeedBar::ApplySystemFont() { setFont(systemFont()); }

} // namespace widgets
