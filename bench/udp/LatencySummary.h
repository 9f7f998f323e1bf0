// Percentiles of a set of latencies, printed as one "key=value" line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// "<tag> n=.. p50_us=.. p90_us=.. p99_us=.. max_us=.."; nearest-rank percentiles of nanosecond samples.
std::string SummarizeLatencies(const std::string& tag, std::vector<std::int64_t> samples);
