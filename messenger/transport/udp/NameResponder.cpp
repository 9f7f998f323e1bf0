// The name-service answering thread.
#include "messenger/transport/udp/NameResponder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <random>

#include "messenger/AsciiText.h"
#include "messenger/transport/udp/NameQuery.h"
#include "messenger/transport/udp/NetworkInterfaces.h"
#include "messenger/transport/udp/UdpSocket.h"

TUdpSocket OpenNameServiceSocket(const TUdpSettings& settings) {
    if (settings.NameServicePort == 0) {
        return {};
    }
    TFileDescriptor socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const int on = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(settings.NameServicePort);
    address.sin_addr.s_addr = htonl(ParseIpv4(settings.BindAddress).value_or(INADDR_ANY));
    if (!socket.Valid() || setsockopt(socket.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return {TFileDescriptor(), 0, BindFailure(errno, settings.NameServicePort), errno};
    }
    return {std::move(socket), settings.NameServicePort, {}, 0};
}

std::unique_ptr<TNameResponder> TNameResponder::Start(TFileDescriptor socket, TFileDescriptor broadcasts,
                                                      const std::string& computerName,
                                                      const TUdpSettings& settings) {
    if (!socket.Valid()) {
        return nullptr;
    }
    return std::make_unique<TNameResponder>(std::move(socket), std::move(broadcasts), computerName, settings);
}

TNameResponder::TNameResponder(TFileDescriptor socket, TFileDescriptor broadcasts, std::string computerName,
                               TUdpSettings settings)
    : Socket(std::move(socket)),
      Broadcasts(std::move(broadcasts)),
      OwnName(std::move(computerName)),
      Settings(std::move(settings)) {
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
    while (!stop.stop_requested()) {
        // poll() passes over the -1 of a missing broadcast socket.
        pollfd fds[3] = {{Socket.Get(), POLLIN, 0}, {Wake.Get(), POLLIN, 0}, {Broadcasts.Get(), POLLIN, 0}};
        if (poll(fds, 3, -1) < 0 && errno != EINTR) {
            return;
        }
        if (stop.stop_requested()) {
            return;
        }
        // Only the sockets that have something: a missing broadcast socket is never read.
        for (const auto& ready : {fds[0], fds[2]}) {
            if ((ready.revents & POLLIN) != 0) {
                AnswerAll(ready.fd);
            }
        }
    }
}

void TNameResponder::AnswerAll(int socket) {
    std::array<char, 1500> buffer{};
    for (;;) {
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const auto received = recvfrom(socket, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (received < 0) {
            return;
        }
        Answer(std::string_view(buffer.data(), static_cast<std::size_t>(received)), from);
    }
}

void TNameResponder::Answer(std::string_view request, const sockaddr_in& from) {
    const auto query = DecodeNameQuery(request);
    if (!query || query->Name.Suffix != 0x00 ||
        !EqualsIgnoringCase(query->Name.Name, NormalizeNetbiosName(OwnName))) {
        return;
    }
    const std::uint32_t querier = ntohl(from.sin_addr.s_addr);
    std::vector<TIpv4Interface> own;
    for (auto& report : ReportInterfaces({})) {
        own.push_back(std::move(report.Interface));
    }
    if (!AnswersQueryFrom(querier, own)) {
        return;
    }
    // Answer with the address on the querier's network, so a multi-homed computer names the one the
    // querier can reach.
    const auto interfaces = BroadcastInterfaces(Settings.Interfaces);
    const auto local = InterfaceFor(interfaces, querier);
    if (!local && interfaces.empty()) {
        return;
    }
    const std::string answer =
        EncodeNameQueryResponse(*query, local ? local->Address : interfaces.front().Address);
    sendto(Socket.Get(), answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&from),
           sizeof from);
}

bool AnswersQueryFrom(std::uint32_t source, const std::vector<TIpv4Interface>& own) {
    // This network (0/8), loopback (127/8), multicast (224/4) and reserved (240/4).
    const std::uint32_t first = source >> 24;
    if (first == 0 || first == 127 || first >= 224) {
        return false;
    }
    return std::ranges::none_of(own, [source](const TIpv4Interface& network) {
        // On a /31 or /32 both addresses are hosts: there is no network or broadcast address.
        const std::uint32_t host = ~network.Netmask;
        const bool networkOrBroadcast =
            network.Netmask < 0xFFFFFFFE && network.Contains(source) &&
            ((source & host) == 0 || (source & host) == host || source == network.Broadcast);
        return source == network.Address || networkOrBroadcast;
    });
}

TNameHolders FindNameHolders(const std::string& name, const TUdpSettings& settings,
                             std::chrono::milliseconds timeout) {
    const TUdpSocket socket = OpenSendSocket();
    if (settings.NameServicePort == 0 || !socket.Socket.Valid()) {
        return {};
    }
    TNameQuery query;
    query.TransactionId = static_cast<std::uint16_t>(std::random_device()());
    query.Broadcast = true;
    query.Name = {NormalizeNetbiosName(name), NetbiosSuffixWorkstation};
    const std::string request = EncodeNameQuery(query);
    for (const auto& network : BroadcastInterfaces(settings.Interfaces)) {
        SendTo(socket.Socket.Get(), request, network.Broadcast, settings.NameServicePort);
    }

    const auto own = LocalAddresses();
    TNameHolders holders;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::array<char, 1500> buffer{};
    for (auto now = std::chrono::steady_clock::now(); now < deadline;
         now = std::chrono::steady_clock::now()) {
        pollfd fd{socket.Socket.Get(), POLLIN, 0};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            continue;  // the time is up, or a signal came
        }
        const auto received = recv(socket.Socket.Get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
        const auto answer = received > 0
                                ? DecodeNameQueryResponse({buffer.data(), static_cast<std::size_t>(received)})
                                : std::nullopt;
        if (!answer || answer->TransactionId != query.TransactionId || answer->Name != query.Name) {
            continue;
        }
        for (const std::uint32_t address : answer->Addresses) {
            if (std::ranges::find(own, address) != own.end()) {
                holders.ThisComputer = true;
            } else if (std::ranges::find(holders.Others, address) == holders.Others.end()) {
                holders.Others.push_back(address);
            }
        }
    }
    return holders;
}

std::string NameWarning(const std::string& name, const TNameHolders& holders,
                        const std::optional<std::string>& nameServer, std::uint16_t nameServicePort) {
    if (!holders.Others.empty()) {
        std::string where;
        for (const std::uint32_t address : holders.Others) {
            where += (where.empty() ? "" : ", ") + FormatIpv4(address);
        }
        return "The computer name " + name + " is also used by " + where +
               ". Memos to this name may reach that computer as well as this one; give this computer a "
               "name of its own with ComputerName in the [Network] section of the settings file.";
    }
    if (!nameServer || holders.ThisComputer) {
        return {};
    }
    // Another name server here (Samba's nmbd, typically) answers for the names it knows; a ComputerName
    // of this program's own is not among them.
    const std::string port = "UDP port " + std::to_string(nameServicePort);
    return "Nothing on this computer answers name queries for " + name + ": " +
           (nameServer->empty() ? "another program" : *nameServer) + " holds " + port +
           " and does not know that name, so Windows computers cannot send to it by name. Give "
           "ComputerName in the [Network] section of the settings file the name that program answers to "
           "(Samba's 'netbios name'), or remove it.";
}
