// Activation, errors, restarts, the workers and destruction of the messaging component.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "SignalThread.h"
#include "TestPeer.h"
#include "TimerThread.h"

namespace {

using namespace std::chrono_literals;
using Events = std::vector<std::string>;

class MessengerLifecycle : public ::testing::Test {
protected:
    void Send(const std::string& path, const std::string& bytes) {
        const auto handle = Other.Transport.CreateFile(path);
        Other.Transport.WriteFile(handle, bytes);
        Other.Transport.CloseHandle(handle);
    }

    TMemoryLan Lan;
    TCallQueue Queue;
    TTestPeer Peer{Lan, Queue, "WS01"};
    TTestPeer Other{Lan, Queue, "WS02"};
};

TEST_F(MessengerLifecycle, ReportsEveryErrorInItsSituation) {
    auto& m = Peer.Messenger;
    EXPECT_EQ(m.BoxName(), "SignalBox");
    EXPECT_EQ(m.Interval(), 1000);
    EXPECT_EQ(m.Computer(), "WS01");
    EXPECT_EQ(m.User(), "tester");

    m.Deactivate();
    EXPECT_EQ(Peer.TakeEvents(), Events{"error Cannot Deactivate an Inactive TMessenger Component"});

    m.FailSignalThread = true;
    m.Activate();
    EXPECT_EQ(Peer.TakeEvents(), Events{"error Could not Start TMessenger Timer Thread"});
    EXPECT_FALSE(m.Active);
    EXPECT_EQ(Peer.Transport.OpenHandleCount(), 0u);
    m.FailSignalThread = false;

    m.FailTimerThread = true;
    m.Activate();
    EXPECT_EQ(Peer.TakeEvents(), Events{"error Could not Start TMessenger Timer Thread"});
    EXPECT_FALSE(m.SignalThread);
    m.FailTimerThread = false;

    // Another copy holds the mailbox: the activation is undone.
    const auto taken = Peer.Transport.CreateMailslot("\\\\.\\mailslot\\SignalBox", 0, 0);
    m.Activate();
    EXPECT_EQ(Peer.TakeEvents(), Events{"error Could not Create Mail Slot"});
    EXPECT_FALSE(m.Active);
    EXPECT_FALSE(m.SignalThread);
    EXPECT_FALSE(m.TimerThread);
    EXPECT_TRUE(Lan.Traffic().empty());  // no announcement
    Peer.Transport.CloseHandle(taken);

    m.Activate();
    EXPECT_TRUE(m.Active);
    EXPECT_EQ(m.SlotPath, "\\\\.\\mailslot\\SignalBox");
    EXPECT_EQ(m.LocalServer, ".");
    m.Activate();
    EXPECT_EQ(Peer.TakeEvents(), Events{"error You tried to Activate an active TMessenger component"});
    EXPECT_TRUE(m.Active);

    // A failed open discards the message; the next one starts with its own first line.
    Peer.Transport.SetOpenFails(true);
    m.SendMemoTo("WS02", {"first"});
    EXPECT_EQ(Peer.TakeEvents(), Events{"error Could not Open a Remote Mail Slot"});
    EXPECT_TRUE(m.OutLines.empty());
    Peer.Transport.SetOpenFails(false);
    Lan.ClearTraffic();
    m.SendMemoTo("WS02", {"second"});
    ASSERT_EQ(Lan.Traffic().size(), 1u);
    EXPECT_EQ(Lan.Traffic()[0].Bytes, "MEMO_MSG\r\n14:05:09\r\nWS01\r\nBEGIN_MEMO\r\nsecond\r\nEND_MESSAGE\r\n");
    EXPECT_EQ(m.RemotePath, "\\\\WS02\\mailslot\\SignalBox");
    // The write handle was released right after its one write: only the own mailbox stays open.
    EXPECT_EQ(m.RemoteHandle, InvalidMailslotHandle);
    EXPECT_EQ(Peer.Transport.OpenHandleCount(), 1u);

    // Without an error handler every error is silent.
    m.OnError = nullptr;
    m.Activate();
    EXPECT_TRUE(Peer.TakeEvents().empty());
}

TEST_F(MessengerLifecycle, SendsWhileInactiveAndRestartsUnderANewBoxName) {
    auto& m = Peer.Messenger;
    m.SendMemoToAll({"inactive"});
    EXPECT_EQ(Lan.Traffic().size(), 1u);

    m.SetBoxName("MB303");
    m.Activate();
    Lan.ClearTraffic();
    m.SetBoxName("MB303");  // unchanged: nothing happens
    EXPECT_TRUE(Lan.Traffic().empty());

    m.SetBoxName("Other");
    ASSERT_TRUE(m.Active);
    const auto traffic = Lan.Traffic();
    ASSERT_EQ(traffic.size(), 2u);
    EXPECT_EQ(traffic[0].Path, "\\\\*\\mailslot\\Other");
    EXPECT_NE(traffic[0].Bytes.find("OFFLINE_NOTIFY"), std::string::npos);
    EXPECT_EQ(traffic[1].Path, "\\\\*\\mailslot\\Other");
    EXPECT_NE(traffic[1].Bytes.find("ONLINE_NOTIFY"), std::string::npos);
    EXPECT_EQ(Peer.Transport.WaitingIn("MB303"), 0u);
    EXPECT_EQ(m.SlotPath, "\\\\.\\mailslot\\Other");

    // The old name is free again: another messenger on this computer may take it.
    TExposedMessenger second({Peer.Transport, Queue, Peer.System});
    second.SetBoxName("MB303");
    second.Activate();
    EXPECT_TRUE(second.Active);
}

TEST_F(MessengerLifecycle, ActivatesAndDeactivatesManyTimesWithoutLeakingThreadsOrHandles) {
    auto& m = Peer.Messenger;
    for (int round = 0; round < 50; ++round) {
        m.Activate();
        ASSERT_TRUE(m.Active);
        m.Deactivate();
        ASSERT_FALSE(m.Active);
    }
    EXPECT_TRUE(Peer.TakeEvents().empty());
    EXPECT_EQ(Peer.Transport.OpenHandleCount(), 0u);
    m.Activate();
    Other.Messenger.Activate();
    ASSERT_TRUE(PumpUntil(Queue, [&] { return m.UserList == TStringList{"WS02"}; }));
}

TEST_F(MessengerLifecycle, DispatchesABurstOneDatagramPerHandOverInOrder) {
    auto& m = Peer.Messenger;
    m.SetInterval(60000);
    m.Activate();
    Queue.RunPending();
    Peer.TakeEvents();
    for (int i = 1; i <= 5; ++i) {
        Send("\\\\WS01\\mailslot\\SignalBox", "MEMO_MSG\r\nt\r\nWS02\r\nBEGIN_MEMO\r\n" + std::to_string(i) +
                                                  "\r\nEND_MESSAGE\r\n");
    }
    Events seen;
    while (seen.size() < 5) {
        ASSERT_TRUE(Queue.RunOne(10s));
        const auto events = Peer.TakeEvents();
        ASSERT_LE(events.size(), 1u);  // never two datagrams in one hand-over
        seen.insert(seen.end(), events.begin(), events.end());
    }
    EXPECT_EQ(seen, (Events{"memo WS02 t [1]", "memo WS02 t [2]", "memo WS02 t [3]", "memo WS02 t [4]",
                            "memo WS02 t [5]"}));
}

TEST_F(MessengerLifecycle, KeepsServingAfterAHandlerThrows) {
    auto& m = Peer.Messenger;
    int memos = 0;
    m.OnNewMemo = [&](TMainMessenger&, const std::string&, const std::string&, const TStringList&) {
        if (++memos == 1) {
            throw std::runtime_error("handler failed");
        }
    };
    int ticks = 0;
    m.OnTimer = [&](TMainMessenger& sender) {
        EXPECT_EQ(&sender, &m);
        if (++ticks == 1) {
            throw std::runtime_error("tick failed");
        }
    };
    m.SetInterval(0);
    m.Activate();
    m.SendMemoToAll({"one"});
    m.SendMemoToAll({"two"});
    ASSERT_TRUE(PumpUntil(Queue, [&] { return memos == 2 && ticks >= 3; }));
}

TEST_F(MessengerLifecycle, TicksEveryIntervalAndAppliesAChangeAtTheNextSleep) {
    auto& m = Peer.Messenger;
    int ticks = 0;
    m.OnTimer = [&](TMainMessenger&) { ++ticks; };
    m.SetInterval(0);
    m.Activate();
    // Interval 0 ticks without pause: many hand-overs come one after the other.
    ASSERT_TRUE(PumpUntil(Queue, [&] { return ticks >= 100; }));
    m.SetInterval(60000);
    const int before = ticks;
    // At most the tick already on its way arrives; then the ticker sleeps the new, long interval.
    for (int i = 0; i < 3; ++i) {
        Queue.RunOne(100ms);
    }
    EXPECT_LE(ticks - before, 1);
    m.Deactivate();
    // A tick that was waiting when Deactivate ran is cancelled, not raised afterwards.
    const int atStop = ticks;
    Queue.RunPending();
    EXPECT_EQ(ticks, atStop);
}

TEST_F(MessengerLifecycle, IsSafeToDestroyWithAHandOverPending) {
    bool raised = false;
    {
        auto m = std::make_unique<TExposedMessenger>(TMessengerEnvironment{Peer.Transport, Queue, Peer.System});
        m->OnNewMemo = [&](TMainMessenger&, const std::string&, const std::string&, const TStringList&) {
            raised = true;
        };
        m->OnTimer = [&](TMainMessenger&) { raised = true; };
        m->Activate();
        m->SendMemoToAll({"pending"});
        ASSERT_TRUE(Queue.WaitForCalls(2, 10s));  // the tick and the read both wait
        m.reset();  // joins both workers; would hang or crash if either still waited or ran
    }
    EXPECT_GE(Queue.RunPending(), 2u);
    EXPECT_FALSE(raised);
    EXPECT_EQ(Peer.Transport.OpenHandleCount(), 0u);
}

}  // namespace
