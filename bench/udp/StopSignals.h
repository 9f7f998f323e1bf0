// Turns SIGINT, SIGTERM and SIGHUP into a stop flag and a wake-up of the hand-pumped queue.
#pragma once

#include <atomic>
#include <thread>

class TCallQueue;

class TStopSignals {
public:
    /// Must be built before any other thread starts, so that every thread inherits the blocked mask
    /// and the signals reach only the waiting thread, which costs no wake-ups while none comes.
    explicit TStopSignals(TCallQueue& queue);
    ~TStopSignals();
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

    bool Requested() const { return Stop; }

private:
    void Wait();

    TCallQueue& Queue;
    std::atomic<bool> Stop{false};
    std::thread Waiter;
};
