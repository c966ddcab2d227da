#pragma once
// The single-instance guard "Kartolino", one per user and card folder: a
// second start on the same card folder says so, asks the running program to
// bring its window up, and ends.

#include "singleinstance.h"

#include <memory>

namespace app {

// The guard when this process may go on; keep it for the whole run. Null
// otherwise: the message "Anwendung läuft bereits!!!!!" has been shown, the
// running program asked to show itself, and the caller ends with 0.
std::unique_ptr<platform::SingleInstanceGuard> AcquireSingleInstance(const QString &cardFolder);

} // namespace app
