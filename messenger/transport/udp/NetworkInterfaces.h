// The IPv4 interfaces a datagram to every computer goes out on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TIpv4Interface {
    std::string Name;
    std::uint32_t Address = 0;  ///< host byte order
    std::uint32_t Netmask = 0;
    std::uint32_t Broadcast = 0;  ///< where datagrams to every computer of this network go

    bool Contains(std::uint32_t address) const { return (address & Netmask) == (Address & Netmask); }
};

/// Every IPv4 interface that is up and running and can broadcast, or, when `only` names interfaces,
/// exactly those that are up and running; a named interface without broadcast (loopback, point-to-point)
/// sends to its own address.
std::vector<TIpv4Interface> BroadcastInterfaces(const std::vector<std::string>& only);

/// Every IPv4 address of this computer's interfaces, each with why it is not sent on (empty when it is):
/// "down", "no carrier", "not in Interfaces", "loopback" or "cannot broadcast".
struct TInterfaceReport {
    TIpv4Interface Interface;
    std::string Skipped;
};
std::vector<TInterfaceReport> ReportInterfaces(const std::vector<std::string>& only);

/// Whether this computer has an interface of that name now, up or down.
bool InterfaceExists(const std::string& name);

/// Every IPv4 address of this computer, on any interface (loopback too), in host byte order.
std::vector<std::uint32_t> LocalAddresses();

/// The interface whose network holds `address`, for the source address written into a datagram.
std::optional<TIpv4Interface> InterfaceFor(const std::vector<TIpv4Interface>& interfaces,
                                           std::uint32_t address);

std::string FormatIpv4(std::uint32_t address);
std::optional<std::uint32_t> ParseIpv4(const std::string& text);
