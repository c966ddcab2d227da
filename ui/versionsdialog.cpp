#include "versionsdialog.h"

#include "exception.h"
#include "regional.h"
#include "richedit.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace ui {

QString VersionCaption(const cards::TVersions::Version &version)
{
    return platform::DateTimeText(version.taken.toLocalTime()) + QStringLiteral("   ")
         + QLocale().formattedDataSize(version.size, 1, QLocale::DataSizeTraditionalFormat);
}

TVersionsDialog::TVersionsDialog(const QString &cardName, QList<cards::TVersions::Version> versions,
                                 const QFont &baseFont, QWidget *parent)
    : QDialog(parent), m_versions(std::move(versions)), m_baseFont(baseFont), m_list(new QListWidget(this)),
      m_preview(new QTextEdit(this)), m_restore(new QPushButton(QStringLiteral("&Wiederherstellen"), this))
{
    setObjectName(QStringLiteral("dlgFassungen"));
    setWindowTitle(QStringLiteral("Frühere Fassungen von \"%1\"").arg(cardName));
    m_list->setObjectName(QStringLiteral("lstFassungen"));
    m_preview->setObjectName(QStringLiteral("edtVorschau"));
    m_preview->setReadOnly(true);
    m_restore->setObjectName(QStringLiteral("btnWiederherstellen"));
    auto *close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("btnSchliessen"));

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_restore, QDialogButtonBox::AcceptRole);
    buttons->addButton(close, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *panes = new QHBoxLayout;
    panes->addWidget(m_list, 1);
    panes->addWidget(m_preview, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(panes);
    layout->addWidget(buttons);

    for (const cards::TVersions::Version &v : std::as_const(m_versions))
        m_list->addItem(VersionCaption(v));
    connect(m_list, &QListWidget::currentRowChanged, this, &TVersionsDialog::showPreview);
    m_restore->setEnabled(false);
    if (!m_versions.isEmpty())
        m_list->setCurrentRow(0);
    m_list->setFocus();
    resize(720, 420);
}

TVersionsDialog::~TVersionsDialog()
{
    // The preview outlives this body; it must not be left on a deleted document.
    m_preview->setDocument(new QTextDocument(m_preview));
}

QString TVersionsDialog::Chosen() const
{
    const int row = m_list->currentRow();
    return row >= 0 && row < m_versions.size() ? m_versions[row].file : QString();
}

void TVersionsDialog::showPreview(int row)
{
    m_restore->setEnabled(false);
    std::unique_ptr<QTextDocument> doc;
    if (row >= 0 && row < m_versions.size() && !cards::TVersions::Read(m_versions[row].file).isNull()) {
        try {
            doc = controls::TRichEdit::ReadDocument(m_versions[row].file, m_baseFont);
        } catch (const platform::Exception &) {
        }
    }
    if (doc) {
        m_restore->setEnabled(true);
    } else if (row >= 0) {
        // Gone or damaged since the list was made: nothing to show or restore.
        doc = std::make_unique<QTextDocument>();
        doc->setPlainText(QStringLiteral("Diese Fassung kann nicht gelesen werden."));
    } else {
        doc = std::make_unique<QTextDocument>();
    }
    m_preview->setDocument(doc.get());
    m_shown = std::move(doc);
}

} // namespace ui
