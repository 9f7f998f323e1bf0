// Context switches per second of an active messenger that receives nothing, over 5 s.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>

#include "tests/support/TestPeer.h"

namespace {

using namespace std::chrono_literals;

long ContextSwitches() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

void BM_IdleWakeups(benchmark::State& state) {
    TMemoryLan lan;
    TCallQueue queue;
    TTestPeer peer(lan, queue, "WS01");
    peer.Transport.SetCanWait(state.range(0) != 0);
    peer.Messenger.Activate();  // Interval stays at its 1000 ms default
    queue.RunPending();
    double perSecond = 0;
    for (auto _ : state) {
        const long before = ContextSwitches();
        const auto start = std::chrono::steady_clock::now();
        const auto end = start + 5s;
        while (std::chrono::steady_clock::now() < end) {
            queue.RunOne(std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()));
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        perSecond = static_cast<double>(ContextSwitches() - before) / seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["wakeups_per_s"] = perSecond;
    state.SetLabel(state.range(0) ? "waiting poller" : "1 ms polling poller");
}
BENCHMARK(BM_IdleWakeups)->Arg(1)->Arg(0)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
