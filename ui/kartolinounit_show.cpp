// The main window's life: the minimised start, the first show, minimising
// and closing.

#include "kartolinounit.h"

#include "cardstore.h"
#include "recovery.h"
#include "versions.h"
#include "files.h"
#include "guarded.h"
#include "dialogs.h"
#include "errorreason.h"
#include "profile.h"
#include "richedit.h"
#include "tabcontrol.h"
#include "trayicon.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace ui {

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
    const platform::TIniFile ini(SettingsFileName());

    int errorCode = 0;
    QString folderError;
    if (!m_cards->EnsureCardFolder(&errorCode)) {
        // Ending without a word would leave the user guessing why.
        folderError = QStringLiteral("Der Kartenordner %1 kann nicht angelegt werden (%2)")
                          .arg(m_cards->CardDir(), platform::ErrorCodeText(errorCode));
        m_closeAfterFirstShow = true;
    }

    // Only one copy runs, so no write is under way: what a killed write left
    // behind can go.
    platform::RemoveReplaceDebris(m_cards->CardDir());

    applyViewSettings(cards::ReadViewSettings(ini));
    m_cardSettings = cards::ReadCardSettings(ini);
    applySpellSettings(cards::ReadSpellSettings(ini));
    m_versions->SetCap(cards::VersionCapFrom(ini));
    m_cards->BuildCardList();
    watchCardFolder();
    noticeConflictCopies();
    GuardedNotice([this] { restoreRecoveries(); });

    bool loaded = false;
    platform::Guarded([&] {
        if (m_tabControl1->TabIndex() >= 0)
            m_cards->LoadCurrentCard();
        loaded = true;
    });
    if (loaded) {
        setWindowTitle(QStringLiteral("Fennwick Kartolino"));
        m_cards->SetCardModified(false);
        GuardedNotice([this] { applyRecoveryOfCurrentCard(); });
    }
    m_inFirstShow = false;
    if (m_closeAfterFirstShow) {
        // The program ends here: the window that could hold no card goes
        // away before the message, which then stands alone on the screen.
        // (Hidden from the event loop: inside the show that runs this, a
        // hide would be undone.)
        QTimer::singleShot(0, this, [this, folderError] {
            hide();
            platform::ShowErrorBox(folderError);
            close();
        });
        return;
    }
    placeAtFirstShow();
}

void TfrmMain::placeAtFirstShow()
{
    updateMinimumSize();
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    QSize outer(qMax(m_view.width, 567), qMax(m_view.height, 300));
    if (const QScreen *s = screen()) {
        // A stored size larger than the screen would put the title bar out
        // of reach: the window never gets larger than the free area.
        const QRect area = s->availableGeometry();
        outer = outer.boundedTo(area.size());
        resize(outer - frameExtra);
        move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
    } else {
        resize(outer - frameExtra);
    }
    if (m_view.windowState == cards::wsMaximized)
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

void TfrmMain::mnuBeendenClick(QObject *) { close(); }

void TfrmMain::sbCloseClick(QObject *) { showMinimized(); }

void TfrmMain::AppMinimize()
{
    bool allow = true;
    TabControl1Changing(this, allow);
    // Without an icon in a notification area there would be no way back:
    // then the window stays minimised with its taskbar entry.
    if (m_trayIcon->Added() && isMinimized())
        hide();
}

void TfrmMain::TrayIconClick(QObject *) { BringToFront(); }

void TfrmMain::BringToFront()
{
    if (!m_firstShowDone) {
        m_awaitingIconic = false;
        showNormal();
    } else if (isHidden() || isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
    }
    raise();
    activateWindow();
}

void TfrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        refreshGlyphs();
    if (event->type() != QEvent::WindowStateChange)
        return;
    const bool minimised = windowState() & Qt::WindowMinimized;
    if (m_awaitingIconic && isVisible()) {
        if (minimised)
            m_awaitingIconic = false;
        else
            QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMinimized); });
        return;
    }
    if (!minimised && !m_firstShowDone && isVisible())
        FormShow();
    else
        // The platform may report states late and out of turn; the state the
        // window settles in decides.
        QTimer::singleShot(0, this, &TfrmMain::settleWindowState);
}

void TfrmMain::settleWindowState()
{
    if (!isMinimized()) {
        m_minimiseHandled = false;
        return;
    }
    if (m_minimiseHandled || !m_appMinimizeInstalled || m_inFirstShow)
        return;
    // One minimise writes once; a failed write waits for the next save point.
    m_minimiseHandled = true;
    platform::Guarded([this] { AppMinimize(); });
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShowDone && !m_awaitingIconic && !(windowState() & Qt::WindowMinimized))
        FormShow();
}

void TfrmMain::SessionEnding()
{
    m_sessionEnding = true;
    try {
        if (m_cards->CardModified() && m_tabControl1->TabIndex() >= 0)
            m_cards->SaveCurrentCard();
        m_recovery->EndOfRun();
    } catch (const std::exception &e) {
        // No box: the session waits for nobody. The card's file is as it
        // was; the text waits in its recovery for the next start.
        qWarning("%s", e.what());
        try {
            m_recovery->WriteNow();
        } catch (const std::exception &again) {
            qWarning("%s", again.what());
        }
    }
    close();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    // At the session's end the card was written already, and the close is
    // never refused.
    if (!m_sessionEnding) {
        if (!FormCloseQuery()) {
            event->ignore();
            return;
        }
    }
    event->accept();
    platform::Guarded([this] {
        // With the card folder gone the text could not be written: it waits
        // in its recovery for the next start. At the session's end a failed
        // write left it there already.
        if (m_cardFolderGone)
            keepTextWhileFolderGone();
        else if (!m_sessionEnding)
            m_recovery->EndOfRun();
    });
    m_trayIcon->Hide();
    emit Closed();
}

} // namespace ui
