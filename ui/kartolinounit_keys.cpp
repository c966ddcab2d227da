// The window's keys that are on no menu (windowkeys.h).

#include "kartolinounit.h"

#include "findbar.h"
#include "guarded.h"
#include "richedit.h"
#include "windowkeys.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenuBar>

namespace ui {

bool TfrmMain::dispatchWindowKey(QObject *watched, QKeyEvent *event, bool overrideOnly)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this || QApplication::activePopupWidget())
        return false;
    const TWindowCommand command = WindowCommandOf(ShortCutFromKeyEvent(*event));
    if (command == TWindowCommand::None)
        return false;
    // The context menu keys belong to whatever control has the focus;
    // only the editor's menu is ours to open.
    if (command == TWindowCommand::ContextMenu && widget != m_editor && widget != m_editor->viewport())
        return false;
    if (overrideOnly) {
        event->accept();
        return true;
    }
    platform::Guarded([&] { runWindowCommand(command); });
    return true;
}

void TfrmMain::runWindowCommand(TWindowCommand command)
{
    switch (command) {
    case TWindowCommand::MenuBar:
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().constFirst());
        break;
    case TWindowCommand::ContextMenu: {
        QWidget *viewport = m_editor->viewport();
        const QPoint at = m_editor->cursorRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport->mapToGlobal(at));
        QCoreApplication::sendEvent(viewport, &menu);
        break;
    }
    case TWindowCommand::NewCard: mnuNeuClick(this); break;
    case TWindowCommand::SavePoint: {
        bool allow = true;
        TabControl1Changing(this, allow);
        break;
    }
    case TWindowCommand::Quit: mnuBeendenClick(this); break;
    case TWindowCommand::Help: mnuHilfetextClick(this); break;
    case TWindowCommand::Bullet: spBulletClick(this); break;
    case TWindowCommand::TimeStamp: spZeitStempelClick(this); break;
    case TWindowCommand::Close: sbCloseClick(this); break;
    case TWindowCommand::None: break;
    }
}

} // namespace ui
