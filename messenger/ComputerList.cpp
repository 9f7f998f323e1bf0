// The bounded list of computers.
#include "messenger/ComputerList.h"

#include <algorithm>

std::optional<std::string> TComputerList::Add(const std::string& name) {
    std::optional<std::string> evicted;
    if (Order.size() >= Capacity && !Order.empty()) {
        // A linear search, but only once the list is full, which no real office reaches.
        const auto stalest = std::ranges::min_element(
            HeardAt, [](const auto& a, const auto& b) { return a.second < b.second; });
        evicted = stalest->first;
        Remove(*evicted);
    }
    Order.push_back(name);
    HeardAt[name] = ++Clock;
    return evicted;
}

bool TComputerList::Remove(const std::string& name) {
    if (HeardAt.erase(name) == 0) {
        return false;
    }
    Order.erase(std::ranges::find(Order, name));
    return true;
}

void TComputerList::Heard(const std::string& name) {
    if (const auto found = HeardAt.find(name); found != HeardAt.end()) {
        found->second = ++Clock;
    }
}
