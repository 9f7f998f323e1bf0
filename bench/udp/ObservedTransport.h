// A transport that passes every call on and notes what a benchmark wants to see: queue depth, failed sends.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "messenger/MailslotTransport.h"

class TObservedTransport final : public TMailslotTransport {
public:
    explicit TObservedTransport(TMailslotTransport& inner) : Inner(inner) {}

    /// The most datagrams the own mailbox held at one query: at the queue's bound, arrivals were refused.
    std::int32_t DeepestQueue() const { return Deepest; }
    /// Writes the transport did not send (the engine itself does not report them).
    std::int64_t FailedWrites() const { return Failed; }

    TMailslotHandle CreateMailslot(std::string_view path, std::uint32_t maxMessageSize,
                                   std::uint32_t readTimeout) override {
        return Inner.CreateMailslot(path, maxMessageSize, readTimeout);
    }
    std::optional<TMailslotInfo> GetMailslotInfo(TMailslotHandle mailbox) override {
        const auto info = Inner.GetMailslotInfo(mailbox);
        if (info && info->MessageCount > Deepest) {
            Deepest = info->MessageCount;  // only the poller queries, so no lost update
        }
        return info;
    }
    std::optional<std::uint32_t> ReadFile(TMailslotHandle mailbox, std::span<char> buffer) override {
        return Inner.ReadFile(mailbox, buffer);
    }
    TMailslotHandle CreateFile(std::string_view path) override { return Inner.CreateFile(path); }
    TSendResult WriteFile(TMailslotHandle target, std::string_view bytes) override {
        TSendResult sent = Inner.WriteFile(target, bytes);
        if (!sent.Sent()) {
            ++Failed;
        }
        return sent;
    }
    void CloseHandle(TMailslotHandle handle) override { Inner.CloseHandle(handle); }
    TMailslotWait WaitForDatagram(TMailslotHandle mailbox, std::stop_token stop) override {
        return Inner.WaitForDatagram(mailbox, stop);
    }
    std::size_t MaxWriteSize(std::string_view path) const override { return Inner.MaxWriteSize(path); }

private:
    TMailslotTransport& Inner;
    std::atomic<std::int32_t> Deepest{0};
    std::atomic<std::int64_t> Failed{0};
};
