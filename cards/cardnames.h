#pragma once
// The rules for card names that the card commands check.

#include <QString>
#include <QStringList>

namespace cards {

// Removes every leading and trailing character whose code is 32 or less.
QString TrimCardName(const QString &name);

// True when a caption equals name with only the letters a to z folded to
// upper case; every other character (umlauts too) must match exactly.
bool CardExists(const QStringList &captions, const QString &name);

// True when name holds none of  " * . / : < > ? \ |  (the empty name is valid).
bool IsValidCardName(const QString &name);

// True when the card's file name (the name's UTF-8 bytes plus ".rtf") is at
// most maxBytes long, so the file system can hold it.
bool FitsFileName(const QString &name, int maxBytes);

// The messages of the name check.
QString DuplicateNameMessage(const QString &name);
QString InvalidNameMessage(const QString &name);
QString NameTooLongMessage();

// The message of a failed rename, by error code.
QString RenameErrorMessage(int code);

} // namespace cards
