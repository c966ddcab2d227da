#pragma once
// The display platform the program asks Qt for before the application object
// exists. Its minimised start and its minimise-to-tray rely on X11 window
// states (iconic, withdrawn) that Wayland does not offer to clients, so in a
// Wayland session it runs through XWayland, unless the user chose a platform
// (QT_QPA_PLATFORM or -platform).

#include <QByteArray>
#include <functional>

namespace platform {

// The value for QT_QPA_PLATFORM, or empty to leave Qt's choice alone.
// environment(name) gives a variable's value (empty when unset).
QByteArray PreferredDisplayPlatform(const std::function<QByteArray(const char *)> &environment, int argc,
                                    char **argv);

// Sets QT_QPA_PLATFORM for this process when PreferredDisplayPlatform says so.
void ChooseDisplayPlatform(int argc, char **argv);

} // namespace platform
