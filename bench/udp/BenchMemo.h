// The one-line memos the benchmark copies exchange: "<tag> <sequence> <value>".
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "messenger/StringList.h"

struct TBenchMemo {
    std::string Tag;
    std::int64_t Sequence = 0;
    std::int64_t Value = 0;
};

inline TStringList BenchMemoLines(const std::string& tag, std::int64_t sequence, std::int64_t value) {
    return {tag + " " + std::to_string(sequence) + " " + std::to_string(value)};
}

/// Nothing for any memo that is not exactly one line of that form.
inline std::optional<TBenchMemo> ReadBenchMemo(const TStringList& lines) {
    if (lines.size() != 1) {
        return std::nullopt;
    }
    const std::string& line = lines.front();
    const auto first = line.find(' ');
    const auto second = first == std::string::npos ? first : line.find(' ', first + 1);
    if (second == std::string::npos) {
        return std::nullopt;
    }
    TBenchMemo memo;
    memo.Tag = line.substr(0, first);
    const char* end = line.data() + line.size();
    const auto sequence = std::from_chars(line.data() + first + 1, line.data() + second, memo.Sequence);
    const auto value = std::from_chars(line.data() + second + 1, end, memo.Value);
    if (sequence.ec != std::errc() || sequence.ptr != line.data() + second || value.ec != std::errc() ||
        value.ptr != end) {
        return std::nullopt;
    }
    return memo;
}
