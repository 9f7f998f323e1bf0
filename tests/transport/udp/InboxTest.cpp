// Which received datagrams the own mailbox keeps, how far its queue may grow, and the peers' addresses.
#include <gtest/gtest.h>

#include "Inbox.h"
#include "PeerAddressBook.h"

namespace {

using namespace std::chrono_literals;
using enum TDatagramType;

struct TWrite {
    std::string Data;
    TDatagramType Type = DirectGroup;
    std::string To = "WORKGROUP";
    std::string Box = "\\MAILSLOT\\MB303";
    std::uint16_t Id = 1;
    operator TMailslotDatagram() const {
        return {Type, DatagramFlagFirst, Id, 0, 138, {"WS02", 0}, {To, 0}, Box, Data};
    }
};

TEST(Inbox, KeepsOnlyWritesToItsBoxAndItsName) {
    const struct {
        const char* Name;
        TWrite Write;
        bool Kept;
    } cases[] = {
        {"group write", {.Data = "a"}, true},
        {"box name in other case", {.Data = "b", .Box = "\\mailslot\\mb303"}, true},
        {"other box", {.Data = "c", .Box = "\\MAILSLOT\\OTHER"}, false},
        {"box name prefix only", {.Data = "d", .Box = "\\MAILSLOT\\MB3"}, false},
        {"direct to this computer", {.Data = "e", .Type = DirectUnique, .To = "WS01"}, true},
        {"direct, name in other case", {.Data = "f", .Type = DirectUnique, .To = "ws01"}, true},
        {"direct to another computer", {.Data = "g", .Type = DirectUnique, .To = "WS03"}, false},
        {"netbios broadcast", {.Data = "h", .Type = Broadcast, .To = "*"}, true},
    };
    TInbox inbox("MB303", "ws01");
    std::string expected, taken;
    for (const auto& c : cases) {
        EXPECT_EQ(inbox.Offer(c.Write, TInbox::TClock::now()), c.Kept) << c.Name;
        expected += c.Kept ? c.Write.Data : "";
    }
    while (const auto message = inbox.Take(100))
        taken += *message;
    EXPECT_EQ(taken, expected);  // in arrival order
}

TEST(Inbox, DropsCopiesOfOneDatagramButNotNewMessagesUnderAReusedId) {
    TInbox inbox("MB303", "WS01");
    const auto start = TInbox::TClock::now();
    EXPECT_TRUE(inbox.Offer(TWrite{.Data = "hello", .Id = 7}, start));
    EXPECT_FALSE(
        inbox.Offer(TWrite{.Data = "hello", .Id = 7}, start + 1s));  // as a sender on two networks sends it
    EXPECT_TRUE(inbox.Offer(TWrite{.Data = "other", .Id = 7}, start + 1s));   // another message, the same id
    EXPECT_TRUE(inbox.Offer(TWrite{.Data = "hello", .Id = 7}, start + 10s));  // long after: a new message
    EXPECT_EQ(inbox.Count(), 3u);
}

TEST(Inbox, IsBoundedInCountAndBytesAndKeepsWhatDoesNotFit) {
    TInbox inbox("MB303", "WS01", {3, 10, 5s});
    std::uint16_t id = 0;
    const auto offer = [&](const std::string& data) {
        return inbox.Offer(TWrite{.Data = data, .Id = ++id}, TInbox::TClock::now());
    };
    EXPECT_TRUE(offer("1234"));
    EXPECT_TRUE(offer("5678"));
    EXPECT_FALSE(offer("abc"));  // 11 bytes would exceed 10
    EXPECT_TRUE(offer("a"));
    EXPECT_FALSE(offer(""));  // a fourth message exceeds the count, though bytes are left
    EXPECT_EQ(inbox.NextSize(), 4u);
    EXPECT_FALSE(inbox.Take(3));  // too small a buffer: the message stays
    EXPECT_EQ(inbox.Take(4), "1234");
    EXPECT_EQ(inbox.Bytes(), 5u);
    EXPECT_TRUE(offer("x"));
}

TEST(PeerAddressBook, RemembersTheLatestAddressAndForgetsTheStalestWhenFull) {
    TPeerAddressBook book(2);
    book.Learn("WS02", 0x0a000002);
    book.Learn("WS03", 0x0a000003);
    book.Learn("WS02", 0x0a000012);  // moved, and now the freshest
    EXPECT_EQ(book.Find("WS02"), 0x0a000012u);
    book.Learn("WS04", 0x0a000004);  // full: WS03 was heard from longest ago
    EXPECT_FALSE(book.Find("WS03"));
    EXPECT_EQ(book.Find("WS04"), 0x0a000004u);
}

}  // namespace
