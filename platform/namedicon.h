#pragma once
// An icon that carries a theme name of its own. A StatusNotifierItem host
// takes the tray icon's name (IconName) from QIcon::name(); a drawn icon has
// none, so without this the host would show a generic icon wherever it looks
// the icon up by name. The pixels stay those of the drawn icon.

#include <QIcon>
#include <QString>

namespace platform {

// icon with name() == name; an icon that already has a name is returned as is.
QIcon IconNamed(const QIcon &icon, const QString &name);

} // namespace platform
