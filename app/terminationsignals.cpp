#include "terminationsignals.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <csignal>

namespace {

// The write end is used by the handler, the read end by the event loop.
std::array<int, 2> wakeUp{-1, -1};
constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

extern "C" void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeUp[0], &byte, 1);
}

void setHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeUp.data()) != 0)
        return;
    mNotifier = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, this);
    connect(mNotifier, &QSocketNotifier::activated, this, &TerminationSignals::drain);
    setHandler(onTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
    if (!mNotifier)
        return;
    setHandler(SIG_DFL);
    delete mNotifier;
    for (int& fd : wakeUp) {
        ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::drain() {
    std::array<char, 16> bytes{};
    while (::read(wakeUp[1], bytes.data(), bytes.size()) > 0) {
    }
    mRequested = true;
    emit terminationRequested();
}
