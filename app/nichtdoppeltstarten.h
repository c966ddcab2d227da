#pragma once
// The single-instance guard "Kartolino": a second start says so and ends.

namespace app {

// Returns true when this process may go on. Otherwise the message
// "Anwendung läuft bereits!!!!!" has been shown and the caller ends with 0.
// The guard itself lives until the process ends.
bool AcquireSingleInstance();

} // namespace app
