#pragma once
// A named single-instance guard, one per user and key. The lock is an
// exclusive advisory lock on a file in "Kartolino" in the user's cache
// ($XDG_CACHE_HOME, default ~/.cache), a folder of mode 0700 that only this
// user owns. It does not depend on the session (a runtime folder does: one
// session has none, another its own), so every session of the user meets the
// same lock, and it is no place sync engines move. The kernel drops the lock
// when the process ends in any way, so a crash or kill never leaves a stale
// lock behind.
//
// The key names a folder (the card folder): two spellings of one folder (a
// symbolic link, "..", a trailing "/") are one key, even before the folder is
// made. An empty key is one key of its own.
//
// Beside the lock lies the holder's channel, a local socket: a start that is
// turned away asks the holder through it to show itself.

#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

// The folder of the locks (made when missing); empty when there is no
// private place for them.
QString SingleInstanceFolder();

class SingleInstanceGuard {
public:
    // folder: where the lock goes; tests put it elsewhere.
    explicit SingleInstanceGuard(const QString &name, const QString &key = QString(),
                                 const QString &folder = SingleInstanceFolder());
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard &) = delete;
    SingleInstanceGuard &operator=(const SingleInstanceGuard &) = delete;

    // True when another process holds the guard of that name and key.
    bool alreadyExists() const { return m_alreadyExists; }
    QString lockFilePath() const { return m_path; }
    QString channelPath() const { return m_channelPath; }

    // The holder: onRequest runs on the calling (GUI) thread for every start
    // turned away since the guard was taken, also those before this call.
    void Listen(std::function<void()> onRequest);
    // Turned away: asks the holder to show itself. False when no holder
    // listens (it may be starting, hung or without a channel).
    bool RequestShow() const;

private:
    bool takeLock();
    void openChannel();
    void acceptRequests();

    QString m_path;
    QString m_channelPath;
    int m_fd = -1;
    int m_channel = -1;
    bool m_alreadyExists = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_onRequest;
};

} // namespace platform
