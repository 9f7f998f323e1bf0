// Message texts: composing, splitting and header reading, shared by the messenger and the fuzzer.
#include "messenger/MessageText.h"

#include <cstddef>

namespace MessageText {

void AppendCommand(TStringList& out, std::string_view time, std::string_view origin, std::string_view command) {
    out.emplace_back(CommandMsg);
    out.emplace_back(time);
    out.emplace_back(origin);
    out.emplace_back(command);
    out.emplace_back(EndMessage);
}

void AppendMemo(TStringList& out, std::string_view time, std::string_view origin, const TStringList& lines) {
    out.reserve(out.size() + lines.size() + 5);
    out.emplace_back(MemoMsg);
    out.emplace_back(time);
    out.emplace_back(origin);
    out.emplace_back(BeginMemo);
    out.insert(out.end(), lines.begin(), lines.end());
    out.emplace_back(EndMessage);
}

std::string Join(const TStringList& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void SplitInto(std::string_view bytes, TStringList& out) {
    // A NUL ends the text: whatever follows it is not part of the message.
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
        bytes = bytes.substr(0, nul);
    }
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            out.emplace_back(bytes.substr(pos));
            return;
        }
        out.emplace_back(bytes.substr(pos, end - pos));
        pos = end;
        if (bytes[pos] == '\r') {
            ++pos;
        }
        if (pos < bytes.size() && bytes[pos] == '\n') {
            ++pos;
        }
    }
}

TStringList Split(std::string_view bytes) {
    TStringList lines;
    SplitInto(bytes, lines);
    return lines;
}

std::optional<TMessageHeader> ReadHeader(const TStringList& lines) {
    if (lines.size() < 4) {
        return std::nullopt;
    }
    TMessageHeader header{lines[0], lines[1], lines[2], lines[3], {}};
    // The memo lies between line 4 and the last line; neither delimiter is checked, only skipped.
    if (lines.size() > 5) {
        header.MsgLines.assign(lines.begin() + 4, lines.end() - 1);
    }
    return header;
}

}  // namespace MessageText
