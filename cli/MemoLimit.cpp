// Reading standard input no further than the longest memo (the network's limit:
// TCliSession::LongestMemoBytes).
#include "cli/MemoLimit.h"

#include <algorithm>
#include <array>

TBoundedRead ReadAtMost(std::istream& in, std::size_t most) {
    TBoundedRead read;
    std::array<char, 16384> chunk{};
    while (read.Bytes.size() <= most && in) {
        const std::size_t wanted = std::min(chunk.size(), most + 1 - read.Bytes.size());
        in.read(chunk.data(), static_cast<std::streamsize>(wanted));
        read.Bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (read.Bytes.size() > most) {
        read.Bytes.resize(most);
        read.Whole = false;
    }
    return read;
}
