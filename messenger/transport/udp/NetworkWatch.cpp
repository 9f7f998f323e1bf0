// The network watch on a netlink route socket: only the notices' arrival matters, not their contents;
// the interfaces are listed again, which also folds a burst of notices into one look.
#include "messenger/transport/udp/NetworkWatch.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>

#include "messenger/transport/udp/NetworkInterfaces.h"

namespace {

std::vector<std::pair<std::uint32_t, std::uint32_t>> Networks(const std::vector<std::string>& only) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> networks;
    for (const auto& network : BroadcastInterfaces(only)) {
        networks.emplace_back(network.Address, network.Broadcast);
    }
    return networks;
}

}  // namespace

TNetworkWatch::TNetworkWatch(std::vector<std::string> only)
    : Socket(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE)),
      Only(std::move(only)) {
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR;
    if (Socket.Valid() &&
        bind(Socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        Socket.Reset();
    }
    Known = Networks(Only);
}

bool TNetworkWatch::TakeChanges() {
    std::array<char, 8192> notice{};
    while (recv(Socket.Get(), notice.data(), notice.size(), MSG_DONTWAIT) > 0) {
    }
    auto now = Networks(Only);
    const bool gained = std::ranges::any_of(
        now, [this](const auto& network) { return std::ranges::find(Known, network) == Known.end(); });
    Known = std::move(now);
    return gained;
}
