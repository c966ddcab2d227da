#include "ui/kartolinounit.h"

#include "cards/cardstore.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/richedit.h"
#include "platform/tabcontrol.h"
#include "ui/makerlogo.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace ui {

namespace {
constexpr int kSpeedBarHeight = 28;
constexpr int kBannerHeight = 27;
constexpr int kEditorMargin = 6;

// Resizes its children as the window's alignment would: top strip, bottom
// strip, the rest to the tab row.
class ClientArea : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (onResize)
            onResize();
    }
};

// A label and panel that open the maker's web site when clicked.
class ClickableFrame : public QFrame {
public:
    using QFrame::QFrame;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QFrame::mouseReleaseEvent(event);
        if (onClick && rect().contains(event->position().toPoint()))
            platform::Guarded(onClick);
    }
};

class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (onClick && rect().contains(event->position().toPoint()))
            platform::Guarded(onClick);
    }
};
} // namespace

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    createComponents();
    FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::createComponents()
{
    // The window's own font, inherited by every child that sets none.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(10);
    setFont(font);
    setPalette(QGuiApplication::palette());

    auto *client = new ClientArea(this);
    m_client = client;
    setCentralWidget(client);
    client->onResize = [this] { layoutClient(); };

    m_speedBarArea = new QWidget(client);
    m_speedBarArea->setObjectName(QStringLiteral("SpeedBar1"));

    auto *panel = new ClickableFrame(client);
    m_panel1 = panel;
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::NoFrame);
    panel->setAutoFillBackground(true);
    QPalette bannerPalette = panel->palette();
    bannerPalette.setColor(QPalette::Window, QColor(0, 0, 255));
    panel->setPalette(bannerPalette);
    panel->setCursor(Qt::PointingHandCursor);
    panel->setLayoutDirection(Qt::LeftToRight);

    auto *label = new ClickableLabel(panel);
    m_label1 = label;
    label->setObjectName(QStringLiteral("Label1"));
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(13);
    labelFont.setBold(true);
    label->setFont(labelFont);
    QPalette labelPalette = label->palette();
    labelPalette.setColor(QPalette::Window, QColor(0, 0, 255));
    labelPalette.setColor(QPalette::WindowText, QColor(255, 215, 42));
    label->setPalette(labelPalette);
    label->setAutoFillBackground(true);
    label->setCursor(Qt::PointingHandCursor);
    label->setText(kMakerName + QStringLiteral(" \u2013 ") + kMakerTagline);
    label->adjustSize();
    label->move(9, 7);

    m_tabControl1 = new platform::TTabControl(client);
    m_tabControl1->setObjectName(QStringLiteral("TabControl1"));
    m_tabControl1->SetHotTrack(true);
    m_tabControl1->SetRaggedRight(true);
    m_tabControl1->SetStyle(platform::tsFlatButtons);
    m_tabControl1->OnChanging = [this](QObject *sender, bool &allow) { TabControl1Changing(sender, allow); };
    m_tabControl1->OnChange = [this](QObject *sender) { TabControl1Change(sender); };

    m_editor = new platform::TRichEdit;
    m_editor->setObjectName(QStringLiteral("Editor"));
    m_tabControl1->SetDisplayWidget(m_editor);
    m_editor->OnChange = [this](QObject *sender) { EditorChange(sender); };

    m_cards = std::make_unique<cards::TCardStore>(m_tabControl1, m_editor);

    // Tab order: the tab row (with the editor) first, then the banner.
    setTabOrder(m_tabControl1, m_editor);
    m_editor->setFocus();
}

void TfrmMain::layoutClient()
{
    const int w = m_client->width();
    const int h = m_client->height();
    m_speedBarArea->setGeometry(0, 0, w, kSpeedBarHeight);
    m_panel1->setGeometry(0, h - kBannerHeight, w, kBannerHeight);
    m_tabControl1->setGeometry(0, kSpeedBarHeight, w, qMax(0, h - kSpeedBarHeight - kBannerHeight));
}

void TfrmMain::FormCreate()
{
    m_cards->SetCardDir(cards::CardFolderIn(platform::ProgramFolder()));
}

void TfrmMain::StartMinimised()
{
    // While never shown, the window is only the program's taskbar entry.
    setWindowTitle(platform::ApplicationTitle());
    // Some X window managers map a window normal even when it asks to start
    // iconic; until the platform has confirmed the iconic state, a normal
    // state is theirs, not the user's restore, and is undone.
    m_awaitingIconic = QGuiApplication::platformName() == QLatin1String("xcb");
    showMinimized();
}

void TfrmMain::FormShow()
{
    m_inFirstShow = true;
    m_firstShowDone = true;
    setWindowTitle(QStringLiteral("frmMain"));
    m_appMinimizeInstalled = true;

    int errorCode = 0;
    if (!m_cards->EnsureCardFolder(&errorCode)) {
        // Ending without a word would leave the user guessing why.
        platform::ShowErrorBox(
            QStringLiteral("Der Kartenordner %1 kann nicht angelegt werden (Fehler %2)").arg(m_cards->CardDir()).arg(errorCode),
            this);
        m_closeAfterFirstShow = true;
    }

    m_cards->BuildCardList();
    const bool loaded = [this] {
        bool ok = false;
        platform::Guarded([&] {
            if (m_tabControl1->TabIndex() >= 0)
                m_cards->LoadCurrentCard();
            ok = true;
        });
        return ok;
    }();
    if (loaded) {
        setWindowTitle(QStringLiteral("Fennwick Kartolino"));
        m_cards->SetCardModified(false);
    }
    placeAtFirstShow();
    m_inFirstShow = false;
    if (m_closeAfterFirstShow)
        QTimer::singleShot(0, this, &QWidget::close);
}

void TfrmMain::placeAtFirstShow()
{
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    const QSize outer(qMax(m_firstShowWidth, minimumWidth()), qMax(m_firstShowHeight, minimumHeight()));
    resize(outer - frameExtra);
    if (const QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
    }
    if (m_firstShowState == Qt::WindowMaximized)
        setWindowState(Qt::WindowMaximized);
}

bool TfrmMain::FormCloseQuery()
{
    bool written = false;
    platform::Guarded([&] {
        if (m_cards->CardModified() && m_tabControl1->TabIndex() >= 0)
            m_cards->SaveCurrentCard();
        written = true;
    });
    return written;
}

void TfrmMain::FormResize() { SetEditorMargins(); }

void TfrmMain::SetEditorMargins()
{
    m_editor->SetFormatRect(kEditorMargin, 0, m_editor->ClientWidth() - kEditorMargin, m_editor->ClientHeight());
}

void TfrmMain::mnuBeendenClick(QObject *) { close(); }

void TfrmMain::AppMinimize()
{
    bool allow = true;
    TabControl1Changing(this, allow);
}

void TfrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const bool minimised = windowState() & Qt::WindowMinimized;
    if (m_awaitingIconic && isVisible()) {
        if (minimised) {
            m_awaitingIconic = false;
        } else {
            QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMinimized); });
        }
        return;
    }
    if (!minimised && !m_firstShowDone && isVisible()) {
        FormShow();
    } else if (minimised && m_appMinimizeInstalled && !m_inFirstShow) {
        platform::Guarded([this] { AppMinimize(); });
    }
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShowDone && !m_awaitingIconic && !(windowState() & Qt::WindowMinimized))
        FormShow();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    emit Closed();
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutClient();
    FormResize();
}

} // namespace ui
