// The UDP transport on loopback: delivery, refusal, malformed input, size limit, waiting, and a messenger.
#include "UdpTransport.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "CallQueue.h"
#include "FixedSystem.h"
#include "MailslotDatagram.h"
#include "NameQuery.h"
#include "uniMessenger.h"

namespace {

using namespace std::chrono_literals;

// A port that nothing on loopback uses right now.
std::uint16_t FreePort() {
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
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

void SendRaw(const std::string& bytes, std::uint16_t port) {
    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sendto(sender, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    close(sender);
}

void Write(TUdpTransport& transport, const std::string& path, const std::string& bytes) {
    const auto handle = transport.CreateFile(path);
    ASSERT_NE(handle, InvalidMailslotHandle);
    EXPECT_TRUE(transport.WriteFile(handle, bytes));
    transport.CloseHandle(handle);
}

/// Waits (bounded) until the mailbox holds `count` datagrams; the wait is the transport's own.
std::int32_t WaitForCount(TUdpTransport& transport, TMailslotHandle mailbox, std::int32_t count) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    std::int32_t seen = 0;
    while ((seen = transport.GetMailslotInfo(mailbox).value_or(TMailslotInfo{}).MessageCount) < count &&
           std::chrono::steady_clock::now() < deadline) {
        std::stop_source timeout;
        std::jthread alarm([&timeout](std::stop_token stop) {
            std::mutex m;
            std::condition_variable_any cv;
            std::unique_lock lock(m);
            cv.wait_for(lock, stop, 200ms, [] { return false; });
            timeout.request_stop();
        });
        transport.WaitForDatagram(mailbox, timeout.get_token());
    }
    return seen;
}

std::string Read(TUdpTransport& transport, TMailslotHandle mailbox) {
    const auto info = transport.GetMailslotInfo(mailbox);
    if (!info || info->MessageCount == 0) {
        return "<none>";
    }
    std::string buffer(info->NextSize, '\0');
    const auto read = transport.ReadFile(mailbox, buffer);
    return read ? buffer.substr(0, *read) : "<failed>";
}

TEST(UdpTransport, DeliversToEveryComputerAndBackToTheSender) {
    const TUdpSettings settings = LoopbackSettings();
    TUdpTransport own("WS01", settings);
    TUdpTransport other("WS02", settings);  // sends without a mailbox of its own
    const auto mailbox = own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    ASSERT_NE(mailbox, InvalidMailslotHandle) << own.LastError();
    EXPECT_EQ(own.BoundPort(), settings.Port);

    Write(other, "\\\\*\\mailslot\\MB303", "from WS02");
    Write(own, "\\\\*\\mailslot\\mb303", "own copy");
    Write(own, "\\\\.\\mailslot\\MB303", "local");
    Write(other, "\\\\*\\mailslot\\Other", "other box");
    Write(other, "\\\\WS01\\mailslot\\MB303", "direct by broadcast");  // WS01 not learned by WS02
    Write(other, "\\\\WS03\\mailslot\\MB303", "for someone else");
    ASSERT_EQ(WaitForCount(own, mailbox, 4), 4);
    EXPECT_EQ(Read(own, mailbox), "from WS02");
    EXPECT_EQ(Read(own, mailbox), "own copy");
    EXPECT_EQ(Read(own, mailbox), "local");
    EXPECT_EQ(Read(own, mailbox), "direct by broadcast");
    EXPECT_EQ(Read(own, mailbox), "<none>");
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
    EXPECT_EQ(first.CreateMailslot("\\\\WS01\\mailslot\\MB303", 0, 0), InvalidMailslotHandle);

    // A poller blocked on the mailbox is released by the close, and the port is free at once.
    std::atomic<TMailslotWait> woke{TMailslotWait::CannotWait};
    std::jthread poller([&](std::stop_token stop) { woke = first.WaitForDatagram(mailbox, stop); });
    first.CloseHandle(mailbox);
    poller.join();  // hangs if the close left a blocked poller behind
    // Closed before the poller got there, it finds nothing to wait on; closed while it waited, it wakes.
    EXPECT_NE(woke, TMailslotWait::Stopped);
    EXPECT_FALSE(first.GetMailslotInfo(mailbox));
    EXPECT_NE(second.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0), InvalidMailslotHandle);
}

TEST(UdpTransport, DropsMalformedDatagramsAndKeepsServing) {
    const TUdpSettings settings = LoopbackSettings();
    TUdpTransport own("WS01", settings);
    const auto mailbox = own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    TMailslotDatagram valid;
    valid.SourceName = {"WINHOST", 0};
    valid.DestinationName = {"WORKGROUP", 0};
    valid.MailslotName = "\\MAILSLOT\\MB303";
    valid.Data = "valid";
    const std::string encoded = EncodeMailslotDatagram(valid);
    std::string fragment = encoded;
    fragment[1] = static_cast<char>(fragment[1] | DatagramFlagMore);
    for (const std::string& junk : {std::string(), std::string("garbage"), encoded.substr(0, 100), fragment,
                                    std::string("\x13\x02\x00\x01\x7f\x00\x00\x01\x00\x8a\x82", 11)}) {
        SendRaw(junk, settings.Port);
    }
    SendRaw(encoded, settings.Port);
    ASSERT_EQ(WaitForCount(own, mailbox, 1), 1);
    EXPECT_EQ(Read(own, mailbox), "valid");
    EXPECT_EQ(Read(own, mailbox), "<none>");
}

TEST(UdpTransport, LeavesABurstBeyondTheQueueInTheSocketUntilReadLosingNothing) {
    const TUdpSettings settings = LoopbackSettings();
    TUdpTransport own("WS01", settings);
    TUdpTransport other("WS02", settings);
    const auto mailbox = own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    const auto target = other.CreateFile("\\\\WS01\\mailslot\\MB303");
    constexpr int Burst = 4096 + 400;  // more than the queue holds
    for (int i = 0; i < Burst; ++i) {
        ASSERT_TRUE(other.WriteFile(target, "memo " + std::to_string(i)));
    }
    for (int i = 0; i < Burst; ++i) {
        ASSERT_GE(WaitForCount(own, mailbox, 1), 1) << "lost after " << i;
        ASSERT_EQ(Read(own, mailbox), "memo " + std::to_string(i));
    }
    EXPECT_EQ(Read(own, mailbox), "<none>");
}

TEST(UdpTransport, SendsNothingTooLargeForOneDatagram) {
    const TUdpSettings settings = LoopbackSettings();
    TUdpTransport own("WS01", settings);
    const auto mailbox = own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    const std::size_t largest = TUdpTransport::MaxMessageSize("MB303");
    EXPECT_EQ(largest, MaxUdpPayloadSize - MailslotDatagramOverhead - std::string("\\MAILSLOT\\MB303").size());
    const auto target = own.CreateFile("\\\\*\\mailslot\\MB303");
    EXPECT_FALSE(own.WriteFile(target, std::string(largest + 1, 'x')));
    EXPECT_TRUE(own.WriteFile(target, std::string(largest, 'y')));
    own.CloseHandle(target);
    ASSERT_EQ(WaitForCount(own, mailbox, 1), 1);
    EXPECT_EQ(Read(own, mailbox), std::string(largest, 'y'));
}

TEST(UdpTransport, AnswersNameQueriesForItsOwnNameOnly) {
    const std::uint16_t nameService = FreePort();
    TUdpTransport own("ws01", LoopbackSettings(nameService));
    ASSERT_NE(own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0), InvalidMailslotHandle);
    const int asker = socket(AF_INET, SOCK_DGRAM, 0);
    timeval timeout{5, 0};
    setsockopt(asker, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(nameService);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto ask = [&](const std::string& name, std::uint16_t id) {
        const std::string query = EncodeNameQuery({id, true, false, {name, 0}});
        sendto(asker, query.data(), query.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    };
    ask("OTHER", 1);
    ask("WS01", 2);
    char answer[512];
    const auto received = recv(asker, answer, sizeof answer, 0);
    close(asker);
    // The first answer that comes is for WS01: the query for another name went unanswered.
    ASSERT_EQ(received, static_cast<ssize_t>(NameQueryResponseSize));
    EXPECT_EQ(std::string(answer, 2), std::string("\x00\x02", 2));
    EXPECT_EQ(std::string(answer + 58, 4), std::string("\x7f\x00\x00\x01", 4));
}

TEST(UdpTransport, CarriesAMessengerThatHearsItsOwnMemoToAll) {
    TUdpTransport transport("WS01", LoopbackSettings());
    TCallQueue queue;
    TFixedSystem system("WS01");
    TMessenger messenger({transport, queue, system});
    std::vector<std::string> memos;
    messenger.OnNewMemo = [&](TMainMessenger&, const std::string& origin, const std::string&, const TStringList& lines) {
        memos.push_back(origin + ":" + (lines.empty() ? "" : lines.front()));
    };
    std::vector<std::string> errors;
    messenger.OnError = [&](TMainMessenger&, const std::string& message) { errors.push_back(message); };
    messenger.SetBoxName("MB303");
    for (int round = 0; round < 3; ++round) {  // the port is free again after every deactivation
        messenger.Activate();
        messenger.SendMemoToAll({"round " + std::to_string(round)});
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (memos.size() < static_cast<std::size_t>(round + 1) && std::chrono::steady_clock::now() < deadline) {
            queue.RunOne(100ms);
        }
        messenger.Deactivate();
    }
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(memos, (std::vector<std::string>{"WS01:round 0", "WS01:round 1", "WS01:round 2"}));
}

}  // namespace
