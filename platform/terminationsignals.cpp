#include "terminationsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {
int g_pipe[2] = {-1, -1};

void onSignal(int sig)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(sig);
    [[maybe_unused]] ssize_t n = ::write(g_pipe[0], &byte, 1);
    errno = saved;
}

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    ::fcntl(g_pipe[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : kSignals)
        ::sigaction(sig, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int sig : kSignals)
        ::signal(sig, SIG_DFL);
}

void TerminationSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(g_pipe[1], &byte, 1) == 1)
        emit terminationRequested(byte);
}

} // namespace platform
