#include "info2.h"

#include "guarded.h"
#include "dialogs.h"
#include "shell.h"
#include "makerlogo.h"
#include "secondarywindow.h"
#include "flatbuttonunit.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include "clickable.h"

#include <algorithm>
#include <functional>

namespace ui {

namespace {

constexpr int kURLLeft = 57;
constexpr int kAddressTop = 112;
constexpr int kMailRight = 314;
constexpr int kAddressGap = 8;
constexpr int kDividerTop = 144;

using TClickLabel = TClickable<QLabel>;

TClickLabel *makeLink(QWidget *parent, const QFont &font)
{
    auto *label = new TClickLabel(parent);
    QFont f = font;
    f.setUnderline(true);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(pal);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

TfrmInfo::TfrmInfo(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("xxx"));
    setFixedSize(368, 187);
    SetWhiteBackground(this);
    const QFont font = WindowFont(13);
    setFont(font);

    auto *logo = new TClickLabel(this);
    logo->setPixmap(QPixmap::fromImage(MakerLogo()));
    logo->move(50, 3);
    logo->adjustSize(); // sized to the picture
    logo->setCursor(Qt::PointingHandCursor);
    logo->OnClick = [this] { lURLClick(); };
    logo->setAccessibleName(QStringLiteral("Logo von %1").arg(kMakerName));
    Image1 = logo;

    auto *url = makeLink(this, font);
    url->move(kURLLeft, kAddressTop);
    url->OnClick = [this] { lURLClick(); };
    lURL = url;

    auto *mail = makeLink(this, font);
    mail->setAlignment(Qt::AlignRight | Qt::AlignTop);
    mail->OnClick = [this] { lMailClick(); };
    lMail = mail;

    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, kDividerTop, 345, 2);

    Label1 = new QLabel(this);
    Label1->setFont(WindowFont(12));
    Label1->setText(QStringLiteral("© 2024–2026 %1\nAlle Rechte vorbehalten").arg(kMakerName));
    // At least the designed size; wider where the font needs it.
    Label1->setGeometry(QRect(QPoint(8, 152), Label1->sizeHint().expandedTo(QSize(131, 28))));

    BitBtn1 = new widgets::TFlatButton(this);
    BitBtn1->setGeometry(272, 152, 75, 25);
    BitBtn1->SetCaption(QStringLiteral("OK"));
    BitBtn1->SetModalResult(platform::mrOk);
    BitBtn1->SetLayout(widgets::TButtonLayout::blGlyphLeft);
    BitBtn1->SetTabStop(true);
    BitBtn1->setFocus();
    PlaceAddressLabels();
}

void TfrmInfo::PlaceAddressLabels()
{
    lURL->adjustSize();
    lMail->adjustSize();
    // The web address starts at the left, the mail address keeps its right
    // edge. Addresses too long to stand side by side are stacked instead of
    // overlapping, the lower one ending above the dividing line.
    int urlTop = kAddressTop;
    int mailTop = kAddressTop;
    const bool sideBySide = kMailRight - lMail->width() >= lURL->x() + lURL->width() + kAddressGap;
    if (!sideBySide) {
        mailTop = std::min(kAddressTop + lURL->height(), kDividerTop - lMail->height());
        urlTop = std::min(kAddressTop, mailTop - lURL->height());
    }
    lURL->move(kURLLeft, urlTop);
    lMail->move(kMailRight - lMail->width(), mailTop);
}

void TfrmInfo::FormShow()
{
    lURL->setText(kMakerWebHost);
    lMail->setText(kMakerMailAddress);
    PlaceAddressLabels();
    setWindowTitle(QStringLiteral("Fennwick Kartolino"));
}

void TfrmInfo::lURLClick() { platform::ShellOpen(this, kMakerWebAddress); }

void TfrmInfo::lMailClick() { platform::ShellOpen(this, QStringLiteral("mailto:") + kMakerMailAddress); }

void TfrmInfo::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        platform::Guarded([this] { FormShow(); });
}

void TfrmInfo::keyPressEvent(QKeyEvent *e)
{
    // Enter and Escape close it as its one button does, wherever the focus is.
    const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        e->accept();
        done(platform::mrOk);
        return;
    }
    QDialog::keyPressEvent(e);
}

QPoint CentredOver(const QRect &ownerFrame, QSize size)
{
    return {ownerFrame.left() + (ownerFrame.width() - size.width()) / 2,
            ownerFrame.top() + (ownerFrame.height() - size.height()) / 2};
}

void ShowInfoWindow(QWidget *mainWindow)
{
    auto *frmInfo = new TfrmInfo(mainWindow);
    const ReleaseAfterModal release(frmInfo);
    if (mainWindow)
        PlaceByOuterFrame(frmInfo, [mainWindow](QSize outer) { return CentredOver(mainWindow->frameGeometry(), outer); });
    frmInfo->exec();
}

} // namespace ui
