#pragma once
// Hands a file or an address to the desktop for its default action. The
// result is not examined: a target without a handler simply does nothing.

#include <QString>

class QWidget;

namespace platform {

void ShellOpen(QWidget *owner, const QString &target);

// Tests replace the desktop hand-off to see what would be opened.
using ShellOpener = void (*)(const QString &target);
void SetShellOpener(ShellOpener opener);

} // namespace platform
