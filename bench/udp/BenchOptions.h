// The command line of UdpBench: which role this copy plays and its numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct TBenchOptions {
    std::string Mode;            ///< ping, echo, burst-send, burst-recv, listen, raw-ping or raw-echo
    std::string Peer;            ///< the other computer's name (ping, burst-send); its address (raw-ping)
    std::string SamplesPath;     ///< ping, raw-ping: where to write every one-way latency, one a line, in µs
    bool Close = true;           ///< burst-send: end with the closing memo and wait for its answer
    std::int64_t Count = 10000;  ///< memos timed (ping), sent (burst-send) or expected (burst-recv)
    std::int64_t Warmup = 200;   ///< ping: memos sent first and not timed
    std::int64_t Rate = 0;       ///< burst-send: memos per second; 0 sends as fast as it can
    std::string BoxName = "MB303";
    std::uint16_t Port = 138;
    std::int64_t QuietMs = 30000;     ///< burst-recv: silence that ends the count without a closing memo
    std::int64_t TimeoutMs = 120000;  ///< every mode but listen gives up after this long
};

/// The options, or nothing with `error` set (empty `error` and nothing: help was asked for).
std::optional<TBenchOptions> ParseBenchOptions(int argc, char** argv, std::string& error);

extern const char* const BenchUsage;
