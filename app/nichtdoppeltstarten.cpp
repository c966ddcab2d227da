#include "nichtdoppeltstarten.h"

#include "dialogs.h"
#include "singleinstance.h"

namespace app {

bool AcquireSingleInstance()
{
    // Held until the process ends; the kernel releases it however that happens.
    static platform::SingleInstanceGuard guard(QStringLiteral("Kartolino"));
    if (!guard.alreadyExists())
        return true;
    platform::MessageDlg(QStringLiteral("Anwendung läuft bereits!!!!!"), platform::MsgDlgType::Custom, platform::mbOK);
    return false;
}

} // namespace app
