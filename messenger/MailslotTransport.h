// The datagram inbox the messenger works against: the six mailslot operations and a wait.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>

#include "messenger/MailslotPath.h"

/// A handle is one 32-bit value, so a worker may read it while the user-interface thread replaces it.
/// Handles are never reused: a stale one simply fails.
using TMailslotHandle = std::uint32_t;
inline constexpr TMailslotHandle InvalidMailslotHandle = 0xFFFFFFFFu;

struct TMailslotInfo {
    std::int32_t MessageCount = 0;
    std::uint32_t NextSize = 0;
};

/// What Windows mailslots take between computers: a longer write is dropped there without a word.
inline constexpr std::size_t WindowsMaxMessageSize = 424;

/// What became of one write: sent, or why not, in words a user can act on.
struct TSendResult {
    enum class TStatus {
        Sent,
        NoRoom,  ///< the system had no room for it, and still none after a bounded wait
        Failed,  ///< refused: no route, not permitted, not a target this transport can write to
    };
    TStatus Status = TStatus::Sent;
    std::string Detail;  ///< empty when sent

    bool Sent() const { return Status == TStatus::Sent; }
    static TSendResult Ok() { return {}; }
    static TSendResult Refused(std::string detail) { return {TStatus::Failed, std::move(detail)}; }
};

enum class TMailslotWait {
    DatagramWaiting,  ///< a datagram is queued (or the handle was closed meanwhile)
    Stopped,          ///< the stop token was triggered
    CannotWait,       ///< this backend or this handle offers no wait: poll instead
    NetworkChanged,   ///< a network appeared that has not heard of this computer yet
};

/// Paths are the texts the messenger builds: `\\.\mailslot\BOX`, `\\*\mailslot\BOX`, `\\NAME\mailslot\BOX`.
class TMailslotTransport {
public:
    virtual ~TMailslotTransport() = default;

    /// Creates the own mailbox (`\\.\mailslot\BOX`); InvalidMailslotHandle on failure.
    virtual TMailslotHandle CreateMailslot(std::string_view path, std::uint32_t maxMessageSize,
                                           std::uint32_t readTimeout) = 0;
    /// Count and size of the waiting datagrams, at once; nothing for a handle that is not an open mailbox.
    virtual std::optional<TMailslotInfo> GetMailslotInfo(TMailslotHandle mailbox) = 0;
    /// Takes the next datagram out if it fits `buffer`; the number of bytes delivered, or nothing.
    virtual std::optional<std::uint32_t> ReadFile(TMailslotHandle mailbox, std::span<char> buffer) = 0;
    /// Opens a target path for writing, without waiting on the network; InvalidMailslotHandle on failure.
    virtual TMailslotHandle CreateFile(std::string_view path) = 0;
    /// Sends `bytes` as one datagram through a handle from CreateFile. Where the system has no room for it
    /// right now, the backend waits a bounded time for some before it gives up.
    virtual TSendResult WriteFile(TMailslotHandle target, std::string_view bytes) = 0;
    /// Releases an own mailbox (its name is free again) or a write handle.
    virtual void CloseHandle(TMailslotHandle handle) = 0;

    /// The most bytes one write to `path` may carry so that every computer it addresses takes it. Here, as
    /// Windows mailslots do: 424 to other computers, any size to this one (`\\.\`). A path that does not
    /// parse is left for CreateFile to refuse.
    virtual std::size_t MaxWriteSize(std::string_view path) const {
        const auto parsed = TMailslotPath::Parse(path);
        return !parsed || parsed->IsLocal() ? std::numeric_limits<std::size_t>::max() : WindowsMaxMessageSize;
    }

    /// Blocks until a datagram waits in `mailbox` or `stop` is requested, where the backend can.
    virtual TMailslotWait WaitForDatagram(TMailslotHandle /*mailbox*/, std::stop_token /*stop*/) {
        return TMailslotWait::CannotWait;
    }
};
