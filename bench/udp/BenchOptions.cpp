// Reading UdpBench's arguments.
#include "bench/udp/BenchOptions.h"

#include <charconv>
#include <set>
#include <string_view>

const char* const BenchUsage =
    "Usage: UdpBench <mode> [options]\n"
    "Modes (run each in its own network namespace; the ports are the datagram service's):\n"
    "  echo        answer every timing memo at once; ends on the closing memo\n"
    "  ping        send timing memos to --peer one at a time, print one-way and round-trip latency\n"
    "  burst-recv  count a burst of --count memos until the sender's closing memo; print rate and losses\n"
    "  burst-send  send --count memos to --peer as fast as possible (or --rate per second), then close\n"
    "  listen      stay active and idle until SIGINT/SIGTERM (for counting wake-ups)\n"
    "  raw-echo    the floor: plain UDP on --port, no messenger; answers every datagram at once\n"
    "  raw-ping    the floor: ping over plain UDP to the raw-echo at --peer ADDRESS\n"
    "  forge       a hostile peer: --count announcements of invented computers at --rate per second to\n"
    "              --peer ADDRESS, each under its own source name; no messenger\n"
    "Options: --peer NAME  --count N  --warmup N  --rate N  --box NAME (MB303)  --port N (138)\n"
    "         --quiet-ms N (30000)  --timeout-ms N (120000)  --samples FILE (ping, raw-ping)\n"
    "         --close yes|no (burst-send: end with the closing memo; no for a flood at a desktop copy)\n";

namespace {

bool ReadNumber(std::string_view text, std::int64_t lowest, std::int64_t highest, std::int64_t& value) {
    std::int64_t parsed = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (failure != std::errc() || end != text.data() + text.size() || parsed < lowest || parsed > highest) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace

std::optional<TBenchOptions> ParseBenchOptions(int argc, char** argv, std::string& error) {
    static const std::set<std::string> modes = {"ping",   "echo",     "burst-send", "burst-recv",
                                                "listen", "raw-ping", "raw-echo", "forge"};
    TBenchOptions options;
    if (argc < 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
        return std::nullopt;
    }
    options.Mode = argv[1];
    if (!modes.contains(options.Mode)) {
        error = "unknown mode '" + options.Mode + "'";
        return std::nullopt;
    }
    for (int i = 2; i < argc; i += 2) {
        const std::string_view name = argv[i];
        if (i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return std::nullopt;
        }
        const std::string_view value = argv[i + 1];
        std::int64_t port = 0;
        bool ok = true;
        if (name == "--peer") {
            options.Peer = value;
        } else if (name == "--samples") {
            options.SamplesPath = value;
        } else if (name == "--close") {
            ok = value == "yes" || value == "no";
            options.Close = value == "yes";
        } else if (name == "--box") {
            options.BoxName = value;
        } else if (name == "--count") {
            ok = ReadNumber(value, 1, 100'000'000, options.Count);
        } else if (name == "--warmup") {
            ok = ReadNumber(value, 0, 1'000'000, options.Warmup);
        } else if (name == "--rate") {
            ok = ReadNumber(value, 0, 100'000'000, options.Rate);
        } else if (name == "--quiet-ms") {
            ok = ReadNumber(value, 1, 3'600'000, options.QuietMs);
        } else if (name == "--timeout-ms") {
            ok = ReadNumber(value, 1, 86'400'000, options.TimeoutMs);
        } else if (name == "--port") {
            ok = ReadNumber(value, 1, 65535, port);
            options.Port = static_cast<std::uint16_t>(port);
        } else {
            error = "unknown option '" + std::string(name) + "'";
            return std::nullopt;
        }
        if (!ok || (name == "--peer" && value.empty()) || (name == "--box" && value.empty())) {
            error = "bad value for " + std::string(name) + ": '" + std::string(value) + "'";
            return std::nullopt;
        }
    }
    if ((options.Mode == "ping" || options.Mode == "burst-send" || options.Mode == "raw-ping" ||
         options.Mode == "forge") &&
        options.Peer.empty()) {
        error = options.Mode + " needs --peer";
        return std::nullopt;
    }
    return options;
}
