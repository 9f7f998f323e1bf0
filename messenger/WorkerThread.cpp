// Worker thread base: start, stop request, interruptible sleep, join.
#include "messenger/WorkerThread.h"

#include <utility>

TWorkerThread::~TWorkerThread() {
    RequestStop();
    Join();
}

void TWorkerThread::Start(std::function<void(std::stop_token)> loop) {
    Thread = std::jthread([this, loop = std::move(loop)](std::stop_token stop) {
        loop(stop);
        Ended = true;
    });
}

void TWorkerThread::RequestStop() { Thread.request_stop(); }

bool TWorkerThread::Finished() const { return Ended; }

void TWorkerThread::Join() {
    if (Thread.joinable() && Thread.get_id() != std::this_thread::get_id()) {
        Thread.join();
    }
}

bool TWorkerThread::SleepFor(std::chrono::milliseconds period, std::stop_token stop) {
    std::unique_lock lock(SleepMutex);
    return !SleepWake.wait_for(lock, stop, period, [] { return false; }) && !stop.stop_requested();
}
