#include "platform/dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

namespace {
QString &titleStore()
{
    static QString title;
    return title;
}
} // namespace

QString ApplicationTitle()
{
    if (!titleStore().isEmpty())
        return titleStore();
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const int dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

void SetApplicationTitle(const QString &title) { titleStore() = title; }

QString ErrorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QDialog *CreateMessageDialog(const QString &text, MsgDlgType type, unsigned buttons, QWidget *owner)
{
    auto *box = new QMessageBox(owner);
    box->setText(text);
    switch (type) {
    case MsgDlgType::Warning: box->setWindowTitle(QStringLiteral("Warnung")); box->setIcon(QMessageBox::Warning); break;
    case MsgDlgType::Error: box->setWindowTitle(QStringLiteral("Fehler")); box->setIcon(QMessageBox::Critical); break;
    case MsgDlgType::Information: box->setWindowTitle(QStringLiteral("Information")); box->setIcon(QMessageBox::Information); break;
    case MsgDlgType::Confirmation: box->setWindowTitle(QStringLiteral("Bestätigung")); box->setIcon(QMessageBox::Question); break;
    case MsgDlgType::Custom: box->setWindowTitle(ApplicationTitle()); break;
    }
    if (buttons & mbYes) box->addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    if (buttons & mbNo) box->addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    if (buttons & mbOK) box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    if (buttons & mbCancel) box->addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    return box;
}

int MessageDlg(const QString &text, MsgDlgType type, unsigned buttons, QWidget *owner)
{
    QDialog *dialog = CreateMessageDialog(text, type, buttons, owner);
    const int result = dialog->exec();
    delete dialog;
    return result;
}

void ShowErrorBox(const QString &message, QWidget *owner)
{
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(message), QMessageBox::NoButton, owner);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool InputQuery(const QString &title, const QString &prompt, QString &value, QWidget *owner)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

} // namespace platform
