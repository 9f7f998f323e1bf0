// A burst of memos sent as fast as the sender can, counted where they arrive.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "bench/udp/BenchMemo.h"
#include "bench/udp/BenchPeer.h"
#include "bench/udp/Modes.h"
#include "bench/udp/Monotonic.h"
#include "bench/udp/NetCounters.h"

using namespace std::chrono_literals;

namespace {

double PerSecond(std::int64_t count, std::int64_t nanoseconds) {
    return nanoseconds > 0 ? static_cast<double>(count) * 1e9 / static_cast<double>(nanoseconds) : 0.0;
}

void PrintCounters(const TNetCounters& delta) {
    std::printf(" rcvbuf_errors=%lld sndbuf_errors=%lld udp_in_errors=%lld device_drops=%lld\n",
                static_cast<long long>(delta.UdpReceiveBufferErrors),
                static_cast<long long>(delta.UdpSendBufferErrors), static_cast<long long>(delta.UdpInErrors),
                static_cast<long long>(delta.DeviceDrops));
}

}  // namespace

int RunBurstSend(TBenchPeer& peer, const TBenchOptions& options) {
    if (!peer.WaitForPeer(options.Peer, 10s)) {
        std::fprintf(stderr, "UdpBench: %s did not answer the announcement\n", options.Peer.c_str());
        return peer.StopRequested() ? ExitCode::Interrupted : ExitCode::Failed;
    }
    TMessenger& messenger = peer.Messenger();
    const TNetCounters before = TNetCounters::Read();
    const std::int64_t start = MonotonicNs();
    for (std::int64_t sequence = 0; sequence < options.Count && !peer.StopRequested(); ++sequence) {
        if (options.Rate > 0) {
            const std::int64_t due = start + sequence * 1'000'000'000 / options.Rate;
            const std::int64_t early = due - MonotonicNs();
            if (early > 0) {
                std::this_thread::sleep_for(std::chrono::nanoseconds(early));
            }
        }
        // Every memo carries the burst's start, so the receiver's rate counts from the first send.
        messenger.SendMemoTo(options.Peer, BenchMemoLines("burst", sequence, start));
        // The own ticker and poller hand over to this thread too; they wait here at most 256 memos.
        if ((sequence & 255) == 255) {
            peer.RunPending();
        }
    }
    const std::int64_t elapsed = MonotonicNs() - start;
    const TNetCounters delta = TNetCounters::Read() - before;
    if (!options.Close) {
        // A flood at a copy that is not UdpBench: nobody there answers a closing memo.
        std::printf("burst-send sent=%lld seconds=%.3f rate_per_s=%.0f failed_writes=%lld",
                    static_cast<long long>(options.Count), static_cast<double>(elapsed) / 1e9,
                    PerSecond(options.Count, elapsed),
                    static_cast<long long>(peer.Observed().FailedWrites()));
        PrintCounters(delta);
        return peer.StopRequested() ? ExitCode::Interrupted : ExitCode::Ok;
    }
    // The closing memo queues behind every memo of the burst that was kept, so its answer means the
    // receiver has counted them all. It is sent again until answered, as a full mailbox refuses it.
    bool ended = false;
    messenger.OnNewMemo = [&](TMainMessenger&, const std::string&, const std::string&,
                              const TStringList& lines) {
        const auto memo = ReadBenchMemo(lines);
        ended = ended || (memo && memo->Tag == "ended");
    };
    const std::int64_t closing = MonotonicNs();
    for (int attempt = 0; attempt < 300 && !ended && !peer.StopRequested(); ++attempt) {
        messenger.SendMemoTo(options.Peer, BenchMemoLines("end", options.Count, 0));
        peer.PumpUntil([&] { return ended; }, 200ms);
    }
    std::printf(
        "burst-send sent=%lld seconds=%.3f rate_per_s=%.0f failed_writes=%lld answered=%s "
        "answer_after_s=%.3f",
        static_cast<long long>(options.Count), static_cast<double>(elapsed) / 1e9,
        PerSecond(options.Count, elapsed), static_cast<long long>(peer.Observed().FailedWrites()),
        ended ? "yes" : "no", static_cast<double>(MonotonicNs() - closing) / 1e9);
    PrintCounters(delta);
    if (peer.StopRequested()) {
        return ExitCode::Interrupted;
    }
    return ended ? ExitCode::Ok : ExitCode::Failed;
}

int RunBurstReceive(TBenchPeer& peer, const TBenchOptions& options) {
    TMessenger& messenger = peer.Messenger();
    std::vector<bool> seen(static_cast<std::size_t>(options.Count));
    std::int64_t received = 0;
    std::int64_t duplicates = 0;
    std::int64_t burstStart = 0;
    std::int64_t firstArrival = 0;
    std::int64_t lastArrival = 0;
    std::int64_t longestSilence = 0;  ///< between two arrivals: a receiver that stalls shows here
    bool ended = false;
    messenger.OnNewMemo = [&](TMainMessenger&, const std::string& origin, const std::string&,
                              const TStringList& lines) {
        const auto memo = ReadBenchMemo(lines);
        if (memo && memo->Tag == "end") {
            ended = true;
            messenger.SendMemoTo(origin, BenchMemoLines("ended", received, 0));
            return;
        }
        if (!memo || memo->Tag != "burst" || memo->Sequence < 0 || memo->Sequence >= options.Count) {
            return;
        }
        const std::int64_t now = MonotonicNs();
        if (firstArrival == 0) {
            firstArrival = now;
            burstStart = memo->Value;
        } else {
            longestSilence = std::max(longestSilence, now - lastArrival);
        }
        lastArrival = now;
        const auto index = static_cast<std::size_t>(memo->Sequence);
        if (seen[index]) {
            ++duplicates;
            return;
        }
        seen[index] = true;
        ++received;
    };
    const TNetCounters before = TNetCounters::Read();
    std::printf("ready\n");
    std::fflush(stdout);
    // The sender's closing memo ends the count; a long silence ends it too, should the sender be gone.
    const std::int64_t quietNs = options.QuietMs * 1'000'000;
    const auto finished = [&] {
        return ended || (lastArrival != 0 && MonotonicNs() - lastArrival > quietNs);
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.TimeoutMs);
    // Short waits, so that the silence is noticed.
    while (!peer.PumpUntil(finished, 100ms)) {
        if (peer.StopRequested() || std::chrono::steady_clock::now() > deadline) {
            break;
        }
    }
    const TNetCounters delta = TNetCounters::Read() - before;
    std::printf(
        "burst-recv expected=%lld received=%lld lost=%lld duplicates=%lld seconds=%.3f rate_per_s=%.0f"
        " first_to_last_rate_per_s=%.0f longest_silence_ms=%.1f deepest_queue=%d ended=%s",
        static_cast<long long>(options.Count), static_cast<long long>(received),
        static_cast<long long>(options.Count - received), static_cast<long long>(duplicates),
        static_cast<double>(lastArrival - burstStart) / 1e9, PerSecond(received, lastArrival - burstStart),
        PerSecond(received - 1, lastArrival - firstArrival), static_cast<double>(longestSilence) / 1e6,
        peer.Observed().DeepestQueue(), ended ? "yes" : "no");
    PrintCounters(delta);
    if (peer.StopRequested()) {
        return ExitCode::Interrupted;
    }
    return ended ? ExitCode::Ok : ExitCode::Failed;
}
