// One memo or line message as the history keeps it: what was shown and the bytes it came from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// The computer a memo sent to every computer is kept under.
inline constexpr std::string_view HistoryToAll = "*";

enum class THistoryDirection : std::uint8_t { Received = 0, Sent = 1 };
enum class THistoryKind : std::uint8_t { Memo = 0, Line = 1 };

struct THistoryEntry {
    /// Given by the store; ignored by Add.
    std::int64_t Id = 0;
    /// When this computer received or sent it: UTC, milliseconds since 1970.
    std::int64_t ReceivedMs = 0;
    /// The time text the sender wrote into the message, as shown.
    std::string SenderTime;
    THistoryDirection Direction = THistoryDirection::Received;
    THistoryKind Kind = THistoryKind::Memo;
    /// The computer (origin or target) as it came on the wire, and as shown.
    std::string ComputerBytes;
    std::string Computer;
    /// The text as shown (UTF-8), and the bytes as they arrived, so that a corrected encoding can show it again.
    std::string Text;
    std::string Bytes;

    bool operator==(const THistoryEntry&) const = default;
};

/// Which entries a read returns; every part that is set must hold.
struct THistoryFilter {
    /// The computer as shown.
    std::optional<std::string> Computer;
    /// Received or sent at or after this time: UTC, milliseconds since 1970.
    std::optional<std::int64_t> SinceMs;
};
