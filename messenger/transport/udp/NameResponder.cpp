// The name-service answering thread.
#include "messenger/transport/udp/NameResponder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>

#include "messenger/AsciiText.h"
#include "messenger/transport/udp/NameQuery.h"
#include "messenger/transport/udp/NetworkInterfaces.h"

std::unique_ptr<TNameResponder> TNameResponder::Start(const std::string& computerName,
                                                      const TUdpSettings& settings) {
    if (settings.NameServicePort == 0) {
        return nullptr;
    }
    TFileDescriptor socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const int on = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(settings.NameServicePort);
    address.sin_addr.s_addr = htonl(ParseIpv4(settings.BindAddress).value_or(INADDR_ANY));
    if (!socket.Valid() || setsockopt(socket.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return nullptr;
    }
    return std::make_unique<TNameResponder>(std::move(socket), computerName, settings);
}

TNameResponder::TNameResponder(TFileDescriptor socket, std::string computerName, TUdpSettings settings)
    : Socket(std::move(socket)), OwnName(std::move(computerName)), Settings(std::move(settings)) {
    Thread = std::jthread([this](std::stop_token stop) { Serve(stop); });
}

TNameResponder::~TNameResponder() {
    Thread.request_stop();
    Wake.Signal();
    if (Thread.joinable()) {
        Thread.join();
    }
}

void TNameResponder::Serve(std::stop_token stop) {
    std::array<char, 1500> buffer{};
    while (!stop.stop_requested()) {
        pollfd fds[2] = {{Socket.Get(), POLLIN, 0}, {Wake.Get(), POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        while (!stop.stop_requested()) {
            sockaddr_in from{};
            socklen_t fromSize = sizeof from;
            const auto received = recvfrom(Socket.Get(), buffer.data(), buffer.size(), 0,
                                           reinterpret_cast<sockaddr*>(&from), &fromSize);
            if (received < 0) {
                break;
            }
            Answer(std::string_view(buffer.data(), static_cast<std::size_t>(received)), from);
        }
    }
}

void TNameResponder::Answer(std::string_view request, const sockaddr_in& from) {
    const auto query = DecodeNameQuery(request);
    if (!query || query->Name.Suffix != 0x00 ||
        !EqualsIgnoringCase(query->Name.Name, NormalizeNetbiosName(OwnName))) {
        return;
    }
    // Answer with the address on the querier's network, so a multi-homed computer names the one the
    // querier can reach.
    const auto interfaces = BroadcastInterfaces(Settings.Interfaces);
    const auto local = InterfaceFor(interfaces, ntohl(from.sin_addr.s_addr));
    if (!local && interfaces.empty()) {
        return;
    }
    const std::string answer =
        EncodeNameQueryResponse(*query, local ? local->Address : interfaces.front().Address);
    sendto(Socket.Get(), answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&from),
           sizeof from);
}
