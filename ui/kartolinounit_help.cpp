// The "Hilfe" menu: the help window and the about window.

#include "ui/hilfe2.h"
#include "ui/info2.h"
#include "ui/kartolinounit.h"

namespace ui {

void TfrmMain::mnuHilfetextClick(QObject *) { ShowHelpWindow(this); }

void TfrmMain::mnuInfoClick(QObject *) { ShowInfoWindow(this); }

} // namespace ui
