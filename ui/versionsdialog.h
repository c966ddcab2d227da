#pragma once
// "Frühere Fassungen": the current card's versions, newest first, with the
// date and time in the user's format and the size, a read-only preview of
// the chosen one, and the choice to restore it.

#include "versions.h"

#include <QDialog>
#include <QFont>
#include <QTextDocument>

#include <memory>

class QListWidget;
class QPushButton;
class QTextEdit;

namespace ui {

class TVersionsDialog : public QDialog {
    Q_OBJECT
public:
    TVersionsDialog(const QString &cardName, QList<cards::TVersions::Version> versions, const QFont &baseFont,
                    QWidget *parent = nullptr);
    ~TVersionsDialog() override;

    // The version to restore once the dialog was accepted.
    QString Chosen() const;

    QListWidget *List() const { return m_list; }
    QTextEdit *Preview() const { return m_preview; }
    QPushButton *RestoreButton() const { return m_restore; }

private:
    void showPreview(int row);

    QList<cards::TVersions::Version> m_versions;
    QFont m_baseFont;
    // The preview's document keeps the parent that lets it read no file a
    // picture names, so the preview does not own it.
    std::unique_ptr<QTextDocument> m_shown;
    QListWidget *m_list;
    QTextEdit *m_preview;
    QPushButton *m_restore;
};

// A version's line in the list: "10.12.2026 14:05:09   12,3 KB".
QString VersionCaption(const cards::TVersions::Version &version);

} // namespace ui
