#pragma once
// File-listing helpers of the maker's utility unit.

#include <QString>
#include <QStringList>

namespace cards {

enum ListFilesOption : unsigned char {
    lfAppend = 1,     // keep the list's entries instead of clearing it
    lfWithFolder = 2, // put the folder (with a trailing separator) in front of each name
    lfBaseName = 4,   // store ExtractBaseName of each name
};
using ListFilesOptions = unsigned char;

// Lists the entries of folder that match mask, files and folders, hidden ones
// included, in the order of the folder listing. When nothing is found or the
// folder cannot be searched, the list stays exactly as it was.
void ListFiles(QString folder, const QString &mask, QStringList &list, ListFilesOptions options);

// The part after the last "/" without its last extension. On Linux only "/"
// separates folders: ":" and "\" belong to the name ("12:30 Termin.rtf").
QString ExtractBaseName(const QString &path);

} // namespace cards
