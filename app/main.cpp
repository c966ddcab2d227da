// Kartolino: start-up, the splash, the main window and the end.

#include "nichtdoppeltstarten.h"
#include "splash2.h"
#include "guarded.h"
#include "dialogs.h"
#include "displayplatform.h"
#include "programfolders.h"
#include "terminationsignals.h"
#include "translations.h"
#include "kartolinounit.h"
#include "accessibility.h"

#include <QSessionManager>
#include <QThread>

#include <memory>

int main(int argc, char **argv)
{
    platform::ChooseDisplayPlatform(argc, argv);
    // The desktop entry's name: the window's app id, the tray item's icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(platform::kDesktopFileName));
    platform::Application application(argc, argv);
    platform::InstallPlatformTranslations();
    ui::InstallAccessibleFactories();
    if (!app::AcquireSingleInstance())
        return 0;

    auto splash = std::make_unique<app::TSplashForm>();
    splash->ShowAndPaint();

    platform::SetApplicationTitle(QStringLiteral("Kartolino"));
    QCoreApplication::setApplicationName(QStringLiteral("Kartolino"));
    QGuiApplication::setQuitOnLastWindowClosed(false);

    ui::TfrmMain frmMain;

    // The start-up pause: nothing is handled meanwhile.
    QThread::msleep(2000);
    splash.reset();

    // Logout and termination signals take the same way out as the close box,
    // so a changed card is written first.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &frmMain,
                     [&frmMain](QSessionManager &) { frmMain.close(); });
    platform::TerminationSignals termination;
    QObject::connect(&termination, &platform::TerminationSignals::terminationRequested, &frmMain,
                     [&frmMain](int) { frmMain.close(); });
    // The program ends with its main window, not when some dialog closes while
    // the main window is hidden.
    QObject::connect(&frmMain, &ui::TfrmMain::Closed, &application, &QCoreApplication::quit, Qt::QueuedConnection);

    frmMain.StartMinimised();
    application.exec();
    return 0;
}
