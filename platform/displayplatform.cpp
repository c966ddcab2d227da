#include "displayplatform.h"

#include <cstdlib>
#include <cstring>

namespace platform {

QByteArray PreferredDisplayPlatform(const std::function<QByteArray(const char *)> &environment, int argc,
                                    char **argv)
{
    if (!environment("QT_QPA_PLATFORM").isEmpty())
        return {};
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return {};
    const bool wayland = !environment("WAYLAND_DISPLAY").isEmpty() || environment("XDG_SESSION_TYPE") == "wayland";
    if (!wayland)
        return {};
    // Wayland stays the fallback where no XWayland runs.
    return QByteArrayLiteral("xcb;wayland");
}

void ChooseDisplayPlatform(int argc, char **argv)
{
    const QByteArray platform = PreferredDisplayPlatform(
        [](const char *name) {
            const char *value = std::getenv(name);
            return value ? QByteArray(value) : QByteArray();
        },
        argc, argv);
    if (!platform.isEmpty())
        ::setenv("QT_QPA_PLATFORM", platform.constData(), 1);
}

} // namespace platform
