// Where each computer was last heard from: source name to source address, refreshed on every receipt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

class TPeerAddressBook {
public:
    explicit TPeerAddressBook(std::size_t capacity = 4096) : Capacity(capacity) {}

    /// `name` as written on the wire (normalised NetBIOS name); `address` IPv4 in host order.
    void Learn(const std::string& name, std::uint32_t address);
    std::optional<std::uint32_t> Find(const std::string& name) const;
    std::size_t Size() const { return Addresses.size(); }

private:
    struct TEntry {
        std::uint32_t Address = 0;
        std::uint64_t LastHeard = 0;
    };

    std::size_t Capacity;
    std::map<std::string, TEntry> Addresses;
    std::uint64_t Clock = 0;
};
