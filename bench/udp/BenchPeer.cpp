// Building and pumping a messenger on UDP.
#include "bench/udp/BenchPeer.h"

#include <algorithm>

TBenchPeer::TBenchPeer(const TBenchOptions& options, TCallQueue& queue, const TStopSignals& stop)
    : Queue(queue), Stop(stop), System(MakeLocalSystem()) {
    TUdpSettings settings;
    settings.Port = options.Port;
    Transport = std::make_unique<TUdpTransport>(System->ComputerName(), settings);
    Observer = std::make_unique<TObservedTransport>(*Transport);
    Component = std::make_unique<TMessenger>(TMessengerEnvironment{*Observer, Queue, *System});
    Component->SetBoxName(options.BoxName);
    Component->OnUserListChange = [this](TMainMessenger&, const TStringList& users) { Users = users; };
}

bool TBenchPeer::Activate(std::string& error) {
    std::string reported;
    Component->OnError = [&reported](TMainMessenger&, const std::string& message) { reported = message; };
    Component->Activate();
    Component->OnError = nullptr;
    if (reported.empty()) {
        return true;
    }
    error = reported + (Transport->LastError().empty() ? "" : ": " + Transport->LastError());
    return false;
}

bool TBenchPeer::PumpUntil(const std::function<bool()>& done, std::chrono::nanoseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline || Stop.Requested()) {
            return false;
        }
        // Rounded up, so a wait never spins on a zero time-out just short of the deadline.
        Queue.RunOne(std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
    }
    return true;
}

void TBenchPeer::PumpUntilStopped() {
    while (!Stop.Requested()) {
        Queue.RunOne(std::chrono::hours(24));
    }
}

bool TBenchPeer::WaitForPeer(const std::string& name, std::chrono::nanoseconds timeout) {
    return PumpUntil([&] { return std::find(Users.begin(), Users.end(), name) != Users.end(); }, timeout);
}
