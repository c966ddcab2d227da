#pragma once
// Many files replaced at once (an export of every card), each as
// ReplaceFileContents replaces it: whole or not at all. Flushing a file to
// disk waits for the disk, and one flush after the other costs most of the
// time of a thousand small files; here several writes run on threads of
// their own so that their flushes overlap, and each folder is flushed once,
// at the end. The data is handed over; nothing else is shared with the
// threads.

#include "files.h"

#include <QByteArray>
#include <QList>
#include <QSemaphore>
#include <QSet>
#include <QString>
#include <QThreadPool>

#include <memory>

namespace platform {

struct ReplaceOutcome {
    ReplaceResult result = ReplaceResult::Ok;
    int errorCode = 0;
};

class ReplaceBatch {
public:
    explicit ReplaceBatch(int threads = 8);
    ~ReplaceBatch(); // waits as Finish does
    ReplaceBatch(const ReplaceBatch &) = delete;
    ReplaceBatch &operator=(const ReplaceBatch &) = delete;

    // Starts replacing path with data. Returns at once unless twice as many
    // writes as there are threads are still unfinished.
    void Add(const QString &path, QByteArray data);
    // Waits for every write started; returns their outcomes in the order of
    // Add and makes their renames durable.
    QList<ReplaceOutcome> Finish();

private:
    QThreadPool m_pool;
    QSemaphore m_room;
    QList<std::shared_ptr<ReplaceOutcome>> m_outcomes;
    QSet<QString> m_folders;
};

} // namespace platform
