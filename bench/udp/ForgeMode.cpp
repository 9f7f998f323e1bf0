// A hostile peer: announcements of computers that do not exist, each datagram under the invented name as
// its source, as fast as asked, from a plain socket. What a list, a window and an address book must survive.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "bench/udp/Modes.h"
#include "bench/udp/Monotonic.h"
#include "messenger/MessageText.h"
#include "messenger/transport/udp/MailslotDatagram.h"

int RunForge(const TBenchOptions& options) {
    const int sock = socket(AF_INET, SOCK_DGRAM, 0);
    const int on = 1;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(options.Port);
    if (sock < 0 || setsockopt(sock, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        inet_pton(AF_INET, options.Peer.c_str(), &to.sin_addr) != 1) {
        std::perror("UdpBench: forge");
        return ExitCode::Failed;
    }
    std::int64_t failed = 0;
    const std::int64_t start = MonotonicNs();
    for (std::int64_t sequence = 0; sequence < options.Count; ++sequence) {
        if (options.Rate > 0) {
            const std::int64_t early = start + sequence * 1'000'000'000 / options.Rate - MonotonicNs();
            if (early > 0) {
                std::this_thread::sleep_for(std::chrono::nanoseconds(early));
            }
        }
        const std::string name = "FORGED" + std::to_string(sequence);
        TStringList lines;
        MessageText::AppendCommand(lines, "12:00:00", name, MessageText::OnlineNotify);
        TMailslotDatagram datagram;
        datagram.DatagramId = static_cast<std::uint16_t>(sequence);
        datagram.SourceName = {name, 0x00};
        datagram.DestinationName = {"WORKGROUP", 0x00};
        datagram.MailslotName = MailslotWireName(options.BoxName);
        datagram.Data = MessageText::Join(lines);
        const std::string bytes = EncodeMailslotDatagram(datagram);
        if (sendto(sock, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
            ++failed;
        }
    }
    const double seconds = static_cast<double>(MonotonicNs() - start) / 1e9;
    close(sock);
    std::printf("forge sent=%lld failed=%lld seconds=%.3f\n", static_cast<long long>(options.Count - failed),
                static_cast<long long>(failed), seconds);
    return ExitCode::Ok;
}
