#include "shell.h"

#include "files.h"

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
    // Built from the name's very bytes, so a name that is not UTF-8 still
    // names its file in the address.
    const QByteArray bytes = EncodeFileName(QFileInfo(target).absoluteFilePath());
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"));
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
