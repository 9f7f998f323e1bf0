// Message texts: composing them, splitting a received datagram into lines, reading the header.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "messenger/StringList.h"

namespace MessageText {

inline constexpr std::string_view CommandMsg = "COMMAND_MSG";
inline constexpr std::string_view MemoMsg = "MEMO_MSG";
inline constexpr std::string_view LineMsg = "LINE_MSG";
inline constexpr std::string_view BeginMemo = "BEGIN_MEMO";
inline constexpr std::string_view EndMessage = "END_MESSAGE";
inline constexpr std::string_view OnlineNotify = "ONLINE_NOTIFY";
inline constexpr std::string_view OnlineResponse = "ONLINE_RESPONSE";
inline constexpr std::string_view OfflineNotify = "OFFLINE_NOTIFY";

/// The first four lines of a received message and the memo lines between line 4 and the last line.
struct TMessageHeader {
    std::string Kind;
    std::string Time;
    std::string Origin;
    std::string Text;
    TStringList MsgLines;
};

/// Appends the five lines of a presence command to `out`.
void AppendCommand(TStringList& out, std::string_view time, std::string_view origin, std::string_view command);

/// Appends a memo (header, every line unchanged, trailer) to `out`.
void AppendMemo(TStringList& out, std::string_view time, std::string_view origin, const TStringList& lines);

/// Every line followed by CR LF; no terminating NUL.
std::string Join(const TStringList& lines);

/// Splits received bytes: CR, LF, CR LF each end a line, LF CR ends two, NUL ends the text,
/// a final line break adds no empty line.
TStringList Split(std::string_view bytes);

/// Same as Split, appending to `out` so a caller can reuse its list.
void SplitInto(std::string_view bytes, TStringList& out);

/// Lines 1-4 and the memo lines, or nothing when fewer than four lines arrived.
std::optional<TMessageHeader> ReadHeader(const TStringList& lines);

}  // namespace MessageText
