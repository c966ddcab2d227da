#pragma once
// The order of the cards: file names without regard to case, the order in
// which the file system the program was first made for listed a folder, so
// that "einkauf", "Grüße" and "Karte 1" stand as the user expects them and
// not in the hash order of a Linux folder listing.

#include <QString>
#include <QStringList>

namespace cards {

// The sort key of a card file name (the name as listed, "Notiz.rtf"): the
// UTF-8 of its upper-case form; a name that is not UTF-8 is taken by its
// bytes, with only the letters a to z folded.
QByteArray CardOrderKey(const QString &fileName);

// Sorts card file names by CardOrderKey; names of equal keys keep their order.
void SortCardFiles(QStringList &fileNames);

// Where a card file name goes among file names sorted by CardOrderKey: behind
// every name whose key is not greater.
int CardOrderPosition(const QStringList &sortedFileNames, const QString &fileName);

} // namespace cards
