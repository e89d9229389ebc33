#include "platform/quit_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Write end of the socket of the live instance; read by the handler, so a plain int.
volatile sig_atomic_t g_writeSocket = -1;

}  // namespace

TQuitSignals::TQuitSignals(std::function<void()> onQuit, std::vector<int> handled,
                           QObject* parent)
    : QObject(parent), FOnQuit(std::move(onQuit)), FSignals(std::move(handled))
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, FSockets) != 0) {
        FSockets[0] = FSockets[1] = -1;
        return;
    }
    g_writeSocket = FSockets[1];
    struct sigaction action = {};
    action.sa_handler = &TQuitSignals::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : FSignals) {
        struct sigaction previous = {};
        if (sigaction(signal, &action, &previous) != 0)
            break;
        FPrevious.push_back(previous);
    }
    if (FPrevious.size() != FSignals.size())
        return;  // the destructor restores the handlers that were set
    FNotifier = new QSocketNotifier(FSockets[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TQuitSignals::Drain);
}

TQuitSignals::~TQuitSignals()
{
    for (std::size_t i = 0; i < FPrevious.size(); ++i)
        sigaction(FSignals[i], &FPrevious[i], nullptr);
    if (g_writeSocket == FSockets[1])
        g_writeSocket = -1;
    delete FNotifier;
    for (int socket : FSockets)
        if (socket >= 0)
            close(socket);
}

void TQuitSignals::Handler(int signal)
{
    const int saved = errno;
    const int socket = g_writeSocket;
    if (socket >= 0) {
        const char byte = static_cast<char>(signal);
        // Non-blocking: with the socket full a quit is already pending.
        [[maybe_unused]] const ssize_t written = write(socket, &byte, 1);
    }
    errno = saved;
}

void TQuitSignals::Drain()
{
    char bytes[64];
    bool received = false;
    while (read(FSockets[0], bytes, sizeof bytes) > 0)
        received = true;
    // Several signals in a row ask for one quit.
    if (received && FOnQuit)
        FOnQuit();
}
