// A computer of the simulated LAN with its messenger, recording every event it raises as a line of text.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "messenger/CallQueue.h"
#include "messenger/SystemServices.h"
#include "messenger/transport/memory/MemoryComputer.h"
#include "messenger/transport/memory/MemoryLan.h"
#include "tests/support/ExposedMessenger.h"

/// A computer whose names and clock the test sets.
class TFixedSystem final : public TSystemServices {
public:
    explicit TFixedSystem(std::string computer) : Computer(std::move(computer)) {}
    std::string ComputerName() override { return Computer; }
    std::string UserName() override { return "tester"; }
    std::string TimeStamp() override { return "14:05:09"; }

    std::string Computer;
};

class TTestPeer {
public:
    TTestPeer(TMemoryLan& lan, TUiThreadQueue& queue, const std::string& name)
        : System(name), Transport(lan.AddComputer(name)), Messenger({Transport, queue, System}) {
        // Answers at once and no rounds, so that what a test sends is all there is; presence tests set more.
        Messenger.SetPresenceTiming(TPresenceTiming::Immediate());
        Messenger.OnNewMemo = [this](auto&, auto& from, auto& at, auto& lines) {
            Events.push_back("memo " + from + " " + at + " [" + Joined(lines) + "]");
        };
        Messenger.OnNewLine = [this](auto&, auto& from, auto& at, auto& line) {
            Events.push_back("line " + from + " " + at + " " + line);
        };
        Messenger.OnUserListChange = [this](auto&, auto& users) {
            Events.push_back("users [" + Joined(users) + "]");
        };
        Messenger.OnError = [this](auto&, auto& message) { Events.push_back("error " + message); };
    }
    /// "a|b|c": list contents in one comparable string.
    static std::string Joined(const TStringList& lines) {
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i)
            joined += (i == 0 ? "" : "|") + lines[i];
        return joined;
    }
    /// Takes the recorded events, leaving none behind.
    std::vector<std::string> TakeEvents() { return std::exchange(Events, {}); }

    std::vector<std::string> Events;  ///< first, so that the goodbye's events at destruction still land
    TFixedSystem System;
    TMemoryComputer& Transport;
    TExposedMessenger Messenger;
};

/// Sends `bytes` as one datagram from `from` to `path`, as another program on that computer would.
inline void SendRaw(TMemoryComputer& from, const std::string& path, const std::string& bytes) {
    from.Send(TMailslotPath::Parse(path).value(), bytes);
}

/// Runs user-interface calls until `done` holds; false when it does not within a generous time-out.
inline bool PumpUntil(TCallQueue& queue, const std::function<bool()>& done) {
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10); !done();
         queue.RunOne(std::chrono::milliseconds(20)))
        if (std::chrono::steady_clock::now() > deadline)
            return false;
    return true;
}
