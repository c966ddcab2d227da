#pragma once
// What assistive tools see of the program's own widgets. Qt describes its
// own widgets (menus, the editor's text, dialogs); the self-drawn ones get
// interfaces from the layer they live in, installed here once the
// application object exists, so they are asked before Qt's own.

class QAccessibleInterface;
class QObject;
class QString;

namespace ui {

// The tab row's, the buttons' and the clickable widgets' interfaces.
void InstallAccessibleFactories();

// For QAccessible::installFactory: a clickable widget (the banner, the
// about window's links) is a link named by its text, or by its label's
// where its text is drawn by a label on it; its press action clicks it.
QAccessibleInterface *ClickableAccessibleFactory(const QString &className, QObject *object);

} // namespace ui
