#pragma once
// A named single-instance guard. The lock is an exclusive advisory lock on a
// file in the user's runtime folder ($XDG_RUNTIME_DIR, else
// $XDG_CACHE_HOME/Kartolino or ~/.cache/Kartolino, a folder of mode 0700 that
// only this user owns): the kernel drops it when the process ends in any way, so a crash
// or kill never leaves a stale lock behind.

#include <QString>

namespace platform {

class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString &name);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard &) = delete;
    SingleInstanceGuard &operator=(const SingleInstanceGuard &) = delete;

    // True when another process holds the guard of that name.
    bool alreadyExists() const { return m_alreadyExists; }
    QString lockFilePath() const { return m_path; }

private:
    QString m_path;
    int m_fd = -1;
    bool m_alreadyExists = false;
};

} // namespace platform
