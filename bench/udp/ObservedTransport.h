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

    TMailboxId OpenMailbox(std::string_view box) override { return Inner.OpenMailbox(box); }
    std::optional<TMailslotInfo> Pending(TMailboxId mailbox) override {
        const auto info = Inner.Pending(mailbox);
        if (info && info->MessageCount > Deepest) {
            Deepest = info->MessageCount;  // only the poller queries, so no lost update
        }
        return info;
    }
    std::optional<std::uint32_t> Take(TMailboxId mailbox, std::span<char> buffer) override {
        return Inner.Take(mailbox, buffer);
    }
    TSendResult Send(const TMailslotPath& target, std::string_view bytes) override {
        TSendResult sent = Inner.Send(target, bytes);
        if (!sent.Sent()) {
            ++Failed;
        }
        return sent;
    }
    void Close(TMailboxId mailbox) override { Inner.Close(mailbox); }
    TMailslotWait Wait(TMailboxId mailbox, std::stop_token stop) override {
        return Inner.Wait(mailbox, stop);
    }
    std::size_t MaxWriteSize(const TMailslotPath& target) const override {
        return Inner.MaxWriteSize(target);
    }

private:
    TMailslotTransport& Inner;
    std::atomic<std::int32_t> Deepest{0};
    std::atomic<std::int64_t> Failed{0};
};
