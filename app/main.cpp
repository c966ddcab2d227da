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
#include "cardfolder.h"
#include "cardstore.h"
#include "settings.h"
#include "accessibility.h"

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
    const platform::ProgramFolders &folders = platform::Folders();
    const QString cardFolder = cards::ChosenCardFolder(cards::CardFolderOption(QCoreApplication::arguments()),
                                                       cards::SettingsFileIn(folders.settings),
                                                       cards::CardFolderIn(folders.cards));
    const auto guard = app::AcquireSingleInstance(cardFolder);
    if (!guard)
        return 0;

    auto splash = std::make_unique<app::TSplashForm>();
    splash->ShowAndPaint();

    platform::SetApplicationTitle(QStringLiteral("Kartolino"));
    QCoreApplication::setApplicationName(QStringLiteral("Kartolino"));
    QGuiApplication::setQuitOnLastWindowClosed(false);

    ui::TfrmMain frmMain;
    frmMain.SetCardFolder(cardFolder);
    // A start turned away on this card folder brings this window up.
    guard->Listen([&frmMain] { platform::Guarded([&frmMain] { frmMain.BringToFront(); }); });

    // The start-up pause: nothing is handled meanwhile.
    QThread::msleep(2000);
    splash.reset();

    // Termination signals take the same way out as the close box, so a
    // changed card is written first. (The session's end is the main window's
    // own: platform::SessionEnd.)
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
