#include "popupmenu.h"

namespace widgets {

TPopupMenu::TPopupMenu(QWidget *parent) : QMenu(parent)
{
}

void TPopupMenu::Popup(const QPoint &screenPos)
{
    exec(screenPos);
}

} // namespace widgets
