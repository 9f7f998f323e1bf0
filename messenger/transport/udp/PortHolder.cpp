// Finds a UDP port's holder the way ss does: the socket's inode in /proc/net/udp, then the process that
// has that socket among its open files.
#include "messenger/transport/udp/PortHolder.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>
#include <vector>

namespace {

std::set<std::string> SocketInodesOnPort(std::uint16_t port) {
    std::set<std::string> inodes;
    std::ifstream table("/proc/net/udp");
    std::string line;
    std::getline(table, line);  // the column names
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
        fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >>
            inode;
        const auto colon = local.find(':');
        unsigned localPort = 0;
        if (fields && colon != std::string::npos &&
            std::from_chars(local.data() + colon + 1, local.data() + local.size(), localPort, 16).ec ==
                std::errc() &&
            localPort == port && inode != "0") {
            inodes.insert("socket:[" + inode + "]");
        }
    }
    return inodes;
}

// What a folder of /proc holds right now; a process may end while it is read, which ends the list early.
std::vector<std::filesystem::path> Entries(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        found.push_back(entry->path());
    }
    return found;
}

std::string ProcessName(const std::filesystem::path& process) {
    std::string name;
    std::getline(std::ifstream(process / "comm"), name);
    return name.empty() ? "a program" : name;
}

}  // namespace

bool UdpPortHeld(std::uint16_t port) {
    return !SocketInodesOnPort(port).empty();
}

std::string UdpPortHolder(std::uint16_t port) {
    const auto inodes = SocketInodesOnPort(port);
    if (inodes.empty()) {
        return {};
    }
    for (const auto& process : Entries("/proc")) {
        const std::string pid = process.filename();
        if (pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        // Another user's open files are closed to this one: that process is skipped.
        for (const auto& file : Entries(process / "fd")) {
            std::error_code error;
            if (inodes.contains(std::filesystem::read_symlink(file, error).string())) {
                return ProcessName(process) + " (process " + pid + ")";
            }
        }
    }
    return {};
}
