// Presence and memos across three simulated computers.
#include <gtest/gtest.h>

#include <memory>

#include "TestPeer.h"

namespace {

using Events = std::vector<std::string>;

class MessengerPresence : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"WS01", "WS02", "ws02"}) {
            Peers.push_back(std::make_unique<TTestPeer>(Lan, Queue, name));
            Peers.back()->Messenger.SetBoxName("MB303");
        }
    }

    /// Runs hand-overs until no datagram waits anywhere, so everything sent so far was dispatched.
    void Settle() {
        ASSERT_TRUE(PumpUntil(Queue, [this] {
            for (const auto& peer : Peers) {
                if (peer->Messenger.Active && peer->Transport.WaitingIn("MB303") != 0) {
                    return false;
                }
            }
            return true;
        }));
        Queue.RunPending();
    }

    TTestPeer& Peer(std::size_t i) { return *Peers[i]; }

    TMemoryLan Lan;
    TCallQueue Queue;
    std::vector<std::unique_ptr<TTestPeer>> Peers;
};

TEST_F(MessengerPresence, AnnouncesAnswersAndLeaves) {
    Peer(0).Messenger.Activate();
    Settle();
    EXPECT_EQ(Peer(0).TakeEvents(), Events{});  // its own announcement comes back and is ignored

    Peer(1).Messenger.Activate();
    Settle();
    EXPECT_EQ(Peer(0).TakeEvents(), Events{"users [WS02]"});
    EXPECT_EQ(Peer(1).TakeEvents(), Events{"users [WS01]"});

    // Names that differ only in case are two computers.
    Lan.ClearTraffic();
    Peer(2).Messenger.Activate();
    Settle();
    EXPECT_EQ(Peer(0).TakeEvents(), Events{"users [WS02|ws02]"});
    EXPECT_EQ(Peer(1).TakeEvents(), Events{"users [WS01|ws02]"});
    // The two answers race each other; each new computer raises one change, in order of arrival.
    const auto changes = Peer(2).TakeEvents();
    ASSERT_EQ(changes.size(), 2u);
    const auto& known = Peer(2).Messenger.UserList;
    ASSERT_EQ(known.size(), 2u);
    EXPECT_EQ(changes[0], "users [" + known[0] + "]");
    EXPECT_EQ(changes[1], "users [" + known[0] + "|" + known[1] + "]");
    EXPECT_TRUE((known == TStringList{"WS01", "WS02"}) || (known == TStringList{"WS02", "WS01"}));
    // Each answer went to the announcer alone.
    int answers = 0;
    for (const auto& datagram : Lan.Traffic()) {
        if (datagram.Bytes.find("ONLINE_RESPONSE") != std::string::npos) {
            ++answers;
            EXPECT_EQ(datagram.Path, "\\\\ws02\\mailslot\\MB303");
        }
    }
    EXPECT_EQ(answers, 2);
    EXPECT_EQ(Peer(1).Messenger.UserList, (TStringList{"WS01", "ws02"}));

    // A second announcement from a listed computer is answered again but changes no list.
    Lan.ClearTraffic();
    Peer(2).Messenger.SendCommand("*", "ONLINE_NOTIFY");
    Settle();
    EXPECT_EQ(Peer(0).TakeEvents(), Events{});
    EXPECT_EQ(Peer(1).TakeEvents(), Events{});
    EXPECT_EQ(Lan.Traffic().size(), 3u);  // the announcement and two answers
    EXPECT_EQ(Peer(2).TakeEvents(), Events{});

    Peer(1).Messenger.Deactivate();
    Settle();
    EXPECT_EQ(Peer(0).TakeEvents(), Events{"users [ws02]"});
    EXPECT_EQ(Peer(2).TakeEvents(), Events{"users [WS01]"});
    EXPECT_EQ(Peer(1).Messenger.UserList, (TStringList{"WS01", "ws02"}));  // kept as it was

    // An offline notice from a computer nobody lists raises nothing.
    Peer(1).Messenger.SendCommand("*", "OFFLINE_NOTIFY");
    Peer(1).Messenger.SendCommand("*", "SOMETHING_ELSE");
    Settle();
    EXPECT_EQ(Peer(0).TakeEvents(), Events{});
    EXPECT_EQ(Peer(2).TakeEvents(), Events{});
}

TEST_F(MessengerPresence, DeliversMemosAndLineMessages) {
    Peer(0).Messenger.Activate();
    Peer(1).Messenger.Activate();
    Settle();
    Peer(0).TakeEvents();
    Peer(1).TakeEvents();

    Peer(0).Messenger.SendMemoTo("WS02", {"Lunch at one?", "", "See you.", ""});
    Settle();
    EXPECT_EQ(Peer(1).TakeEvents(), Events{"memo WS01 14:05:09 [Lunch at one?||See you.|]"});
    EXPECT_EQ(Peer(0).TakeEvents(), Events{});

    // A memo to all comes back to the sender too, with its own name as origin.
    Peer(1).System.Time = "2:06:30 pm";
    Peer(1).Messenger.SendMemoToAll({});
    Settle();
    EXPECT_EQ(Peer(0).TakeEvents(), Events{"memo WS02 2:06:30 pm []"});
    EXPECT_EQ(Peer(1).TakeEvents(), Events{"memo WS02 2:06:30 pm []"});

    // "*" as a single target sends nothing and says nothing.
    Lan.ClearTraffic();
    Peer(0).Messenger.SendMemoTo("*", {"hello"});
    EXPECT_TRUE(Lan.Traffic().empty());
    EXPECT_EQ(Peer(0).TakeEvents(), Events{});

    // Foreign texts: a line message, then a memo whose lines must not leak from before.
    const auto send = [this](const std::string& bytes) {
        const auto handle = Peer(2).Transport.CreateFile("\\\\WS02\\mailslot\\MB303");
        Peer(2).Transport.WriteFile(handle, bytes);
        Peer(2).Transport.CloseHandle(handle);
    };
    send("LINE_MSG\r\n14:07:12\r\nWS09\r\nMeeting moved\r\nignored\r\n");
    send("MEMO_MSG\r\n1\r\nWS09\r\nBEGIN_MEMO\r\nEND_MESSAGE\r\nx\r\nEND_MESSAGE\r\n");
    send("MEMO_MSG\r\n1\r\nWS09\r\nBEGIN_MEMO\r\n");
    Settle();
    EXPECT_EQ(Peer(1).TakeEvents(),
              (Events{"line WS09 14:07:12 Meeting moved", "memo WS09 1 [END_MESSAGE|x]", "memo WS09 1 []"}));
}

TEST_F(MessengerPresence, DropsShortAndUnknownTextsWithoutATrace) {
    Peer(1).Messenger.Activate();
    Settle();
    Peer(1).TakeEvents();
    Lan.ClearTraffic();
    const char* junk[] = {"",
                          "COMMAND_MSG\r\n1\r\nWS09\r\n",
                          "command_msg\r\n1\r\nWS09\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n",
                          "COMMAND_MSG \r\n1\r\nWS09\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n",
                          "COMMAND_MSG\r\n1\r\nWS09\r\nonline_notify\r\nEND_MESSAGE\r\n",
                          "OTHER\r\n1\r\nWS09\r\nx\r\nEND_MESSAGE\r\n"};
    for (const char* text : junk) {
        const auto handle = Peer(0).Transport.CreateFile("\\\\WS02\\mailslot\\MB303");
        Peer(0).Transport.WriteFile(handle, text);
        Peer(0).Transport.CloseHandle(handle);
    }
    Settle();
    EXPECT_EQ(Peer(1).TakeEvents(), Events{});
    EXPECT_TRUE(Peer(1).Messenger.UserList.empty());
    EXPECT_EQ(Lan.Traffic().size(), std::size(junk));  // nothing was answered
}

}  // namespace
