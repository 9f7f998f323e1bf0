// The UDP transport: which datagrams the own mailbox keeps and how far its queue grows, which name queries
// are answered, the peers' addresses, where each write goes, and on loopback only: delivery, one mailbox per
// port, the size limit, a burst beyond the queue.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "messenger/transport/udp/DatagramRouting.h"
#include "messenger/transport/udp/Inbox.h"
#include "messenger/transport/udp/NameResponder.h"
#include "messenger/transport/udp/UdpTransport.h"

namespace {

using namespace std::chrono_literals;
using enum TDatagramType;

struct TWrite {
    std::string Data;
    TDatagramType Type = DirectGroup;
    std::string To = "WORKGROUP";
    std::string Box = "\\MAILSLOT\\MB303";
    std::uint16_t Id = 1;
    std::chrono::seconds After{0};  // when it arrives
    operator TMailslotDatagram() const {
        return {Type, DatagramFlagFirst, Id, 0, 138, {"WS02", 0}, {To, 0}, Box, Data};
    }
};

// Every write has the same id: only a copy of the same text soon after is dropped, as a sender on two
// networks sends one.
TEST(Inbox, KeepsOnlyWritesToItsBoxAndItsNameAndDropsCopies) {
    TInbox inbox("MB303", "ws01");
    const auto start = TInbox::TClock::now();
    for (const auto& [label, write, kept] : std::initializer_list<std::tuple<const char*, TWrite, bool>>{
             {"group write", {.Data = "a"}, true},
             {"box name in other case", {.Data = "b", .Box = "\\mailslot\\mb303"}, true},
             {"other box", {.Data = "-", .Box = "\\MAILSLOT\\OTHER"}, false},
             {"box name prefix only", {.Data = "-", .Box = "\\MAILSLOT\\MB3"}, false},
             {"direct to this computer", {.Data = "c", .Type = DirectUnique, .To = "WS01"}, true},
             {"direct, name in other case", {.Data = "d", .Type = DirectUnique, .To = "ws01"}, true},
             {"direct to another computer", {.Data = "-", .Type = DirectUnique, .To = "WS03"}, false},
             {"netbios broadcast", {.Data = "e", .Type = Broadcast, .To = "*"}, true},
             {"a copy", {.Data = "a", .After = 1s}, false},
             {"a copy long after", {.Data = "a", .After = 10s}, true}})
        EXPECT_EQ(inbox.Offer(write, start + write.After), kept) << label;
    std::string taken;
    while (const auto message = inbox.Take(100))
        taken += *message;
    EXPECT_EQ(taken, "abcdea");  // in arrival order
}

TEST(Inbox, IsBoundedInCountAndBytesAndKeepsWhatDoesNotFit) {
    TInbox inbox("MB303", "WS01", {3, 10, 5s});
    std::uint16_t id = 0;
    const auto offer = [&](const char* data) {
        return inbox.Offer(TWrite{.Data = data, .Id = ++id}, TInbox::TClock::now());
    };
    // "abc" would make 11 bytes of 10; "" a fourth message of 3, though bytes are left.
    for (const auto& [data, kept] :
         {std::pair{"1234", true}, {"5678", true}, {"abc", false}, {"a", true}, {"", false}})
        EXPECT_EQ(offer(data), kept) << data;
    EXPECT_FALSE(inbox.Take(3));  // too small a buffer: the message stays
    EXPECT_EQ(inbox.Take(4), "1234");
    EXPECT_EQ(inbox.Bytes(), 5u);
    EXPECT_TRUE(offer("x"));
}

// An answer goes back to where the query came from: never to many computers, nor to this one.
TEST(NameResponder, AnswersOnlyQueriesFromAnotherComputer) {
    const std::vector<TIpv4Interface> own{{"eth0", 0x0a000001, 0xffffff00, 0x0a0000ff},
                                          {"lo", 0x7f000001, 0xff000000, 0x7f000001},
                                          {"p2p", 0xc0a80100, 0xfffffffe, 0xc0a80101}};  // a /31 link
    // clang-format off
    for (const auto& [address, answered] : std::initializer_list<std::pair<const char*, bool>>{
             {"10.0.0.7", true}, {"172.16.0.255", true}, {"192.168.1.1", true}, {"255.255.255.255", false},
             {"10.0.0.255", false}, {"10.0.0.0", false}, {"224.0.0.1", false}, {"239.255.255.250", false},
             {"0.0.0.0", false}, {"10.0.0.1", false}, {"127.0.0.2", false}, {"192.168.1.0", false}})
        EXPECT_EQ(AnswersQueryFrom(*ParseIpv4(address), own), answered) << address;
    // clang-format on
}

// A peer is written to at its latest address, from the network it is on; a name not heard from, or
// forgotten, goes by broadcast like a write to every computer.
TEST(Route, GoesToEveryNetworkOrToAPeerAloneOrByBroadcast) {
    const std::vector<TIpv4Interface> lan{{"eth0", 0x0a000001, 0xffffff00, 0x0a0000ff},
                                          {"eth1", 0xc0a80101, 0xffffff00, 0xc0a801ff}};
    TPeerAddressBook peers(2);
    peers.Learn("WS05", 0x0a000005);
    peers.Learn("WS02", 0x0a000002);
    peers.Learn("WS02", 0xc0a80102);  // moved, and now the freshest
    peers.Learn("WS03", 0xac100003);  // on none of our networks; the book is full: WS05 is the stalest
    const std::vector<TDestination> everywhere{{0x0a0000ff, 0x0a000001}, {0xc0a801ff, 0xc0a80101}};
    using TRow = std::tuple<const char*, const char*, TDatagramType, const char*, std::vector<TDestination>>;
    for (const auto& [server, bind, type, name, to] : std::initializer_list<TRow>{
             {"*", "0.0.0.0", DirectGroup, "WORKGROUP", everywhere},
             {"ws02", "0.0.0.0", DirectUnique, "ws02", {{0xc0a80102, 0xc0a80101}}},
             {"WS03", "0.0.0.0", DirectUnique, "WS03", {{0xac100003, 0x0a000001}}},
             {"WS09", "0.0.0.0", DirectUnique, "WS09", everywhere},  // only WS09 keeps it
             {"WS05", "0.0.0.0", DirectUnique, "WS05", everywhere},
             {".", "0.0.0.0", DirectUnique, "WS01", {{INADDR_LOOPBACK, 0}}},
             {".", "10.0.0.1", DirectUnique, "WS01", {{0x0a000001, 0}}}}) {
        const TRoute route = Route(server, "WS01", lan, peers, {.Interfaces = {}, .BindAddress = bind});
        EXPECT_EQ(std::pair(route.Type, route.DestinationName), std::pair(type, TNetbiosName{name, 0}))
            << server << bind;
        EXPECT_EQ(route.Destinations, to) << server << " bound to " << bind;
    }
}

// Only a message from the computer its source name names teaches an address, and only its announcement or
// answer moves a known computer; a forged memo, a stranger's text or a name that disagrees moves nobody.
TEST(Route, LearnsAComputersAddressOnlyFromItsOwnMessagesAndMovesItOnlyOnItsPresence) {
    const auto from = [](const char* origin, const char* kind, const char* text) {
        return std::string(kind) + "\r\n1\r\n" + origin + "\r\n" + text + "\r\nEND_MESSAGE\r\n";
    };
    TPeerAddressBook peers;
    using TRow = std::tuple<std::string, std::uint32_t, std::optional<std::uint32_t>>;
    for (const auto& [data, address, known] : std::initializer_list<TRow>{
             {"not a message", 1, std::nullopt},
             {from("WS03", "MEMO_MSG", "BEGIN_MEMO"), 1, std::nullopt},  // the source name says WS02
             {from("ws02", "MEMO_MSG", "BEGIN_MEMO"), 2, 2},             // a first address is learnt
             {from("WS02", "MEMO_MSG", "BEGIN_MEMO"), 3, 2},
             {from("WS02", "COMMAND_MSG", "OFFLINE_NOTIFY"), 3, 2},
             {from("WS02", "COMMAND_MSG", "ONLINE_RESPONSE"), 4, 4},
             {from("WS02", "COMMAND_MSG", "ONLINE_NOTIFY"), 5, 5}}) {
        LearnSender(peers, TWrite{data}, address);
        EXPECT_EQ(peers.Find("WS02"), known) << data;
    }
}

// A port that nothing on loopback uses right now. (Port 0 would not do: a copy sends to the port it listens
// on, and the one the system picks is known only once it listens.)
std::uint16_t FreePort() {
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t size = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    close(probe);
    return ntohs(address.sin_port);
}

// Two computers that are both loopback: the mailbox listens on 127.0.0.1, and "every computer" is lo.
class UdpTransport : public ::testing::Test {
protected:
    /// The next message, waiting for one with the transport's own wait; "<none>" when none came in time.
    std::string Read(TUdpTransport& own, TMailboxId mailbox) {
        do {
            if (const auto info = own.Pending(mailbox); info && info->MessageCount > 0) {
                std::string buffer(info->NextSize, '\0');
                return buffer.substr(0, own.Take(mailbox, buffer).value_or(0));
            }
        } while (own.Wait(mailbox, GiveUp.get_token()) != TMailslotWait::Stopped);
        return "<none>";
    }
    std::string Read() { return Read(Own, Mailbox); }

    const TUdpSettings Settings{
        .Port = FreePort(), .NameServicePort = FreePort(), .Interfaces = {"lo"}, .BindAddress = "127.0.0.1"};
    TUdpTransport Own{"ws01", Settings};    // answers name queries for WS01 while its mailbox is open
    TUdpTransport Other{"WS02", Settings};  // sends without a mailbox of its own
    TMailboxId Mailbox = Own.OpenMailbox("MB303");
    // Every wait of the test ends 20 s after its start: a datagram that never comes fails it instead of
    // hanging it.
    std::stop_source GiveUp;
    std::jthread Deadline{[this](std::stop_token done) {
        std::mutex mutex;
        std::condition_variable_any never;
        std::unique_lock lock(mutex);
        never.wait_for(lock, done, 20s, [] { return false; });
        GiveUp.request_stop();
    }};
};

// Delivery to every computer and back to the sender up to the size limit; one mailbox per port, free again at
// once when closed.
TEST_F(UdpTransport, DeliversUpToTheSizeLimitAndHoldsThePortForOneMailboxUntilClosed) {
    ASSERT_NE(Mailbox, InvalidMailboxId) << Own.LastError();
    Other.Send({"*", "MB303"}, "from WS02");
    Own.Send({"*", "mb303"}, "own copy");
    Other.Send({"WS01", "MB303"}, "direct by broadcast");  // WS01 not learned by WS02
    for (const char* expected : {"from WS02", "own copy", "direct by broadcast"})
        EXPECT_EQ(Read(), expected);
    const std::size_t largest = TUdpTransport::MaxMessageSize("MB303");
    EXPECT_FALSE(Own.Send({"*", "MB303"}, std::string(largest + 1, 'x')).Sent());
    EXPECT_TRUE(Own.Send({"*", "MB303"}, std::string(largest, 'y')).Sent());
    EXPECT_EQ(Read(), std::string(largest, 'y'));
    // What a second copy is told, and who holds a port, BesideSamba checks with nmbd as the holder.
    TUdpTransport second("WS01", Settings);
    EXPECT_EQ(second.OpenMailbox("MB303"), InvalidMailboxId);
    EXPECT_EQ(Own.OpenMailbox("Other"), InvalidMailboxId);
    // A poller blocked on the mailbox is released by the close, and the port is free at once.
    std::atomic<TMailslotWait> woke{TMailslotWait::CannotWait};
    std::jthread poller([&](std::stop_token stop) { woke = Own.Wait(Mailbox, stop); });
    Own.Close(Mailbox);
    poller.join();  // hangs if the close left a blocked poller behind
    EXPECT_NE(woke, TMailslotWait::Stopped);
    EXPECT_NE(second.OpenMailbox("MB303"), InvalidMailboxId);
}

// Beyond the queue's count, and beyond its bytes: what it cannot hold waits in the socket until read.
TEST_F(UdpTransport, LeavesWhatAFullQueueCannotHoldInTheSocketLosingNothing) {
    Own.Close(Mailbox);
    TUdpTransport counted("ws01", Settings, {.MaxCount = 1024});
    const auto box = counted.OpenMailbox("MB303");
    const TMailslotPath target{"WS01", "MB303"};
    constexpr int Burst = 1024 + 400;  // more than the queue holds
    for (int i = 0; i < Burst; ++i)
        ASSERT_TRUE(Other.Send(target, "memo " + std::to_string(i)).Sent());
    for (int i = 0; i < Burst; ++i)
        ASSERT_EQ(Read(counted, box), "memo " + std::to_string(i));
    EXPECT_EQ(counted.Pending(box)->MessageCount, 0);
    counted.Close(box);
    TUdpTransport small("ws01", Settings, {.MaxBytes = 10});
    const auto mailbox = small.OpenMailbox("MB303");
    for (const char* memo : {"12345678", "abc"})  // "abc" waits in the socket until "12345678" is read
        Other.Send({"WS01", "MB303"}, memo);
    EXPECT_EQ(Read(small, mailbox), "12345678");
    EXPECT_EQ(Read(small, mailbox), "abc");
}

}  // namespace
