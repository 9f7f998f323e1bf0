// The UDP transport, bound to loopback only: delivery, one mailbox per port, the size limit, a burst
// beyond the queue, and the name responder.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "NameQuery.h"
#include "UdpTransport.h"

namespace {

using namespace std::chrono_literals;

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port that nothing on loopback uses right now.
std::uint16_t FreePort() {
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    close(probe);
    return ntohs(address.sin_port);
}

// Everything stays on loopback: the mailbox listens on 127.0.0.1 and "every computer" is lo itself.
TUdpSettings LoopbackSettings(std::uint16_t nameServicePort = 0) {
    TUdpSettings settings;
    settings.Port = FreePort();
    settings.NameServicePort = nameServicePort;
    settings.Interfaces = {"lo"};
    settings.BindAddress = "127.0.0.1";
    return settings;
}

bool Write(TUdpTransport& transport, const std::string& path, const std::string& bytes) {
    const auto handle = transport.CreateFile(path);
    const bool written = transport.WriteFile(handle, bytes);
    transport.CloseHandle(handle);
    return written;
}

/// The next message, waiting (bounded) for one to arrive; "<none>" when none came.
std::string Read(TUdpTransport& transport, TMailslotHandle mailbox) {
    for (int tries = 0; tries < 1000; ++tries) {
        if (const auto info = transport.GetMailslotInfo(mailbox); info && info->MessageCount > 0) {
            std::string buffer(info->NextSize, '\0');
            const auto read = transport.ReadFile(mailbox, buffer);
            return read ? buffer.substr(0, *read) : "<failed>";
        }
        std::this_thread::sleep_for(10ms);
    }
    return "<none>";
}

TEST(UdpTransport, DeliversToEveryComputerAndBackToTheSender) {
    const TUdpSettings settings = LoopbackSettings();
    TUdpTransport own("WS01", settings);
    TUdpTransport other("WS02", settings);  // sends without a mailbox of its own
    const auto mailbox = own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    ASSERT_NE(mailbox, InvalidMailslotHandle) << own.LastError();
    Write(other, "\\\\*\\mailslot\\MB303", "from WS02");
    Write(own, "\\\\*\\mailslot\\mb303", "own copy");
    Write(other, "\\\\*\\mailslot\\Other", "other box");
    Write(other, "\\\\WS03\\mailslot\\MB303", "for someone else");
    Write(other, "\\\\WS01\\mailslot\\MB303", "direct by broadcast");  // WS01 not learned by WS02
    for (const char* expected : {"from WS02", "own copy", "direct by broadcast"})
        EXPECT_EQ(Read(own, mailbox), expected);
}

TEST(UdpTransport, RefusesASecondMailboxAndFreesThePortOnClose) {
    const TUdpSettings settings = LoopbackSettings();
    TUdpTransport first("WS01", settings);
    TUdpTransport second("WS01", settings);
    const auto mailbox = first.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    ASSERT_NE(mailbox, InvalidMailslotHandle);
    EXPECT_EQ(second.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0), InvalidMailslotHandle);
    EXPECT_NE(second.LastError().find("in use"), std::string::npos) << second.LastError();
    EXPECT_EQ(first.CreateMailslot("\\\\.\\mailslot\\Other", 0, 0), InvalidMailslotHandle);
    // A poller blocked on the mailbox is released by the close, and the port is free at once.
    std::atomic<TMailslotWait> woke{TMailslotWait::CannotWait};
    std::jthread poller([&](std::stop_token stop) { woke = first.WaitForDatagram(mailbox, stop); });
    first.CloseHandle(mailbox);
    poller.join();  // hangs if the close left a blocked poller behind
    EXPECT_NE(woke, TMailslotWait::Stopped);
    EXPECT_NE(second.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0), InvalidMailslotHandle);
}

TEST(UdpTransport, SendsTheLargestMessageAndNothingLarger) {
    TUdpTransport own("WS01", LoopbackSettings());
    const auto mailbox = own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    const std::size_t largest = TUdpTransport::MaxMessageSize("MB303");
    EXPECT_FALSE(Write(own, "\\\\*\\mailslot\\MB303", std::string(largest + 1, 'x')));
    EXPECT_TRUE(Write(own, "\\\\*\\mailslot\\MB303", std::string(largest, 'y')));
    EXPECT_EQ(Read(own, mailbox), std::string(largest, 'y'));
}

TEST(UdpTransport, LeavesABurstBeyondTheQueueInTheSocketUntilReadLosingNothing) {
    const TUdpSettings settings = LoopbackSettings();
    TUdpTransport own("WS01", settings);
    TUdpTransport other("WS02", settings);
    const auto mailbox = own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    const auto target = other.CreateFile("\\\\WS01\\mailslot\\MB303");
    constexpr int Burst = 4096 + 400;  // more than the queue holds
    for (int i = 0; i < Burst; ++i)
        ASSERT_TRUE(other.WriteFile(target, "memo " + std::to_string(i)));
    for (int i = 0; i < Burst; ++i)
        ASSERT_EQ(Read(own, mailbox), "memo " + std::to_string(i));
    EXPECT_EQ(own.GetMailslotInfo(mailbox)->MessageCount, 0);
}

TEST(UdpTransport, AnswersNameQueriesForItsOwnNameOnly) {
    const std::uint16_t nameService = FreePort();
    TUdpTransport own("ws01", LoopbackSettings(nameService));
    ASSERT_NE(own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0), InvalidMailslotHandle);
    const int asker = socket(AF_INET, SOCK_DGRAM, 0);
    const timeval timeout{5, 0};
    setsockopt(asker, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const sockaddr_in to = Loopback(nameService);
    for (const auto& [name, id] : {std::pair{"OTHER", 1}, {"WS01", 2}}) {
        const std::string query = EncodeNameQuery({static_cast<std::uint16_t>(id), true, false, {name, 0}});
        sendto(asker, query.data(), query.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    char answer[512];
    const auto received = recv(asker, answer, sizeof answer, 0);
    close(asker);
    // The first answer that comes is for WS01: the query for another name went unanswered.
    ASSERT_EQ(received, static_cast<ssize_t>(NameQueryResponseSize));
    EXPECT_EQ(std::string(answer, 2), std::string("\x00\x02", 2));
    EXPECT_EQ(std::string(answer + 58, 4), std::string("\x7f\x00\x00\x01", 4));
}

}  // namespace
