// Edit mode of a speed bar under a customisation editor: buttons are dragged
// on and off the bar with a floating image instead of being pressed.

#include "guarded.h"
#include "btncontrol.h"
#include "speedbar.h"
#include "speeditem.h"

#include <QMouseEvent>

namespace widgets {

void TSpeedBar::SetEditorWindow(TSpeedbarEditor *editor)
{
    if (editor == m_editor)
        return;
    m_editor = editor;
    VisitItems([this](TSpeedItem *item) { setItemEditMode(item); });
    setMouseTracking(m_editor != nullptr);
    if (!m_editor) {
        delete m_dragImage;
        m_dragImage = nullptr;
        m_draggedItem = nullptr;
        showSizeCursor(false);
    }
}

void TSpeedBar::setItemEditMode(TSpeedItem *item)
{
    const bool edit = m_editor != nullptr;
    item->m_editMode = edit;
    TSpeedbarButton *button = item->Button();
    if (!button)
        return;
    // An item being arranged must be visible as a button, whatever it does now.
    button->SetFlat(m_options.testFlag(sbFlatBtns) && !edit);
    if (edit) {
        button->setEnabled(true);
        button->installEventFilter(this);
    } else {
        button->removeEventFilter(this);
        item->applyEnabled();
    }
}

void TSpeedBar::notifyEditor(TSpeedbarNotification code, TSpeedItem *item)
{
    if (m_editor)
        platform::Guarded([&] { m_editor->SpeedbarNotify(this, code, item); });
}

bool TSpeedBar::buttonMouseEvent(TSpeedbarButton *button, QEvent *event)
{
    TSpeedItem *item = button->Item();
    if (!item || item->SpeedBar() != this)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            BeginItemDrag(item, mouse->globalPosition().toPoint(), mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        if (m_draggedItem == item)
            MoveItemDrag(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        return true;
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_draggedItem == item)
            EndItemDrag(mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

void TSpeedBar::BeginItemDrag(TSpeedItem *item, QPoint global, QPoint hotSpot)
{
    delete m_dragImage;
    m_draggedItem = item;
    m_dragHotSpot = hotSpot;
    m_dragImage = new TBtnControl(ButtonImageOf(item), hotSpot, this);
    m_dragImage->FollowPointer(global);
    m_dragImage->show();
    m_dragImage->raise();
}

void TSpeedBar::MoveItemDrag(QPoint global)
{
    if (m_dragImage)
        m_dragImage->FollowPointer(global);
}

bool TSpeedBar::EndItemDrag(QPoint global)
{
    TSpeedItem *item = m_draggedItem;
    delete m_dragImage;
    m_dragImage = nullptr;
    m_draggedItem = nullptr;
    if (!item)
        return false;
    bool placed = false;
    platform::Guarded([&] { placed = DropItem(item, global, m_dragHotSpot); });
    return placed;
}

bool TSpeedBar::DropItem(TSpeedItem *item, QPoint global, QPoint hotSpot)
{
    bool placed = false;
    if (item && LocateItem(item)) {
        const QPoint pointer = mapFromGlobal(global);
        if (rect().contains(pointer)) {
            // The face's corner goes where the image's corner was, kept on
            // the bar so that a drop over the bar never loses the item.
            const QPoint corner = pointer - hotSpot;
            placed = PlaceItemAt(item, std::clamp(corner.x(), 0, width() - 1), std::clamp(corner.y(), 0, height() - 1));
        } else {
            item->SetVisible(false);
        }
    }
    notifyEditor(placed ? snItemPlaced : snDragEnded, placed ? item : nullptr);
    return placed;
}

} // namespace widgets
