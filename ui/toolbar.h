#pragma once
// The main window's toolbar: the speed bar SpeedBar1 docked at the top with
// its one section, eighteen command items and the "Schließen" button.

#include "toolbarglyphs.h"

#include <QObject>
#include <functional>

class QWidget;

namespace widgets {
class TSpeedBar;
}

namespace ui {

// The main window's handlers; each receives the clicked button as sender.
// A handler left empty makes its button do nothing.
struct ToolbarHandlers {
    using Handler = std::function<void(QObject *sender)>;
    Handler mnuBeendenClick, spDruckenClick, mnuUnDOClick, ppAusschneidenClick, ppKopierenClick,
        ppEinfuegenClick, mnuNeuClick, mnuDeleteClick, mnuRenameClick, mnuSchriftClick, spBoldClick,
        spItalicClick, spUnderlineClick, spLeftClick, spCenterClick, spRightClick, spBulletClick,
        spZeitStempelClick, sbCloseClick;
};

// Builds SpeedBar1 as a child of parent (the owner when none is given). The
// section and the items belong to the owner window; the bar destroys them
// when it goes.
widgets::TSpeedBar *BuildSpeedBar1(QWidget *owner, const ToolbarHandlers &handlers, QWidget *parent = nullptr);
// Gives the items their glyphs for the bar's palette (again after it changed).
void SetToolbarGlyphs(widgets::TSpeedBar *bar);

} // namespace ui
