// One memo at a time: the sender waits for each answer before the next, the answerer measures one way.
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/udp/BenchMemo.h"
#include "bench/udp/BenchPeer.h"
#include "bench/udp/LatencySummary.h"
#include "bench/udp/Modes.h"
#include "bench/udp/Monotonic.h"

using namespace std::chrono_literals;

int RunPing(TBenchPeer& peer, const TBenchOptions& options) {
    if (!peer.WaitForPeer(options.Peer, 10s)) {
        std::fprintf(stderr, "UdpBench: %s did not answer the announcement\n", options.Peer.c_str());
        return peer.StopRequested() ? ExitCode::Interrupted : ExitCode::Failed;
    }
    TMessenger& messenger = peer.Messenger();
    std::int64_t awaited = -1;
    std::int64_t sentAt = 0;
    bool answered = false;
    std::int64_t oneWay = 0;
    std::int64_t roundTrip = 0;
    messenger.OnNewMemo = [&](TMainMessenger&, const std::string&, const std::string&,
                              const TStringList& lines) {
        const auto memo = ReadBenchMemo(lines);
        // A late answer to a memo given up on must not count for the one after it.
        if (memo && memo->Tag == "ack" && memo->Sequence == awaited) {
            roundTrip = MonotonicNs() - sentAt;
            oneWay = memo->Value;
            answered = true;
        }
    };
    std::vector<std::int64_t> oneWays;
    std::vector<std::int64_t> roundTrips;
    oneWays.reserve(static_cast<std::size_t>(options.Count));
    roundTrips.reserve(static_cast<std::size_t>(options.Count));
    std::int64_t lost = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.TimeoutMs);
    for (std::int64_t sequence = 0; sequence < options.Warmup + options.Count; ++sequence) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "UdpBench: gave up after %lld memos\n", static_cast<long long>(sequence));
            return ExitCode::Failed;
        }
        awaited = sequence;
        answered = false;
        sentAt = MonotonicNs();
        messenger.SendMemoTo(options.Peer, BenchMemoLines("ping", sequence, sentAt));
        if (!peer.PumpUntil([&] { return answered; }, 1s)) {
            if (peer.StopRequested()) {
                return ExitCode::Interrupted;
            }
            ++lost;
            continue;
        }
        if (sequence >= options.Warmup) {
            oneWays.push_back(oneWay);
            roundTrips.push_back(roundTrip);
        }
    }
    messenger.SendMemoTo(options.Peer, BenchMemoLines("done", 0, 0));
    if (!options.SamplesPath.empty() && !WriteLatencySamples(options.SamplesPath, oneWays)) {
        std::fprintf(stderr, "UdpBench: cannot write %s\n", options.SamplesPath.c_str());
    }
    std::printf("%s", SummarizeLatencies("oneway", oneWays).c_str());
    std::printf("%s", SummarizeLatencies("roundtrip", roundTrips).c_str());
    std::printf("ping sent=%lld warmup=%lld lost=%lld failed_writes=%lld\n",
                static_cast<long long>(options.Warmup + options.Count),
                static_cast<long long>(options.Warmup), static_cast<long long>(lost),
                static_cast<long long>(peer.Observed().FailedWrites()));
    return ExitCode::Ok;
}

int RunEcho(TBenchPeer& peer, const TBenchOptions& options) {
    TMessenger& messenger = peer.Messenger();
    bool done = false;
    std::int64_t answered = 0;
    messenger.OnNewMemo = [&](TMainMessenger&, const std::string& origin, const std::string&,
                              const TStringList& lines) {
        const auto memo = ReadBenchMemo(lines);
        if (!memo) {
            return;
        }
        if (memo->Tag == "ping") {
            const std::int64_t arrived = MonotonicNs();
            messenger.SendMemoTo(origin, BenchMemoLines("ack", memo->Sequence, arrived - memo->Value));
            ++answered;
        } else if (memo->Tag == "done") {
            done = true;
        }
    };
    std::printf("ready\n");
    std::fflush(stdout);
    const bool finished = peer.PumpUntil([&] { return done; }, std::chrono::milliseconds(options.TimeoutMs));
    std::printf("echo answered=%lld failed_writes=%lld\n", static_cast<long long>(answered),
                static_cast<long long>(peer.Observed().FailedWrites()));
    if (finished) {
        return ExitCode::Ok;
    }
    return peer.StopRequested() ? ExitCode::Interrupted : ExitCode::Failed;
}
