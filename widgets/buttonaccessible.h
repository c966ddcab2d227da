#pragma once
// What assistive tools see of the self-drawn buttons and the speed bar: a
// flat button or a speed button is a push button (a toggle button, in Qt's
// terms a checkable one, where it latches in a group), named by its caption
// or, where it shows only a glyph, by its tool tip; its press action clicks
// as the left mouse button does. A speed bar is a tool bar.

class QAccessibleInterface;
class QObject;
class QString;

namespace widgets {

// For QAccessible::installFactory: the interface of a button or a speed
// bar, else nullptr.
QAccessibleInterface *ButtonAccessibleFactory(const QString &className, QObject *object);

} // namespace widgets
