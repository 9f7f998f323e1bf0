// CLOCK_MONOTONIC in nanoseconds: one clock for every network namespace of this machine.
#pragma once

#include <time.h>

#include <cstdint>

inline std::int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}
