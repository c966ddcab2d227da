#include "cardfolder.h"

#include "profile.h"

#include <QDir>
#include <QFileInfo>

namespace cards {

namespace {
const QString kOption = QStringLiteral("--kartenordner");

QString asFolder(const QString &base, const QString &path)
{
    QString folder = QDir::cleanPath(QDir(base).absoluteFilePath(ExpandHome(path)));
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

QString ExpandHome(const QString &path)
{
    if (path == QLatin1String("~"))
        return QDir::homePath();
    if (path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

QString CardFolderOption(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == kOption && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (argument.startsWith(kOption + QLatin1Char('=')))
            return argument.mid(kOption.size() + 1);
    }
    return {};
}

QString ChosenCardFolder(const QString &option, const QString &settingsFile, const QString &defaultFolder)
{
    if (!option.isEmpty())
        return asFolder(QDir::currentPath(), option);
    const QString stored =
        platform::TIniFile(settingsFile).ReadString(QStringLiteral("Karten"), QStringLiteral("Ordner"), QString()).trimmed();
    if (!stored.isEmpty())
        return asFolder(QFileInfo(settingsFile).absolutePath(), stored);
    return defaultFolder;
}

} // namespace cards

#include "files.h"

#include <QDirIterator>

namespace cards {

CardFolderState StateOfCardFolder(const QString &cardDir)
{
    if (!platform::DirectoryExists(cardDir))
        return CardFolderState::Missing;
    // One card file is enough; the listing stops there.
    QDirIterator it(cardDir, {QStringLiteral("*.rtf")}, QDir::Files | QDir::Hidden | QDir::System);
    return it.hasNext() ? CardFolderState::HoldsCards : CardFolderState::Empty;
}

TCardFolderWatch::TCardFolderWatch()
{
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_watcher, [this] {
        rewatch();
        if (OnChanged)
            OnChanged();
    });
}

void TCardFolderWatch::Watch(const QString &cardDir)
{
    m_dir = cardDir;
    rewatch();
}

void TCardFolderWatch::rewatch()
{
    // A folder that went and came back is a new one to the kernel.
    const QString above = QFileInfo(QDir::cleanPath(m_dir)).absolutePath();
    for (const QString &folder : {QDir::cleanPath(m_dir), above})
        if (!m_watcher.directories().contains(folder) && QFileInfo(folder).isDir())
            m_watcher.addPath(folder);
}

} // namespace cards
