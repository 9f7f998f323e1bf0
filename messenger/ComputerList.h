// The computers this copy lists, in the order they joined, bounded so that invented names cannot grow it
// without end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "messenger/StringList.h"

class TComputerList {
public:
    /// Far more than an office has, and few enough that a flood of invented names costs little.
    static constexpr std::size_t DefaultCapacity = 4096;

    explicit TComputerList(std::size_t capacity = DefaultCapacity) : Capacity(capacity) {}

    bool Contains(const std::string& name) const { return HeardAt.contains(name); }
    /// Lists `name` (not listed yet). When the list is full, the computer heard from longest ago leaves
    /// first; that one is returned.
    std::optional<std::string> Add(const std::string& name);
    /// False when `name` was not listed.
    bool Remove(const std::string& name);
    /// Anything arrived from `name`: it is the last to leave a full list.
    void Heard(const std::string& name);

    const TStringList& Names() const { return Order; }
    std::size_t Size() const { return Order.size(); }

private:
    std::size_t Capacity;
    TStringList Order;
    std::unordered_map<std::string, std::uint64_t> HeardAt;
    std::uint64_t Clock = 0;
};
