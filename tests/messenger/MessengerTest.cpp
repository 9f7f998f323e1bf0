// The messaging component on the simulated LAN (presence, foreign texts, errors, restarts, its workers) and
// the hand-over of the workers' calls to the user-interface thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <set>
#include <stdexcept>

#include "messenger/UiThreadQueue.h"
#include "tests/support/TestPeer.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using Events = std::vector<std::string>;

class Messenger : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"WS01", "WS02", "ws02"})
            Peers.emplace_back(Lan, Queue, name).Messenger.SetBoxName("MB303");
    }
    /// Runs hand-overs until no datagram waits anywhere, so everything sent so far was dispatched.
    void Settle() {
        ASSERT_TRUE(PumpUntil(Queue, [this] {
            return std::ranges::none_of(
                Peers, [](auto& p) { return p.Messenger.Active() && p.Transport.WaitingIn("MB303"); });
        }));
        Queue.RunPending();
    }
    /// How many datagrams sent so far hold `needle` in "path|bytes".
    std::size_t Sent(const std::string& needle) {
        return std::ranges::count_if(Lan.Traffic(), [&](auto& d) {
            return (d.Path + "|" + d.Bytes).find(needle) != std::string::npos;
        });
    }
    /// The first `count` copies started and settled, with what that raised and sent forgotten.
    void Start(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            M(i).Activate();
        Settle();
        for (std::size_t i = 0; i < count; ++i)
            Take(i);
        Lan.ClearTraffic();
    }
    TExposedMessenger& M(std::size_t i) { return Peers[i].Messenger; }
    Events Take(std::size_t i) { return Peers[i].TakeEvents(); }

    TMemoryLan Lan;
    TCallQueue Queue;
    std::deque<TTestPeer> Peers;
};

// A copy that starts lists those that answer it and is listed by them; its own announcement, back through the
// broadcast, lists nothing. Names that differ only in case are two computers to a third; to each other, each is the other's own name
// and is neither listed nor answered. Each answer goes to the announcer alone, and a second announcement is
// answered again but changes no list.
TEST_F(Messenger, AnswersEachAnnouncerAloneAndNeverListsItsOwnNameInAnotherCase) {
    Start(2);
    M(2).Activate();
    Settle();
    EXPECT_EQ(Take(0), Events{"users [WS02|ws02]"});
    EXPECT_EQ(Take(1), Events{});
    EXPECT_EQ(Take(2), Events{"users [WS01]"});
    EXPECT_EQ(Sent("ONLINE_RESPONSE"), 1u);
    EXPECT_EQ(Sent("\\\\ws02\\mailslot\\MB303|"), 1u);
    Lan.ClearTraffic();
    M(2).SendCommand("*", "ONLINE_NOTIFY");
    Settle();
    EXPECT_EQ(Sent("ONLINE_RESPONSE"), 1u);
    EXPECT_EQ(Take(0), Events{});
}

// A copy that leaves is dropped by those that list it. In a burst, nothing is raised or answered for an offline
// notice from a computer nobody lists, an unknown command, or a kind or command in the wrong case; the memos
// and lines between them are raised in order.
TEST_F(Messenger, LeavesAndRaisesOnlyWhatACopySendsInOrder) {
    Start(3);
    M(1).Deactivate();
    Settle();
    EXPECT_EQ(Take(0), Events{"users [ws02]"});
    EXPECT_EQ(Take(2), Events{});
    Lan.ClearTraffic();
    // Among what no copy sends: a memo with nothing after BEGIN_MEMO, a line with lines after it, a memo.
    for (const std::string text :
         {"COMMAND_MSG\r\n1\r\nWS09\r\nOFFLINE_NOTIFY\r\nEND_MESSAGE\r\n",
          "MEMO_MSG\r\nt\r\nWS02\r\nBEGIN_MEMO\r\n", "COMMAND_MSG\r\n1\r\nWS09\r\nSTOP\r\nEND_MESSAGE\r\n",
          "LINE_MSG\r\nt\r\nWS02\r\nhi\r\nx\r\ny\r\n",
          "command_msg\r\n1\r\nWS09\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n",
          "COMMAND_MSG\r\n1\r\nWS09\r\nonline_notify\r\nEND_MESSAGE\r\n",
          "MEMO_MSG\r\nt\r\nWS02\r\nBEGIN_MEMO\r\n3\r\nEND_MESSAGE\r\n"})
        SendRaw(Peers[1].Transport, "\\\\*\\mailslot\\MB303", text);
    Settle();
    EXPECT_EQ(Take(0), (Events{"memo WS02 t []", "line WS02 t hi", "memo WS02 t [3]"}));
    EXPECT_EQ(Lan.Traffic().size(), 7u);  // nothing answered
}

// Forged announcements: only names a computer can have are listed, never the own one in any case, and a
// flood of invented names leaves the list at its bound, the computers heard from longest ago leaving first.
TEST_F(Messenger, ListsOnlyNamesAComputerCanHaveAndBoundsTheListByWhoWasHeardLast) {
    Start(2);
    std::vector<std::string> changes;
    for (std::size_t i : {0u, 1u})
        M(i).OnUserListChange = nullptr;  // the whole list at every change would cost the flood its length
    M(0).OnUserChange = [&](auto&, const std::string& name, TUserChange change) {
        changes.push_back((change == TUserChange::Joined ? "+" : "-") + name);
    };
    const auto announce = [&](const std::string& origin) {
        SendRaw(Peers[1].Transport, "\\\\*\\mailslot\\MB303",
                "COMMAND_MSG\r\n1\r\n" + origin + "\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n");
    };
    for (const std::string& forged :
         {"*"s, "."s, ""s, "ws01"s, "Ws01"s, "ABCDEFGHIJKLMNOP"s, "A\\B"s, ".PC"s, std::string(60000, 'X')})
        announce(forged);
    Settle();
    EXPECT_EQ(changes, std::vector<std::string>{});
    for (std::size_t i = 0; i + 1 < TComputerList::DefaultCapacity; ++i)
        announce(std::to_string(i).insert(0, 1, 'F'));
    SendRaw(Peers[1].Transport, "\\\\WS01\\mailslot\\MB303", "LINE_MSG\r\n1\r\nWS02\r\nstill here\r\n");
    announce("NEW1");
    announce("NEW2");
    Settle();
    EXPECT_EQ(M(0).Users().size(), TComputerList::DefaultCapacity);
    EXPECT_EQ(M(0).Users().front(), "WS02");  // heard from last before the list overflowed
    EXPECT_EQ(std::vector<std::string>(changes.end() - 4, changes.end()),
              (std::vector<std::string>{"-F0", "+NEW1", "-F1", "+NEW2"}));
}

// A worker that cannot start, or a mailbox another copy holds: the activation is undone and nothing is
// announced; activating twice and deactivating an inactive copy are reported too.
TEST_F(Messenger, ReportsEveryFailedActivationAndUndoesIt) {
    auto& m = M(0);
    m.Deactivate();
    EXPECT_EQ(Take(0), Events{"error Cannot Deactivate an Inactive TMessenger Component"});
    m.FailTimerThread = true;
    m.Activate();
    m.FailTimerThread = false;
    EXPECT_EQ(Take(0), Events{"error Could not Start TMessenger Timer Thread"});
    EXPECT_TRUE(!m.Active() && !m.HasWorkers());
    const auto taken = Peers[0].Transport.OpenMailbox("MB303");
    m.Activate();
    EXPECT_EQ(Take(0), Events{"error Could not Create Mail Slot"});
    EXPECT_TRUE(!m.Active() && !m.HasWorkers() && Lan.Traffic().empty());
    Peers[0].Transport.Close(taken);
    m.Activate();
    m.Activate();
    EXPECT_EQ(Take(0), Events{"error You tried to Activate an active TMessenger component"});
    EXPECT_TRUE(m.Active() && m.HasWorkers());
}

// A failed open discards the message; the next one starts with its own first line, and only the own mailbox
// stays open. "*" as one target sends nothing.
TEST_F(Messenger, ReportsAMemoThatCouldNotBeOpenedAndSendsTheNextWhole) {
    auto& m = M(0);
    auto& transport = Peers[0].Transport;
    m.Activate();
    transport.SetOpenFails(true);
    m.SendMemoTo("WS02", {"first"});
    EXPECT_EQ(Take(0), Events{"error Could not Open a Remote Mail Slot"});
    transport.SetOpenFails(false);
    Lan.ClearTraffic();
    m.SendMemoTo("*", {"nobody"});
    m.SendMemoTo("WS02", {"second"});
    EXPECT_EQ(Lan.Traffic().size(), 1u);
    EXPECT_EQ(Sent("|MEMO_MSG\r\n14:05:09\r\nWS01\r\nBEGIN_MEMO\r\nsecond\r\nEND_MESSAGE\r\n"), 1u);
    EXPECT_EQ(transport.OpenMailboxCount(), 1u);
}

// A new box name restarts it: offline, then online again under the new name, the old mailbox closed.
TEST_F(Messenger, RestartsUnderANewBoxName) {
    auto& m = M(0);
    m.Activate();
    Lan.ClearTraffic();
    m.SetBoxName("MB303");  // unchanged: nothing happens
    m.SetBoxName("Other");
    EXPECT_EQ(Sent("\\Other|"), 2u);
    EXPECT_EQ(Sent("OFFLINE_NOTIFY"), 1u);
    EXPECT_EQ(Peers[0].Transport.OpenMailboxCount(), 1u);
}

TEST_F(Messenger, TicksOnlyForAHandlerKeepsServingAfterHandlersThrowAndAppliesANewIntervalAtTheNextSleep) {
    M(0).SetInterval(0);  // no pause between ticks
    M(0).Activate();
    Settle();
    EXPECT_FALSE(Queue.WaitForCalls(1, 200ms));  // no timer handler: the ticker sleeps
    int memos = 0, ticks = 0;
    M(0).OnNewMemo = [&](auto&&...) {
        if (++memos == 1)
            throw std::runtime_error("handler failed");
    };
    M(0).OnTimer = [&](auto&&...) {
        if (++ticks == 1)
            throw std::runtime_error("tick failed");
    };
    M(0).SendMemoToAll({"one"});
    M(0).SendMemoToAll({"two"});
    ASSERT_TRUE(PumpUntil(Queue, [&] { return memos == 2 && ticks >= 100; }));  // interval 0: no pause
    M(0).SetInterval(60000);
    const int before = ticks;
    for (int i = 0; i < 3; ++i)
        Queue.RunOne(100ms);
    EXPECT_LE(ticks - before, 1);  // at most the tick already on its way
    M(0).Deactivate();
    const int atStop = ticks;
    Queue.RunPending();
    EXPECT_EQ(ticks, atStop);  // a tick waiting at Deactivate is cancelled, not raised later
}

TEST_F(Messenger, IsSafeToDestroyWithAHandOverPending) {
    bool raised = false;
    auto m = std::make_unique<TExposedMessenger>(
        TMessengerEnvironment{Peers[0].Transport, Queue, Peers[0].System});
    m->OnNewMemo = [&](auto&&...) { raised = true; };
    m->OnTimer = [&](auto&&...) { raised = true; };
    m->Activate();
    m->SendMemoToAll({"pending"});
    ASSERT_TRUE(Queue.WaitForCalls(2, 10s));  // the tick and the read both wait
    m.reset();                                // joins both workers; hangs or crashes if either still waited
    EXPECT_GE(Queue.RunPending(), 2u);
    EXPECT_FALSE(raised);
    EXPECT_EQ(Peers[0].Transport.OpenMailboxCount(), 0u);
}

// A write that finds no room is told and counted; the announcement it lost is repaired by the second one a
// moment after the start; rounds keep a computer that answers and drop one silent for two of them.
TEST_F(Messenger, RepairsALostAnnouncementAndDropsAComputerSilentForTwoRounds) {
    using std::chrono::steady_clock;
    TPresenceTiming timing = TPresenceTiming::Immediate();
    timing.RepeatFrom = 100ms;
    timing.RepeatTo = 150ms;
    timing.Refresh = 300ms;  // rounds 270-330 ms apart, the silent dropped 150 ms after one
    M(0).SetPresenceTiming(timing);
    M(1).Activate();
    Peers[0].Transport.SetWriteFails(true);
    M(0).Activate();
    EXPECT_EQ(Take(0), Events{"error Could not Write to a Remote Mail Slot: no room to send"});
    EXPECT_EQ(M(0).SendMemoTo("WS02", {"lost"})->NotSent, "no room to send");
    EXPECT_EQ(M(0).SendTally().NotSent, 2u);
    Peers[0].Transport.SetWriteFails(false);
    Take(0);
    ASSERT_TRUE(PumpUntil(Queue, [&] { return Take(1) == Events{"users [WS01]"}; }));
    ASSERT_TRUE(PumpUntil(Queue, [&] { return Take(0) == Events{"users [WS02]"}; }));
    // Three rounds answered: WS02 stays.
    for (const auto until = steady_clock::now() + 1s; steady_clock::now() < until;)
        Queue.RunOne(20ms);
    EXPECT_EQ(Take(0), Events{});
    EXPECT_GE(Sent("ONLINE_NOTIFY"), 4u);
    // WS02 vanishes without a goodbye: gone after its second unanswered round, not before its first.
    Peers[1].Transport.SetWriteFails(true);
    const auto silent = steady_clock::now();
    ASSERT_TRUE(PumpUntil(Queue, [&] { return Take(0) == Events{"users []"}; }));
    EXPECT_GT(steady_clock::now() - silent, 250ms);
    EXPECT_LT(steady_clock::now() - silent, 2s);
}

// An answer waits up to the spread per listed computer, never beyond the limit; none without a spread.
TEST(PresenceClock, SpreadsAnswersByTheListsLengthWithinTheLimit) {
    TPresenceClock moments({.AnswerSpreadPerComputer = 1000us, .AnswerSpreadLimit = 50ms});
    for (const auto& [listed, most] : {std::pair{0u, 0us}, {10u, 10000us}, {5000u, 50000us}}) {
        std::set<std::int64_t> drawn;
        for (int i = 0; i < 200; ++i) {
            const auto delay = moments.AnswerDelay(listed);
            EXPECT_TRUE(delay >= 0us && delay <= most) << listed;
            drawn.insert(delay.count());
        }
        EXPECT_EQ(drawn.size() > 50, listed > 0) << listed;  // spread out, not one moment for all
    }
}

// Calls handed over back to back: each runs on the user-interface thread, in order, and its hand-over returns
// only after it ran.
TEST(HandOver, RunsABurstInOrderOnTheUiThreadEachBeforeItsHandOverReturns) {
    TCallQueue queue;
    constexpr int Calls = 500;
    std::atomic<int> returned{0};
    int ran = 0;
    bool inStep = true;  // each call on this thread, and the one after the last hand-over that returned
    const auto uiThread = std::this_thread::get_id();
    std::jthread worker([&](std::stop_token stop) {
        for (int i = 0; i < Calls; ++i, ++returned)
            HandOver(
                queue,
                [&] { inStep = inStep && returned == ran++ && std::this_thread::get_id() == uiThread; }, stop);
    });
    ASSERT_TRUE(PumpUntil(queue, [&] { return returned == Calls; }));
    EXPECT_TRUE(inStep && ran == Calls);
}

TEST(HandOver, ThrowsTheCallsExceptionInTheWorker) {
    TCallQueue queue;
    const auto fail = [] { throw std::runtime_error("handler failed"); };
    std::jthread worker(
        [&](std::stop_token stop) { EXPECT_THROW(HandOver(queue, fail, stop), std::runtime_error); });
    ASSERT_TRUE(queue.RunOne(10s));  // the failure does not escape on the user-interface side
}

}  // namespace
