// Self-pipe signal handling: the handler only writes a byte; everything else runs in the event loop.
#include "qtcore/UnixSignalWatcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace {

int Pipe[2] = {-1, -1};

extern "C" void OnSignal(int signalNumber) {
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(Pipe[1], &byte, 1);
}

}  // namespace

TUnixSignalWatcher::TUnixSignalWatcher(QObject* parent) : QObject(parent) {
    if (::pipe2(Pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    Notifier = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &TUnixSignalWatcher::ReadPipe);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signalNumber, &action, nullptr);
    }
}

TUnixSignalWatcher::~TUnixSignalWatcher() {
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(signalNumber, SIG_DFL);
    }
    delete Notifier;
    for (int& end : Pipe) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
}

void TUnixSignalWatcher::ReadPipe() {
    char byte = 0;
    while (::read(Pipe[0], &byte, 1) == 1) {
        emit SignalReceived(static_cast<unsigned char>(byte));
    }
}
