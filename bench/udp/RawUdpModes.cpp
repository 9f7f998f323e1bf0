// The floor of the latency figure: the same one-at-a-time exchange as ping/echo, over plain UDP sockets
// with no messenger, no mailbox and no hand-over. What is left is the kernel, the veth pair and the
// bridge, and one wake-up of a thread blocked in recv() on each side.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "bench/udp/LatencySummary.h"
#include "bench/udp/Modes.h"
#include "bench/udp/Monotonic.h"

namespace {

// Sequence and a time in ns, both ways: the ping stamps its send time, the echo answers with the one-way.
struct TRawDatagram {
    std::int64_t Sequence = 0;
    std::int64_t Value = 0;
};

constexpr std::int64_t Closing = -1;

class TSocket {
public:
    TSocket() : Fd(socket(AF_INET, SOCK_DGRAM, 0)) {}
    ~TSocket() {
        if (Fd >= 0) {
            close(Fd);
        }
    }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;
    int Fd;
};

sockaddr_in Address(const std::string& ip, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
    return address;
}

}  // namespace

int RunRawEcho(const TBenchOptions& options) {
    TSocket sock;
    const sockaddr_in any = Address("0.0.0.0", options.Port);
    if (sock.Fd < 0 || bind(sock.Fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        std::perror("UdpBench: raw-echo");
        return ExitCode::Failed;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::int64_t answered = 0;
    for (;;) {
        TRawDatagram datagram;
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const auto got =
            recvfrom(sock.Fd, &datagram, sizeof datagram, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
        const std::int64_t arrived = MonotonicNs();
        if (got != sizeof datagram) {
            continue;
        }
        if (datagram.Sequence == Closing) {
            break;
        }
        datagram.Value = arrived - datagram.Value;
        sendto(sock.Fd, &datagram, sizeof datagram, 0, reinterpret_cast<const sockaddr*>(&from), fromSize);
        ++answered;
    }
    std::printf("raw-echo answered=%lld\n", static_cast<long long>(answered));
    return ExitCode::Ok;
}

int RunRawPing(const TBenchOptions& options) {
    TSocket sock;
    const sockaddr_in peer = Address(options.Peer, options.Port);
    const timeval patience{1, 0};  // a lost datagram costs a second, as it does the messenger's ping
    if (sock.Fd < 0 || setsockopt(sock.Fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience) != 0 ||
        connect(sock.Fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        std::perror("UdpBench: raw-ping");
        return ExitCode::Failed;
    }
    std::vector<std::int64_t> oneWays;
    std::vector<std::int64_t> roundTrips;
    std::int64_t lost = 0;
    for (std::int64_t sequence = 0; sequence < options.Warmup + options.Count; ++sequence) {
        const std::int64_t sentAt = MonotonicNs();
        TRawDatagram datagram{sequence, sentAt};
        send(sock.Fd, &datagram, sizeof datagram, 0);
        // A late answer to an earlier datagram is read and passed over.
        bool answered = false;
        while (!answered && recv(sock.Fd, &datagram, sizeof datagram, 0) == sizeof datagram) {
            answered = datagram.Sequence == sequence;
        }
        if (!answered) {
            ++lost;
        } else if (sequence >= options.Warmup) {
            roundTrips.push_back(MonotonicNs() - sentAt);
            oneWays.push_back(datagram.Value);
        }
    }
    const TRawDatagram closing{Closing, 0};
    send(sock.Fd, &closing, sizeof closing, 0);
    if (!options.SamplesPath.empty() && !WriteLatencySamples(options.SamplesPath, oneWays)) {
        std::fprintf(stderr, "UdpBench: cannot write %s\n", options.SamplesPath.c_str());
    }
    std::printf("%s", SummarizeLatencies("oneway", oneWays).c_str());
    std::printf("%s", SummarizeLatencies("roundtrip", roundTrips).c_str());
    std::printf("ping sent=%lld warmup=%lld lost=%lld\n",
                static_cast<long long>(options.Warmup + options.Count),
                static_cast<long long>(options.Warmup), static_cast<long long>(lost));
    return ExitCode::Ok;
}
