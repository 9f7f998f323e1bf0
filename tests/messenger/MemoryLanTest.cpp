// The simulated LAN behaves as a mailbox network: delivery, refusal, loss and waiting.
#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "MailslotPath.h"
#include "MemoryComputer.h"
#include "MemoryLan.h"

namespace {

std::string ReadNext(TMemoryComputer& computer, TMailslotHandle mailbox) {
    const auto info = computer.GetMailslotInfo(mailbox);
    if (!info || info->MessageCount == 0) {
        return "<none>";
    }
    std::string buffer(info->NextSize, '\0');
    const auto read = computer.ReadFile(mailbox, buffer);
    return read ? buffer.substr(0, *read) : "<failed>";
}

void Send(TMemoryComputer& from, const std::string& path, const std::string& bytes) {
    const auto handle = from.CreateFile(path);
    ASSERT_NE(handle, InvalidMailslotHandle) << path;
    EXPECT_TRUE(from.WriteFile(handle, bytes));
    from.CloseHandle(handle);
}

TEST(MailslotPath, ParsesOnlyWellFormedPaths) {
    const auto path = TMailslotPath::Parse("\\\\WS01\\MailSlot\\MB303");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->Server, "WS01");
    EXPECT_EQ(path->Box, "MB303");
    EXPECT_TRUE(TMailslotPath::Parse("\\\\*\\mailslot\\a\\b"));
    for (const char* bad : {"", "\\\\", "\\WS01\\mailslot\\x", "\\\\\\mailslot\\x", "\\\\WS01\\mailslot\\",
                            "\\\\WS01\\pipe\\x", "\\\\WS01\\mailslotx", "\\\\WS01\\mailslot\\a\\\\b",
                            "\\\\WS01\\mailslot\\a\\"}) {
        EXPECT_FALSE(TMailslotPath::Parse(bad)) << bad;
    }
}

TEST(MemoryLan, DeliversBroadcastAndDirectDatagramsToOpenMailboxes) {
    TMemoryLan lan;
    TMemoryComputer& a = lan.AddComputer("WS01");
    TMemoryComputer& b = lan.AddComputer("WS02");
    TMemoryComputer& c = lan.AddComputer("WS03");
    const auto boxA = a.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    const auto boxB = b.CreateMailslot("\\\\.\\mailslot\\mb303", 0, 0);
    const auto otherC = c.CreateMailslot("\\\\.\\mailslot\\Other", 0, 0);
    ASSERT_NE(boxA, InvalidMailslotHandle);
    ASSERT_NE(boxB, InvalidMailslotHandle);

    Send(a, "\\\\*\\mailslot\\MB303", "to all");
    EXPECT_EQ(ReadNext(a, boxA), "to all");  // the sender's own copy comes back
    EXPECT_EQ(ReadNext(b, boxB), "to all");  // box names match in any case
    EXPECT_EQ(ReadNext(c, otherC), "<none>");

    Send(a, "\\\\ws02\\mailslot\\MB303", "one");
    Send(a, "\\\\WS02\\mailslot\\MB303", "two");
    Send(a, "\\\\NOBODY\\mailslot\\MB303", "lost");  // opening an absent computer does not fail
    EXPECT_EQ(ReadNext(a, boxA), "<none>");
    EXPECT_EQ(ReadNext(b, boxB), "one");
    EXPECT_EQ(ReadNext(b, boxB), "two");
    EXPECT_EQ(ReadNext(b, boxB), "<none>");

    Send(b, "\\\\.\\mailslot\\MB303", "self");
    EXPECT_EQ(ReadNext(b, boxB), "self");
    EXPECT_EQ(lan.Traffic().size(), 5u);
}

TEST(MemoryLan, RefusesWhatThePlatformRefuses) {
    TMemoryLan lan;
    TMemoryComputer& a = lan.AddComputer("WS01");
    const auto box = a.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    ASSERT_NE(box, InvalidMailslotHandle);
    EXPECT_EQ(a.CreateMailslot("\\\\.\\mailslot\\mb303", 0, 0), InvalidMailslotHandle);
    EXPECT_EQ(a.CreateMailslot("\\\\WS01\\mailslot\\Other", 0, 0), InvalidMailslotHandle);
    EXPECT_EQ(a.CreateFile("\\\\\\mailslot\\MB303"), InvalidMailslotHandle);
    EXPECT_FALSE(a.WriteFile(box, "not a write handle"));

    a.SetOpenFails(true);
    EXPECT_EQ(a.CreateFile("\\\\WS02\\mailslot\\MB303"), InvalidMailslotHandle);
    a.SetOpenFails(false);

    // A datagram larger than the reader's buffer stays where it is.
    Send(a, "\\\\.\\mailslot\\MB303", "12345");
    std::array<char, 4> small{};
    EXPECT_FALSE(a.ReadFile(box, small));
    EXPECT_EQ(a.WaitingIn("MB303"), 1u);

    // Closing frees the name, loses what waited, and makes the stale handle fail.
    a.CloseHandle(box);
    EXPECT_FALSE(a.GetMailslotInfo(box));
    EXPECT_EQ(a.OpenHandleCount(), 0u);
    const auto again = a.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    ASSERT_NE(again, InvalidMailslotHandle);
    EXPECT_NE(again, box);
    EXPECT_EQ(a.WaitingIn("MB303"), 0u);
}

TEST(MemoryLan, LosesWhatTheLossFilterPicks) {
    TMemoryLan lan;
    TMemoryComputer& a = lan.AddComputer("WS01");
    TMemoryComputer& b = lan.AddComputer("WS02");
    const auto boxA = a.CreateMailslot("\\\\.\\mailslot\\MB", 0, 0);
    const auto boxB = b.CreateMailslot("\\\\.\\mailslot\\MB", 0, 0);
    lan.SetLoss([](const TMemoryDatagram& datagram, const std::string& receiver) {
        return receiver == "WS02" && datagram.Bytes == "drop";
    });
    Send(a, "\\\\*\\mailslot\\MB", "drop");
    Send(a, "\\\\*\\mailslot\\MB", "keep");
    EXPECT_EQ(ReadNext(a, boxA), "drop");
    EXPECT_EQ(ReadNext(b, boxB), "keep");
    EXPECT_EQ(ReadNext(b, boxB), "<none>");
}

TEST(MemoryLan, WaitWakesOnADatagramAndOnAStopRequest) {
    TMemoryLan lan;
    TMemoryComputer& a = lan.AddComputer("WS01");
    const auto box = a.CreateMailslot("\\\\.\\mailslot\\MB", 0, 0);

    std::stop_source stopper;
    TMailslotWait stopped = TMailslotWait::CannotWait;
    std::thread waiter([&] { stopped = a.WaitForDatagram(box, stopper.get_token()); });
    stopper.request_stop();
    waiter.join();
    EXPECT_EQ(stopped, TMailslotWait::Stopped);

    TMailslotWait woken = TMailslotWait::CannotWait;
    std::thread reader([&] { woken = a.WaitForDatagram(box, std::stop_source().get_token()); });
    Send(a, "\\\\.\\mailslot\\MB", "x");
    reader.join();
    EXPECT_EQ(woken, TMailslotWait::DatagramWaiting);

    a.SetCanWait(false);
    EXPECT_EQ(a.WaitForDatagram(box, {}), TMailslotWait::CannotWait);
    EXPECT_EQ(a.WaitForDatagram(InvalidMailslotHandle, {}), TMailslotWait::CannotWait);
}

}  // namespace
