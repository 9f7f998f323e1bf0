// The peers' addresses and the routing decision of the UDP transport; no sockets here.
#include "messenger/transport/udp/DatagramRouting.h"

#include <netinet/in.h>

#include <algorithm>

#include "messenger/MessageText.h"

void TPeerAddressBook::Learn(const std::string& name, std::uint32_t address) {
    Store(name, address, true);
}

void TPeerAddressBook::LearnIfNew(const std::string& name, std::uint32_t address) {
    Store(name, address, false);
}

void TPeerAddressBook::Store(const std::string& name, std::uint32_t address, bool mayMove) {
    std::lock_guard lock(Mutex);
    auto found = Addresses.find(name);
    if (found != Addresses.end() && found->second.Address != address && !mayMove) {
        return;
    }
    if (found == Addresses.end() && Addresses.size() >= Capacity) {
        // A flood of invented names must not grow the book without bound: forget the stalest.
        const auto stalest = std::min_element(
            Addresses.begin(), Addresses.end(),
            [](const auto& a, const auto& b) { return a.second.LastHeard < b.second.LastHeard; });
        Addresses.erase(stalest);
    }
    Addresses[name] = TEntry{address, ++Clock};
}

std::optional<std::uint32_t> TPeerAddressBook::Find(const std::string& name) const {
    std::lock_guard lock(Mutex);
    const auto found = Addresses.find(name);
    if (found == Addresses.end()) {
        return std::nullopt;
    }
    return found->second.Address;
}

void LearnSender(TPeerAddressBook& peers, const TMailslotDatagram& datagram, std::uint32_t address) {
    using namespace MessageText;
    // The header's four lines are all it needs: a memo's body, up to 64 KiB, is split by the engine once.
    constexpr std::size_t HeaderBytes = 512;
    const auto message = ReadHeader(Split(std::string_view(datagram.Data).substr(0, HeaderBytes)));
    const std::string name = NormalizeNetbiosName(datagram.SourceName.Name);
    if (!message || (message->Kind != CommandMsg && message->Kind != MemoMsg && message->Kind != LineMsg) ||
        NormalizeNetbiosName(message->Origin) != name) {
        return;
    }
    const bool presence =
        message->Kind == CommandMsg && (message->Text == OnlineNotify || message->Text == OnlineResponse);
    presence ? peers.Learn(name, address) : peers.LearnIfNew(name, address);
}

bool IsThisComputer(std::string_view server, const std::string& ownName) {
    return server == "." || NormalizeNetbiosName(server) == NormalizeNetbiosName(ownName);
}

TRoute Route(std::string_view server, const std::string& ownName,
             const std::vector<TIpv4Interface>& interfaces, const TPeerAddressBook& peers,
             const TUdpSettings& settings) {
    // Every computer: one copy per network, all under one datagram id, so receivers drop the extras.
    const auto everyNetwork = [&interfaces] {
        std::vector<TDestination> copies;
        for (const auto& network : interfaces) {
            copies.push_back({network.Broadcast, network.Address});
        }
        return copies;
    };
    const auto thisComputer = [&settings] {
        const auto bound = ParseIpv4(settings.BindAddress).value_or(INADDR_ANY);
        return std::vector<TDestination>{{bound == INADDR_ANY ? INADDR_LOOPBACK : bound, 0}};
    };
    if (server == "*") {
        // Off every network (a laptop with only loopback up) the own copy still gets its memo to all.
        auto copies = everyNetwork();
        return {
            TDatagramType::DirectGroup, {settings.Workgroup, 0x00}, copies.empty() ? thisComputer() : copies};
    }
    // The own name too: without a network to broadcast on, its datagram must still arrive.
    if (IsThisComputer(server, ownName)) {
        return {TDatagramType::DirectUnique, {ownName, 0x00}, thisComputer()};
    }
    TRoute route{TDatagramType::DirectUnique, {std::string(server), 0x00}, {}};
    const auto address = peers.Find(NormalizeNetbiosName(server));
    if (!address) {
        route.Destinations = everyNetwork();
        return route;
    }
    const auto network = InterfaceFor(interfaces, *address);
    route.Destinations = {
        {*address, network ? network->Address : (interfaces.empty() ? 0 : interfaces.front().Address)}};
    return route;
}
