#include "programfolders.h"

#include "files.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// An XDG base folder: the variable when it holds an absolute path, else the
// default below home.
QString baseFolder(const QString &variable, const QString &home, const QString &fallback)
{
    if (QDir::isAbsolutePath(variable))
        return withSlash(variable);
    return withSlash(home) + fallback;
}

bool isWritableFolder(const QString &folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

// <prefix>/bin/ beside <prefix>/share/applications/ with our entry: an
// install, also one the user could write to (root, or a prefix in the home).
bool isInstallPrefix(const QString &programFolder)
{
    QDir bin(programFolder);
    if (bin.dirName() != QLatin1String("bin") || !bin.cdUp())
        return false;
    return QFile::exists(bin.filePath(QStringLiteral("share/applications/%1.desktop").arg(QLatin1String(kDesktopFileName))));
}

// Like mkdir -p, but every folder made is private to the user, as the XDG
// base folders must be.
bool makePrivatePath(const QString &folder)
{
    const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (const QString &part : parts) {
        path += QLatin1Char('/') + part;
        if (DirectoryExists(path))
            continue;
        if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && !DirectoryExists(path))
            return false;
    }
    return true;
}

ProgramFolders &chosen()
{
    static ProgramFolders folders = ChooseFolders(
        ProgramFolder(), qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("XDG_CONFIG_HOME"),
        QDir::homePath());
    return folders;
}

} // namespace

ProgramFolders ChooseFolders(const QString &programFolder, const QString &dataHome, const QString &configHome,
                             const QString &home)
{
    const bool portable = DirectoryExists(programFolder + QStringLiteral("KRT"))
                          || QFile::exists(programFolder + QStringLiteral("Kartolino.ini"))
                          || (isWritableFolder(programFolder) && !isInstallPrefix(programFolder));
    if (portable)
        return {programFolder, programFolder, false};
    return {baseFolder(dataHome, home, QStringLiteral(".local/share/")) + QStringLiteral("Kartolino/"),
            baseFolder(configHome, home, QStringLiteral(".config/")) + QStringLiteral("Kartolino/"), true};
}

const ProgramFolders &Folders() { return chosen(); }

bool MakeParentFolders(const QString &path)
{
    const ProgramFolders &folders = chosen();
    if (!folders.installed)
        return true;
    for (const QString &own : {folders.cards, folders.settings}) {
        if (!path.startsWith(own) || DirectoryExists(own))
            continue;
        if (!makePrivatePath(own))
            return false;
    }
    return true;
}

} // namespace platform
