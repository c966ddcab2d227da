#include "hilfe2.h"

#include "guarded.h"
#include "dialogs.h"
#include "makerlogo.h"
#include "secondarywindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace ui {

QStringList HelpTextLines()
{
    return {
        QStringLiteral("Kartolino – Ihre Notizkarten auf einen Blick"),
        QString(),
        QStringLiteral("Auf Anfrage beim Hersteller liefern wir Kartolino"),
        QStringLiteral("auch mit Ihrem Werbeaufdruck oder Firmenzeichen."),
        QString(),
        QStringLiteral("Es wird keine Gewähr übernommen. Die Benutzung"),
        QStringLiteral("erfolgt auf eigene Gefahr."),
        QString(),
        QStringLiteral("Erfahrene Anwender können weitere Einstellungen"),
        QStringLiteral("in der Datei Kartolino.ini im Programmordner"),
        QStringLiteral("vornehmen."),
        QString(),
        QStringLiteral("Die unveränderte und kostenlose Weitergabe ist"),
        QStringLiteral("erlaubt; Verkauf nur mit unserer Zustimmung."),
        QString(),
        kMakerName,
        QStringLiteral("Web: ") + kMakerWebAddress,
        QStringLiteral("E-Mail: ") + kMakerMailAddress,
        QStringLiteral("© 2024–2026, alle Rechte vorbehalten."),
    };
}

TfrmHilfe::TfrmHilfe(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("xxx"));
    setFixedSize(441, 408);
    SetWhiteBackground(this);
    setFont(WindowFont(13));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(8, 8, 425, 361);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setReadOnly(true);
    Memo1->setTabChangesFocus(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(HelpTextLines().join(QLatin1Char('\n')));
    Memo1->setAccessibleName(QStringLiteral("Hilfetext"));

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setGeometry(183, 376, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { done(platform::mrOk); });

    setTabOrder(Memo1, BitBtn1);
    Memo1->setFocus();

    // Centred on the screen the window opens on.
    if (const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        PlaceByOuterFrame(this, [area](QSize outer) {
            return QPoint(area.left() + (area.width() - outer.width()) / 2,
                          area.top() + (area.height() - outer.height()) / 2);
        });
    }
}

void TfrmHilfe::FormShow() { setWindowTitle(QStringLiteral("Fennwick Kartolino")); }

void TfrmHilfe::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        platform::Guarded([this] { FormShow(); });
}

void TfrmHilfe::keyPressEvent(QKeyEvent *e)
{
    // OK is also the cancel button: Escape presses it.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        BitBtn1->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void ShowHelpWindow(QWidget *mainWindow)
{
    auto *frmHilfe = new TfrmHilfe(mainWindow);
    const ReleaseAfterModal release(frmHilfe);
    frmHilfe->exec();
}

} // namespace ui
