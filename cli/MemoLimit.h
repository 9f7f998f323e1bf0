// How many typed bytes can still become a memo, and reading standard input no further than that.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

/// The most typed bytes that can still become a memo of `memoBytes`. A character takes up to four bytes in
/// UTF-8 and at least one in the office's code page, and a line break only grows (LF becomes CR LF), so
/// typed text longer than this can never be sent, whatever it holds.
constexpr std::size_t LongestTypedBytes(std::size_t memoBytes) {
    return 4 * memoBytes;
}

struct TBoundedRead {
    std::string Bytes;
    bool Whole = true;  ///< false: more followed than was asked for, and was left unread
};

/// Reads `in` to its end, but at most `most` bytes: one byte more tells that it goes on, and nothing after
/// it is read, so that an endless or huge input costs no more memory than the longest memo.
TBoundedRead ReadAtMost(std::istream& in, std::size_t most);
