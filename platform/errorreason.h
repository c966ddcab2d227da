#pragma once
// A short German reason for the error codes the file layer reports
// (ErrnoToErrorCode), so that a message naming a code also says what it means.

#include <QString>

namespace platform {

// "Zugriff verweigert" for 5, and so on; codes of no known meaning give
// "unbekannte Ursache".
QString ErrorCodeReason(int code);

// The code with its reason: "Fehler 5: Zugriff verweigert".
QString ErrorCodeText(int code);

} // namespace platform
