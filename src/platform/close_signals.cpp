#include "close_signals.h"

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velloran {
namespace {

int pipeEnds[2] = {-1, -1};

extern "C" void onCloseSignal(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

constexpr int kCloseSignals[] = {SIGTERM, SIGHUP, SIGINT};

} // namespace

CloseSignals::CloseSignals(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &CloseSignals::readPending);
    struct sigaction action {};
    action.sa_handler = onCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kCloseSignals)
        sigaction(signalNumber, &action, nullptr);
}

CloseSignals::~CloseSignals() {
    for (const int signalNumber : kCloseSignals)
        std::signal(signalNumber, SIG_DFL);
}

void CloseSignals::readPending() {
    unsigned char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1)
        emit closeRequested(byte);
}

} // namespace velloran
