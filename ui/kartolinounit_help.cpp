// The "Hilfe" menu: the help window and the about window.

#include "hilfe2.h"
#include "info2.h"
#include "kartolinounit.h"

namespace ui {

void TfrmMain::mnuHilfetextClick(QObject *) { ShowHelpWindow(this); }

void TfrmMain::mnuInfoClick(QObject *) { ShowInfoWindow(this); }

} // namespace ui
