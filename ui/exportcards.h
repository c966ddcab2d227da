#pragma once
// Exporting every card into one folder, one file per card named after it.
//
// - The names come from ExportFileName; a card whose name comes out as one
//   an earlier card of the run already took (the file system may ignore
//   case) gets a number, so no card's export replaces another's.
// - Where files of those names exist, one question "%d Dateien bestehen
//   bereits. Ersetzen?" ("&Ja" replaces them, "&Nein" skips them).
// - More than a few cards: a window-modal progress dialog with "Abbrechen";
//   cancelling keeps what was written so far (every file is whole).
// - A card that cannot be read or written is left out and the run goes on;
//   the failures are told together at the end.
// - Nothing in the card folder changes.

#include "exportformats.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

class QTextDocument;
class QWidget;

namespace ui {

// Up to this many cards are exported without a progress dialog.
inline constexpr int kFewCards = 5;

// A card to export: its name, and its text, which is the document when one
// is given (the card in the editor, changed or not), else its file's.
struct TExportCard {
    QString name;
    QString file;
    const QTextDocument *document = nullptr;
};

// The question asked before files that exist are replaced.
QString ReplaceQuestion(int existing);

// Exports cards into folder in format; cards read from their files take
// baseFont as the editor would. The question and the progress dialog belong
// to owner. Returns one message for each card left out by a failure.
QStringList ExportCards(const QList<TExportCard> &cards, const QString &folder, TExportFormat format,
                        const QFont &baseFont, QWidget *owner);

// The message naming the failed cards of an export of total cards.
QString ExportFailuresMessage(const QStringList &failures, int total);

} // namespace ui
