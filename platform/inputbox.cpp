#include "dialoglayout.h"
#include "dialogs.h"
#include "modaldialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>


namespace platform {

namespace {

constexpr int kMaxInputLength = 255;

QPushButton *addButton(ModalDialog *dialog, const QString &caption, const QString &name, const QRect &where,
                       int result)
{
    auto *push = new QPushButton(caption, dialog);
    push->setObjectName(name);
    push->setGeometry(where);
    QObject::connect(push, &QPushButton::clicked, dialog, [dialog, result] { dialog->done(result); });
    return push;
}

} // namespace

QDialog *CreateInputDialog(const QString &title, const QString &prompt, const QString &value, QWidget *owner)
{
    auto *dialog = new ModalDialog(owner, title);

    auto *edit = new QLineEdit(dialog);
    edit->setObjectName(QStringLiteral("Edit"));
    edit->setMaxLength(kMaxInputLength);
    const InputLayout layout = LayoutInputDialog(DialogUnitsOf(QFontMetrics(dialog->font())), edit->sizeHint().height());

    auto *label = new QLabel(dialog);
    label->setObjectName(QStringLiteral("Prompt"));
    label->setTextFormat(Qt::PlainText);
    label->setText(prompt);
    label->setBuddy(edit);
    label->setGeometry(QRect(layout.prompt, label->sizeHint()));

    edit->setGeometry(layout.edit);
    edit->setText(value);
    edit->selectAll();
    edit->setFocus();

    QPushButton *ok = addButton(dialog, QStringLiteral("OK"), QStringLiteral("OK"), layout.ok, mrOk);
    ok->setDefault(true);
    addButton(dialog, QStringLiteral("Abbrechen"), QStringLiteral("Cancel"), layout.cancel, mrCancel);
    dialog->SetCancelResult(mrCancel);

    dialog->PlaceCentred(layout.client);
    return dialog;
}

bool InputQuery(const QString &title, const QString &prompt, QString &value, QWidget *owner)
{
    // The owner may go away during the modal loop and take the dialog with it.
    QPointer<QDialog> dialog(CreateInputDialog(title, prompt, value, owner));
    const bool confirmed = dialog->exec() == mrOk && dialog;
    if (confirmed)
        value = dialog->findChild<QLineEdit *>(QStringLiteral("Edit"))->text();
    delete dialog.data();
    return confirmed;
}

} // namespace platform
