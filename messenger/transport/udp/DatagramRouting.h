// Where a datagram goes: the addresses learned from other computers' datagrams, and the pure decision
// of type, destination name and addresses for each target of a write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "messenger/transport/udp/MailslotDatagram.h"
#include "messenger/transport/udp/NetworkInterfaces.h"
#include "messenger/transport/udp/UdpSettings.h"

/// Where each computer was last heard from: source name to source address, refreshed on every receipt.
/// The receiving side learns while the sending side looks up, each on its own thread.
class TPeerAddressBook {
public:
    explicit TPeerAddressBook(std::size_t capacity = 4096) : Capacity(capacity) {}

    /// `name` as written on the wire (normalised NetBIOS name); `address` IPv4 in host order.
    void Learn(const std::string& name, std::uint32_t address);
    /// The same, except that a name known at another address keeps that address.
    void LearnIfNew(const std::string& name, std::uint32_t address);
    std::optional<std::uint32_t> Find(const std::string& name) const;

private:
    void Store(const std::string& name, std::uint32_t address, bool mayMove);

    struct TEntry {
        std::uint32_t Address = 0;
        std::uint64_t LastHeard = 0;
    };

    std::size_t Capacity;
    mutable std::mutex Mutex;
    std::map<std::string, TEntry> Addresses;
    std::uint64_t Clock = 0;
};

/// What a datagram this copy accepted teaches about where its sender is. A message whose origin is the
/// datagram's source name comes from that computer; only its announcement or its answer to one may move a
/// known computer to a new address, since anyone can write any source name and one stray datagram must not
/// redirect a colleague's memos. Anything else teaches nothing.
void LearnSender(TPeerAddressBook& peers, const TMailslotDatagram& datagram, std::uint32_t address);

/// One copy of a datagram: where it is sent (to the settings' port) and the source address its header names.
struct TDestination {
    std::uint32_t Address = 0;
    std::uint32_t SourceAddress = 0;

    friend bool operator==(const TDestination&, const TDestination&) = default;
};

struct TRoute {
    TDatagramType Type = TDatagramType::DirectGroup;
    TNetbiosName DestinationName;
    std::vector<TDestination> Destinations;  ///< all copies share one datagram id
};

/// Whether a path's server part names this computer: "." or the own name as NetBIOS compares names.
bool IsThisComputer(std::string_view server, const std::string& ownName);

/// `server` is the path's server part: "*" goes to the workgroup on every network, "." to this computer
/// (`ownName`), a learned name by unicast, a name not heard from yet by broadcast (only the computer of
/// that name keeps it).
TRoute Route(std::string_view server, const std::string& ownName,
             const std::vector<TIpv4Interface>& interfaces, const TPeerAddressBook& peers,
             const TUdpSettings& settings);
