#pragma once
// Where this run keeps its cards. The user may put the card folder anywhere,
// for instance into a folder that Syncthing, Nextcloud or Dropbox keeps in
// step between machines:
// - the command line: --kartenordner ORDNER (or --kartenordner=ORDNER),
//   relative to the working folder;
// - else Kartolino.ini, section [Karten], key Ordner, relative to the
//   settings file's folder;
// - else KRT/ in the program's card folder, as always.
// A leading "~" stands for the user's home folder in both.

#include <QString>
#include <QStringList>

namespace cards {

// "~" and "~/..." with the home folder put in; anything else as it is.
QString ExpandHome(const QString &path);

// The option's value in the program's arguments (the first is the program);
// empty when it is not given.
QString CardFolderOption(const QStringList &arguments);

// The card folder of this run, absolute, clean, with a trailing "/".
// defaultFolder is KRT/ in the program's card folder.
QString ChosenCardFolder(const QString &option, const QString &settingsFile, const QString &defaultFolder);

} // namespace cards

#include <QFileSystemWatcher>
#include <functional>

namespace cards {

// What is left of the card folder. A folder that held card files and now
// holds none was emptied (an unmounted drive leaves an empty mount point, a
// sync engine may remove everything); writing the open card there would
// plant a lone card where the others are missing.
enum class CardFolderState { Missing, Empty, HoldsCards };
CardFolderState StateOfCardFolder(const QString &cardDir);

// Tells when the card folder may have gone or come back: watches the folder
// and the folder above it (a removed or remounted folder changes that one).
class TCardFolderWatch {
public:
    TCardFolderWatch();
    void Watch(const QString &cardDir);
    std::function<void()> OnChanged;

private:
    void rewatch();

    QFileSystemWatcher m_watcher;
    QString m_dir;
};

} // namespace cards
