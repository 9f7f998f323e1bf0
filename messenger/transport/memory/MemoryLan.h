// A simulated LAN in one process: computers with named mailboxes, broadcast and direct delivery.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class TMemoryComputer;
struct TMailslotPath;

/// One datagram as it was written to the LAN.
struct TMemoryDatagram {
    std::string From;  ///< the writing computer
    std::string Path;  ///< the path it was opened as
    std::string Bytes;
};

class TMemoryLan {
public:
    using TLossFilter = std::function<bool(const TMemoryDatagram& datagram, const std::string& receiver)>;

    TMemoryLan();
    ~TMemoryLan();
    TMemoryLan(const TMemoryLan&) = delete;
    TMemoryLan& operator=(const TMemoryLan&) = delete;

    /// Adds a computer; its transport lives as long as the LAN.
    TMemoryComputer& AddComputer(const std::string& name);

    /// Datagrams for which the filter answers true are lost on the way to that receiver.
    void SetLoss(TLossFilter filter);
    /// Every write so far, in order (kept only while recording is on, as it is by default).
    std::vector<TMemoryDatagram> Traffic() const;
    void SetRecording(bool on);
    void ClearTraffic();

private:
    friend class TMemoryComputer;

    void Deliver(const std::string& from, const TMailslotPath& target, TMemoryDatagram datagram);

    mutable std::mutex Mutex;
    std::vector<std::unique_ptr<TMemoryComputer>> Computers;
    TLossFilter Loss;
    std::vector<TMemoryDatagram> Written;
    bool Recording = true;
};
