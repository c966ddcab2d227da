#include "platform/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace platform {

namespace {
ShellOpener g_opener = nullptr;

QUrl targetUrl(const QString &target)
{
    const QUrl url(target);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}
} // namespace

void SetShellOpener(ShellOpener opener) { g_opener = opener; }

void ShellOpen(QWidget * /*owner*/, const QString &target)
{
    if (g_opener) {
        g_opener(target);
        return;
    }
    QDesktopServices::openUrl(targetUrl(target));
}

} // namespace platform
