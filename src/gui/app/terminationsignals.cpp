#include "app/terminationsignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// [0] written by the handler, [1] read in the event loop.
int sockets[2] = {-1, -1};

void on_signal(int signal_number)
{
    const int saved_errno = errno;
    const char byte = char(signal_number);
    [[maybe_unused]] const ssize_t written = ::write(sockets[0], &byte, 1);
    errno = saved_errno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    Q_ASSERT_X(sockets[0] < 0, "TerminationSignals", "only one at a time");
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return;
    notifier_ = new QSocketNotifier(sockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::read_signal);

    struct sigaction action = {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal_number : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal_number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (sockets[0] < 0)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal_number : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal_number, &action, nullptr);
    delete notifier_;
    ::close(sockets[0]);
    ::close(sockets[1]);
    sockets[0] = sockets[1] = -1;
}

void TerminationSignals::read_signal()
{
    char byte = 0;
    if (::read(sockets[1], &byte, 1) == 1)
        emit received(int(byte));
}
