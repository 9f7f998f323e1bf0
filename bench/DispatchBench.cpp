// Datagrams per second from the mailbox, through the poller and the hand-over, into OnNewMemo, beside the
// floor the hardware sets: two threads handing a token back and forth, measured in the same run.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <semaphore>
#include <thread>

#include "messenger/MessageText.h"
#include "qtcore/QtUiQueue.h"
#include "tests/support/TestPeer.h"

namespace {

using namespace std::chrono_literals;

constexpr std::int64_t Burst = 1000;

// A receiving messenger on the simulated LAN and a raw sender; the benchmark thread is the
// user-interface thread that serves the hand-overs, through `Queue`.
struct TDispatchRig {
    TDispatchRig(TUiThreadQueue& queue, bool canWait) : Receiver(Lan, queue, "WS01") {
        Lan.SetRecording(false);
        Receiver.Transport.SetCanWait(canWait);
        Receiver.Messenger.OnNewMemo = [this](TMainMessenger&, const std::string&, const std::string&,
                                              const TStringList&) { ++Memos; };
        Receiver.Messenger.Activate();
        TStringList out;
        MessageText::AppendMemo(out, "14:06:30", "WS02", {"Lunch at one?", "", "See you."});
        Text = MessageText::Join(out);
    }

    /// Sends `count` memos and serves hand-overs with `serveOne` until all arrived. With `clock`, the sends
    /// are not timed: a burst measures the dispatch of datagrams already waiting in the mailbox alone.
    template <typename TServe>
    void SendAndDispatch(std::int64_t count, TServe serveOne, benchmark::State* clock = nullptr) {
        const std::int64_t goal = Memos + count;
        if (clock) {
            clock->PauseTiming();
        }
        for (std::int64_t i = 0; i < count; ++i) {
            Sender.Send(Target, Text);
        }
        if (clock) {
            clock->ResumeTiming();
        }
        while (Memos < goal) {
            serveOne();
        }
    }

    TMemoryLan Lan;
    TTestPeer Receiver;
    TMemoryComputer& Sender = Lan.AddComputer("WS02");
    const TMailslotPath Target{"WS01", "SignalBox"};
    std::string Text;
    std::int64_t Memos = 0;
};

const char* PollerLabel(std::int64_t canWait) {
    return canWait ? "waiting poller" : "1 ms polling poller";
}

void BM_DispatchBurst(benchmark::State& state) {
    TCallQueue queue;
    TDispatchRig rig(queue, state.range(0) != 0);
    queue.RunPending();
    for (auto _ : state) {
        rig.SendAndDispatch(
            Burst, [&queue] { queue.RunOne(1s); }, &state);
    }
    state.SetItemsProcessed(state.iterations() * Burst);
    state.SetLabel(PollerLabel(state.range(0)));
}
BENCHMARK(BM_DispatchBurst)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same burst through Qt's event loop, as both programs run it.
void BM_DispatchBurstQt(benchmark::State& state) {
    int argc = 1;
    char name[] = "MessengerBench";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    QObject context;
    TQtUiQueue queue(&context);
    TDispatchRig rig(queue, true);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        rig.SendAndDispatch(
            Burst, [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }, &state);
    }
    state.SetItemsProcessed(state.iterations() * Burst);
    state.SetLabel("waiting poller, Qt event loop");
}
BENCHMARK(BM_DispatchBurstQt)->Unit(benchmark::kMillisecond)->UseRealTime();

// One datagram at a time: the full wake-up path of an idle messenger.
void BM_DispatchOneAtATime(benchmark::State& state) {
    TCallQueue queue;
    TDispatchRig rig(queue, state.range(0) != 0);
    queue.RunPending();
    for (auto _ : state) {
        rig.SendAndDispatch(1, [&queue] { queue.RunOne(1s); });
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(PollerLabel(state.range(0)));
}
BENCHMARK(BM_DispatchOneAtATime)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The floor: a token passed to a second thread and back, each side blocking until it has it, which is
// the least any hand-over from a worker to another thread and back can cost.
void BM_TokenPassingFloor(benchmark::State& state) {
    std::mutex mutex;
    std::condition_variable turned;
    bool away = false;
    std::jthread partner([&](std::stop_token stop) {
        std::unique_lock lock(mutex);
        while (true) {
            turned.wait(lock, [&] { return away || stop.stop_requested(); });
            if (stop.stop_requested()) {
                return;
            }
            away = false;
            turned.notify_all();
        }
    });
    for (auto _ : state) {
        for (std::int64_t i = 0; i < Burst; ++i) {
            std::unique_lock lock(mutex);
            away = true;
            turned.notify_all();
            turned.wait(lock, [&] { return !away; });
        }
    }
    {
        std::lock_guard lock(mutex);
        partner.request_stop();
    }
    turned.notify_all();
    state.SetItemsProcessed(state.iterations() * Burst);
    state.SetLabel("two threads, mutex and condition variable");
}
BENCHMARK(BM_TokenPassingFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with semaphores, which wait awake a moment before they block, as the hand-over does in a burst.
void BM_TokenPassingFloorSpinning(benchmark::State& state) {
    std::binary_semaphore there(0);
    std::binary_semaphore back(0);
    std::atomic<bool> done{false};
    std::jthread partner([&] {
        while (true) {
            there.acquire();
            if (done) {
                return;
            }
            back.release();
        }
    });
    for (auto _ : state) {
        for (std::int64_t i = 0; i < Burst; ++i) {
            there.release();
            back.acquire();
        }
    }
    done = true;
    there.release();
    state.SetItemsProcessed(state.iterations() * Burst);
    state.SetLabel("two threads, semaphores");
}
BENCHMARK(BM_TokenPassingFloorSpinning)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
