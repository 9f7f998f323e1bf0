// A computer of the simulated LAN with its messenger, recording every event it raises as a line of text.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "CallQueue.h"
#include "FixedSystem.h"
#include "ExposedMessenger.h"
#include "MemoryComputer.h"
#include "MemoryLan.h"

/// "a|b|c": list contents in one comparable string.
inline std::string JoinedList(const TStringList& lines) {
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        joined += (i == 0 ? "" : "|") + lines[i];
    }
    return joined;
}

class TTestPeer {
public:
    TTestPeer(TMemoryLan& lan, TUiThreadQueue& queue, const std::string& name)
        : System(name), Transport(lan.AddComputer(name)), Messenger({Transport, queue, System}) {
        Messenger.OnNewMemo = [this](TMainMessenger&, const std::string& origin, const std::string& time,
                                     const TStringList& lines) {
            Events.push_back("memo " + origin + " " + time + " [" + JoinedList(lines) + "]");
        };
        Messenger.OnNewLine = [this](TMainMessenger&, const std::string& origin, const std::string& time,
                                     const std::string& line) {
            Events.push_back("line " + origin + " " + time + " " + line);
        };
        Messenger.OnUserListChange = [this](TMainMessenger&, const TStringList& users) {
            Events.push_back("users [" + JoinedList(users) + "]");
        };
        Messenger.OnError = [this](TMainMessenger&, const std::string& message) {
            Events.push_back("error " + message);
        };
    }

    /// Takes the recorded events, leaving none behind.
    std::vector<std::string> TakeEvents() { return std::exchange(Events, {}); }

    TFixedSystem System;
    TMemoryComputer& Transport;
    TExposedMessenger Messenger;
    std::vector<std::string> Events;
};

/// Runs user-interface calls until `done` holds; false when it does not within a generous time-out.
inline bool PumpUntil(TCallQueue& queue, const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        queue.RunOne(std::chrono::milliseconds(20));
    }
    return true;
}
