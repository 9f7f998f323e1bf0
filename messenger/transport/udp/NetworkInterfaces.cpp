// Interface enumeration with getifaddrs.
#include "messenger/transport/udp/NetworkInterfaces.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <memory>

namespace {

std::uint32_t HostOrder(const sockaddr* address) {
    return address == nullptr ? 0 : ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

}  // namespace

std::vector<TInterfaceReport> ReportInterfaces(const std::vector<std::string>& only) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return {};
    }
    const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, &freeifaddrs);
    std::vector<TInterfaceReport> result;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        const bool named = std::find(only.begin(), only.end(), entry->ifa_name) != only.end();
        const bool canBroadcast = (entry->ifa_flags & IFF_BROADCAST) && entry->ifa_broadaddr != nullptr;
        TInterfaceReport report;
        TIpv4Interface& found = report.Interface;
        found.Name = entry->ifa_name;
        found.Address = HostOrder(entry->ifa_addr);
        found.Netmask = HostOrder(entry->ifa_netmask);
        found.Broadcast = canBroadcast ? HostOrder(entry->ifa_broadaddr) : found.Address;
        // Up and running: an interface without a carrier (a cable pulled) reaches nobody.
        if (!(entry->ifa_flags & IFF_UP)) {
            report.Skipped = "down";
        } else if (!(entry->ifa_flags & IFF_RUNNING)) {
            report.Skipped = "no carrier";
        } else if (!only.empty() && !named) {
            report.Skipped = "not in Interfaces";
        } else if (only.empty() && !canBroadcast) {
            report.Skipped = (entry->ifa_flags & IFF_LOOPBACK) ? "loopback" : "cannot broadcast";
        }
        result.push_back(std::move(report));
    }
    return result;
}

std::vector<TIpv4Interface> BroadcastInterfaces(const std::vector<std::string>& only) {
    std::vector<TIpv4Interface> result;
    for (auto& report : ReportInterfaces(only)) {
        if (report.Skipped.empty()) {
            result.push_back(std::move(report.Interface));
        }
    }
    return result;
}

std::vector<std::uint32_t> LocalAddresses() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return {};
    }
    const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, &freeifaddrs);
    std::vector<std::uint32_t> result;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET) {
            result.push_back(HostOrder(entry->ifa_addr));
        }
    }
    return result;
}

std::optional<TIpv4Interface> InterfaceFor(const std::vector<TIpv4Interface>& interfaces,
                                           std::uint32_t address) {
    for (const auto& candidate : interfaces) {
        if (candidate.Contains(address)) {
            return candidate;
        }
    }
    return std::nullopt;
}

bool InterfaceExists(const std::string& name) {
    return if_nametoindex(name.c_str()) != 0;
}

std::string FormatIpv4(std::uint32_t address) {
    in_addr raw{htonl(address)};
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &raw, text, sizeof text);
    return text;
}

std::optional<std::uint32_t> ParseIpv4(const std::string& text) {
    in_addr raw{};
    if (inet_pton(AF_INET, text.c_str(), &raw) != 1) {
        return std::nullopt;
    }
    return ntohl(raw.s_addr);
}
