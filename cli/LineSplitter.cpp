// Splitting at LF, bounded.
#include "cli/LineSplitter.h"

#include <algorithm>

std::vector<std::string> TLineSplitter::Feed(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        Pending.append(piece.substr(0, Longest + 1 - std::min(Pending.size(), Longest + 1)));
        if (end == std::string_view::npos) {
            break;
        }
        if (!Pending.empty() && Pending.back() == '\r') {
            Pending.pop_back();
        }
        lines.push_back(std::move(Pending));
        Pending.clear();
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

std::optional<std::string> TLineSplitter::Finish() {
    if (Pending.empty()) {
        return std::nullopt;
    }
    std::string last = std::move(Pending);
    Pending.clear();
    return last;
}
