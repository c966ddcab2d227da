#include "dialogs.h"

#include "dialoglayout.h"
#include "modaldialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <optional>

namespace platform {

namespace {

QString &titleStore()
{
    static QString title;
    return title;
}

struct DialogLook {
    QString title;
    std::optional<QStyle::StandardPixmap> icon;
};

DialogLook lookOf(MsgDlgType type)
{
    switch (type) {
    case MsgDlgType::Warning:
        return {QStringLiteral("Warnung"), QStyle::SP_MessageBoxWarning};
    case MsgDlgType::Error:
        return {QStringLiteral("Fehler"), QStyle::SP_MessageBoxCritical};
    case MsgDlgType::Information:
        return {QStringLiteral("Information"), QStyle::SP_MessageBoxInformation};
    case MsgDlgType::Confirmation:
        return {QStringLiteral("Bestätigung"), QStyle::SP_MessageBoxQuestion};
    case MsgDlgType::Custom:
        break;
    }
    return {ApplicationTitle(), std::nullopt};
}

int wrapWidth()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() / 2 : 320;
}

QLabel *addIcon(ModalDialog *dialog, QStyle::StandardPixmap which, const QRect &where)
{
    auto *icon = new QLabel(dialog);
    icon->setObjectName(QStringLiteral("Image"));
    icon->setPixmap(dialog->style()->standardIcon(which, nullptr, dialog).pixmap(where.size()));
    icon->setGeometry(where);
    return icon;
}

QLabel *addText(ModalDialog *dialog, const QString &text, const QRect &where)
{
    auto *label = new QLabel(dialog);
    label->setObjectName(QStringLiteral("Message"));
    // Card names may hold "&" or "<": show them as typed.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setText(text);
    label->setGeometry(where);
    return label;
}

void addButton(ModalDialog *dialog, const DialogButton &button, const QRect &where, unsigned defaultBit)
{
    auto *push = new QPushButton(QString::fromUtf8(button.caption), dialog);
    push->setObjectName(QString::fromLatin1(button.name));
    push->setGeometry(where);
    const int result = button.result;
    QObject::connect(push, &QPushButton::clicked, dialog, [dialog, result] { dialog->done(result); });
    if (button.bit == defaultBit) {
        push->setDefault(true);
        push->setFocus();
    }
}

QDialog *buildMessageDialog(const QString &message, const DialogLook &look, unsigned buttons, QWidget *owner)
{
    auto *dialog = new ModalDialog(owner, look.title);
    const QString text = NormalizeLineBreaks(message);
    const QList<DialogButton> set = ButtonsOf(buttons);
    QStringList captions;
    for (const DialogButton &b : set)
        captions.append(QString::fromUtf8(b.caption));

    const MessageLayout layout =
        LayoutMessageDialog(QFontMetrics(dialog->font()), text, look.icon.has_value(), captions, wrapWidth());
    if (look.icon)
        addIcon(dialog, *look.icon, layout.icon);
    addText(dialog, layout.shownText, layout.text);

    const unsigned defaultBit = DefaultButtonOf(buttons);
    for (qsizetype i = 0; i < set.size(); ++i)
        addButton(dialog, set[i], layout.buttons[i], defaultBit);

    if (const unsigned cancelBit = CancelButtonOf(buttons)) {
        for (const DialogButton &b : set)
            if (b.bit == cancelBit)
                dialog->SetCancelResult(b.result);
    }
    dialog->PlaceCentred(layout.client);
    return dialog;
}

int runModal(QDialog *dialog)
{
    // The owner may go away during the modal loop and take the dialog with it.
    QPointer<QDialog> guard(dialog);
    const int result = dialog->exec();
    delete guard.data();
    return result;
}

} // namespace

QString ApplicationTitle()
{
    if (!titleStore().isEmpty())
        return titleStore();
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
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
    return buildMessageDialog(text, lookOf(type), buttons, owner);
}

int MessageDlg(const QString &text, MsgDlgType type, unsigned buttons, QWidget *owner)
{
    return runModal(CreateMessageDialog(text, type, buttons, owner));
}

QDialog *CreateErrorBox(const QString &message, QWidget *owner)
{
    return buildMessageDialog(ErrorBoxText(message), {ApplicationTitle(), QStyle::SP_MessageBoxCritical}, mbOK,
                              owner);
}

void ShowErrorBox(const QString &message, QWidget *owner) { runModal(CreateErrorBox(message, owner)); }

} // namespace platform
