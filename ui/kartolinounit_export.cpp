// Exporting the current card or all cards, and the dialogs that choose where to.

#include "kartolinounit.h"

#include "cardstore.h"
#include "dialogs.h"
#include "documentresources.h"
#include "exception.h"
#include "exportcards.h"
#include "exportformats.h"
#include "files.h"
#include "richedit.h"
#include "tabcontrol.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <memory>

namespace ui {

QString TfrmMain::exportFolder() const { return m_exportFolder.isEmpty() ? QDir::homePath() : m_exportFolder; }

bool TfrmMain::runExportDialog(TExportDialog &choice)
{
    if (m_exportDialogStep)
        return m_exportDialogStep(choice, this);
    // Qt's own dialog: it speaks the translations the program loaded.
    QFileDialog dialog(this, choice.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (choice.folder) {
        // The folder's files of the chosen format show, so the user sees
        // which would be replaced.
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setNameFilters(ExportFilters());
        dialog.selectNameFilter(choice.filter);
        dialog.setDirectory(choice.path);
    } else {
        dialog.setNameFilters(ExportFilters());
        dialog.selectNameFilter(choice.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // A name typed without a suffix takes the chosen filter's.
        dialog.setDefaultSuffix(ExportSuffix(FormatOfFilter(choice.filter)));
        connect(&dialog, &QFileDialog::filterSelected, &dialog,
                [&dialog](const QString &filter) { dialog.setDefaultSuffix(ExportSuffix(FormatOfFilter(filter))); });
        dialog.setDirectory(QFileInfo(choice.path).absolutePath());
        dialog.selectFile(QFileInfo(choice.path).fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    choice.path = dialog.selectedFiles().constFirst();
    choice.filter = dialog.selectedNameFilter();
    return true;
}

void TfrmMain::mnuExportierenClick(QObject *)
{
    const int index = m_tabControl1->TabIndex();
    if (index < 0)
        return;
    const QString name = m_tabControl1->Tab(index);
    const QString folder = exportFolder();
    const TExportFormat shown = FormatOfFilter(m_exportFilter);
    // The card's name as it may stand in a file name; the dialog adds the suffix.
    QString suggested = ExportFileName(name, shown, platform::MaxFileNameLength(folder));
    suggested.chop(ExportSuffix(shown).size() + 1);
    TExportDialog choice{false, QStringLiteral("Karte exportieren"), QDir(folder).filePath(suggested), ExportFilter(shown)};
    if (!runExportDialog(choice))
        return;
    const TExportTarget target = ExportTarget(choice.path, choice.filter);
    m_exportFolder = QFileInfo(target.path).absolutePath();
    m_exportFilter = ExportFilter(target.format);
    // The dialog asked about the name it returned, not about a suffix added since.
    if (target.path != choice.path && QFileInfo::exists(target.path)
        && platform::MessageDlg(ReplaceQuestion(1), platform::MsgDlgType::Confirmation, platform::mbYes | platform::mbNo, this)
               != platform::mrYes)
        return;
    if (m_cards->EditorCard() == index) {
        WriteExport(target.path, *m_editor->document(), target.format, name);
        return;
    }
    // The editor holds another card's text (its own failed to load): the file is the card.
    const std::unique_ptr<QTextDocument> card = controls::TRichEdit::ReadDocument(m_cards->CardPath(index), m_editor->BaseFont());
    WriteExport(target.path, *card, target.format, name);
}

void TfrmMain::mnuAlleExportierenClick(QObject *)
{
    const int count = m_tabControl1->TabCount();
    if (count == 0)
        return;
    TExportDialog choice{true, QStringLiteral("Alle Karten exportieren"), exportFolder(),
                         ExportFilter(FormatOfFilter(m_exportFilter))};
    if (!runExportDialog(choice))
        return;
    const TExportFormat format = FormatOfFilter(choice.filter);
    m_exportFolder = choice.path;
    m_exportFilter = ExportFilter(format);
    // The progress dialog lets events through, and a reload of the current
    // card replaces the editor's document: the export keeps a copy.
    std::unique_ptr<QTextDocument> current;
    QList<TExportCard> cards;
    for (int i = 0; i < count; ++i) {
        TExportCard card{m_tabControl1->Tab(i), m_cards->CardPath(i)};
        if (i == m_cards->EditorCard()) {
            current = platform::CopyDocument(*m_editor->document());
            card.document = current.get();
        }
        cards << card;
    }
    const QStringList failures = ExportCards(cards, choice.path, format, m_editor->BaseFont(), this);
    if (!failures.isEmpty())
        throw platform::Exception(ExportFailuresMessage(failures, count));
}

} // namespace ui
