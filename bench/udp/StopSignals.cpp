// The signal-waiting thread.
#include "bench/udp/StopSignals.h"

#include <pthread.h>
#include <signal.h>

#include "messenger/CallQueue.h"

namespace {

// SIGUSR1 is how the destructor tells the waiting thread to leave.
sigset_t HandledSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) {
        sigaddset(&set, signal);
    }
    return set;
}

}  // namespace

TStopSignals::TStopSignals(TCallQueue& queue) : Queue(queue) {
    const sigset_t set = HandledSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    Waiter = std::thread([this] { Wait(); });
}

TStopSignals::~TStopSignals() {
    pthread_kill(Waiter.native_handle(), SIGUSR1);
    Waiter.join();
}

void TStopSignals::Wait() {
    const sigset_t set = HandledSignals();
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0 || signal == SIGUSR1) {
            return;
        }
        Stop = true;
        Queue.Interrupt();
    }
}
