#include "sessionend.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace platform {

SessionEnd::SessionEnd(QObject *parent) : QObject(parent)
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return;
    // Neither interaction nor cancel() is asked for: a box would hold the
    // logout up, and a program in the tray has no business stopping it.
    connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { Commit(); });
}

void SessionEnd::Commit()
{
    // Said once: the first request already wrote what there is, and the
    // listener may have ended the program.
    if (std::exchange(m_ending, true))
        return;
    emit sessionEnding();
}

} // namespace platform
