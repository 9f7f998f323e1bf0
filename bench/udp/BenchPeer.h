// One copy of the messenger on the real UDP transport, with this thread as its user-interface thread.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "bench/udp/BenchOptions.h"
#include "bench/udp/ObservedTransport.h"
#include "bench/udp/StopSignals.h"
#include "messenger/CallQueue.h"
#include "messenger/SystemServices.h"
#include "messenger/transport/udp/UdpTransport.h"
#include "messenger/uniMessenger.h"

class TBenchPeer {
public:
    /// `queue` and `stop` outlive the peer; `stop` was built before it, so its threads block the signals.
    TBenchPeer(const TBenchOptions& options, TCallQueue& queue, const TStopSignals& stop);

    /// Opens the mailbox and announces this computer; false with the reason when it cannot.
    bool Activate(std::string& error);
    /// Runs user-interface calls until `done` holds; false at the time-out or a stop signal.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::nanoseconds timeout);
    /// Runs user-interface calls until a stop signal.
    void PumpUntilStopped();
    /// Runs the calls waiting now, without waiting for more.
    void RunPending() { Queue.RunPending(); }
    /// Waits until `name` has answered the announcement, so memos to it go straight to its address.
    bool WaitForPeer(const std::string& name, std::chrono::nanoseconds timeout);
    bool StopRequested() const { return Stop.Requested(); }

    TMessenger& Messenger() { return *Component; }
    const TObservedTransport& Observed() const { return *Observer; }

private:
    TCallQueue& Queue;
    const TStopSignals& Stop;
    std::unique_ptr<TSystemServices> System;
    std::unique_ptr<TUdpTransport> Transport;
    std::unique_ptr<TObservedTransport> Observer;
    std::unique_ptr<TMessenger> Component;  ///< last, so it leaves before what it uses
    TStringList Users;
};
