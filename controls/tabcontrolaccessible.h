#pragma once
// What assistive tools (a screen reader over AT-SPI) see of the card tab
// row: a page tab list whose children are its tabs, followed by the widget
// in its display area. A tab is named as it is drawn, carries the selected
// state while it is the current one, and its press action picks it as a
// click does, so the leaving card is written and a refused pick stays.
// Qt 6.4 has no selection interface; the selected state carries it.

class QAccessibleInterface;
class QObject;
class QString;

namespace controls {

// For QAccessible::installFactory: the tab row's interface, else nullptr.
QAccessibleInterface *TabControlAccessibleFactory(const QString &className, QObject *object);

} // namespace controls
