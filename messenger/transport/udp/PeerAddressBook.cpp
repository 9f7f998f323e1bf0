// Bounded map of computer names to the addresses their datagrams came from.
#include "messenger/transport/udp/PeerAddressBook.h"

#include <algorithm>

void TPeerAddressBook::Learn(const std::string& name, std::uint32_t address) {
    auto found = Addresses.find(name);
    if (found == Addresses.end() && Addresses.size() >= Capacity) {
        // A flood of invented names must not grow the book without bound: forget the stalest.
        const auto stalest = std::min_element(Addresses.begin(), Addresses.end(), [](const auto& a, const auto& b) {
            return a.second.LastHeard < b.second.LastHeard;
        });
        Addresses.erase(stalest);
    }
    Addresses[name] = TEntry{address, ++Clock};
}

std::optional<std::uint32_t> TPeerAddressBook::Find(const std::string& name) const {
    const auto found = Addresses.find(name);
    if (found == Addresses.end()) {
        return std::nullopt;
    }
    return found->second.Address;
}
