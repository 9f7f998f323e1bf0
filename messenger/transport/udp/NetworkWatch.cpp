// The network watch on a netlink route socket. The notices only tell that something went away; what is
// there now is listed again, which also folds a burst of notices into one look.
#include "messenger/transport/udp/NetworkWatch.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
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

// Whether a notice tells of a network going away: a link down or without carrier, an address removed.
bool TellsOfLoss(const nlmsghdr& notice) {
    if (notice.nlmsg_type == RTM_DELLINK || notice.nlmsg_type == RTM_DELADDR) {
        return true;
    }
    if (notice.nlmsg_type != RTM_NEWLINK || notice.nlmsg_len < NLMSG_LENGTH(sizeof(ifinfomsg))) {
        return false;
    }
    const auto* link = static_cast<const ifinfomsg*>(NLMSG_DATA(&notice));
    return (link->ifi_flags & (IFF_UP | IFF_RUNNING)) != (IFF_UP | IFF_RUNNING);
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
    // A link that went down and up again before this thread looked is back in the list as if it had never
    // gone: the notices tell that it went.
    alignas(nlmsghdr) std::array<char, 8192> notices{};
    bool lost = false;
    for (ssize_t size; (size = recv(Socket.Get(), notices.data(), notices.size(), MSG_DONTWAIT)) > 0;) {
        auto left = static_cast<unsigned>(size);
        for (const auto* notice = reinterpret_cast<const nlmsghdr*>(notices.data()); NLMSG_OK(notice, left);
             notice = NLMSG_NEXT(notice, left)) {
            lost = lost || TellsOfLoss(*notice);
        }
    }
    if (lost) {
        Known.clear();
    }
    auto now = Networks(Only);
    const bool gained = std::ranges::any_of(
        now, [this](const auto& network) { return std::ranges::find(Known, network) == Known.end(); });
    Known = std::move(now);
    if (gained) {
        // A port that blocks while it learns the network (spanning tree) forwards after seconds, up to 30.
        const auto at = std::chrono::steady_clock::now();
        Later = {at + std::chrono::seconds(30), at + std::chrono::seconds(10), at + std::chrono::seconds(2)};
    }
    return gained;
}

int TNetworkWatch::MillisecondsToNextAnnouncement() const {
    if (Later.empty()) {
        return -1;
    }
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(Later.back() - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

bool TNetworkWatch::TakeDueAnnouncement() {
    if (Later.empty() || Later.back() > std::chrono::steady_clock::now()) {
        return false;
    }
    Later.pop_back();
    return true;
}
