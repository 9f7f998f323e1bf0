// The own mailbox's queue: which received datagrams are kept, duplicates dropped, bounded in size.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "messenger/transport/udp/MailslotDatagram.h"

class TInbox {
public:
    using TClock = std::chrono::steady_clock;

    struct TLimits {
        // A memo flood at 10,000 a second outruns a desktop that shows 9,000: the backlog waits here, at
        // a few hundred bytes a memo, rather than in the kernel's buffer at more than a kilobyte, which
        // drops what does not fit.
        std::size_t MaxCount = 65536;
        std::size_t MaxBytes = 16u << 20;
        std::chrono::seconds DuplicateWindow{5};
    };

    TInbox(std::string boxName, const std::string& computerName, TLimits limits);
    TInbox(std::string boxName, const std::string& computerName)
        : TInbox(std::move(boxName), computerName, {}) {}

    /// Keeps the message of a write to this box that is addressed to this computer or its group,
    /// unless it is a copy already seen or the queue is full. True when it was kept.
    bool Offer(const TMailslotDatagram& datagram, TClock::time_point now);
    /// Whether one more message of `size` bytes fits; the caller leaves one that does not in the kernel.
    bool HasRoomFor(std::size_t size) const {
        return Messages.size() < Limits.MaxCount && size <= Limits.MaxBytes - QueuedBytes;
    }

    std::size_t Count() const { return Messages.size(); }
    std::size_t Bytes() const { return QueuedBytes; }
    std::optional<std::size_t> NextSize() const;
    /// Takes the next message out when it fits `capacity`; it stays when it does not.
    std::optional<std::string> Take(std::size_t capacity);

private:
    using TCopyKey = std::tuple<std::string, std::uint16_t, std::size_t>;

    bool SeenBefore(const TMailslotDatagram& datagram, TClock::time_point now);

    std::string BoxName;
    std::string OwnName;  ///< as it stands on the wire
    TLimits Limits;
    std::deque<std::string> Messages;
    std::size_t QueuedBytes = 0;
    // Copies seen lately: the set answers "seen?", the queue, in arrival order, says what to forget
    // next, so each datagram costs a logarithmic lookup however many arrived in the window.
    std::map<TCopyKey, TClock::time_point> RecentCopies;
    std::deque<std::pair<TClock::time_point, TCopyKey>> ExpiryOrder;
};
