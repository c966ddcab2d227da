#include "replacebatch.h"

#include <QFileInfo>

namespace platform {

ReplaceBatch::ReplaceBatch(int threads) : m_room(2 * threads)
{
    m_pool.setMaxThreadCount(threads);
}

ReplaceBatch::~ReplaceBatch() { Finish(); }

void ReplaceBatch::Add(const QString &path, QByteArray data)
{
    m_room.acquire();
    auto outcome = std::make_shared<ReplaceOutcome>();
    m_outcomes.append(outcome);
    m_folders.insert(QFileInfo(path).absolutePath());
    m_pool.start([this, path, data = std::move(data), outcome] {
        outcome->result = ReplaceFileContents(path, data, &outcome->errorCode, FolderSync::Later);
        m_room.release();
    });
}

QList<ReplaceOutcome> ReplaceBatch::Finish()
{
    m_pool.waitForDone();
    for (const QString &folder : std::as_const(m_folders))
        SyncFolder(folder);
    m_folders.clear();
    QList<ReplaceOutcome> outcomes;
    for (const auto &outcome : std::as_const(m_outcomes))
        outcomes.append(*outcome);
    m_outcomes.clear();
    return outcomes;
}

} // namespace platform
