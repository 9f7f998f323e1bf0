// The datagram inbox the messenger works against: its own mailbox opened, read, waited on and closed, and
// single datagrams sent to a mailbox anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>

#include "messenger/MailslotPath.h"

/// An own mailbox is one 32-bit value, so a worker may read it while the user-interface thread replaces it.
/// Ids are never reused: a stale one simply fails.
using TMailboxId = std::uint32_t;
inline constexpr TMailboxId InvalidMailboxId = 0xFFFFFFFFu;

struct TMailslotInfo {
    std::int32_t MessageCount = 0;
    std::uint32_t NextSize = 0;
};

/// What Windows mailslots take between computers: a longer write is dropped there without a word.
inline constexpr std::size_t WindowsMaxMessageSize = 424;

/// What became of one send: sent, or why not, in words a user can act on.
struct TSendResult {
    enum class TStatus {
        Sent,
        CannotOpen,  ///< the target could not be opened: not a mailbox path, or the system refused it
        NoRoom,      ///< the system had no room for it, and still none after a bounded wait
        Failed,      ///< refused: no route, not permitted
    };
    TStatus Status = TStatus::Sent;
    std::string Detail;  ///< empty when sent

    bool Sent() const { return Status == TStatus::Sent; }
    static TSendResult Ok() { return {}; }
    static TSendResult Refused(std::string detail) { return {TStatus::Failed, std::move(detail)}; }
    static TSendResult Unopened(std::string detail) { return {TStatus::CannotOpen, std::move(detail)}; }
};

enum class TMailslotWait {
    DatagramWaiting,  ///< a datagram is queued (or the mailbox was closed meanwhile)
    Stopped,          ///< the stop token was triggered
    CannotWait,       ///< this backend or this mailbox offers no wait: poll instead
    NetworkChanged,   ///< a network appeared that has not heard of this computer yet
};

class TMailslotTransport {
public:
    virtual ~TMailslotTransport() = default;

    /// Opens this computer's mailbox of that name (`\\.\mailslot\BOX`); InvalidMailboxId on failure.
    virtual TMailboxId OpenMailbox(std::string_view box) = 0;
    /// Count and size of the waiting datagrams, at once; nothing for an id that is not an open mailbox.
    virtual std::optional<TMailslotInfo> Pending(TMailboxId mailbox) = 0;
    /// Takes the next datagram out if it fits `buffer`; the number of bytes delivered, or nothing.
    virtual std::optional<std::uint32_t> Take(TMailboxId mailbox, std::span<char> buffer) = 0;
    /// Sends `bytes` as one datagram to `target`, without waiting on the network. Where the system has no
    /// room for it right now, the backend waits a bounded time for some before it gives up.
    virtual TSendResult Send(const TMailslotPath& target, std::string_view bytes) = 0;
    /// Closes an own mailbox: its name is free again.
    virtual void Close(TMailboxId mailbox) = 0;
    /// Blocks until a datagram waits in `mailbox` or `stop` is requested, where the backend can.
    virtual TMailslotWait Wait(TMailboxId /*mailbox*/, std::stop_token /*stop*/) {
        return TMailslotWait::CannotWait;
    }

    /// The most bytes one send to `target` may carry so that every computer it addresses takes it.
    virtual std::size_t MaxWriteSize(const TMailslotPath& target) const = 0;
};
