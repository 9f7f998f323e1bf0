// Datagrams per second from the mailbox, through the poller and the hand-over, into OnNewMemo.
#include <benchmark/benchmark.h>

#include <chrono>

#include "messenger/MessageText.h"
#include "tests/support/TestPeer.h"

namespace {

using namespace std::chrono_literals;

// A receiving messenger on the simulated LAN and a raw sender; the benchmark thread is the
// user-interface thread that serves the hand-overs.
struct TDispatchRig {
    explicit TDispatchRig(bool canWait) {
        Lan.SetRecording(false);
        Receiver.Transport.SetCanWait(canWait);
        Receiver.Messenger.SetInterval(60000);
        Receiver.Messenger.OnNewMemo = [this](TMainMessenger&, const std::string&, const std::string&,
                                              const TStringList&) { ++Memos; };
        Receiver.Messenger.Activate();
        Queue.RunPending();
        Target = Sender.CreateFile("\\\\WS01\\mailslot\\SignalBox");
        TStringList out;
        MessageText::AppendMemo(out, "14:06:30", "WS02", {"Lunch at one?", "", "See you."});
        Text = MessageText::Join(out);
    }

    void SendAndDispatch(std::int64_t count) {
        const std::int64_t goal = Memos + count;
        for (std::int64_t i = 0; i < count; ++i) {
            Sender.WriteFile(Target, Text);
        }
        while (Memos < goal) {
            Queue.RunOne(1s);
        }
    }

    TMemoryLan Lan;
    TCallQueue Queue;
    TTestPeer Receiver{Lan, Queue, "WS01"};
    TMemoryComputer& Sender = Lan.AddComputer("WS02");
    TMailslotHandle Target = InvalidMailslotHandle;
    std::string Text;
    std::int64_t Memos = 0;
};

void BM_DispatchBurst(benchmark::State& state) {
    TDispatchRig rig(state.range(0) != 0);
    constexpr std::int64_t Burst = 1000;
    for (auto _ : state) {
        rig.SendAndDispatch(Burst);
    }
    state.SetItemsProcessed(state.iterations() * Burst);
    state.SetLabel(state.range(0) ? "waiting poller" : "1 ms polling poller");
}
BENCHMARK(BM_DispatchBurst)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// One datagram at a time: the full wake-up path of an idle messenger.
void BM_DispatchOneAtATime(benchmark::State& state) {
    TDispatchRig rig(state.range(0) != 0);
    for (auto _ : state) {
        rig.SendAndDispatch(1);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(state.range(0) ? "waiting poller" : "1 ms polling poller");
}
BENCHMARK(BM_DispatchOneAtATime)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
