// Self-pipe signal handling: the handler only writes a byte; everything else runs in the event loop.
#include <fcntl.h>
#include <unistd.h>

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <utility>

#include "qtcore/ShutdownSignals.h"

namespace {

int Pipe[2] = {-1, -1};

extern "C" void OnSignal(int signalNumber) {
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(Pipe[1], &byte, 1);
}

constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Owned by its context, so the handlers are put back when the context goes.
class TSignalWatcher final : public QObject {
public:
    TSignalWatcher(QObject& context, std::function<void()> onShutdown)
        : QObject(&context), OnShutdown(std::move(onShutdown)) {
        if (::pipe2(Pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            return;
        }
        auto* notifier = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &TSignalWatcher::ReadPipe);
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signalNumber : EndingSignals) {
            sigaction(signalNumber, &action, nullptr);
        }
    }

    ~TSignalWatcher() override {
        for (const int signalNumber : EndingSignals) {
            std::signal(signalNumber, SIG_DFL);
        }
        qDeleteAll(children());
        for (int& end : Pipe) {
            if (end >= 0) {
                ::close(end);
                end = -1;
            }
        }
    }

private:
    void ReadPipe() {
        char byte = 0;
        while (::read(Pipe[0], &byte, 1) == 1) {
            OnShutdown();
        }
    }

    std::function<void()> OnShutdown;
};

}  // namespace

void OnShutdownSignals(QObject& context, std::function<void()> onShutdown) {
    new TSignalWatcher(context, std::move(onShutdown));
}
