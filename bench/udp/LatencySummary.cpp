// Nearest-rank percentiles.
#include "bench/udp/LatencySummary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace {

std::string Microseconds(std::int64_t nanoseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(nanoseconds) / 1000.0);
    return text;
}

}  // namespace

std::string SummarizeLatencies(const std::string& tag, std::vector<std::int64_t> samples) {
    std::string line = tag + " n=" + std::to_string(samples.size());
    if (samples.empty()) {
        return line + " p50_us=- p90_us=- p99_us=- max_us=-\n";
    }
    std::sort(samples.begin(), samples.end());
    const auto rank = [&samples](double fraction) {
        const auto index =
            static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(samples.size())));
        return samples[std::clamp<std::size_t>(index, 1, samples.size()) - 1];
    };
    return line + " p50_us=" + Microseconds(rank(0.50)) + " p90_us=" + Microseconds(rank(0.90)) +
           " p99_us=" + Microseconds(rank(0.99)) + " max_us=" + Microseconds(samples.back()) + "\n";
}

bool WriteLatencySamples(const std::string& path, const std::vector<std::int64_t>& samples) {
    std::ofstream file(path);
    for (const std::int64_t sample : samples) {
        file << Microseconds(sample) << '\n';
    }
    return static_cast<bool>(file);
}
