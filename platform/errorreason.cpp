#include "errorreason.h"

#include "files.h"

#include <cerrno>

namespace platform {

QString ErrorCodeReason(int code)
{
    switch (code) {
    case kErrorFileNotFound: return QStringLiteral("Datei oder Ordner nicht gefunden");
    case kErrorPathNotFound: return QStringLiteral("Pfad nicht gefunden");
    case kErrorTooManyOpenFiles: return QStringLiteral("zu viele offene Dateien");
    case kErrorAccessDenied: return QStringLiteral("Zugriff verweigert");
    case kErrorDiskFull: return QStringLiteral("Datenträger voll");
    case 123: return QStringLiteral("ungültiger Name");
    case kErrorAlreadyExists: return QStringLiteral("existiert bereits");
    default: break;
    }
    // Errors the file layer passes through as 1000 + errno.
    switch (code - 1000) {
    case EIO: return QStringLiteral("Ein-/Ausgabefehler");
    case ELOOP: return QStringLiteral("zu viele symbolische Verknüpfungen");
    case EBUSY: return QStringLiteral("Gerät oder Ressource belegt");
    case ENOMEM: return QStringLiteral("zu wenig Arbeitsspeicher");
    case EXDEV: return QStringLiteral("anderes Dateisystem");
    case ENODEV:
    case ENXIO: return QStringLiteral("Gerät nicht vorhanden");
    case EAGAIN: return QStringLiteral("vorübergehend nicht verfügbar");
    default: return QStringLiteral("unbekannte Ursache");
    }
}

QString ErrorCodeText(int code) { return QStringLiteral("Fehler %1: %2").arg(code).arg(ErrorCodeReason(code)); }

} // namespace platform
