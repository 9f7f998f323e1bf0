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

sockaddr_in LoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port that nothing on loopback uses right now.
std::uint16_t FreePort() {
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = LoopbackAddress(0);
    socklen_t size = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    close(probe);
    return ntohs(address.sin_port);
}

bool Write(TUdpTransport& transport, const std::string& path, const std::string& bytes) {
    const auto handle = transport.CreateFile(path);
    const bool written = transport.WriteFile(handle, bytes);
    transport.CloseHandle(handle);
    return written;
}

// Two computers that are both loopback itself: the mailbox listens on 127.0.0.1, and "every computer" is lo.
class UdpTransport : public ::testing::Test {
protected:
    static TUdpSettings Loopback(std::uint16_t nameServicePort = 0) {
        TUdpSettings settings;
        std::tie(settings.Port, settings.NameServicePort) = std::pair{FreePort(), nameServicePort};
        settings.Interfaces = {"lo"};
        settings.BindAddress = "127.0.0.1";
        return settings;
    }
    /// The next message, waiting (bounded) for one to arrive; "<none>" when none came.
    std::string Read() {
        for (int tries = 0; tries < 1000; ++tries) {
            if (const auto info = Own.GetMailslotInfo(Mailbox); info && info->MessageCount > 0) {
                std::string buffer(info->NextSize, '\0');
                return buffer.substr(0, Own.ReadFile(Mailbox, buffer).value_or(0));
            }
            std::this_thread::sleep_for(10ms);
        }
        return "<none>";
    }

    TUdpSettings Settings = Loopback();
    TUdpTransport Own{"WS01", Settings};
    TUdpTransport Other{"WS02", Settings};  // sends without a mailbox of its own
    TMailslotHandle Mailbox = Own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
};

TEST_F(UdpTransport, DeliversToEveryComputerAndBackToTheSenderUpToTheSizeLimit) {
    ASSERT_NE(Mailbox, InvalidMailslotHandle) << Own.LastError();
    Write(Other, "\\\\*\\mailslot\\MB303", "from WS02");
    Write(Own, "\\\\*\\mailslot\\mb303", "own copy");
    Write(Other, "\\\\*\\mailslot\\Other", "other box");
    Write(Other, "\\\\WS03\\mailslot\\MB303", "for someone else");
    Write(Other, "\\\\WS01\\mailslot\\MB303", "direct by broadcast");  // WS01 not learned by WS02
    for (const char* expected : {"from WS02", "own copy", "direct by broadcast"})
        EXPECT_EQ(Read(), expected);
    const std::size_t largest = TUdpTransport::MaxMessageSize("MB303");
    EXPECT_FALSE(Write(Own, "\\\\*\\mailslot\\MB303", std::string(largest + 1, 'x')));
    EXPECT_TRUE(Write(Own, "\\\\*\\mailslot\\MB303", std::string(largest, 'y')));
    EXPECT_EQ(Read(), std::string(largest, 'y'));
}

TEST_F(UdpTransport, RefusesASecondMailboxAndFreesThePortOnClose) {
    TUdpTransport second("WS01", Settings);
    EXPECT_EQ(second.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0), InvalidMailslotHandle);
    EXPECT_NE(second.LastError().find("in use"), std::string::npos) << second.LastError();
    EXPECT_EQ(Own.CreateMailslot("\\\\.\\mailslot\\Other", 0, 0), InvalidMailslotHandle);
    // A poller blocked on the mailbox is released by the close, and the port is free at once.
    std::atomic<TMailslotWait> woke{TMailslotWait::CannotWait};
    std::jthread poller([&](std::stop_token stop) { woke = Own.WaitForDatagram(Mailbox, stop); });
    Own.CloseHandle(Mailbox);
    poller.join();  // hangs if the close left a blocked poller behind
    EXPECT_NE(woke, TMailslotWait::Stopped);
    EXPECT_NE(second.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0), InvalidMailslotHandle);
}

TEST_F(UdpTransport, LeavesABurstBeyondTheQueueInTheSocketUntilReadLosingNothing) {
    const auto target = Other.CreateFile("\\\\WS01\\mailslot\\MB303");
    constexpr int Burst = 4096 + 400;  // more than the queue holds
    for (int i = 0; i < Burst; ++i)
        ASSERT_TRUE(Other.WriteFile(target, "memo " + std::to_string(i)));
    for (int i = 0; i < Burst; ++i)
        ASSERT_EQ(Read(), "memo " + std::to_string(i));
    EXPECT_EQ(Own.GetMailslotInfo(Mailbox)->MessageCount, 0);
}

TEST_F(UdpTransport, AnswersNameQueriesForItsOwnNameOnly) {
    const std::uint16_t nameService = FreePort();
    TUdpTransport own("ws01", Loopback(nameService));
    ASSERT_NE(own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0), InvalidMailslotHandle);
    const int asker = socket(AF_INET, SOCK_DGRAM, 0);
    const timeval timeout{5, 0};
    setsockopt(asker, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const sockaddr_in to = LoopbackAddress(nameService);
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
