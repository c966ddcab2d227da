#include "modaldialog.h"

#include "dialoglayout.h"
#include "dialogs.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

ModalDialog::ModalDialog(QWidget *owner, const QString &title)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_cancelResult(mrCancel)
{
    setWindowTitle(title);
    setModal(true);
    setFont(DialogFont());
}

void ModalDialog::PlaceCentred(const QSize &client)
{
    setFixedSize(client);
    QRect area(QPoint(0, 0), client);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        area.moveCenter(screen->geometry().center());
    // An explicit position also keeps Qt from centring the dialog over its owner.
    setGeometry(area);
}

void ModalDialog::reject() { done(m_cancelResult); }

} // namespace platform
