#include "exportcards.h"

#include "dialogs.h"
#include "exception.h"
#include "files.h"
#include "replacebatch.h"
#include "richedit.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProgressDialog>
#include <QSet>
#include <QTextDocument>

#include <memory>
#include <optional>

namespace ui {

namespace {

// A longer list would not fit on the screen; the count says the rest.
constexpr int kNamedFailures = 10;

// One file per card; a name already taken in this run gets a number.
QStringList targetPaths(const QList<TExportCard> &cards, const QString &folder, TExportFormat format)
{
    const int maxBytes = platform::MaxFileNameLength(folder);
    QSet<QString> taken;
    QStringList paths;
    for (const TExportCard &card : cards) {
        QString name;
        for (int number = 1;; ++number) {
            name = ExportFileName(card.name, format, maxBytes, number);
            if (!taken.contains(name.toCaseFolded()))
                break;
        }
        taken.insert(name.toCaseFolded());
        paths << QDir(folder).filePath(name);
    }
    return paths;
}

bool exists(const QString &path) { return QFileInfo(path).exists() || QFileInfo(path).isSymLink(); }

} // namespace

QString ReplaceQuestion(int existing)
{
    if (existing == 1)
        return QStringLiteral("1 Datei besteht bereits. Ersetzen?");
    return QStringLiteral("%1 Dateien bestehen bereits. Ersetzen?").arg(existing);
}

QStringList ExportCards(const QList<TExportCard> &cards, const QString &folder, TExportFormat format,
                        const QFont &baseFont, QWidget *owner)
{
    const QStringList paths = targetPaths(cards, folder, format);
    QList<bool> skip(cards.size(), false);
    int existing = 0;
    for (int i = 0; i < paths.size(); ++i) {
        skip[i] = exists(paths[i]);
        existing += skip[i];
    }
    if (existing > 0
        && platform::MessageDlg(ReplaceQuestion(existing), platform::MsgDlgType::Confirmation, platform::mbYes | platform::mbNo,
                                owner)
               == platform::mrYes)
        skip.fill(false);

    std::unique_ptr<QProgressDialog> progress;
    if (cards.size() > kFewCards) {
        progress = std::make_unique<QProgressDialog>(QStringLiteral("Karten werden exportiert …"), QStringLiteral("Abbrechen"),
                                                     0, int(cards.size()), owner);
        progress->setWindowTitle(platform::ApplicationTitle());
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->setAutoReset(false);
    }

    // Card by card: read and converted here, written on the batch's threads.
    platform::ReplaceBatch batch;
    QList<int> batched;
    QMap<int, QString> failures;
    for (int i = 0; i < cards.size(); ++i) {
        if (progress) {
            // A window-modal dialog handles events here, its button included.
            progress->setValue(i);
            if (progress->wasCanceled())
                break;
        }
        if (skip[i])
            continue;
        const TExportCard &card = cards[i];
        try {
            std::unique_ptr<QTextDocument> read;
            if (!card.document)
                read = controls::TRichEdit::ReadDocument(card.file, baseFont);
            std::optional<QByteArray> bytes = ExportBytes(card.document ? *card.document : *read, format, card.name);
            if (!bytes) {
                failures.insert(i, ExportErrorMessage(paths[i], 0));
                continue;
            }
            batch.Add(paths[i], std::move(*bytes));
            batched << i;
        } catch (const platform::Exception &e) {
            failures.insert(i, e.message());
        }
    }
    const QList<platform::ReplaceOutcome> outcomes = batch.Finish();
    for (int k = 0; k < outcomes.size(); ++k)
        if (outcomes[k].result != platform::ReplaceResult::Ok)
            failures.insert(batched[k], ExportErrorMessage(paths[batched[k]], outcomes[k].errorCode));
    return failures.values();
}

QString ExportFailuresMessage(const QStringList &failures, int total)
{
    QString text = failures.size() == 1 ? QStringLiteral("1 von %1 Karten wurde nicht exportiert:").arg(total)
                                        : QStringLiteral("%1 von %2 Karten wurden nicht exportiert:").arg(failures.size()).arg(total);
    for (const QString &failure : failures.mid(0, kNamedFailures))
        text += QLatin1Char('\n') + failure;
    if (failures.size() > kNamedFailures)
        text += QStringLiteral("\n… und %1 weitere").arg(failures.size() - kNamedFailures);
    return text;
}

} // namespace ui
