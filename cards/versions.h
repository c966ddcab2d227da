#pragma once
// Earlier versions of every card: what a save point replaces is kept outside
// the card folder (so never in a synced folder), thinned as it ages and held
// under a size cap, so a card half deleted by mistake can be had back.

#include "serialqueue.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

namespace platform {
class TIniFile;
}

namespace cards {

// Installed, beside the recoveries: RecoveryFolder() + "Fassungen/". Portable,
// beside the settings file: settingsFolder (ending in "/") + "Fassungen/".
// Never inside the card folder, which may be synced.
QString VersionFolder(const QString &settingsFolder, bool installed);

// [Fassungen] MaxMB in the settings file, in megabytes (default 50); a value
// that is no positive number gives the default.
qint64 VersionCapFrom(const platform::TIniFile &ini);

class TVersions {
public:
    static constexpr qint64 kDefaultCapBytes = 50LL * 1024 * 1024;

    struct Version {
        QString file;      // where the version is
        QDateTime taken;   // when the save point replaced it (UTC)
        qint64 size = 0;   // bytes
    };

    // clock gives the time now; tests turn it.
    explicit TVersions(QString folder, std::function<QDateTime()> clock = &QDateTime::currentDateTimeUtc);
    // Waits for the versions still being written.
    ~TVersions();

    const QString &Folder() const { return m_folder; }
    void SetFolder(QString folder);
    void SetCap(qint64 bytes);
    qint64 Cap() const { return m_capBytes; }

    // A save point is about to replace cardFile: its bytes are read now.
    void Replacing(const QString &cardFile);
    // The save point wrote cardFile: the bytes it replaced become a version
    // when the content changed and they held text or a picture. The version
    // is written and the folder thinned on a thread of their own, so the save
    // point waits for neither; a failure is told to OnFailed, on this thread.
    void Replaced(const QString &cardFile);
    std::function<void(const QString &message)> OnFailed;
    // Waits until every version handed over is written.
    void WaitForWrites();

    // Keeps bytes as cardFile's newest version, then thins. Throws
    // platform::Exception when the file cannot be written.
    void Keep(const QString &cardFile, const QByteArray &bytes);
    // The card now has another file: its versions go along.
    void Renamed(const QString &oldCardFile, const QString &newCardFile);

    // The card's versions, newest first (those still being written
    // included); damaged or unreadable ones are left out.
    QList<Version> List(const QString &cardFile);
    // The card's bytes as kept (the file reads as the card did); null when
    // the file is damaged or unreadable.
    static QByteArray Read(const QString &versionFile);

    // Every version of the last hour, then one per hour for a day, one per
    // day for 30 days, one per week after; then the oldest go until all
    // together fit the cap. A card's newest always stays.
    void Thin();

private:
    QString cardFolder(const QString &cardFile) const;
    void keep(const QString &cardFile, const QByteArray &bytes, qint64 takenMs) const;
    void thin(qint64 nowMs) const;

    QString m_folder;
    std::function<QDateTime()> m_clock;
    qint64 m_capBytes = kDefaultCapBytes;
    QString m_replacing;
    QByteArray m_replaced;
    bool m_haveReplaced = false;
    TSerialQueue m_writer; // versions are written in turn
};

} // namespace cards
