#include "nichtdoppeltstarten.h"

#include "dialogs.h"

namespace app {

std::unique_ptr<platform::SingleInstanceGuard> AcquireSingleInstance(const QString &cardFolder)
{
    // Held until the process ends; the kernel releases it however that happens.
    auto guard = std::make_unique<platform::SingleInstanceGuard>(QStringLiteral("Kartolino"), cardFolder);
    if (!guard->alreadyExists())
        return guard;
    platform::MessageDlg(QStringLiteral("Anwendung läuft bereits!!!!!"), platform::MsgDlgType::Custom, platform::mbOK);
    // After the message: the window that comes up is then the last one
    // standing and keeps the focus.
    guard->RequestShow();
    return nullptr;
}

} // namespace app
