// Lines out of bytes read from a pipe, a file or a Windows console, each no longer than a bound.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TLineSplitter {
public:
    /// Lines longer than `longest` bytes are cut after `longest + 1` bytes, the rest up to the line break
    /// left out: one byte over is enough for the memo to refuse the line, and a line without end costs no
    /// more memory than that.
    explicit TLineSplitter(std::size_t longest) : Longest(longest) {}

    /// The lines that `bytes` completes, without their LF or CR LF.
    std::vector<std::string> Feed(std::string_view bytes);
    /// At the end of the input: the last line if it had no line break.
    std::optional<std::string> Finish();

private:
    std::size_t Longest;
    std::string Pending;  ///< the line begun, up to Longest + 1 bytes
};
