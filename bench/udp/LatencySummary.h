// Percentiles of a set of latencies, printed as one "key=value" line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// "<tag> n=.. p50_us=.. p90_us=.. p99_us=.. max_us=.."; nearest-rank percentiles of nanosecond samples.
std::string SummarizeLatencies(const std::string& tag, std::vector<std::int64_t> samples);

/// Every sample in µs, one a line, for the histogram of the published figures; false when unwritable.
bool WriteLatencySamples(const std::string& path, const std::vector<std::int64_t>& samples);
