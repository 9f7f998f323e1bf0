// Counting the draft as the message text counts it.
#include "cli/MemoDraft.h"

#include <algorithm>

bool TMemoDraft::Add(std::string line) {
    // Each line goes out followed by CR LF; the header around the lines is left to the send, which
    // measures the very text it would write.
    const std::size_t bytes = line.size() + 2;
    if (Refused || bytes > Longest - std::min(Bytes, Longest)) {
        Refused = true;
        return false;
    }
    Bytes += bytes;
    Kept.push_back(std::move(line));
    return true;
}

void TMemoDraft::Clear() {
    Kept.clear();
    Bytes = 0;
    Refused = false;
}
