// Which received datagrams the own mailbox keeps, and how far its queue may grow.
#include "Inbox.h"

#include <gtest/gtest.h>

#include "PeerAddressBook.h"

namespace {

using namespace std::chrono_literals;

TMailslotDatagram Write(std::string data, TDatagramType type = TDatagramType::DirectGroup,
                        std::string destination = "WORKGROUP", std::string box = "\\MAILSLOT\\MB303",
                        std::uint16_t id = 1) {
    TMailslotDatagram datagram;
    datagram.Type = type;
    datagram.DatagramId = id;
    datagram.SourceName = {"WS02", 0};
    datagram.DestinationName = {std::move(destination), 0};
    datagram.MailslotName = std::move(box);
    datagram.Data = std::move(data);
    return datagram;
}

TEST(Inbox, KeepsOnlyWritesToItsBoxAndItsName) {
    const auto now = TInbox::TClock::now();
    const struct {
        const char* Name;
        TMailslotDatagram Datagram;
        bool Kept;
    } cases[] = {
        {"group write", Write("a"), true},
        {"box name in other case", Write("b", TDatagramType::DirectGroup, "WORKGROUP", "\\mailslot\\mb303"), true},
        {"other box", Write("c", TDatagramType::DirectGroup, "WORKGROUP", "\\MAILSLOT\\OTHER"), false},
        {"box name prefix only", Write("d", TDatagramType::DirectGroup, "WORKGROUP", "\\MAILSLOT\\MB3"), false},
        {"direct to this computer", Write("e", TDatagramType::DirectUnique, "WS01"), true},
        {"direct, name in other case", Write("f", TDatagramType::DirectUnique, "ws01"), true},
        {"direct to another computer", Write("g", TDatagramType::DirectUnique, "WS03"), false},
        {"netbios broadcast", Write("h", TDatagramType::Broadcast, "*"), true},
    };
    TInbox inbox("MB303", "ws01");
    std::string expected;
    for (const auto& c : cases) {
        EXPECT_EQ(inbox.Offer(c.Datagram, now), c.Kept) << c.Name;
        if (c.Kept) {
            expected += c.Datagram.Data;
        }
    }
    std::string taken;
    while (const auto message = inbox.Take(100)) {
        taken += *message;
    }
    EXPECT_EQ(taken, expected);  // in arrival order
}

TEST(Inbox, DropsCopiesOfOneDatagramButNotNewMessagesUnderAReusedId) {
    TInbox inbox("MB303", "WS01");
    const auto start = TInbox::TClock::now();
    EXPECT_TRUE(inbox.Offer(Write("hello", TDatagramType::DirectGroup, "WORKGROUP", "\\MAILSLOT\\MB303", 7), start));
    // The same datagram again, as a sender on two networks sends it.
    EXPECT_FALSE(inbox.Offer(Write("hello", TDatagramType::DirectGroup, "WORKGROUP", "\\MAILSLOT\\MB303", 7), start + 1s));
    // Another message that happens to carry the same id.
    EXPECT_TRUE(inbox.Offer(Write("other", TDatagramType::DirectGroup, "WORKGROUP", "\\MAILSLOT\\MB303", 7), start + 1s));
    // Long after, the same text under the same id is a new message.
    EXPECT_TRUE(inbox.Offer(Write("hello", TDatagramType::DirectGroup, "WORKGROUP", "\\MAILSLOT\\MB303", 7), start + 10s));
    EXPECT_EQ(inbox.Count(), 3u);
}

TEST(Inbox, IsBoundedInCountAndBytesAndKeepsWhatDoesNotFit) {
    TInbox inbox("MB303", "WS01", {3, 10, 5s});
    const auto now = TInbox::TClock::now();
    std::uint16_t id = 0;
    const auto offer = [&](const std::string& data) {
        return inbox.Offer(Write(data, TDatagramType::DirectGroup, "WORKGROUP", "\\MAILSLOT\\MB303", ++id), now);
    };
    EXPECT_TRUE(offer("1234"));
    EXPECT_TRUE(offer("5678"));
    EXPECT_FALSE(offer("abc"));  // 11 bytes would exceed 10
    EXPECT_TRUE(offer("ab"));
    EXPECT_FALSE(offer(""));     // a fourth message exceeds the count
    EXPECT_EQ(inbox.Bytes(), 10u);
    EXPECT_EQ(inbox.NextSize(), 4u);
    EXPECT_FALSE(inbox.Take(3));  // too small a buffer: the message stays
    EXPECT_EQ(inbox.Take(4), "1234");
    EXPECT_EQ(inbox.Bytes(), 6u);
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
    EXPECT_EQ(book.Size(), 2u);
}

}  // namespace
