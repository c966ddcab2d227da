#include "displayplatform.h"
#include "errorreason.h"
#include "files.h"
#include "programfolders.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using testing_support::TempFolder;

namespace {

// A prefix as `cmake --install` leaves it: bin/ beside the desktop entry.
struct Prefix {
    TempFolder root;
    Prefix()
    {
        root.mkdir("bin");
        root.mkdir("share/applications");
        root.write(QStringLiteral("share/applications/%1.desktop").arg(QLatin1String(kDesktopFileName)), "");
    }
    QString bin() const { return root.file("bin/"); }
};

} // namespace

TEST(ChooseFolders, WritableProgramFolderKeepsEverythingBesideIt)
{
    TempFolder program;
    const ProgramFolders f = ChooseFolders(program.path(), "/data", "/config", "/home/u");
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.cards, program.path());
    EXPECT_EQ(f.settings, program.path());
}

TEST(ChooseFolders, InstalledProgramUsesTheXdgFolders)
{
    Prefix prefix;
    ProgramFolders f = ChooseFolders(prefix.bin(), "/data", "/config/", "/home/u");
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.cards, "/data/Kartolino/");
    EXPECT_EQ(f.settings, "/config/Kartolino/");
    // Unset or relative variables count as missing: the defaults below home.
    f = ChooseFolders(prefix.bin(), "", "relative/config", "/home/u");
    EXPECT_EQ(f.cards, "/home/u/.local/share/Kartolino/");
    EXPECT_EQ(f.settings, "/home/u/.config/Kartolino/");
}

TEST(ChooseFolders, CardsOrSettingsBesideAnInstalledProgramKeepItPortable)
{
    for (const char *existing : {"KRT", "Kartolino.ini"}) {
        Prefix prefix;
        if (QString(existing) == "KRT")
            prefix.root.mkdir("bin/KRT");
        else
            prefix.root.write("bin/Kartolino.ini", "");
        const ProgramFolders f = ChooseFolders(prefix.bin(), "/data", "/config", "/home/u");
        EXPECT_FALSE(f.installed) << existing;
        EXPECT_EQ(f.cards, prefix.bin()) << existing;
    }
}

TEST(ChooseFolders, ReadOnlyProgramFolderUsesTheXdgFolders)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder; the read-only end-to-end test covers it";
    TempFolder program;
    ::chmod(QFile::encodeName(program.path()).constData(), 0555);
    const ProgramFolders f = ChooseFolders(program.path(), "/data", "/config", "/home/u");
    ::chmod(QFile::encodeName(program.path()).constData(), 0755);
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.cards, "/data/Kartolino/");
}

TEST(ErrorCodeText, NamesTheReasonAfterTheCode)
{
    const std::pair<int, const char *> cases[] = {
        {kErrorFileNotFound, "Fehler 2: Datei oder Ordner nicht gefunden"},
        {kErrorPathNotFound, "Fehler 3: Pfad nicht gefunden"},
        {kErrorAccessDenied, "Fehler 5: Zugriff verweigert"},
        {kErrorDiskFull, "Fehler 112: Datenträger voll"},
        {kErrorAlreadyExists, "Fehler 183: existiert bereits"},
        {1000 + EIO, "Fehler 1005: Ein-/Ausgabefehler"},
        {4711, "Fehler 4711: unbekannte Ursache"},
    };
    for (const auto &[code, text] : cases)
        EXPECT_EQ(ErrorCodeText(code), QString::fromUtf8(text)) << code;
    // Every errno the file layer maps onto a code of its own has a reason.
    for (int err : {ENOENT, ENOTDIR, EMFILE, EACCES, EROFS, ENOSPC, EEXIST, EINVAL})
        EXPECT_NE(ErrorCodeReason(ErrnoToErrorCode(err)), "unbekannte Ursache") << err;
}

TEST(PreferredDisplayPlatform, WaylandSessionRunsThroughXWaylandUnlessAPlatformWasChosen)
{
    struct Case {
        QByteArray qpa, waylandDisplay, sessionType;
        std::vector<const char *> args;
        QByteArray expected;
    };
    const Case cases[] = {
        {"", "wayland-0", "wayland", {}, "xcb;wayland"},
        {"", "", "wayland", {}, "xcb;wayland"},
        {"", "wayland-0", "", {}, "xcb;wayland"},
        {"", "", "x11", {}, ""},
        {"wayland", "wayland-0", "wayland", {}, ""},
        {"", "wayland-0", "wayland", {"-platform", "wayland"}, ""},
    };
    for (const Case &c : cases) {
        std::vector<char *> argv{const_cast<char *>("Kartolino")};
        for (const char *a : c.args)
            argv.push_back(const_cast<char *>(a));
        const auto env = [&](const char *name) {
            const QByteArray n(name);
            return n == "QT_QPA_PLATFORM" ? c.qpa : n == "WAYLAND_DISPLAY" ? c.waylandDisplay
                   : n == "XDG_SESSION_TYPE" ? c.sessionType : QByteArray();
        };
        EXPECT_EQ(PreferredDisplayPlatform(env, int(argv.size()), argv.data()), c.expected)
            << c.qpa.constData() << "|" << c.waylandDisplay.constData() << "|" << c.sessionType.constData();
    }
}
