#pragma once
// The copies sync engines leave when one card was changed on two machines at
// once: Syncthing's "Name.sync-conflict-YYYYMMDD-HHMMSS-DEVICE", Nextcloud's
// "Name (conflicted copy YYYY-MM-DD HHMMSS)" and Dropbox's
// "Name (Someone's conflicted copy YYYY-MM-DD)". Each stays a card of its own,
// shown right after its card with a caption that says what it is; nothing is
// merged or deleted.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace cards {

struct ConflictCopy {
    QString card;    // the name of the card it is a copy of
    QDateTime when;  // when the engine saw the conflict (local time)
    bool hasTime = true; // Dropbox names a day only
};

// The conflict copy a card file's base name (without ".rtf") stands for.
std::optional<ConflictCopy> ParseConflictCopy(const QString &baseName);

// "Name (Konflikt 10.12.2026 10:10)", or "Name (Konflikt 10.12.2026)".
QString ConflictCaption(const ConflictCopy &copy);

// The order of the tabs for these base names: each conflict copy right after
// its card (the oldest copy first), the rest in the order given. A copy
// whose card is not there stays where it is.
QList<int> OrderWithConflictCopies(const QStringList &baseNames);

// The tab row's order for card file names as the folder lists them ("Notiz.rtf"):
// card order (cardorder.h), then each conflict copy behind its card. The
// start and every later insertion or rename follow it, so a card that
// arrives while the program runs stands where the next start would put it.
QList<int> CardListOrder(const QStringList &fileNames);

// A card file's tab caption: a conflict copy says what it is, any other card
// shows its base name.
QString CardCaption(const QString &fileName);

} // namespace cards
