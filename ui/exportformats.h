#pragma once
// What a card can be exported as: the five formats with their save-dialog
// filters and suffixes, the file a card's export gets, and the bytes of each
// format. An export file is written whole or not at all.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QTextDocument;

namespace ui {

enum TExportFormat { efPdf, efOdt, efHtml, efMarkdown, efText };

// "PDF-Dokument (*.pdf)", "OpenDocument-Text (*.odt)", "Webseite (*.html)",
// "Markdown (*.md)", "Nur Text (*.txt)", in the order of TExportFormat.
QStringList ExportFilters();
QString ExportFilter(TExportFormat format);
// "pdf", "odt", "html", "md", "txt".
QString ExportSuffix(TExportFormat format);
// The format of a filter as ExportFilters() spells it; PDF for any other.
TExportFormat FormatOfFilter(const QString &filter);

// Where the export chosen in the save dialog goes, and as what: a name whose
// suffix is one of the five (in any case) keeps it and names the format;
// any other name takes the format of the chosen filter and gets its suffix,
// so "Notiz.rtf" becomes "Notiz.rtf.pdf" and never overwrites a card.
struct TExportTarget {
    QString path;
    TExportFormat format = efPdf;
};
TExportTarget ExportTarget(const QString &chosenPath, const QString &chosenFilter);

// The file name (no folder) a card's export gets: the card's name with the
// characters a file name cannot hold here or on the file systems such files
// travel to (FAT, NTFS) replaced by "_", shortened at a character boundary
// so that the name with its suffix takes at most maxBytes UTF-8 bytes.
// number > 1 adds " (number)" before the suffix (a second card whose name
// came out the same).
QString ExportFileName(const QString &cardName, TExportFormat format, int maxBytes, int number = 1);

// The document in the format; title is the card's name (the PDF's and the
// web page's title). None when it could not be made.
std::optional<QByteArray> ExportBytes(const QTextDocument &document, TExportFormat format, const QString &title);

// The message of a failed export: "Datei %s kann nicht erstellt werden
// (Fehler n: reason)", without the parenthesis for code 0 (no platform error).
QString ExportErrorMessage(const QString &path, int errorCode);

// Makes the bytes and replaces path with them atomically (a temporary file
// beside it, renamed when complete). Throws platform::Exception with
// ExportErrorMessage; the file that was there then stays as it was, and no
// part of the export is left behind.
void WriteExport(const QString &path, const QTextDocument &document, TExportFormat format, const QString &title);

} // namespace ui
