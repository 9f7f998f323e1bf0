// Worker threads: the pass loop, the stop request and an interruptible sleep.
#include "messenger/WorkerThread.h"

#include <condition_variable>
#include <mutex>
#include <utility>

TWorkerThread::TWorkerThread(TPass pass)
    : Thread([this, pass = std::move(pass)](std::stop_token stop) {
          while (!stop.stop_requested()) {
              pass(stop);
          }
          Ended = true;
      }) {}

bool SleepFor(std::chrono::milliseconds period, std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    return !wake.wait_for(lock, stop, period, [] { return false; }) && !stop.stop_requested();
}
